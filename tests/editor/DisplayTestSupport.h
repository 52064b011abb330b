#pragma once

#include "common/MouseEvents.h"
#include "common/ProgrammeSpectrum.h"

#include "processor/OrvalenProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <vector>

// Helpers shared by the display, curve-rendering and scope tests: headless
// rendering, hand-made mouse events, artefact images and test pictures.
namespace displaytest
{
inline juce::Image render (juce::Component& component)
{
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
    juce::Graphics g (image);
    component.paintEntireComponent (g, false);
    return image;
}

inline void saveArtefact (const juce::Image& image, const juce::String& name)
{
    const juce::File dir (LUMASPAN_TEST_ARTEFACTS_DIR);
    dir.createDirectory();
    const auto file = dir.getChildFile (name + ".png");
    file.deleteFile();
    juce::FileOutputStream out (file);
    if (out.openedOk())
        juce::PNGImageFormat().writeImageToStream (image, out);
}

inline juce::MouseEvent mouseAt (juce::Component& component,
                                 int x,
                                 int y,
                                 juce::ModifierKeys mods = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier),
                                 int clicks = 1)
{
    return handMadeMouseEvent (component, { (float) x, (float) y }, mods, clicks);
}

inline juce::MouseEvent hoverAt (juce::Component& component, int x, int y)
{
    return mouseAt (component, x, y, juce::ModifierKeys());
}

// A translucent white plate with rounded corners and a faint grain, the size
// of the real picture, so the glass path is exercised without the art.
inline juce::Image makeGlassPicture (int w = 1897, int h = 1225)
{
    juce::Image image (juce::Image::ARGB, w, h, true);
    juce::Graphics g (image);
    g.setColour (juce::Colours::white.withAlpha (0.16f));
    g.fillRoundedRectangle (0.0f, 0.0f, (float) w, (float) h, 60.0f);
    juce::Random random (42);
    for (int i = 0; i < 4000; ++i)
    {
        g.setColour (juce::Colours::white.withAlpha (random.nextFloat() * 0.1f));
        g.fillRect (random.nextInt (w), random.nextInt (h), 3, 3);
    }
    return image;
}

inline int channelDistance (juce::Colour a, juce::Colour b)
{
    return std::max ({ std::abs (a.getRed() - b.getRed()),
                       std::abs (a.getGreen() - b.getGreen()),
                       std::abs (a.getBlue() - b.getBlue()),
                       std::abs (a.getAlpha() - b.getAlpha()) });
}

// Largest per-channel difference between two images of equal size.
inline int maxImageDifference (const juce::Image& a, const juce::Image& b)
{
    int worst = 0;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
        {
            const auto d = channelDistance (a.getPixelAt (x, y), b.getPixelAt (x, y));
            worst = std::max (worst, d);
        }
    return worst;
}

inline int countDifferingPixels (const juce::Image& a, const juce::Image& b, int tolerance)
{
    int count = 0;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (channelDistance (a.getPixelAt (x, y), b.getPixelAt (x, y)) > tolerance)
                ++count;
    return count;
}

inline int countPixelsNear (const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour, int tolerance)
{
    int count = 0;
    area = area.getIntersection (image.getBounds());
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (channelDistance (image.getPixelAt (x, y), colour) <= tolerance)
                ++count;
    return count;
}

// A saturated, reasonably bright pixel of the same hue as c: a slot's line
// rather than its faint fill, the grid or the glass.
inline bool looksLike (juce::Colour pixel, juce::Colour c, float minBrightness = 0.4f)
{
    auto hueDistance = std::abs (pixel.getHue() - c.getHue());
    hueDistance = std::min (hueDistance, 1.0f - hueDistance);
    return hueDistance < 0.04f && pixel.getSaturation() > 0.45f && pixel.getBrightness() > minBrightness;
}

inline int
    countLookingLike (const juce::Image& image, juce::Rectangle<int> area, juce::Colour c, float minBrightness = 0.4f)
{
    int count = 0;
    area = area.getIntersection (image.getBounds());
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (looksLike (image.getPixelAt (x, y), c, minBrightness))
                ++count;
    return count;
}

// Pixels clearly brighter than the given background, e.g. text or lines.
inline int countBrightPixels (const juce::Image& image, juce::Rectangle<int> area, float minBrightness)
{
    int count = 0;
    area = area.getIntersection (image.getBounds());
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (image.getPixelAt (x, y).getBrightness() > minBrightness)
                ++count;
    return count;
}
} // namespace displaytest
