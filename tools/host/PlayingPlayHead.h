#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// A transport that is always rolling; the position advances with every block.
class PlayingPlayHead : public juce::AudioPlayHead
{
public:
    explicit PlayingPlayHead (double sampleRate);

    juce::Optional<PositionInfo> getPosition() const override;
    void advance (int numSamples);

private:
    double sampleRate;
    juce::int64 samplePosition = 0;
};
