#pragma once

#include "common/TestPlayHead.h"

#include "processor/OrvalenProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace enginetest
{
// A prepared processor whose analysis thread is stopped, so that a test can
// run the analysis steps itself.
inline std::unique_ptr<OrvalenProcessor> makeQuietProcessor (double sampleRate = 48000.0)
{
    auto processor = std::make_unique<OrvalenProcessor>();
    processor->prepareToPlay (sampleRate, 4096);
    processor->stopThread (3000);
    return processor;
}

inline std::vector<float>
    sine (int numSamples, double frequency, double sampleRate, float amplitude, double phase = 0.0)
{
    std::vector<float> out ((size_t) numSamples);
    for (int i = 0; i < numSamples; ++i)
        out[(size_t) i] =
            amplitude * (float) std::sin (phase + juce::MathConstants<double>::twoPi * frequency * i / sampleRate);
    return out;
}

inline std::vector<float> whiteNoise (int numSamples, float amplitude, unsigned seed)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-amplitude, amplitude);
    std::vector<float> out ((size_t) numSamples);
    for (auto& x : out)
        x = dist (rng);
    return out;
}

// Pink noise from white noise through Paul Kellet's refined filter.
inline std::vector<float> pinkNoise (int numSamples, float amplitude, unsigned seed)
{
    const auto white = whiteNoise (numSamples, 1.0f, seed);
    std::vector<float> out ((size_t) numSamples);
    double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
    for (size_t i = 0; i < white.size(); ++i)
    {
        const double w = white[i];
        b0 = 0.99886 * b0 + w * 0.0555179;
        b1 = 0.99332 * b1 + w * 0.0750759;
        b2 = 0.96900 * b2 + w * 0.1538520;
        b3 = 0.86650 * b3 + w * 0.3104856;
        b4 = 0.55000 * b4 + w * 0.5329522;
        b5 = -0.7616 * b5 - w * 0.0168980;
        out[i] = (float) (amplitude * 0.11 * (b0 + b1 + b2 + b3 + b4 + b5 + b6 + w * 0.5362));
        b6 = w * 0.115926;
    }
    return out;
}

// Runs processBlock over a stereo (or mono) signal in blocks of blockSize.
inline void processSignal (OrvalenProcessor& processor,
                           const std::vector<float>& left,
                           const std::vector<float>* right,
                           int blockSize)
{
    const int channels = right != nullptr ? 2 : 1;
    juce::AudioBuffer<float> buffer (channels, blockSize);
    juce::MidiBuffer midi;
    for (size_t start = 0; start < left.size(); start += (size_t) blockSize)
    {
        const int n = (int) std::min ((size_t) blockSize, left.size() - start);
        buffer.setSize (channels, n, false, false, true);
        buffer.copyFrom (0, 0, left.data() + start, n);
        if (right != nullptr)
            buffer.copyFrom (1, 0, right->data() + start, n);
        processor.processBlock (buffer, midi);
    }
}
} // namespace enginetest
