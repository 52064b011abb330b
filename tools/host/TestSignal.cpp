#include "TestSignal.h"

void TestSignal::fill (juce::AudioBuffer<float>& buffer, int numChannels, juce::int64 startSample, double sampleRate)
{
    for (int channel = 0; channel < numChannels; ++channel)
    {
        juce::Random random (0x5eed + 7919 * channel + startSample);
        const double frequency = 997.0 * (channel + 1);
        auto* samples = buffer.getWritePointer (channel);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const auto n = startSample + i;
            const auto phase = juce::MathConstants<double>::twoPi * frequency * (double) n / sampleRate;
            auto value = (float) (0.5 * std::sin (phase)) + 0.25f * (random.nextFloat() - 0.5f);
            if (n % 1000 == 0)
                value = (n % 2000 == 0) ? 1.0f : -1.0f;
            else if (n % 777 == 0)
                value = 1.0e-30f;
            else if (n % 555 == 0)
                value = 0.0f;
            else if (n % 333 == 0)
                value = -1.0e-40f;
            samples[i] = value;
        }
    }
}
