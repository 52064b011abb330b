#include "AudioFeeder.h"

#include "TestSignal.h"

AudioFeeder::AudioFeeder (juce::AudioPluginInstance& i, double rate, int size)
    : juce::Thread ("lumaspan-host audio")
    , instance (i)
    , sampleRate (rate)
    , blockSize (size)
    , playHead (rate)
{
}

AudioFeeder::~AudioFeeder() { stop(); }

void AudioFeeder::start()
{
    instance.setPlayHead (&playHead);
    instance.prepareToPlay (sampleRate, blockSize);
    startThread (juce::Thread::Priority::high);
}

void AudioFeeder::stop()
{
    if (! isThreadRunning())
        return;
    stopThread (2000);
    instance.releaseResources();
    instance.setPlayHead (nullptr);
}

void AudioFeeder::run()
{
    const auto channels = juce::jmax (instance.getTotalNumInputChannels(), instance.getTotalNumOutputChannels());
    juce::AudioBuffer<float> buffer (channels, blockSize);
    juce::MidiBuffer midi;
    const auto blockMs = 1000.0 * blockSize / sampleRate;
    auto next = juce::Time::getMillisecondCounterHiRes();

    while (! threadShouldExit())
    {
        const auto position = samplesPlayed.load();
        TestSignal::fill (buffer, channels, position, sampleRate);
        instance.processBlock (buffer, midi);
        midi.clear();
        playHead.advance (blockSize);
        samplesPlayed.store (position + blockSize);

        next += blockMs;
        const auto wait = next - juce::Time::getMillisecondCounterHiRes();
        if (wait > 0)
            juce::Thread::sleep ((int) wait);
    }
}
