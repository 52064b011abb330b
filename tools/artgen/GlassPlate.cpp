#include "ArtCommon.h"
#include "ArtPictures.h"

// A clear acrylic plate: mostly transparent so curves read through it, a soft
// sheen from the upper left, and a bevelled edge that catches the light.
juce::Image drawGlassPlate()
{
    const int w = 1897, h = 1225;
    juce::Image image (juce::Image::ARGB, w, h, true);
    juce::Graphics g (image);
    const auto plate = image.getBounds().toFloat().reduced (3.0f);
    const float corner = 70.0f;

    juce::Path body;
    body.addRoundedRectangle (plate, corner);

    juce::ColourGradient tint (juce::Colours::white.withAlpha (0.15f),
                               0.0f,
                               0.0f,
                               juce::Colours::white.withAlpha (0.04f),
                               (float) w,
                               (float) h,
                               false);
    tint.addColour (0.55, juce::Colours::white.withAlpha (0.06f));
    g.setGradientFill (tint);
    g.fillPath (body);

    g.saveState();
    g.reduceClipRegion (body);
    juce::Path sheen;
    sheen.startNewSubPath (0.0f, 0.0f);
    sheen.lineTo ((float) w * 0.62f, 0.0f);
    sheen.quadraticTo ((float) w * 0.35f, (float) h * 0.30f, 0.0f, (float) h * 0.58f);
    sheen.closeSubPath();
    juce::ColourGradient sheenFill (juce::Colours::white.withAlpha (0.13f),
                                    0.0f,
                                    0.0f,
                                    juce::Colours::white.withAlpha (0.0f),
                                    (float) w * 0.36f,
                                    (float) h * 0.42f,
                                    false);
    g.setGradientFill (sheenFill);
    g.fillPath (sheen);

    juce::ColourGradient lowLight (juce::Colours::white.withAlpha (0.0f),
                                   0.0f,
                                   (float) h * 0.78f,
                                   juce::Colours::white.withAlpha (0.07f),
                                   0.0f,
                                   (float) h,
                                   false);
    g.setGradientFill (lowLight);
    g.fillRect (image.getBounds());
    g.restoreState();

    juce::ColourGradient rim (juce::Colours::white.withAlpha (0.55f),
                              0.0f,
                              0.0f,
                              juce::Colours::white.withAlpha (0.18f),
                              0.0f,
                              (float) h,
                              false);
    g.setGradientFill (rim);
    g.strokePath (body, juce::PathStrokeType (5.0f));

    juce::Path inner;
    inner.addRoundedRectangle (plate.reduced (9.0f), corner - 9.0f);
    g.setColour (juce::Colours::white.withAlpha (0.12f));
    g.strokePath (inner, juce::PathStrokeType (4.0f));

    juce::Path outer;
    outer.addRoundedRectangle (image.getBounds().toFloat().reduced (1.0f), corner + 2.0f);
    g.setColour (juce::Colours::black.withAlpha (0.25f));
    g.strokePath (outer, juce::PathStrokeType (2.0f));
    return image;
}
