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
    void blitKey (juce::Graphics& g, int key, bool lit);
    void pressSel();
    void pressOn();
    void pressHold();

    EngravedKey litKey;

    // Each key drawn once per size, font and lit state: the editor repaints the
    // strips every 16 ms and the glow and text copies are costly to redraw.
    juce::Image keyImages[4][2];
    juce::Rectangle<int> keyAreas[4];
    juce::Font cachedButtonFont { buttonFont };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CurveStrip)
};
