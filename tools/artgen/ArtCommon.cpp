#include "ArtCommon.h"

#include <cmath>
#include <vector>

namespace art
{
float clamp01 (float v) { return juce::jlimit (0.0f, 1.0f, v); }

static void smearRow (const std::vector<float>& in, std::vector<float>& out, int radius)
{
    const int n = (int) in.size();
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i)
        sum += in[(size_t) ((i + n) % n)];
    for (int x = 0; x < n; ++x)
    {
        out[(size_t) x] = sum / (float) (2 * radius + 1);
        sum += in[(size_t) ((x + radius + 1) % n)] - in[(size_t) ((x - radius + n) % n)];
    }
}

void fillBrushedMetal (juce::Image& image, juce::Colour base, float grain, float streak, juce::int64 seed)
{
    juce::Random random (seed);
    const int w = image.getWidth(), h = image.getHeight();
    std::vector<float> noise ((size_t) w), smeared ((size_t) w);
    juce::Image::BitmapData data (image, juce::Image::BitmapData::writeOnly);
    float rowTone = 0.0f;

    for (int y = 0; y < h; ++y)
    {
        rowTone = rowTone * 0.85f + (random.nextFloat() - 0.5f) * 0.3f;
        for (auto& v : noise)
            v = random.nextFloat() - 0.5f;
        smearRow (noise, smeared, 12 + random.nextInt (30));

        for (int x = 0; x < w; ++x)
        {
            const float fine = (random.nextFloat() - 0.5f) * grain;
            const float delta = rowTone * streak + smeared[(size_t) x] * grain * 14.0f + fine;
            const float lum = 1.0f + delta;
            data.setPixelColour (x,
                                 y,
                                 juce::Colour::fromFloatRGBA (clamp01 (base.getFloatRed() * lum),
                                                              clamp01 (base.getFloatGreen() * lum),
                                                              clamp01 (base.getFloatBlue() * lum),
                                                              1.0f));
        }
    }
}

void drawScrew (juce::Graphics& g, juce::Point<float> centre, float radius, float angle)
{
    const auto disc = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);
    g.setColour (juce::Colours::black.withAlpha (0.55f));
    g.fillEllipse (disc.expanded (radius * 0.18f).translated (0.0f, radius * 0.12f));

    juce::ColourGradient head (juce::Colour (0xFFD8DCE2),
                               disc.getX(),
                               disc.getY(),
                               juce::Colour (0xFF4A4F58),
                               disc.getRight(),
                               disc.getBottom(),
                               false);
    g.setGradientFill (head);
    g.fillEllipse (disc);
    g.setColour (juce::Colour (0xFF1C1E22));
    g.drawEllipse (disc, juce::jmax (1.0f, radius * 0.08f));

    const float len = radius * 0.62f, thick = radius * 0.22f;
    for (int k = 0; k < 2; ++k)
    {
        juce::Path slot;
        slot.addRoundedRectangle (-len, -thick * 0.5f, len * 2.0f, thick, thick * 0.3f);
        const auto turn = juce::AffineTransform::rotation (angle + (float) k * juce::MathConstants<float>::halfPi)
                              .translated (centre);
        g.setColour (juce::Colour (0xFF15171B));
        g.fillPath (slot, turn);
        g.setColour (juce::Colours::white.withAlpha (0.25f));
        g.fillPath (slot, turn.translated (radius * 0.04f, radius * 0.06f));
        g.setColour (juce::Colour (0xFF202328));
        g.fillPath (slot, turn);
    }
}

void drawEngravedText (juce::Graphics& g,
                       const juce::String& text,
                       juce::Rectangle<float> area,
                       juce::Justification justification,
                       juce::Colour colour,
                       float depth)
{
    g.setColour (juce::Colours::white.withAlpha (0.28f));
    g.drawText (text, area.translated (0.0f, depth), justification, false);
    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.drawText (text, area.translated (0.0f, -depth * 0.6f), justification, false);
    g.setColour (colour);
    g.drawText (text, area, justification, false);
}
} // namespace art
