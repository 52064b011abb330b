#include "PassThroughCheck.h"

#include "PlayingPlayHead.h"
#include "TestSignal.h"

#include <cstring>
#include <iostream>

namespace
{
juce::String layoutName (int numChannels) { return numChannels == 1 ? "mono/mono" : "stereo/stereo"; }

juce::AudioProcessor::BusesLayout symmetricLayout (int numChannels)
{
    const auto set = juce::AudioChannelSet::canonicalChannelSet (numChannels);
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);
    return layout;
}

// Block sizes change from call to call as they do in real hosts.
int blockSizeFor (int blockIndex, int maximum)
{
    static constexpr int pattern[] = { 0, 1, 7, 64 };
    const auto index = blockIndex % 6;
    return index < 4 ? juce::jmin (maximum, pattern[index]) : maximum;
}

juce::String describeMismatch (int channel, juce::int64 sample, float expected, float actual)
{
    return "first difference at channel " + juce::String (channel) + ", sample " + juce::String (sample) + ": in "
           + juce::String (expected, 9) + ", out " + juce::String (actual, 9);
}
} // namespace

bool PassThroughCheck::run (juce::AudioPluginInstance& instance, int numChannels, const Options& options)
{
    const auto name = layoutName (numChannels);
    instance.releaseResources();
    if (! instance.setBusesLayout (symmetricLayout (numChannels)))
    {
        std::cout << "pass-through " << name << ": FAILED, the layout was refused" << std::endl;
        return false;
    }

    PlayingPlayHead playHead (options.sampleRate);
    instance.setPlayHead (&playHead);
    instance.prepareToPlay (options.sampleRate, options.blockSize);

    const auto totalSamples = (juce::int64) (options.seconds * options.sampleRate);
    juce::AudioBuffer<float> input (numChannels, options.blockSize);
    juce::AudioBuffer<float> work (numChannels, options.blockSize);
    juce::MidiBuffer midi;
    juce::String mismatch;

    juce::int64 position = 0;
    for (int blockIndex = 0; position < totalSamples && mismatch.isEmpty(); ++blockIndex)
    {
        const auto n =
            (int) juce::jmin ((juce::int64) blockSizeFor (blockIndex, options.blockSize), totalSamples - position);
        input.setSize (numChannels, n, false, false, true);
        work.setSize (numChannels, n, false, false, true);
        TestSignal::fill (input, numChannels, position, options.sampleRate);
        for (int c = 0; c < numChannels; ++c)
            work.copyFrom (c, 0, input, c, 0, n);

        instance.processBlock (work, midi);
        midi.clear();

        for (int c = 0; c < numChannels && mismatch.isEmpty(); ++c)
            if (std::memcmp (input.getReadPointer (c), work.getReadPointer (c), sizeof (float) * (size_t) n) != 0)
                for (int i = 0; i < n && mismatch.isEmpty(); ++i)
                    if (std::memcmp (input.getReadPointer (c) + i, work.getReadPointer (c) + i, sizeof (float)) != 0)
                        mismatch = describeMismatch (c, position + i, input.getSample (c, i), work.getSample (c, i));

        playHead.advance (n);
        position += n;
    }

    instance.releaseResources();
    instance.setPlayHead (nullptr);

    if (mismatch.isNotEmpty())
    {
        std::cout << "pass-through " << name << ": FAILED, " << mismatch << std::endl;
        return false;
    }
    std::cout << "pass-through " << name << ": bit-exact, " << numChannels << " x " << position << " samples at "
              << options.sampleRate << " Hz, transport playing" << std::endl;
    return true;
}
