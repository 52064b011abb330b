#pragma once

#include "editor/ParamButtonLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <memory>
#include <vector>

class OrvalenProcessor;

// One row of the right-hand column: a caption and one button per option of an
// analysis setting. A click stores the option's index; a 100 ms poll keeps
// the lit button in step with values restored by the host.
class ParamStrip : public juce::Component, private juce::Timer
{
public:
    ParamStrip (OrvalenProcessor& processor, int stripIndex);
    ~ParamStrip() override;

    void resized() override;
    void syncFromProcessor();

    OrvalenProcessor& processor;
    const int stripIndex;
    juce::Label titleLabel;
    ParamButtonLookAndFeel buttonLook;
    std::vector<std::unique_ptr<juce::TextButton>> buttons;

private:
    void timerCallback() override;
    std::atomic<int>* setting() const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ParamStrip)
};
