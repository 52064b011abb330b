#pragma once

#include <juce_graphics/juce_graphics.h>

#include <utility>
#include <vector>

// The engraved key shared by the parameter-strip buttons and the curve-strip
// keys: a dark rounded body when unlit, glow rings, a coloured gradient, a
// light inner outline and glowing text when lit. The two users differ only in
// the sizes, alphas and colours held here.
struct EngravedKey
{
    juce::Colour glow;
    std::vector<std::pair<float, float>> rings; // (distance outside the body, alpha), drawn in order
    juce::Colour top, bottom, highlight;
    juce::Colour textDiagonal, textStraight;

    static constexpr float corner = 4.0f;

    // Unlit body; the gradient runs vertically from gradientTop to gradientBottom.
    static void drawUnlitBody (juce::Graphics& g, juce::Rectangle<float> body, float gradientTop, float gradientBottom);
    void drawLitBody (juce::Graphics& g, juce::Rectangle<float> body) const;

    // Text copies drawn into box shifted by each offset; the caller sets the font.
    void drawText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> box, bool lit) const;
};
