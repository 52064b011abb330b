#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// A few seconds of pink noise with a slowly panned 1 kHz tone: enough to show
// every part of the analyser working.
juce::AudioBuffer<float> makeDemoSignal (double sampleRate, double seconds);
