#include "ArtCommon.h"
#include "ArtPictures.h"

namespace
{
constexpr int logoWidth = 1421, logoHeight = 806;
const juce::Colour accent (0xFF70B7CB);

// A ring holding a rising spectrum hump: the maker's mark.
void drawEmblem (juce::Graphics& g, juce::Rectangle<float> circle)
{
    const auto c = circle.getCentre();
    const float r = circle.getWidth() * 0.5f;

    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.drawEllipse (circle.reduced (r * 0.04f).translated (0.0f, r * 0.05f), r * 0.11f);

    juce::ColourGradient ringFill (
        juce::Colour (0xFFF4F6F8), c.x, circle.getY(), juce::Colour (0xFF9AA3B0), c.x, circle.getBottom(), false);
    g.setGradientFill (ringFill);
    g.drawEllipse (circle.reduced (r * 0.04f), r * 0.09f);

    juce::Path hump;
    const float left = c.x - r * 0.72f, right = c.x + r * 0.72f, base = c.y + r * 0.42f;
    hump.startNewSubPath (left, base);
    for (int i = 0; i <= 64; ++i)
    {
        const float t = (float) i / 64.0f;
        const float shape =
            std::pow (juce::jmax (0.0f, std::sin (t * juce::MathConstants<float>::pi)), 1.6f) * (0.75f + 0.25f * t);
        const float ripple =
            0.06f * std::sin (t * 17.0f) * juce::jmax (0.0f, std::sin (t * juce::MathConstants<float>::pi));
        hump.lineTo (left + (right - left) * t, base - r * 0.95f * (shape + ripple));
    }
    juce::Path filled (hump);
    filled.lineTo (right, base);
    filled.closeSubPath();

    juce::ColourGradient glow (
        accent.withAlpha (0.85f), c.x, c.y - r * 0.5f, accent.withAlpha (0.05f), c.x, base, false);
    g.setGradientFill (glow);
    g.fillPath (filled);
    g.setColour (juce::Colour (0xFFE6F4F8));
    g.strokePath (hump, juce::PathStrokeType (r * 0.055f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.setColour (juce::Colour (0xFFD0D8E0));
    g.fillRoundedRectangle (left, base + r * 0.03f, right - left, r * 0.05f, r * 0.025f);
}

juce::Font wordFont (juce::Typeface::Ptr face, float height)
{
    juce::Font font = face != nullptr ? juce::Font (face)
                                      : juce::Font (juce::Font::getDefaultSansSerifFontName(), 10.0f, juce::Font::bold);
    return font.withHeight (height).withExtraKerningFactor (0.06f);
}
} // namespace

juce::Image drawMakerLogo (juce::Typeface::Ptr displayFace)
{
    juce::Image image (juce::Image::ARGB, logoWidth, logoHeight, true);
    juce::Graphics g (image);

    drawEmblem (g, juce::Rectangle<float> (380.0f, 380.0f).withCentre ({ logoWidth * 0.5f, 215.0f }));

    float height = 360.0f;
    auto font = wordFont (displayFace, height);
    const float maxWidth = logoWidth - 90.0f;
    if (font.getStringWidthFloat ("Orvalen") > maxWidth)
        font = wordFont (displayFace, height * maxWidth / font.getStringWidthFloat ("Orvalen"));

    const juce::Rectangle<float> word (0.0f, 430.0f, (float) logoWidth, 376.0f);
    g.setFont (font);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawText ("Orvalen", word.translated (0.0f, 10.0f), juce::Justification::centred, false);

    juce::ColourGradient metal (juce::Colour (0xFFFFFFFF),
                                0.0f,
                                word.getY() + 60.0f,
                                juce::Colour (0xFFA7B0BC),
                                0.0f,
                                word.getBottom() - 40.0f,
                                false);
    g.setGradientFill (metal);
    g.drawText ("Orvalen", word, juce::Justification::centred, false);
    return image;
}
