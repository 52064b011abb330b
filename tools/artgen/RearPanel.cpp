#include "ArtPictures.h"
juce::Image drawRearPanel (juce::Typeface::Ptr) { return juce::Image (juce::Image::ARGB, 8, 8, true); }
