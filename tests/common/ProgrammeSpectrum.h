#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <vector>

// A programme-like spectrum at FFT-bin resolution for display tests and
// benchmarks: a pink slope from the low mids with a low-end roll-off and a few
// dB of random texture; optionally harmonic peaks on 110 Hz and the 1/12-octave
// smoothing the analysis applies by default.
struct ProgrammeSpectrumShape
{
    bool harmonics = false;
    bool smoothed = false;
};

inline std::vector<float>
    programmeCurve (int bins, double sampleRate, int seed, float offsetDb = 0.0f, ProgrammeSpectrumShape shape = {})
{
    std::vector<float> curve ((size_t) bins);
    juce::Random random (seed);
    const auto binHz = sampleRate / (2.0 * bins);
    for (int j = 0; j < bins; ++j)
    {
        const auto f = std::max (j * binHz, 5.0);
        auto db = -24.0 - 3.0 * std::log2 (std::max (f, 120.0) / 120.0);
        if (f < 40.0)
            db -= 12.0 * std::log2 (40.0 / f);
        for (int h = 1; shape.harmonics && h <= 12; ++h)
            db += 8.0 / h * std::exp (-std::pow ((f - 110.0 * h) / 6.0, 2.0));
        db += (random.nextDouble() - 0.5) * 6.0 + offsetDb;
        curve[(size_t) j] = (float) db;
    }

    if (shape.smoothed)
    {
        std::vector<double> prefix ((size_t) bins + 1, 0.0);
        for (int j = 0; j < bins; ++j)
            prefix[(size_t) j + 1] = prefix[(size_t) j] + curve[(size_t) j];
        const auto halfWidth = std::pow (2.0, 1.0 / 24.0) - 1.0;
        for (int j = 0; j < bins; ++j)
        {
            const auto reach = (int) (j * halfWidth);
            const auto lo = std::max (0, j - reach);
            const auto hi = std::min (bins - 1, j + reach);
            curve[(size_t) j] = (float) ((prefix[(size_t) hi + 1] - prefix[(size_t) lo]) / (hi - lo + 1));
        }
    }

    for (auto& v : curve)
        v = juce::jlimit (-150.0f, 0.0f, v);
    return curve;
}
