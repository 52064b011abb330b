#include "editor/ReadoutBar.h"

#include "processor/OrvalenProcessor.h"

namespace
{
constexpr float noReading = -90.0f;

struct BarMetrics
{
    float margin, pairGap, groupGap, height, corner;
};

BarMetrics metricsFor (int editorWidth)
{
    const float s = (float) editorWidth / 800.0f;
    return { 5.0f * s, 8.0f * s, 16.0f * s, 22.0f * s, 8.0f * s };
}

std::array<float, 4> widthsOf (const std::array<juce::String, 4>& lines, const juce::Font& font)
{
    std::array<float, 4> widths {};
    for (size_t i = 0; i < lines.size(); ++i)
        widths[i] = font.getStringWidthFloat (lines[i]);
    return widths;
}
} // namespace

juce::String formatReadout (float value)
{
    const juce::String text = value <= noReading ? juce::String ("--") : juce::String ((double) value, 1);
    return text.paddedLeft (' ', 6);
}

std::array<juce::String, 4> ReadoutBar::readoutLines (const OrvalenProcessor& processor)
{
    return { "TP: " + formatReadout (processor.truePeakDb.load()) + " dB",
             "RMS: " + formatReadout (processor.rmsDb.load()) + " dB",
             "M: " + formatReadout (processor.momentaryLufs.load()) + " LUFS",
             "I: " + formatReadout (processor.integratedLufs.load()) + " LUFS" };
}

juce::Rectangle<float> ReadoutBar::barBounds (const std::array<juce::String, 4>& lines,
                                              const juce::Font& font,
                                              juce::Rectangle<int> scopeBounds,
                                              int editorWidth)
{
    const auto m = metricsFor (editorWidth);
    const auto w = widthsOf (lines, font);
    const float width = m.margin + w[0] + m.pairGap + w[1] + m.groupGap + w[2] + m.pairGap + w[3] + m.margin;
    const float top = (float) scopeBounds.getBottom() + 10.0f * ((float) editorWidth / 800.0f);
    return { ((float) editorWidth - width) / 2.0f, top, width, m.height };
}

void ReadoutBar::paint (juce::Graphics& g,
                        const OrvalenProcessor& processor,
                        const juce::Font& font,
                        const juce::Image& glassImage,
                        juce::Rectangle<int> scopeBounds,
                        int editorWidth)
{
    GlassLayer layer;
    paint (g, processor, font, glassImage, scopeBounds, editorWidth, layer);
}

void ReadoutBar::paint (juce::Graphics& g,
                        const OrvalenProcessor& processor,
                        const juce::Font& font,
                        const juce::Image& glassImage,
                        juce::Rectangle<int> scopeBounds,
                        int editorWidth,
                        GlassLayer& glassLayer)
{
    const auto lines = readoutLines (processor);
    const auto m = metricsFor (editorWidth);
    const auto w = widthsOf (lines, font);
    const auto bar = barBounds (lines, font, scopeBounds, editorWidth);

    g.setColour (juce::Colour (0xFF080A0C));
    g.fillRoundedRectangle (bar, m.corner);
    g.setColour (juce::Colour (0x806E6E6E));
    g.drawRoundedRectangle (bar, m.corner, 1.0f);

    g.setFont (font);
    auto rest = bar;
    const float gapsBefore[] = { m.margin, m.pairGap, m.groupGap, m.pairGap };
    const juce::Colour colours[] = {
        juce::Colour (0xB2FFFFFF), juce::Colour (0xB2FFFFFF), juce::Colour (0xE6FF9900), juce::Colour (0xE6FF9900)
    };
    for (size_t i = 0; i < lines.size(); ++i)
    {
        rest.removeFromLeft (gapsBefore[i]);
        const auto slot = rest.removeFromLeft (w[i]);
        g.setColour (colours[i]);
        g.drawText (lines[i], slot, juce::Justification::centred, true);
    }

    if (! glassImage.isValid())
        return;

    refreshGlassLayer (glassLayer, glassImage, bar, m.corner);
    if (glassLayer.image.isValid())
        g.drawImageAt (glassLayer.image, glassLayer.area.getX(), glassLayer.area.getY());
}

void ReadoutBar::paintGlass (juce::Graphics& g, const juce::Image& glassImage, juce::Rectangle<float> bar, float corner)
{
    juce::Graphics::ScopedSaveState state (g);
    juce::Path shape;
    shape.addRoundedRectangle (bar, corner);
    g.reduceClipRegion (shape);
    g.setOpacity (0.5f);
    g.drawImage (glassImage, bar, juce::RectanglePlacement::fillDestination);
}

void ReadoutBar::refreshGlassLayer (GlassLayer& layer,
                                    const juce::Image& glassImage,
                                    juce::Rectangle<float> bar,
                                    float corner)
{
    if (layer.image.isValid() && layer.source == glassImage && layer.bar == bar)
        return;

    layer.source = glassImage;
    layer.bar = bar;
    layer.area = bar.getSmallestIntegerContainer();
    layer.image = {};
    if (layer.area.isEmpty())
        return;

    // Drawn at the bar's own sub-pixel position, so the copy blits 1:1.
    layer.image = juce::Image (juce::Image::ARGB, layer.area.getWidth(), layer.area.getHeight(), true);
    juce::Graphics lg (layer.image);
    lg.addTransform (juce::AffineTransform::translation ((float) -layer.area.getX(), (float) -layer.area.getY()));
    paintGlass (lg, glassImage, bar, corner);
}
