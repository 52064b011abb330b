#pragma once

#include "editor/EngravedKey.h"

#include <juce_gui_basics/juce_gui_basics.h>

class OrvalenProcessor;

// One row of the left-hand column: the keys "SEL", "ON", "HOLD" and "CLR" of
// one curve slot, painted by the strip itself in the slot's colours, and the
// caption "Curva n". Presses write the slot flags of the processor directly.
class CurveStrip : public juce::Component
{
public:
    CurveStrip (OrvalenProcessor& processor, int slotIndex);
    ~CurveStrip() override;

    void resized() override;
    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

    // Lit-key colours of a slot: a fixed blue for slot 0, derived from the
    // slot colour for the others.
    static EngravedKey keyFor (int slotIndex);

    OrvalenProcessor& processor;
    const int slotIndex;
    bool clrPressed = false;
    float scaleFactor = 1.0f;
    juce::Font captionFont { 12.0f, juce::Font::bold };
    juce::Font buttonFont { 10.3f, juce::Font::bold };
    juce::Rectangle<float> selBounds, onBounds, holdBounds, clrBounds;

private:
    void drawKey (juce::Graphics& g, juce::Rectangle<float> r, const juce::String& text, bool lit);
    void pressSel();
    void pressOn();
    void pressHold();

    EngravedKey litKey;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CurveStrip)
};
