#include "editor/CoverImage.h"

juce::Image makeCoverImage (const juce::Image& source, int width, int height, juce::Image::PixelFormat format)
{
    if (! source.isValid() || width <= 0 || height <= 0)
        return {};

    juce::Image copy (format, width, height, true);
    juce::Graphics g (copy);
    g.drawImage (
        source, juce::Rectangle<float> ((float) width, (float) height), juce::RectanglePlacement::fillDestination);
    return copy;
}

void drawCoverImage (juce::Graphics& g,
                     const juce::Image& source,
                     juce::Image& scaledCopy,
                     int width,
                     int height,
                     float opacity)
{
    if (! source.isValid())
        return;
    if (scaledCopy.getWidth() != width || scaledCopy.getHeight() != height)
        scaledCopy = makeCoverImage (source, width, height, juce::Image::ARGB);
    if (! scaledCopy.isValid())
        return;

    g.setOpacity (opacity);
    g.drawImageAt (scaledCopy, 0, 0);
    g.setOpacity (1.0f);
}
