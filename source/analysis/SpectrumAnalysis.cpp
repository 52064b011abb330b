#include "analysis/SpectrumAnalysis.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float minimumMagnitude = 3.16e-8f;
constexpr float taperBelowHz = 8.0f;
constexpr float weightingFloorBelowHz = 10.0f;
constexpr float weightingFloorDb = -70.0f;
constexpr double minimumPower = 1e-15;

// Decibel conversions through the natural exponential and logarithm, which
// are several times faster than pow and log10 and agree to a few ulp.
constexpr float tenthOfLn10 = 0.230258509f;
constexpr float tenOverLn10 = 4.34294482f;

inline float powerOf (float db) { return std::exp (db * tenthOfLn10); }

inline float dbOfPower (double power) { return tenOverLn10 * std::log ((float) std::max (power, minimumPower)); }

inline float fastLog10 (float x) { return 0.434294482f * std::log (x); }

// Triangle band of bin k: both edges rounded and kept within 1 .. n-1.
inline void bandOf (int k, float lowFactor, float highFactor, int numBins, int& lo, int& hi)
{
    lo = std::clamp ((int) std::round ((float) k * lowFactor), 1, numBins - 1);
    hi = std::clamp ((int) std::round ((float) k * highFactor), 1, numBins - 1);
}

// Compensated running sums (value + error term), so that the difference of two
// prefix sums stays exact enough for a -150 dB band next to a 0 dB peak.
void prefixSums (const std::vector<float>& power, bool indexed, std::vector<double>& sums, std::vector<double>& errors)
{
    const size_t n = power.size();
    sums.resize (n + 1);
    errors.resize (n + 1);
    double s = 0.0, c = 0.0;
    sums[0] = errors[0] = 0.0;

    for (size_t j = 0; j < n; ++j)
    {
        const double v = indexed ? (double) j * (double) power[j] : (double) power[j];
        const double t = s + v;
        c += std::abs (s) >= std::abs (v) ? (s - t) + v : (v - t) + s;
        s = t;
        sums[j + 1] = s;
        errors[j + 1] = c;
    }
}

// Triangle-weighted mean of power[lo .. hi], summed term by term.
double triangleAverage (const std::vector<float>& power, int lo, int hi, int k)
{
    double weightSum = 0.0, weighted = 0.0;
    for (int j = lo; j <= hi; ++j)
    {
        const double t = 1.0 - std::abs (2.0 * (j - lo) / (hi - lo) - 1.0);
        weightSum += t;
        weighted += t * (double) power[(size_t) j];
    }
    return weightSum > 1e-9 ? weighted / weightSum : (double) power[(size_t) k];
}

inline double rangeSum (const std::vector<double>& sums, const std::vector<double>& errors, int first, int last)
{
    return (sums[(size_t) last + 1] - sums[(size_t) first]) + (errors[(size_t) last + 1] - errors[(size_t) first]);
}
} // namespace

float SpectrumAnalysis::analysisSampleRate (double preparedRate)
{
    const auto fs = (float) preparedRate;
    return fs > 0.0f ? fs : 48000.0f;
}

void SpectrumAnalysis::computeSpectrum (const RealFft& fft,
                                        juce::dsp::WindowingFunction<float>& window,
                                        const std::vector<float>& history,
                                        int fftSize,
                                        float sampleRate,
                                        std::vector<float>& fftData,
                                        std::vector<float>& spectrumDb)
{
    std::fill (fftData.begin(), fftData.end(), 0.0f);
    std::copy (history.end() - fftSize, history.end(), fftData.begin());
    window.multiplyWithWindowingTable (fftData.data(), (size_t) fftSize);
    fft.performRealOnlyForwardTransform (fftData.data(), false);

    const auto numBins = (size_t) (fftSize / 2);
    if (spectrumDb.size() != numBins)
        spectrumDb.assign (numBins, floorDb);
    else
        std::fill (spectrumDb.begin(), spectrumDb.end(), floorDb);

    const float gain = 2.42f / (float) fftSize;
    const float binHz = sampleRate / (float) fftSize;

    for (size_t k = 1; k < numBins; ++k)
    {
        const float re = gain * fftData[2 * k];
        const float im = gain * fftData[2 * k + 1];
        const float power = std::max (re * re + im * im, minimumMagnitude * minimumMagnitude);
        const float level = std::max (tenOverLn10 * std::log (power), floorDb);
        const float fk = binHz * (float) k;

        if (fk < taperBelowHz)
        {
            const float x = fk * 0.125f;
            spectrumDb[k] = x * x * x * (level + 150.0f) - 150.0f;
        }
        else
        {
            spectrumDb[k] = level;
        }
    }
}

float SpectrumAnalysis::weightingDb (int weighting, float f)
{
    if (weighting < 1 || weighting > 3)
        return 0.0f;
    if (f < weightingFloorBelowHz)
        return weightingFloorDb;

    const float f2 = f * f;
    switch (weighting)
    {
        case 1:
            return 20.0f
                       * fastLog10 (
                           148840000.0f * f2 * f2
                           / ((f2 + 424.36f) * std::sqrt ((f2 + 11599.289f) * (f2 + 544496.44f)) * (f2 + 148840000.0f)))
                   + 2.0f;
        case 2:
            return 20.0f * fastLog10 (148840000.0f * f2 / ((f2 + 424.36f) * (f2 + 148840000.0f))) + 0.06f;
        default:
            return 20.0f * fastLog10 (f / std::sqrt (f2 + 3600.0f)) + 4.0f * f2 / (f2 + 2250000.0f);
    }
}

void SpectrumAnalysis::applyWeighting (std::vector<float>& spectrumDb, int weighting, float sampleRate)
{
    WeightingTable table;
    applyWeighting (spectrumDb, weighting, sampleRate, table);
}

void SpectrumAnalysis::applyWeighting (std::vector<float>& spectrumDb,
                                       int weighting,
                                       float sampleRate,
                                       WeightingTable& table)
{
    if (weighting < 1 || weighting > 3 || spectrumDb.size() <= 1)
        return;

    const size_t n = spectrumDb.size();
    if (table.weighting != weighting || table.sampleRate != sampleRate || table.db.size() != n)
    {
        table.weighting = weighting;
        table.sampleRate = sampleRate;
        table.db.assign (n, 0.0f);
        const float binHz = sampleRate / (float) (2 * n);
        for (size_t k = 1; k < n; ++k)
            table.db[k] = weightingDb (weighting, binHz * (float) k);
    }

    for (size_t k = 1; k < n; ++k)
        spectrumDb[k] += table.db[k];
}

void SpectrumAnalysis::clampSpectrum (std::vector<float>& spectrumDb)
{
    for (size_t k = 1; k < spectrumDb.size(); ++k)
        spectrumDb[k] = std::clamp (spectrumDb[k], floorDb, 0.0f);
}

float SpectrumAnalysis::bandwidthOctaves (int smoothing)
{
    switch (smoothing)
    {
        case 1:
            return 1.0f / 12.0f;
        case 2:
            return 1.0f / 6.0f;
        case 3:
            return 1.0f / 3.0f;
        default:
            return 0.0f;
    }
}

int SpectrumAnalysis::firstSmoothedBin (int numBins, float sampleRate)
{
    const float binHz = sampleRate / (float) (2 * numBins);
    return (int) std::nearbyint (80.0f / binHz);
}

void SpectrumAnalysis::bandSmooth (const std::vector<float>& power,
                                   float octaves,
                                   int firstBin,
                                   std::vector<float>& smoothedDb,
                                   SmoothingScratch& scratch)
{
    const int n = (int) power.size();
    prefixSums (power, false, scratch.powerSum, scratch.powerSumError);
    prefixSums (power, true, scratch.indexedSum, scratch.indexedSumError);
    const float lowFactor = std::pow (2.0f, -octaves / 2.0f);
    const float highFactor = std::pow (2.0f, octaves / 2.0f);

    for (int k = std::max (1, firstBin); k < n; ++k)
    {
        int lo, hi;
        bandOf (k, lowFactor, highFactor, n, lo, hi);
        if (lo >= hi)
            continue;

        // The weight rises as 2 (j - lo) / d up to the middle and falls as
        // 2 (hi - j) / d after it.
        const int d = hi - lo;
        const int mid = lo + d / 2;
        const double risingPower = rangeSum (scratch.powerSum, scratch.powerSumError, lo, mid);
        const double risingIndexed = rangeSum (scratch.indexedSum, scratch.indexedSumError, lo, mid);
        const double fallingPower = rangeSum (scratch.powerSum, scratch.powerSumError, mid + 1, hi);
        const double fallingIndexed = rangeSum (scratch.indexedSum, scratch.indexedSumError, mid + 1, hi);
        const double weighted = (risingIndexed - lo * risingPower) + (hi * fallingPower - fallingIndexed);

        // When nearly all of the band's power sits on its zero-weight edges the
        // difference above cancels; such a band is summed term by term.
        const double magnitude = lo * risingPower + risingIndexed + hi * fallingPower + fallingIndexed;
        if (! (weighted > magnitude * 1e-9))
        {
            smoothedDb[(size_t) k] = dbOfPower (triangleAverage (power, lo, hi, k));
            continue;
        }

        const double a = mid - lo, b = hi - mid;
        const double weightSum = a * (a + 1.0) / 2.0 + b * (b - 1.0) / 2.0;
        smoothedDb[(size_t) k] = dbOfPower (weighted / weightSum);
    }
}

void SpectrumAnalysis::bandSmoothDirect (const std::vector<float>& power,
                                         float octaves,
                                         int firstBin,
                                         std::vector<float>& smoothedDb)
{
    const int n = (int) power.size();
    const float lowFactor = std::pow (2.0f, -octaves / 2.0f);
    const float highFactor = std::pow (2.0f, octaves / 2.0f);

    for (int k = std::max (1, firstBin); k < n; ++k)
    {
        int lo, hi;
        bandOf (k, lowFactor, highFactor, n, lo, hi);
        if (lo < hi)
            smoothedDb[(size_t) k] = dbOfPower (triangleAverage (power, lo, hi, k));
    }
}

void SpectrumAnalysis::smooth (std::vector<float>& spectrumDb,
                               int smoothing,
                               float sampleRate,
                               std::vector<float>& powerScratch,
                               std::vector<float>& smoothedDb,
                               std::vector<float>& averagedDb,
                               SmoothingScratch& scratch)
{
    if (smoothing == 0 || spectrumDb.empty())
        return;

    const size_t n = spectrumDb.size();
    powerScratch.resize (n);
    for (size_t k = 0; k < n; ++k)
        powerScratch[k] = powerOf (spectrumDb[k]);

    smoothedDb = spectrumDb;
    bandSmooth (
        powerScratch, bandwidthOctaves (smoothing), firstSmoothedBin ((int) n, sampleRate), smoothedDb, scratch);

    for (size_t k = 0; k < n; ++k)
        powerScratch[k] = powerOf (smoothedDb[k]);

    averagedDb = smoothedDb;
    for (size_t k = 2; k + 3 <= n; ++k)
        averagedDb[k] = dbOfPower (((double) powerScratch[k - 1] + powerScratch[k] + powerScratch[k + 1]) / 3.0);

    spectrumDb = averagedDb;
}
