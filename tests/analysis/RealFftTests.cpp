#include "analysis/RealFft.h"

#include <juce_dsp/juce_dsp.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{
std::vector<float> randomSamples (int n, unsigned seed)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-1.0f, 1.0f);
    std::vector<float> out ((size_t) (2 * n), 0.0f);
    for (int i = 0; i < n; ++i)
        out[(size_t) i] = dist (rng);
    return out;
}
} // namespace

// The framework's transform is the reference: every bin, the negative
// frequencies included, agrees to float rounding of the largest bin.
TEST (RealFft, AgreesWithTheFrameworkTransformAtEveryOrder)
{
    for (int order = 0; order <= 13; ++order)
    {
        const int n = 1 << order;
        auto ours = randomSamples (n, (unsigned) order + 1);
        auto reference = ours;

        RealFft (order).performRealOnlyForwardTransform (ours.data());
        juce::dsp::FFT (order).performRealOnlyForwardTransform (reference.data(), false);

        float largest = 0.0f;
        for (auto v : reference)
            largest = std::max (largest, std::abs (v));
        for (size_t i = 0; i < ours.size(); ++i)
            ASSERT_NEAR (ours[i], reference[i], 2e-6f * largest * (float) (order + 1))
                << "order " << order << " entry " << i;
    }
}

TEST (RealFft, KeepsExactZerosSymmetryAndSign)
{
    const int order = 11, n = 1 << order;
    RealFft fft (order);
    EXPECT_EQ (fft.getSize(), n);

    std::vector<float> silence ((size_t) (2 * n), 0.0f);
    fft.performRealOnlyForwardTransform (silence.data());
    for (auto v : silence)
        ASSERT_EQ (v, 0.0f);

    // Negated input gives exactly the negated spectrum, so anti-phase
    // channels cancel bit for bit.
    auto x = randomSamples (n, 9), negated = x;
    for (int i = 0; i < n; ++i)
        negated[(size_t) i] = -x[(size_t) i];
    fft.performRealOnlyForwardTransform (x.data());
    fft.performRealOnlyForwardTransform (negated.data());
    for (size_t i = 0; i < x.size(); ++i)
        ASSERT_EQ (negated[i], -x[i]) << i;

    // A cosine on bin 5 lands there with amplitude n / 2.
    std::vector<float> tone ((size_t) (2 * n), 0.0f);
    for (int i = 0; i < n; ++i)
        tone[(size_t) i] = (float) std::cos (2.0 * juce::MathConstants<double>::pi * 5.0 * i / n);
    fft.performRealOnlyForwardTransform (tone.data(), true);
    EXPECT_NEAR (tone[10], n / 2.0f, 1e-3f * n);
    EXPECT_NEAR (tone[11], 0.0f, 1e-3f * n);
    EXPECT_NEAR (tone[12], 0.0f, 1e-3f * n);
}
