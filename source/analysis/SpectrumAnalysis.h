#pragma once

#include "analysis/RealFft.h"

#include <juce_dsp/juce_dsp.h>

#include <vector>

// One analysis pass from the sample history to the spectrum in dB, split into
// the steps the analysis thread runs: transform, weighting, clamp, smoothing.
struct SpectrumAnalysis
{
    static constexpr float floorDb = -150.0f;

    // Prefix sums for the band smoothing, kept between passes so that a pass
    // allocates only when the bin count changes.
    struct SmoothingScratch
    {
        std::vector<double> powerSum, powerSumError;
        std::vector<double> indexedSum, indexedSumError;
    };

    // The rate used for bin frequencies: the prepared rate as float, 48000
    // when it is not positive.
    static float analysisSampleRate (double preparedRate);

    // Windowed transform of the newest fftSize samples of history into
    // spectrumDb (fftSize / 2 values). fftData must hold 2 x fftSize floats.
    static void computeSpectrum (const RealFft& fft,
                                 juce::dsp::WindowingFunction<float>& window,
                                 const std::vector<float>& history,
                                 int fftSize,
                                 float sampleRate,
                                 std::vector<float>& fftData,
                                 std::vector<float>& spectrumDb);

    // Weighting curve in dB at f Hz: 1 "A", 2 "C", 3 "K"; 0 for anything else.
    static float weightingDb (int weighting, float f);
    static void applyWeighting (std::vector<float>& spectrumDb, int weighting, float sampleRate);

    // The weighting of every bin, kept between passes and rebuilt only when
    // the weighting, the bin count or the rate changes.
    struct WeightingTable
    {
        int weighting = 0;
        float sampleRate = 0.0f;
        std::vector<float> db;
    };
    static void applyWeighting (std::vector<float>& spectrumDb, int weighting, float sampleRate, WeightingTable& table);
    static void clampSpectrum (std::vector<float>& spectrumDb);

    // Band width in octaves for a smoothing index; 0 for "Off" and unknown values.
    static float bandwidthOctaves (int smoothing);

    // Fractional-octave smoothing and three-bin average, in place on
    // spectrumDb; does nothing for "Off".
    static void smooth (std::vector<float>& spectrumDb,
                        int smoothing,
                        float sampleRate,
                        std::vector<float>& powerScratch,
                        std::vector<float>& smoothedDb,
                        std::vector<float>& averagedDb,
                        SmoothingScratch& scratch);

    // The triangle-weighted band sums of the smoothing, in O(n) from prefix
    // sums (bandSmooth) and summed term by term (bandSmoothDirect, the
    // reference). Both read powerScratch and write the bands into smoothedDb.
    static void bandSmooth (const std::vector<float>& power,
                            float octaves,
                            int firstBin,
                            std::vector<float>& smoothedDb,
                            SmoothingScratch& scratch);
    static void
        bandSmoothDirect (const std::vector<float>& power, float octaves, int firstBin, std::vector<float>& smoothedDb);

    // The bin nearest to 80 Hz: bins below it are not band-smoothed.
    static int firstSmoothedBin (int numBins, float sampleRate);
};
