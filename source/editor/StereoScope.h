#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class OrvalenProcessor;

// Half-disc view of where in the stereo image the energy lies, with one held
// outline per curve slot and a centre-balance bar. Smoothing advances once per
// paint; there is no timer of its own.
class StereoScope : public juce::Component
{
    OrvalenProcessor& processor;

public:
    static constexpr int numSectors = 120;
    static constexpr int numSlots = 4;

    explicit StereoScope (OrvalenProcessor& processor);
    ~StereoScope() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    // Display target of a sector holding bin power e: the level over the top
    // 50 dB, weighted towards the centre.
    static float sectorWeight (int v);
    static float sectorTarget (float e, int v);
    static float balanceOf (float centreSum, float sideSum);
    static juce::Colour balanceColour (float balance);

    // Replaces the glass picture and rebuilds its copy scaled to this size.
    void setGlassImage (const juce::Image& image);

    // Paint the unchanging parts from cached layers (the same picture for less
    // work); false draws every step directly.
    bool cacheLayers = true;

    float scaleFactor = 1.0f;
    juce::Font channelFont { 10.0f, juce::Font::bold };
    juce::Font scaleLabelFont { 9.0f, juce::Font::plain };
    juce::Image glassImage;
    float smoothedSectors[numSectors] {};
    float heldSectors[numSlots][numSectors] {};

    // Centre balance B shown by the last paint.
    float lastBalance = 1.0f;

private:
    struct Geometry
    {
        float cx, cy, radius;
        juce::Point<float> at (float angle, float r) const;
    };

    static float sectorAngle (int v);
    void rebuildScaledGlass();
    Geometry geometry() const;
    void paintDirect (juce::Graphics& g);
    void paintBase (juce::Graphics& g, const Geometry& geo);
    void paintDynamic (juce::Graphics& g, const Geometry& geo, bool cachedOutlines);
    void paintOverlay (juce::Graphics& g);
    void refreshLayers();
    void paintBackdrop (juce::Graphics& g, const Geometry& geo);
    void consumeClearRequests (int selected);
    void paintLive (juce::Graphics& g, const Geometry& geo, int selected, float& centreSum, float& sideSum);
    juce::Rectangle<float> paintHeldSlot (juce::Graphics& g, const Geometry& geo, int m);
    juce::Rectangle<int> paintHeld (juce::Graphics& g, const Geometry& geo, int first, int end);
    static void blitPart (juce::Graphics& g, const juce::Image& layer, juce::Rectangle<int> area);
    void refreshHeldLayers (int selected);
    void paintLabels (juce::Graphics& g, const Geometry& geo);
    void paintBalance (juce::Graphics& g, float w, float h, float balance);

    juce::Image scaledGlass;
    juce::Image baseLayer, overlayLayer;
    juce::Image heldBelowLayer, heldAboveLayer;
    juce::Rectangle<int> heldBelowBounds, heldAboveBounds;
    bool heldLayersDirty = true;
    int heldLayerSelected = -1;
    std::array<bool, numSlots> heldLayerVisible {};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StereoScope)
};
