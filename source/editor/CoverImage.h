#pragma once

#include <juce_graphics/juce_graphics.h>

// A copy of a picture scaled to cover width x height, centred and cropped, as
// RectanglePlacement::fillDestination draws it. Components keep such a copy per
// size so that a paint only blends it instead of resampling a large picture.
// Returns an invalid image when the picture is invalid or the size is empty.
juce::Image makeCoverImage (const juce::Image& source, int width, int height, juce::Image::PixelFormat format);
