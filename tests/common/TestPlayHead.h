#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

// A host transport for tests: playing or stopped, at a sample position. It
// starts stopped unless told otherwise, like a host before the user hits play.
class TestPlayHead final : public juce::AudioPlayHead
{
public:
    explicit TestPlayHead (bool startPlaying = false)
        : playing (startPlaying)
    {
    }

    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying (playing.load());
        info.setTimeInSamples (position.load());
        return info;
    }

    std::atomic<bool> playing;
    std::atomic<juce::int64> position { 0 };
};
