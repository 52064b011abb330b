#include "DemoSignal.h"

#include <cmath>

juce::AudioBuffer<float> makeDemoSignal (double sampleRate, double seconds)
{
    const int numSamples = (int) std::lround (sampleRate * seconds);
    juce::AudioBuffer<float> buffer (2, numSamples);
    juce::Random random (0x4b4c56);

    // Paul Kellet's economy pink-noise filter over white noise.
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f;
    double phase = 0.0;
    const double step = juce::MathConstants<double>::twoPi * 1000.0 / sampleRate;

    for (int i = 0; i < numSamples; ++i)
    {
        const float white = random.nextFloat() * 2.0f - 1.0f;
        b0 = 0.99765f * b0 + white * 0.0990460f;
        b1 = 0.96300f * b1 + white * 0.2965164f;
        b2 = 0.57000f * b2 + white * 1.0526913f;
        const float pink = (b0 + b1 + b2 + white * 0.1848f) * 0.05f;

        const double t = i / sampleRate;
        const float pan = (float) (0.5 + 0.45 * std::sin (juce::MathConstants<double>::twoPi * 0.25 * t));
        const float tone = 0.25f * (float) std::sin (phase);
        phase = std::fmod (phase + step, juce::MathConstants<double>::twoPi);

        buffer.setSample (0, i, pink + tone * std::sqrt (1.0f - pan));
        buffer.setSample (1, i, pink * 0.9f + tone * std::sqrt (pan));
    }
    return buffer;
}
