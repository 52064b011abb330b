#include "editor/ParamButtonLookAndFeel.h"

namespace
{
EngravedKey makeKey()
{
    EngravedKey key;
    key.glow = juce::Colour (0xFF70B7CB);
    for (float f = 0.5f; f <= 3.0f; f += 0.5f)
        key.rings.emplace_back (f, juce::jmax (0.0f, (0.9f - f / 3.0f * 0.85f) * 0.35f));
    key.top = juce::Colour (0xFF70B7CB);
    key.bottom = juce::Colour (0xFF1C586A);
    key.highlight = juce::Colour (0x998CC5D5);
    key.textDiagonal = juce::Colour (0x993097B5);
    key.textStraight = juce::Colour (0xE63097B5);
    return key;
}

bool drawsLit (const juce::Button& button, bool down) { return down || button.getToggleState(); }
} // namespace

ParamButtonLookAndFeel::ParamButtonLookAndFeel() = default;
ParamButtonLookAndFeel::~ParamButtonLookAndFeel() = default;

const EngravedKey& ParamButtonLookAndFeel::key()
{
    static const EngravedKey shared = makeKey();
    return shared;
}

void ParamButtonLookAndFeel::drawButtonBackground (juce::Graphics& g,
                                                   juce::Button& button,
                                                   const juce::Colour&,
                                                   bool,
                                                   bool shouldDrawButtonAsDown)
{
    const float w = (float) button.getWidth(), h = (float) button.getHeight();
    const juce::Rectangle<float> body (4.0f, 4.0f, juce::jmax (0.0f, w - 8.0f), juce::jmax (0.0f, h - 8.0f));

    if (drawsLit (button, shouldDrawButtonAsDown))
        key().drawLitBody (g, body);
    else
        EngravedKey::drawUnlitBody (g, body, 0.0f, juce::jmax (0.0f, h - 8.0f));
}

void ParamButtonLookAndFeel::drawButtonText (juce::Graphics& g,
                                             juce::TextButton& button,
                                             bool,
                                             bool shouldDrawButtonAsDown)
{
    g.setFont (buttonFont);
    const juce::Rectangle<float> box (0.0f, 0.0f, (float) button.getWidth(), (float) button.getHeight());
    key().drawText (g, button.getButtonText(), box, drawsLit (button, shouldDrawButtonAsDown));
}
