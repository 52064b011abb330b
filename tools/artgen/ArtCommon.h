#pragma once

#include <juce_graphics/juce_graphics.h>

// Small drawing helpers shared by the picture routines.
namespace art
{
// Fills the whole image with brushed metal: per-row tone plus horizontally
// smeared grain, around the given base grey.
void fillBrushedMetal (juce::Image& image, juce::Colour base, float grain, float streak, juce::int64 seed);

// A countersunk cross-head screw seen from the front.
void drawScrew (juce::Graphics& g, juce::Point<float> centre, float radius, float angle);

// Text with a dark lower edge and a light upper edge, as if stamped into metal.
void drawEngravedText (juce::Graphics& g,
                       const juce::String& text,
                       juce::Rectangle<float> area,
                       juce::Justification justification,
                       juce::Colour colour,
                       float depth);

float clamp01 (float v);
} // namespace art
