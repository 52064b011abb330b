#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

// A host transport for tests: reports playing or stopped and a sample position.
class TestPlayHead final : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying (playing.load());
        info.setTimeInSamples (position.load());
        return info;
    }

    std::atomic<bool> playing { true };
    std::atomic<juce::int64> position { 0 };
};
