#include "analysis/EngineTestSupport.h"
#include "analysis/LoudnessMeter.h"

#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <iostream>

namespace
{
// Reference filters of BS.1770 from their analog prototypes, for any rate.
struct Biquad
{
    double b0, b1, b2, a1, a2;

    double gainDb (double f, double rate) const
    {
        const std::complex<double> z = std::polar (1.0, -juce::MathConstants<double>::twoPi * f / rate);
        const auto h = (b0 + b1 * z + b2 * z * z) / (1.0 + a1 * z + a2 * z * z);
        return 20.0 * std::log10 (std::abs (h));
    }
};

Biquad standardShelf (double rate)
{
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan (juce::MathConstants<double>::pi * f0 / rate);
    const double vh = std::pow (10.0, gainDb / 20.0);
    const double vb = std::pow (vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return { (vh + vb * k / q + k * k) / a0,
             2.0 * (k * k - vh) / a0,
             (vh - vb * k / q + k * k) / a0,
             2.0 * (k * k - 1.0) / a0,
             (1.0 - k / q + k * k) / a0 };
}

Biquad standardHighPass (double rate)
{
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan (juce::MathConstants<double>::pi * f0 / rate);
    const double a0 = 1.0 + k / q + k * k;
    return { 1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0 };
}

Biquad fromFramework (const juce::IIRCoefficients& c)
{
    const auto* x = c.coefficients;
    return { x[0], x[1], x[2], x[3], x[4] };
}

// How far our K-weighting's gain at f lies from the standard's.
double explainedDifferenceDb (double f, double rate)
{
    const auto shelf = juce::IIRCoefficients::makeHighShelf (rate, 1681.974f, 0.7071f, std::pow (10.0f, 0.2f));
    const double ours = fromFramework (shelf).gainDb (f, rate)
                        + fromFramework (LoudnessMeter::makeKWeightingHighPass (rate)).gainDb (f, rate);
    const double standard = standardShelf (rate).gainDb (f, rate) + standardHighPass (rate).gainDb (f, rate);
    return ours - standard;
}

// "M" of a fresh meter, and the 1 s window loudness of the reference state,
// after the same two seconds of stereo signal.
std::pair<double, double>
    momentaryBoth (const std::vector<float>& left, const std::vector<float>& right, double rate, ebur128_state* state)
{
    LoudnessMeter meter;
    meter.prepare (rate);
    std::atomic<float> tp { 0 }, rms { 0 }, m { 0 }, i { 0 };
    LoudnessReadings readings { tp, rms, m, i };

    constexpr int block = 512;
    std::vector<float> interleaved (2 * block);
    for (size_t start = 0; start < left.size(); start += block)
    {
        const int n = (int) std::min ((size_t) block, left.size() - start);
        meter.processBlock (true, left.data() + start, right.data() + start, n, readings);
        for (int k = 0; k < n; ++k)
        {
            interleaved[(size_t) (2 * k)] = left[start + (size_t) k];
            interleaved[(size_t) (2 * k + 1)] = right[start + (size_t) k];
        }
        ebur128_add_frames_float (state, interleaved.data(), (size_t) n);
    }

    double reference = 0.0;
    EXPECT_EQ (ebur128_loudness_window (state, 1000, &reference), EBUR128_SUCCESS);
    return { (double) m.load(), reference };
}
} // namespace

// Stage 1 is the framework's shelf rather than the standard's filter. For
// sines the difference must be exactly the difference of the two filters'
// gains; over the whole sweep it stays below half a decibel.
TEST (LoudnessReference, MomentaryAgreesWithLibebur128)
{
    const double rates[] = { 44100.0, 48000.0, 96000.0 };
    const double frequencies[] = { 20,   25,   31.5, 40,   50,   63,   80,   100,   125,   160,
                                   200,  250,  315,  400,  500,  630,  800,  997,   1250,  1600,
                                   2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000 };
    double largestSine = 0.0, largestNoise = 0.0, largestResidual = 0.0;

    for (const double rate : rates)
    {
        // One reference state per rate: each case pushes two seconds, so the
        // 1 s window holds only that case (the filters settle within ms).
        ebur128_state* state = ebur128_init (2, (unsigned long) rate, EBUR128_MODE_M);
        ASSERT_NE (state, nullptr);
        ASSERT_EQ (ebur128_set_max_window (state, 1000), EBUR128_SUCCESS);
        const int length = (int) (2 * rate);

        for (const double f : frequencies)
        {
            const auto left = enginetest::sine (length, f, rate, 0.5f);
            const auto right = enginetest::sine (length, f, rate, 0.25f, 1.0);
            const auto [ours, reference] = momentaryBoth (left, right, rate, state);
            const double residual = (ours - reference) - explainedDifferenceDb (f, rate);
            largestSine = std::max (largestSine, std::abs (ours - reference));
            largestResidual = std::max (largestResidual, std::abs (residual));
            EXPECT_NEAR (residual, 0.0, 0.01) << f << " Hz at " << rate;
            EXPECT_NEAR (ours, reference, 0.5) << f << " Hz at " << rate;
        }

        const auto left = enginetest::pinkNoise (length, 0.5f, 11);
        const auto right = enginetest::pinkNoise (length, 0.5f, 12);
        const auto [ours, reference] = momentaryBoth (left, right, rate, state);
        largestNoise = std::max (largestNoise, std::abs (ours - reference));
        EXPECT_NEAR (ours, reference, 0.15) << "pink noise at " << rate;
        ebur128_destroy (&state);
    }

    std::cout << "largest |M - libebur128|: sines " << largestSine << " dB (unexplained by the shelf "
              << largestResidual << " dB), pink noise " << largestNoise << " dB\n";
    RecordProperty ("largestSineDifferenceDb", std::to_string (largestSine));
    RecordProperty ("largestUnexplainedDb", std::to_string (largestResidual));
    RecordProperty ("largestNoiseDifferenceDb", std::to_string (largestNoise));
}
