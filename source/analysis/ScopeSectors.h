#pragma once

#include "analysis/RealFft.h"

#include <juce_dsp/juce_dsp.h>

// Sorts one 2048-sample stereo capture into 120 direction sectors: for every
// bin, its direction in the stereo image and its combined left + right power.
struct ScopeSectors
{
    static constexpr int captureSize = 2048;
    static constexpr int numSectors = 120;

    // Windows and transforms the capture into the two work buffers (each
    // 2 x captureSize floats), then sorts the bins into `sectors`.
    static void analyseCapture (const float* captureLeft,
                                const float* captureRight,
                                float* fftLeft,
                                float* fftRight,
                                const RealFft& fft,
                                juce::dsp::WindowingFunction<float>& window,
                                float* sectors);

    // Bins 1 .. 1023 of two transformed captures (interleaved re, im).
    static void sortBins (const float* spectrumLeft, const float* spectrumRight, float* sectors);

    // Sector of a direction in radians, or -1 when the direction lies in the
    // excluded bands around +-48 degrees.
    static int sectorOf (float direction);
};
