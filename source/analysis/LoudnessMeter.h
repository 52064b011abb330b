#pragma once

#include "analysis/WeightingStage.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <cstdint>
#include <vector>

// The four published readings; -90 means "no reading".
struct LoudnessReadings
{
    std::atomic<float>& truePeakDb;
    std::atomic<float>& rmsDb;
    std::atomic<float>& momentaryLufs;
    std::atomic<float>& integratedLufs;
};

// Sample peak, 0.5 s RMS, 1 s K-weighted momentary loudness and gated
// integrated loudness, measured only while the transport plays.
struct LoudnessMeter
{
    double sampleRate = 44100.0;
    bool wasPlaying = false;
    bool resetPending = true;
    WeightingStage shelfLeft, shelfRight;
    WeightingStage highPassLeft, highPassRight;
    std::vector<float> rmsRingLeft, rmsRingRight;
    std::vector<float> loudnessRingLeft, loudnessRingRight;
    int rmsPos = 0, loudnessPos = 0;
    int rmsLength = 0;
    int loudnessLength = 0;
    double rmsSumLeft = 0.0, rmsSumRight = 0.0;
    double loudnessSumLeft = 0.0, loudnessSumRight = 0.0;
    double gatedSum = 0.0;
    std::uint64_t gatedCount = 0;
    float peak = 0.0f;

    // Non-positive rates are replaced by 48000, like everywhere else.
    void prepare (double newSampleRate);
    void reset (LoudnessReadings* target);
    void processBlock (bool playing, const float* left, const float* right, int numSamples, LoudnessReadings& readings);

    // Stage-2 high-pass of the K-weighting for a sample rate.
    static juce::IIRCoefficients makeKWeightingHighPass (double rate);
    // Loudness of a mean square, in LUFS: used for the gate of each 1 s block.
    static double blockLoudness (double meanSquare);
    static constexpr double absoluteGateLufs = -70.0;

private:
    void measure (const float* left, const float* right, int numSamples);
    void publish (LoudnessReadings& readings) const;
};
