#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// Command-line options of lumaspan-analyse. Setting values use the editor's
// option texts and are stored as the processor's option indices.
struct AnalyseOptions
{
    juce::File inputFile; // empty: analyse the built-in demo signal
    juce::File pngFile;
    juce::File stateFile; // empty: no saved state to load
    bool json = false;
    bool quiet = false;
    int width = 800;
    int height = 580;
    std::optional<int> measureMode, weighting, smoothing, responseMs, fftOrder;
};

struct ParsedOptions
{
    std::optional<AnalyseOptions> options;
    juce::String error; // set when options is empty and the run must fail
    bool helpRequested = false;
};

ParsedOptions parseAnalyseOptions (const juce::StringArray& args);

juce::String analyseUsage();
