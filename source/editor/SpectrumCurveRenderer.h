#pragma once

#include "analysis/CurveSlot.h"

#include <juce_graphics/juce_graphics.h>

#include <vector>

class OrvalenProcessor;

// Draws the curve slots into the spectrum display's plot. The path builder is
// pure so that the per-column reduction of bins can be tested on its own.
class SpectrumCurveRenderer
{
public:
    static constexpr float plotLeft = 36.0f;
    static constexpr float plotTop = 8.0f;
    static constexpr float levelRangeDb = 90.0f;
    static constexpr float floorDb = -90.0f;
    static constexpr float drawThresholdDb = -88.0f;
    static constexpr float emptyDb = -150.0f;
    static constexpr float fullScaleTopHz = 22000.0f;
    static constexpr double fallbackSampleRate = 44100.0;

    // Value of bin j as drawn: peaks standing out stay, and below 1 kHz rounded
    // humps and dips are sharpened by 15 % of the second difference.
    static float binValue (const float* v, int n, int j, float binHz);

    // One point per pixel column 0 .. int (pw), or an empty path when the curve
    // never rises above -88 dB. upperEdgeHz is where the last column ends.
    static juce::Path buildPath (const std::vector<float>& curve,
                                 float binHz,
                                 float pw,
                                 float ph,
                                 const std::vector<float>& pixelFrequencies,
                                 float upperEdgeHz = fullScaleTopHz);

    // The rows (y) of buildPath's points, one per column, into `rows`; left
    // empty when the path would be. The storage is reused between paints.
    static void buildRows (const std::vector<float>& curve,
                           float binHz,
                           float pw,
                           float ph,
                           const std::vector<float>& pixelFrequencies,
                           float upperEdgeHz,
                           std::vector<float>& rows);

    // Replaces `path` with a polyline through the rows, starting at the plot's
    // left edge.
    static void pathThroughRows (const std::vector<float>& rows, juce::Path& path);

    // The live curve's fill: from the slot colour at 0.35 at the plot's top to
    // 0.1 at its bottom.
    static juce::ColourGradient fillGradient (juce::Colour colour, float ph);
    static void strokeLive (juce::Graphics& g, const juce::Path& live, juce::Colour colour);
    static void strokePeak (juce::Graphics& g, const juce::Path& peak, juce::Colour colour);

    // Consumes each slot's clear request and draws its live and peak curves.
    static void drawSlots (juce::Graphics& g,
                           OrvalenProcessor& processor,
                           float pw,
                           float ph,
                           const std::vector<float>& pixelFrequencies,
                           float upperEdgeHz = fullScaleTopHz);

    // The pieces of drawSlots, for callers that hold the slot's lock.
    static bool consumeClearRequest (CurveSlot& slot);
    static bool isDrawn (const CurveSlot& slot, float ph);
    static void drawSlot (juce::Graphics& g,
                          const CurveSlot& slot,
                          int index,
                          float fs,
                          float pw,
                          float ph,
                          const std::vector<float>& pixelFrequencies,
                          float upperEdgeHz);
    static void drawPeak (juce::Graphics& g,
                          const std::vector<float>& peakCurve,
                          float binHz,
                          juce::Colour colour,
                          float pw,
                          float ph,
                          const std::vector<float>& pixelFrequencies,
                          float upperEdgeHz);

    static float sampleRateOf (OrvalenProcessor& processor);

private:
    static float columnLevel (const float* v, int n, float binHz, float f0, float f1);
};
