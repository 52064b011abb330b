#include "editor/ResolutionSwitch.h"

#include "processor/OrvalenProcessor.h"

ResolutionSwitch::ResolutionSwitch (OrvalenProcessor& p)
    : processor (p)
{
    setSize (46, 28);
}

ResolutionSwitch::~ResolutionSwitch() = default;

void ResolutionSwitch::mouseDown (const juce::MouseEvent&)
{
    const int current = processor.requestedFftOrder.load();
    processor.requestedFftOrder.exchange (current == 13 ? 12 : 13);
    repaint();
}

void ResolutionSwitch::paint (juce::Graphics& g)
{
    const bool hi = processor.requestedFftOrder.load() == 13;
    const float w = (float) getWidth(), h = (float) getHeight();

    const float inset = 0.06f * h;
    const float e = juce::jmax (0.0f, h - 2.0f * inset);
    const float trackH = e / 1.5f;
    const float y = inset + (e - trackH) / 2.0f;

    const juce::Colour base (hi ? hiColour : loColour);
    g.setGradientFill (
        juce::ColourGradient (base.brighter (0.15f), w / 2.0f, y, base.darker (0.55f), w / 2.0f, y + trackH, false));
    g.fillRoundedRectangle (0.0f, y, w, trackH, trackH / 2.0f);

    g.setColour (juce::Colour (0xFF111216));
    g.drawRoundedRectangle (
        0.5f, y + 0.5f, juce::jmax (0.0f, w - 1.0f), juce::jmax (0.0f, trackH - 1.0f), trackH / 2.0f - 0.5f, 1.0f);

    const juce::Rectangle<int> labelArea (juce::roundToInt (hi ? 0.0f : trackH),
                                          juce::roundToInt (inset),
                                          juce::roundToInt (juce::jmax (0.0f, w - trackH - 2.0f)),
                                          juce::roundToInt (e));
    g.setFont (switchFont);
    g.setColour (juce::Colour (0xE6FFFFFF));
    g.drawFittedText (hi ? "Hi" : "Lo", labelArea, juce::Justification::centred, 1, 0.5f);

    paintThumb (g, hi ? w - trackH - 1.0f : 1.0f, y, trackH);
}

void ResolutionSwitch::paintThumb (juce::Graphics& g, float x, float y, float h)
{
    g.setColour (juce::Colour (0x59000000));
    g.fillEllipse (x, y + 1.0f, h, h);

    g.setGradientFill (juce::ColourGradient (
        juce::Colour (0xFFE8E8EC), x + h / 2.0f, y, juce::Colour (0xFF9AA0AA), x + h / 2.0f, y + h, false));
    g.fillEllipse (x, y, h, h);

    g.setColour (juce::Colour (0xFF2A2D33));
    g.drawEllipse (x + 0.5f, y + 0.5f, juce::jmax (0.0f, h - 1.0f), juce::jmax (0.0f, h - 1.0f), 1.0f);
}
