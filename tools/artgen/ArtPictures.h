#pragma once

#include <juce_graphics/juce_graphics.h>

// Each routine draws one of the embedded pictures at its final pixel size.
juce::Image drawGlassPlate();
juce::Image drawMetalBackground();
juce::Image drawMakerLogo (juce::Typeface::Ptr displayFace);
juce::Image drawRearPanel (juce::Typeface::Ptr displayFace);
