#pragma once

#include "PlayingPlayHead.h"

#include <juce_audio_processors/juce_audio_processors.h>

// Plays the test signal through a hosted instance in real time on a thread of
// its own, with the transport rolling, as a host's audio thread would.
class AudioFeeder : private juce::Thread
{
public:
    AudioFeeder (juce::AudioPluginInstance& instance, double sampleRate, int blockSize);
    ~AudioFeeder() override;

    void start();
    void stop();
    juce::int64 getSamplesPlayed() const { return samplesPlayed.load(); }

private:
    void run() override;

    juce::AudioPluginInstance& instance;
    double sampleRate;
    int blockSize;
    PlayingPlayHead playHead;
    std::atomic<juce::int64> samplesPlayed { 0 };
};
