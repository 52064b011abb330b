#include "ArtPictures.h"
juce::Image drawMetalBackground () { return juce::Image (juce::Image::ARGB, 8, 8, true); }
