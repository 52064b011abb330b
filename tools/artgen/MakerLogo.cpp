#include "ArtPictures.h"
juce::Image drawMakerLogo (juce::Typeface::Ptr) { return juce::Image (juce::Image::ARGB, 8, 8, true); }
