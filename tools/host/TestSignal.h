#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// A reproducible programme: a sine per channel under seeded noise, with
// full-scale peaks, tiny values and exact zeros, so that any change to the
// samples (gain, dither, denormal flushing, clearing) shows bit for bit.
class TestSignal
{
public:
    static void fill (juce::AudioBuffer<float>& buffer, int numChannels, juce::int64 startSample, double sampleRate);
};
