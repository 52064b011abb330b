#include "editor/EngravedKey.h"

namespace
{
const juce::Colour unlitTop (0xFF4A4E57);
const juce::Colour unlitBottom (0xFF282B33);
const juce::Colour unlitOutline (0xFF111216);

juce::Rectangle<float> nonNegative (float x, float y, float w, float h)
{
    return { x, y, juce::jmax (0.0f, w), juce::jmax (0.0f, h) };
}
} // namespace

void EngravedKey::drawUnlitBody (juce::Graphics& g,
                                 juce::Rectangle<float> body,
                                 float gradientTop,
                                 float gradientBottom)
{
    g.setGradientFill (juce::ColourGradient (unlitTop, 0.0f, gradientTop, unlitBottom, 0.0f, gradientBottom, false));
    g.fillRoundedRectangle (body, corner);
    g.setColour (unlitOutline);
    g.drawRoundedRectangle (body, corner, 1.0f);
}

void EngravedKey::drawLitBody (juce::Graphics& g, juce::Rectangle<float> body) const
{
    for (const auto& [distance, alpha] : rings)
    {
        g.setColour (glow.withAlpha (alpha));
        g.drawRoundedRectangle (nonNegative (body.getX() - distance,
                                             body.getY() - distance,
                                             body.getWidth() + 2.0f * distance,
                                             body.getHeight() + 2.0f * distance),
                                corner + 0.5f * distance,
                                1.0f);
    }

    const float cx = body.getX() + body.getWidth() * 0.5f;
    g.setGradientFill (juce::ColourGradient (top, cx, body.getY(), bottom, cx, body.getBottom(), false));
    g.fillRoundedRectangle (body, corner);

    g.setColour (highlight);
    g.drawRoundedRectangle (
        nonNegative (body.getX() + 0.5f, body.getY() + 0.5f, body.getWidth() - 1.0f, body.getHeight() - 1.0f),
        corner - 0.5f,
        1.0f);
}

void EngravedKey::drawText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> box, bool lit) const
{
    auto copyAt = [&] (juce::Colour colour, float dx, float dy)
    {
        g.setColour (colour);
        g.drawText (text, box.translated (dx, dy), juce::Justification::centred, true);
    };

    if (! lit)
    {
        copyAt (juce::Colour (0xFF000000), 0.0f, 0.0f);
        return;
    }

    copyAt (textDiagonal, 1.0f, 1.0f);
    copyAt (textDiagonal, -1.0f, -1.0f);
    copyAt (textDiagonal, 1.0f, -1.0f);
    copyAt (textDiagonal, -1.0f, 1.0f);
    copyAt (textStraight, 0.0f, 1.0f);
    copyAt (textStraight, 0.0f, -1.0f);
    copyAt (textStraight, 1.0f, 0.0f);
    copyAt (textStraight, -1.0f, 0.0f);
    copyAt (juce::Colour (0xFFFFFFFF), 0.0f, 0.0f);
}
