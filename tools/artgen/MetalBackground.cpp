#include "ArtCommon.h"
#include "ArtPictures.h"

// Dark brushed steel with a soft top light and darker corners; the window
// crops it to its own aspect ratio, so nothing important sits near the sides.
juce::Image drawMetalBackground()
{
    const int w = 1920, h = 1280;
    juce::Image image (juce::Image::RGB, w, h, false);
    art::fillBrushedMetal (image, juce::Colour (0xFF23262D), 0.09f, 0.10f, 20261210);

    juce::Graphics g (image);
    juce::ColourGradient topLight (juce::Colours::white.withAlpha (0.07f),
                                   (float) w * 0.5f,
                                   (float) h * -0.2f,
                                   juce::Colours::white.withAlpha (0.0f),
                                   (float) w * 0.5f,
                                   (float) h * 0.55f,
                                   true);
    g.setGradientFill (topLight);
    g.fillAll();

    juce::ColourGradient vignette (juce::Colours::black.withAlpha (0.0f),
                                   (float) w * 0.5f,
                                   (float) h * 0.45f,
                                   juce::Colours::black.withAlpha (0.55f),
                                   0.0f,
                                   0.0f,
                                   true);
    vignette.addColour (0.6, juce::Colours::black.withAlpha (0.12f));
    g.setGradientFill (vignette);
    g.fillAll();

    // A faint machined edge all round, like the border of a front plate.
    g.setColour (juce::Colours::white.withAlpha (0.06f));
    g.drawRect (image.getBounds().reduced (6), 2);
    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.drawRect (image.getBounds().reduced (9), 2);
    return image;
}
