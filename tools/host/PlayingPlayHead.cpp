#include "PlayingPlayHead.h"

PlayingPlayHead::PlayingPlayHead (double rate)
    : sampleRate (rate)
{
}

juce::Optional<juce::AudioPlayHead::PositionInfo> PlayingPlayHead::getPosition() const
{
    PositionInfo info;
    info.setIsPlaying (true);
    info.setTimeInSamples (samplePosition);
    info.setTimeInSeconds ((double) samplePosition / sampleRate);
    info.setBpm (120.0);
    info.setTimeSignature (TimeSignature {});
    return info;
}

void PlayingPlayHead::advance (int numSamples) { samplePosition += numSamples; }
