#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// One K-weighting biquad: the framework's filter, stepped inline with exactly
// the arithmetic of its processSingleSampleRaw, which the compiler cannot
// inline across the framework's translation unit.
struct WeightingStage : juce::IIRFilter
{
    float step (float in) noexcept
    {
        const float* c = coefficients.coefficients;
        float out = c[0] * in + v1;
        JUCE_SNAP_TO_ZERO (out);
        v1 = c[1] * in - c[3] * out + v2;
        v2 = c[2] * in - c[4] * out;
        return out;
    }
};
