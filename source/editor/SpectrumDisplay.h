#pragma once

#include "editor/LiveCurveRegions.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <vector>

class OrvalenProcessor;
struct CurveSlot;

// The analyser panel: log-frequency plot of the curve slots with a hover
// read-out, an audition tone while pressed, and pan/zoom in the band under
// the plot. All margins are fixed pixels; it has no scale factor.
class SpectrumDisplay : public juce::Component
{
    OrvalenProcessor& processor;

public:
    struct Tick
    {
        float frequency;
        juce::String label;
    };

    static constexpr float plotLeft = 36.0f;
    static constexpr float plotTop = 8.0f;
    static constexpr float rightMargin = 8.0f;
    static constexpr float bandHeight = 18.0f;
    static constexpr float fullMinFrequency = 10.0f;
    static constexpr float fullMaxFrequency = 22000.0f;

    explicit SpectrumDisplay (OrvalenProcessor& processor);
    ~SpectrumDisplay() override;

    void mouseMove (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;
    juce::MouseCursor getMouseCursor() override;
    void paint (juce::Graphics& g) override;
    void resized() override;

    float plotWidth() const;
    float plotHeight() const;
    float xOfFrequency (float f) const;
    float yOfLevel (float db) const;
    bool isInZoomBand (int x, int y) const;

    // Sorted ticks of the current view on a plot of width pw.
    void buildTicks (std::vector<Tick>& out, float pw) const;
    std::vector<Tick> computeTicks() const;

    juce::String hoverText() const;
    static juce::String noteName (float frequency);

    // Replaces the glass picture and rebuilds its copy scaled to this size.
    void setGlassImage (const juce::Image& image);

    // The 18 x 18 magnifier picture shared by every display.
    juce::Image magnifierImage() const;

    // Paint the unchanging parts from cached layers (the same picture for less
    // work); false draws every step directly.
    bool cacheLayers = true;

    juce::Image glassImage;
    bool hovering = false;
    float hoverX = 0.0f;
    float hoverFrequency = 0.0f;
    float hoverLevelDb = -90.0f;
    bool toneHeld = false;
    std::vector<float> pixelFrequencies;
    juce::Font readoutFont { 11.5f, juce::Font::bold };
    juce::Font labelFont { 12.0f, juce::Font::plain };
    float minFrequency = fullMinFrequency;
    float maxFrequency = fullMaxFrequency;
    bool zoomDragging = false;
    float dragStartX = 0.0f, dragStartY = 0.0f;
    float dragStartFrequency = 0.0f;
    float dragAnchor = 0.0f;
    float dragStartOctaves = 0.0f;
    bool overZoomBar = false;

private:
    struct SharedCursor;

    void rebuildPixelFrequencies();
    void rebuildScaledGlass();
    bool isOverColumns (int x) const;
    float frequencyAtColumn (float offset) const;
    void panAndZoom (const juce::MouseEvent& e);
    void setOverZoomBar (bool over);
    void paintDirect (juce::Graphics& g);
    void paintBase (juce::Graphics& g, float pw, float ph);
    void paintOverlay (juce::Graphics& g);
    bool collectSlots (float ph, int& liveSlot, bool& frozenChanged);
    void paintFrozen (juce::Graphics& g, int first, int end, float pw, float ph);
    bool refreshLayers (int liveSlot, bool frozenChanged);
    bool refreshOverlayLayer();
    void refreshOpaqueCopies (int liveSlot);
    bool tableFitsPlot (float pw) const;
    void buildLiveRows (const CurveSlot& slot, float pw, float ph);
    void buildLivePaths (float pw);
    void drawLivePaths (juce::Graphics& g, int liveSlot, float ph) const;
    void layerAbove (juce::Graphics& canvas, float pw, float ph);
    void paintCornerRows (juce::Graphics& g, juce::Rectangle<int> rows, int liveSlot, float ph) const;
    void composeFrame (juce::Graphics& g, int liveSlot, float pw, float ph);
    void paintLayered (juce::Graphics& g, int liveSlot, float pw, float ph);
    juce::Rectangle<float> hoverBox (const juce::String& text, float pw) const;
    juce::RectangleList<int> hoverArea (float pw, float ph) const;
    void paintGrid (juce::Graphics& g, float pw, float ph);
    void paintLabels (juce::Graphics& g, float pw, float ph);
    void paintHover (juce::Graphics& g, float pw, float ph);

    juce::Image scaledGlass;
    // A slot that is shown with "HOLD" but not selected draws a peak curve
    // that only changes on a clear, a hold or a resolution change: it is kept
    // here and drawn into the cached layers.
    struct FrozenPeak
    {
        bool frozen = false;
        std::vector<float> peak;
        size_t curveSize = 0;
    };

    struct LayerKey
    {
        int w = 0, h = 0;
        float minFrequency = 0.0f, maxFrequency = 0.0f, sampleRate = 0.0f;
        int tableGeneration = -1;
        int liveSlot = -1;
        bool operator== (const LayerKey& other) const;
    };

    // Under the live slot: background, grid, frozen peaks of lower slots and
    // labels. Over it: frozen peaks of higher slots, then frame and glass.
    juce::Image baseLayer, aboveLayer, overlayLayer, overlayAboveLayer;
    // Opaque copies for the rows between the rounded corners: the background
    // alone and with the live fill, and each of those under the layers above.
    juce::Image plainBase, filledBase, plainComposite, filledComposite, composed;
    bool opaqueCopiesStale = true;
    LiveCurveRegions regions;
    juce::RectangleList<int> hoverRects;
    std::vector<float> liveRows, peakRows;
    juce::Path livePath, fillArea, peakPath;
    bool hasAboveLayer = false;
    LayerKey layerKey;
    juce::Font layerFont;
    int tableGeneration = 0;
    std::array<FrozenPeak, 4> frozenPeaks;
    std::vector<Tick> ticks;
    juce::SharedResourcePointer<SharedCursor> sharedCursor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SpectrumDisplay)
};
