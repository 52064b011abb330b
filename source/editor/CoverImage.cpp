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
