#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Plays a reproducible signal through a hosted instance with the transport
// rolling and compares every output sample with its input, bit for bit.
class PassThroughCheck
{
public:
    struct Options
    {
        double sampleRate = 48000.0;
        int blockSize = 512;
        double seconds = 3.0;
    };

    // Runs the check for one symmetric layout (1 or 2 channels); prints one
    // line and returns whether the output equalled the input.
    static bool run (juce::AudioPluginInstance& instance, int numChannels, const Options& options);
};
