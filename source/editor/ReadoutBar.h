#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class OrvalenProcessor;

// A meter value as the read-out bar shows it: one decimal, "--" at -90 dB or
// below, left-padded to six characters.
juce::String formatReadout (float value);

// The dark glass-covered bar under the stereo scope with the four meter
// readings. It has no component of its own: the editor paints it last.
class ReadoutBar
{
public:
    // "TP: ", "RMS: ", "M: ", "I: " lines for the processor's current readings.
    static std::array<juce::String, 4> readoutLines (const OrvalenProcessor& processor);

    // The bar's rectangle for these lines, centred in an editor of the given width.
    static juce::Rectangle<float> barBounds (const std::array<juce::String, 4>& lines,
                                             const juce::Font& font,
                                             juce::Rectangle<int> scopeBounds,
                                             int editorWidth);

    // The glass as last drawn over the bar, clipped and faded: rebuilt only
    // when the bar or the picture changes, so a steady bar blits a ready copy.
    struct GlassLayer
    {
        juce::Image source;
        juce::Rectangle<float> bar;
        juce::Rectangle<int> area;
        juce::Image image;
    };

    static void paint (juce::Graphics& g,
                       const OrvalenProcessor& processor,
                       const juce::Font& font,
                       const juce::Image& glassImage,
                       juce::Rectangle<int> scopeBounds,
                       int editorWidth);
    static void paint (juce::Graphics& g,
                       const OrvalenProcessor& processor,
                       const juce::Font& font,
                       const juce::Image& glassImage,
                       juce::Rectangle<int> scopeBounds,
                       int editorWidth,
                       GlassLayer& glassLayer);

private:
    static void paintGlass (juce::Graphics& g, const juce::Image& glassImage, juce::Rectangle<float> bar, float corner);
    static void
        refreshGlassLayer (GlassLayer& layer, const juce::Image& glassImage, juce::Rectangle<float> bar, float corner);
};
