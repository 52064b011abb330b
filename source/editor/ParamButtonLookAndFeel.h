#pragma once

#include "editor/EngravedKey.h"

#include <juce_gui_basics/juce_gui_basics.h>

// Look of the parameter-strip buttons: a dark engraved key when off, a
// glowing teal key when on or held down. Hovering changes nothing.
class ParamButtonLookAndFeel : public juce::LookAndFeel_V4
{
public:
    ParamButtonLookAndFeel();
    ~ParamButtonLookAndFeel() override;

    void drawButtonBackground (juce::Graphics& g,
                               juce::Button& button,
                               const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted,
                               bool shouldDrawButtonAsDown) override;
    void drawButtonText (juce::Graphics& g,
                         juce::TextButton& button,
                         bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;

    float scaleFactor = 1.0f;
    juce::Font buttonFont { 10.8f, juce::Font::bold };

    // The key's colours and glow rings, shared by every button of the strip.
    static const EngravedKey& key();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ParamButtonLookAndFeel)
};
