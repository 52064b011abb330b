#pragma once

#include <juce_graphics/juce_graphics.h>

// A copy of a picture scaled to cover width x height, centred and cropped, as
// RectanglePlacement::fillDestination draws it. Components keep such a copy per
// size so that a paint only blends it instead of resampling a large picture.
// Returns an invalid image when the picture is invalid or the size is empty.
juce::Image makeCoverImage (const juce::Image& source, int width, int height, juce::Image::PixelFormat format);

// Blends `source` over the whole width x height at the given opacity through
// `scaledCopy`, rebuilt only when the size changes; nothing for an invalid picture.
void drawCoverImage (juce::Graphics& g,
                     const juce::Image& source,
                     juce::Image& scaledCopy,
                     int width,
                     int height,
                     float opacity);
