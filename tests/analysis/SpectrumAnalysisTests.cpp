#include "analysis/EngineTestSupport.h"
#include "analysis/SpectrumAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct Transform
{
    explicit Transform (int order)
        : size (1 << order)
        , fft (order)
        , window ((size_t) size, juce::dsp::WindowingFunction<float>::blackmanHarris, true, 0.0f)
        , fftData ((size_t) (2 * size), 0.0f)
    {
    }

    std::vector<float> spectrum (const std::vector<float>& history, float sampleRate)
    {
        std::vector<float> db;
        SpectrumAnalysis::computeSpectrum (fft, window, history, size, sampleRate, fftData, db);
        return db;
    }

    int size;
    RealFft fft;
    juce::dsp::WindowingFunction<float> window;
    std::vector<float> fftData;
};

std::vector<float> history (const std::vector<float>& newest)
{
    std::vector<float> h (16384, 0.0f);
    std::copy (newest.begin(), newest.end(), h.end() - (long) newest.size());
    return h;
}

std::vector<float> randomSpectrum (int n, unsigned seed)
{
    const auto noise = enginetest::whiteNoise (n, 1.0f, seed);
    std::vector<float> db ((size_t) n);
    for (int k = 0; k < n; ++k)
        db[(size_t) k] = -75.0f + 75.0f * noise[(size_t) k];
    return db;
}
} // namespace

TEST (SpectrumAnalysis, SineOnABinReadsItsLevel)
{
    Transform t (13);
    struct Case
    {
        float amplitude, expectedDb;
    };
    const Case cases[] = { { 1.0f / 1.21f, 0.0f },
                           { 0.1f, 20.0f * std::log10 (0.121f) },
                           { 1.0f, 20.0f * std::log10 (1.21f) } };
    for (const auto& c : cases)
    {
        const auto db =
            t.spectrum (history (enginetest::sine (8192, 1000.0 * 48000.0 / 8192.0, 48000.0, c.amplitude)), 48000.0f);
        ASSERT_EQ (db.size(), 4096u);
        EXPECT_NEAR (db[1000], c.expectedDb, 0.01f) << c.amplitude;
    }

    auto fullScale = t.spectrum (history (enginetest::sine (8192, 1000.0 * 48000.0 / 8192.0, 48000.0, 1.0f)), 48000.0f);
    SpectrumAnalysis::clampSpectrum (fullScale);
    EXPECT_EQ (fullScale[1000], 0.0f);
    for (float v : fullScale)
        ASSERT_TRUE (v >= -150.0f && v <= 0.0f);
}

TEST (SpectrumAnalysis, BinZeroStaysAtTheFloor)
{
    Transform t (12);
    const std::vector<float> dc (4096, 0.9f);
    const auto db = t.spectrum (history (dc), 48000.0f);
    EXPECT_EQ (db[0], -150.0f);
    EXPECT_GT (db[1], -10.0f);
    const auto silent = t.spectrum (history ({}), 48000.0f);
    for (float v : silent)
        ASSERT_EQ (v, -150.0f);
}

TEST (SpectrumAnalysis, LowBinsAreTaperedBelow8Hz)
{
    // At 32768 Hz bins are 4 Hz apart; at 65536 Hz bin 1 lies at 8 Hz and is
    // not tapered, with the same level.
    Transform t (13);
    const auto h = history (enginetest::whiteNoise (8192, 0.5f, 21));
    const auto tapered = t.spectrum (h, 32768.0f);
    const auto plain = t.spectrum (h, 65536.0f);
    EXPECT_NEAR (tapered[1] + 150.0f, 0.125f * (plain[1] + 150.0f), 1e-3f);
    for (size_t k = 2; k < plain.size(); ++k)
        ASSERT_EQ (tapered[k], plain[k]) << k;
}

TEST (SpectrumAnalysis, WeightingCurvesAtOctaveCentres)
{
    // IEC 61672-1 table values at the exact base-ten octave frequencies.
    struct Case
    {
        int exponent;
        float a, c;
    };
    const Case cases[] = { { -15, -39.4f, -3.0f }, { -12, -26.2f, -0.8f }, { -9, -16.1f, -0.2f }, { -6, -8.6f, 0.0f },
                           { -3, -3.2f, 0.0f },    { 0, 0.0f, 0.0f },      { 3, 1.2f, -0.2f },    { 6, 1.0f, -0.8f },
                           { 9, -1.1f, -3.0f },    { 12, -6.6f, -8.5f } };
    for (const auto& c : cases)
    {
        const auto f = (float) (1000.0 * std::pow (10.0, c.exponent / 10.0));
        EXPECT_NEAR (SpectrumAnalysis::weightingDb (1, f), c.a, 0.1f) << "A at " << f;
        EXPECT_NEAR (SpectrumAnalysis::weightingDb (2, f), c.c, 0.1f) << "C at " << f;
    }

    EXPECT_NEAR (SpectrumAnalysis::weightingDb (3, 60.0f), -3.01f + 4.0f * 3600.0f / 2253600.0f, 1e-3f);
    EXPECT_NEAR (SpectrumAnalysis::weightingDb (3, 1500.0f), 2.0f, 0.01f);
    EXPECT_NEAR (SpectrumAnalysis::weightingDb (3, 20000.0f), 3.98f, 0.01f);
    for (int w : { 1, 2, 3 })
    {
        EXPECT_EQ (SpectrumAnalysis::weightingDb (w, 9.99f), -70.0f);
        EXPECT_NE (SpectrumAnalysis::weightingDb (w, 10.0f), -70.0f);
    }
    for (int w : { 0, 4, -1 })
        EXPECT_EQ (SpectrumAnalysis::weightingDb (w, 1000.0f), 0.0f);
}

TEST (SpectrumAnalysis, WeightingAddsPerBinAndLeavesBinZero)
{
    std::vector<float> db (4096, -50.0f);
    SpectrumAnalysis::applyWeighting (db, 1, 48000.0f);
    EXPECT_EQ (db[0], -50.0f);
    EXPECT_EQ (db[1], -120.0f);
    EXPECT_FLOAT_EQ (db[171], -50.0f + SpectrumAnalysis::weightingDb (1, 171.0f * 48000.0f / 8192.0f));

    std::vector<float> flat (4096, -50.0f);
    SpectrumAnalysis::applyWeighting (flat, 0, 48000.0f);
    EXPECT_EQ (flat, std::vector<float> (4096, -50.0f));
}

// A table kept between passes follows every change of weighting, rate and
// bin count, as a freshly computed one would.
TEST (SpectrumAnalysis, KeptWeightingTableFollowsEveryChange)
{
    struct Pass
    {
        int weighting;
        float sampleRate;
        size_t bins;
    };
    const Pass passes[] = { { 3, 48000.0f, 4096 }, { 3, 48000.0f, 4096 }, { 1, 48000.0f, 4096 }, { 1, 44100.0f, 4096 },
                            { 1, 44100.0f, 2048 }, { 0, 44100.0f, 2048 }, { 2, 96000.0f, 2048 } };
    SpectrumAnalysis::WeightingTable table;
    for (const auto& pass : passes)
    {
        const auto input = randomSpectrum ((int) pass.bins, 3);
        auto kept = input, fresh = input;
        SpectrumAnalysis::applyWeighting (kept, pass.weighting, pass.sampleRate, table);
        SpectrumAnalysis::applyWeighting (fresh, pass.weighting, pass.sampleRate);
        EXPECT_EQ (kept, fresh) << pass.weighting << " " << pass.sampleRate << " " << pass.bins;
    }
}

// The O(n) band sums must reproduce the term-by-term sums.
TEST (SpectrumAnalysis, FastBandSumsMatchTheDirectForm)
{
    Transform t (13);
    const auto sineSpectrum = [&]
    {
        auto db = t.spectrum (history (enginetest::sine (8192, 1000.0, 48000.0, 0.8f)), 48000.0f);
        SpectrumAnalysis::clampSpectrum (db);
        return db;
    }();
    auto pinkSpectrum = t.spectrum (history (enginetest::pinkNoise (8192, 0.5f, 5)), 48000.0f);
    SpectrumAnalysis::clampSpectrum (pinkSpectrum);
    const std::vector<std::vector<float>> spectra = {
        sineSpectrum, pinkSpectrum, randomSpectrum (4096, 7), randomSpectrum (2048, 8)
    };

    double largest = 0.0;
    for (const auto& db : spectra)
    {
        std::vector<float> power (db.size());
        for (size_t k = 0; k < db.size(); ++k)
            power[k] = std::pow (10.0f, db[k] / 10.0f);

        for (int smoothing : { 1, 2, 3 })
        {
            const float octaves = SpectrumAnalysis::bandwidthOctaves (smoothing);
            const int k0 = SpectrumAnalysis::firstSmoothedBin ((int) db.size(), 48000.0f);
            auto fast = db, direct = db;
            SpectrumAnalysis::SmoothingScratch scratch;
            SpectrumAnalysis::bandSmooth (power, octaves, k0, fast, scratch);
            SpectrumAnalysis::bandSmoothDirect (power, octaves, k0, direct);
            for (size_t k = 0; k < db.size(); ++k)
            {
                largest = std::max (largest, (double) std::abs (fast[k] - direct[k]));
                ASSERT_NEAR (fast[k], direct[k], 1e-3f) << "bin " << k << " smoothing " << smoothing;
            }
        }
    }
    RecordProperty ("largestDifferenceDb", std::to_string (largest));
}

TEST (SpectrumAnalysis, SmoothingSkipsBandsBelow80HzButAveragesThem)
{
    const float fs = 48000.0f;
    EXPECT_EQ (SpectrumAnalysis::firstSmoothedBin (4096, fs), 14);
    EXPECT_EQ (SpectrumAnalysis::firstSmoothedBin (2048, fs), 7);

    auto db = randomSpectrum (4096, 3);
    const auto input = db;
    std::vector<float> power, smoothed, averaged;
    SpectrumAnalysis::SmoothingScratch scratch;
    SpectrumAnalysis::smooth (db, 1, fs, power, smoothed, averaged, scratch);

    const auto p = [&] (size_t k) { return (double) std::pow (10.0f, input[k] / 10.0f); };
    EXPECT_EQ (db[0], input[0]);
    EXPECT_EQ (db[1], input[1]);
    for (size_t k = 2; k < 13; ++k)
        EXPECT_NEAR (db[k], 10.0 * std::log10 ((p (k - 1) + p (k) + p (k + 1)) / 3.0), 1e-3) << k;
    EXPECT_GT (std::abs (db[100] - 10.0f * std::log10 ((float) ((p (99) + p (100) + p (101)) / 3.0))), 0.01f);
    EXPECT_EQ (db[4095], smoothed[4095]);
    EXPECT_EQ (db[4094], smoothed[4094]);
}

TEST (SpectrumAnalysis, SmoothingOffLeavesTheSpectrum)
{
    auto db = randomSpectrum (4096, 4);
    const auto input = db;
    std::vector<float> power, smoothed, averaged;
    SpectrumAnalysis::SmoothingScratch scratch;
    SpectrumAnalysis::smooth (db, 0, 48000.0f, power, smoothed, averaged, scratch);
    EXPECT_EQ (db, input);
    EXPECT_TRUE (smoothed.empty());
}

TEST (SpectrumAnalysis, BandwidthAndSampleRateFallbacks)
{
    EXPECT_FLOAT_EQ (SpectrumAnalysis::bandwidthOctaves (1), 1.0f / 12.0f);
    EXPECT_FLOAT_EQ (SpectrumAnalysis::bandwidthOctaves (2), 1.0f / 6.0f);
    EXPECT_FLOAT_EQ (SpectrumAnalysis::bandwidthOctaves (3), 1.0f / 3.0f);
    EXPECT_EQ (SpectrumAnalysis::bandwidthOctaves (4), 0.0f);
    EXPECT_EQ (SpectrumAnalysis::analysisSampleRate (44100.0), 44100.0f);
    EXPECT_EQ (SpectrumAnalysis::analysisSampleRate (0.0), 48000.0f);
    EXPECT_EQ (SpectrumAnalysis::analysisSampleRate (-1.0), 48000.0f);
}
