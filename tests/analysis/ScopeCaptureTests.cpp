#include "analysis/EngineTestSupport.h"
#include "analysis/ScopeSectors.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace
{
constexpr int numSectors = OrvalenProcessor::numScopeSectors;

std::array<float, numSectors> sectorsOf (const OrvalenProcessor& p)
{
    std::array<float, numSectors> out {};
    for (int k = 0; k < numSectors; ++k)
        out[(size_t) k] = p.scopeSectors[k].load (std::memory_order_relaxed);
    return out;
}

// Sectors that hold anything after one capture of (left, right).
std::vector<int> litSectors (const std::vector<float>& left, const std::vector<float>& right)
{
    auto p = enginetest::makeQuietProcessor();
    enginetest::processSignal (*p, left, &right, 512);
    std::vector<int> lit;
    const auto sectors = sectorsOf (*p);
    for (int k = 0; k < numSectors; ++k)
        if (sectors[(size_t) k] > 0.0f)
            lit.push_back (k);
    return lit;
}
} // namespace

TEST (ScopeCapture, DirectionOfTypicalStereoImages)
{
    // A sine centred on bin 100 of the 2048-point capture.
    const double f = 100.0 * 48000.0 / 2048.0;
    const auto x = enginetest::sine (2048, f, 48000.0, 0.5f);
    std::vector<float> minusX (x.size()), silence (x.size(), 0.0f);
    for (size_t i = 0; i < x.size(); ++i)
        minusX[i] = -x[i];

    struct Case
    {
        const char* name;
        const std::vector<float>& left;
        const std::vector<float>& right;
        int sector;
    };
    const Case cases[] = { { "left only", x, silence, 30 },
                           { "right only", silence, x, 90 },
                           { "identical", x, x, 60 },
                           { "equal anti-phase", x, minusX, 0 } };
    for (const auto& c : cases)
        EXPECT_EQ (litSectors (c.left, c.right), std::vector<int> { c.sector }) << c.name;
}

TEST (ScopeCapture, SectorOfDirections)
{
    const float degree = 3.1415927f / 180.0f;
    struct Case
    {
        float direction;
        int sector;
    };
    const Case cases[] = { { -1.5707964f, 0 },       { -40.0f * degree, 33 }, { 0.0f, 60 },
                           { 40.0f * degree, 86 },   { 1.5707964f, 119 },     { 47.0f * degree, -1 },
                           { -47.0f * degree, -1 },  { 46.01f * degree, -1 }, { 49.99f * degree, -1 },
                           { -46.01f * degree, -1 }, { 45.9f * degree, 90 },  { 50.1f * degree, 93 },
                           { -50.1f * degree, 26 } };
    for (const auto& c : cases)
        EXPECT_EQ (ScopeSectors::sectorOf (c.direction), c.sector) << c.direction / degree << " degrees";
}

TEST (ScopeCapture, ComponentAt47DegreesIsCountedNowhere)
{
    // Left (1, 0) and right (-c, 0) with tan(theta) = (c + 1) / (c - 1).
    const auto binsFor = [] (double degrees)
    {
        const double t = std::tan (degrees * juce::MathConstants<double>::pi / 180.0);
        const double c = (t + 1.0) / (t - 1.0);
        std::vector<float> left (4096, 0.0f), right (4096, 0.0f);
        left[2 * 200] = 512.0f;
        right[2 * 200] = (float) (-512.0 * c);
        std::array<float, 120> sectors {};
        ScopeSectors::sortBins (left.data(), right.data(), sectors.data());
        std::vector<int> lit;
        for (int k = 0; k < 120; ++k)
            if (sectors[(size_t) k] > 0.0f)
                lit.push_back (k);
        return lit;
    };
    EXPECT_TRUE (binsFor (47.0).empty());
    EXPECT_EQ (binsFor (70.0), std::vector<int> { 106 });
}

TEST (ScopeCapture, QuietBinsAndBinZeroAreIgnored)
{
    std::vector<float> left (4096, 0.0f), right (4096, 0.0f);
    left[0] = right[0] = 2048.0f; // bin 0
    left[2 * 10] = 0.4f; // power 6e-7 after the 1/512 scaling
    left[2 * 1024] = 2048.0f; // first ignored bin from the top
    std::array<float, 120> sectors {};
    ScopeSectors::sortBins (left.data(), right.data(), sectors.data());
    for (float s : sectors)
        EXPECT_EQ (s, 0.0f);
}

TEST (ScopeCapture, RefreshFollowsTheCaptureLength)
{
    auto p = enginetest::makeQuietProcessor();
    const auto left = enginetest::whiteNoise (8 * 512, 0.5f, 1);
    const auto right = enginetest::whiteNoise (8 * 512, 0.5f, 2);
    auto previous = sectorsOf (*p);
    for (int block = 1; block <= 8; ++block)
    {
        const std::vector<float> l (left.begin() + (block - 1) * 512, left.begin() + block * 512);
        const std::vector<float> r (right.begin() + (block - 1) * 512, right.begin() + block * 512);
        enginetest::processSignal (*p, l, &r, 512);
        const auto now = sectorsOf (*p);
        EXPECT_EQ (now != previous, block % 4 == 0) << "block " << block;
        previous = now;
    }

    // One 4096-sample block analyses two captures; the second one stays.
    auto q = enginetest::makeQuietProcessor();
    enginetest::processSignal (*q, left, &right, 4096);
    std::vector<float> fftLeft (4096), fftRight (4096);
    std::array<float, 120> expected {};
    ScopeSectors::analyseCapture (left.data() + 2048,
                                  right.data() + 2048,
                                  fftLeft.data(),
                                  fftRight.data(),
                                  q->scopeFft,
                                  q->scopeWindow,
                                  expected.data());
    EXPECT_EQ (sectorsOf (*q), expected);
    EXPECT_EQ (q->scopeCapturePos, 0);
}

TEST (ScopeCapture, MonoBuffersLeaveTheScopeAlone)
{
    auto p = enginetest::makeQuietProcessor();
    const auto x = enginetest::whiteNoise (2048, 0.5f, 5);
    enginetest::processSignal (*p, x, &x, 2048);
    const auto before = sectorsOf (*p);
    enginetest::processSignal (*p, x, nullptr, 1000);
    EXPECT_EQ (sectorsOf (*p), before);
    EXPECT_EQ (p->scopeCapturePos, 0);
}

TEST (ScopeCapture, ResetRequestClearsTheCapture)
{
    auto p = enginetest::makeQuietProcessor();
    const auto x = enginetest::whiteNoise (2048 + 100, 0.5f, 6);
    enginetest::processSignal (*p, x, &x, 2048 + 100);
    ASSERT_EQ (p->scopeCapturePos, 100);
    ASSERT_GT (sectorsOf (*p)[60], 0.0f);

    p->scopeResetRequest = true;
    const std::vector<float> one (1, 0.25f);
    enginetest::processSignal (*p, one, &one, 1);
    EXPECT_FALSE (p->scopeResetRequest.load());
    EXPECT_EQ (p->scopeCapturePos, 1);
    EXPECT_EQ (sectorsOf (*p), (std::array<float, numSectors> {}));
    EXPECT_EQ (p->scopeCaptureLeft[0], 0.25f);
    EXPECT_EQ (p->scopeCaptureLeft[1], 0.0f);
}

TEST (ScopeCapture, EmptyBlockChangesNothing)
{
    auto p = enginetest::makeQuietProcessor();
    p->scopeResetRequest = true;
    p->toneActive = true;
    juce::AudioBuffer<float> empty (2, 0);
    juce::MidiBuffer midi;
    p->processBlock (empty, midi);
    EXPECT_TRUE (p->scopeResetRequest.load());
    EXPECT_EQ (p->analysisFifoWrite.load(), 0);
    EXPECT_EQ (p->tonePhase, 0.0);
}
