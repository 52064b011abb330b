#pragma once

#include "AnalyseOptions.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <memory>

struct AnalysisReport
{
    float truePeakDb = -90.0f;
    float rmsDb = -90.0f;
    float momentaryLufs = -90.0f;
    float integratedLufs = -90.0f;
    float maxMomentaryLufs = -90.0f;
    double sampleRate = 0.0;
    int numChannels = 0;
    double seconds = 0.0;
    double elapsedSeconds = 0.0;
    // The settings in effect, as option indices, and the FFT order.
    int measureMode = 0, weighting = 0, smoothing = 0, responseMs = 0, fftOrder = 13;
    juce::Image editorImage;
};

struct OpenedInput
{
    std::unique_ptr<juce::AudioFormatReader> reader;
    juce::String description; // file name or "demo signal"
    juce::String error; // set when reader is null
};

// Opens the input named by the options (or the demo signal) and checks that the
// engine can take it: a readable WAV, AIFF or FLAC file of one or two channels.
OpenedInput openAnalysisInput (const AnalyseOptions& options);

// Plays the whole input through the processor as a host would (transport
// playing, 512-sample blocks, analysis thread running, editor repainting) and
// returns the read-outs and a picture of the editor at the end.
AnalysisReport analyseInput (juce::AudioFormatReader& reader,
                             const AnalyseOptions& options,
                             const juce::MemoryBlock* savedState,
                             const std::function<void (double)>& progress);

juce::String formatReport (const AnalysisReport& report, const juce::String& description, bool json);
