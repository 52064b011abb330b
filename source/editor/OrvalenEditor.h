#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class OrvalenProcessor;

// The plug-in window.
class OrvalenEditor : public juce::AudioProcessorEditor, private juce::Timer
{
public:
    explicit OrvalenEditor (OrvalenProcessor& processor);
    ~OrvalenEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void timerCallback() override;

    OrvalenProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvalenEditor)
};
