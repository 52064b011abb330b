#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
using Set = juce::AudioChannelSet;

struct RollingPlayHead : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying (playing);
        info.setTimeInSamples (position);
        return info;
    }

    bool playing = true;
    juce::int64 position = 0;
};

juce::AudioProcessor::BusesLayout layoutOf (const Set& input, const Set& output)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (input);
    layout.outputBuses.add (output);
    return layout;
}

// Noise and a sine with full-scale peaks, denormals, zeros and a silent stretch.
void fillSignal (juce::AudioBuffer<float>& buffer, juce::int64 start)
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
    {
        juce::Random random (1234 + c * 77 + start);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const auto n = start + i;
            float v = 0.6f * (float) std::sin (0.013 * (double) n * (c + 1)) + 0.3f * (random.nextFloat() - 0.5f);
            if (n % 500 == 0)
                v = (n % 1000 == 0) ? 1.0f : -1.0f;
            else if (n % 333 == 0)
                v = 1.0e-41f;
            else if ((n / 4096) % 5 == 4)
                v = 0.0f;
            buffer.setSample (c, i, v);
        }
    }
}

bool sameBits (const float* a, const float* b, int n) { return std::memcmp (a, b, sizeof (float) * (size_t) n) == 0; }

// Plays a few seconds in blocks of changing size and checks every block.
void expectBitExactPassThrough (OrvalenProcessor& p, int numChannels, bool playing)
{
    RollingPlayHead playHead;
    playHead.playing = playing;
    p.setPlayHead (&playHead);
    p.prepareToPlay (48000.0, 4096);

    const int blockSizes[] = { 512, 0, 1, 7, 64, 4096, 333, 4095, 128 };
    juce::MidiBuffer midi;
    juce::int64 position = 0;
    for (int round = 0; round < 6; ++round)
    {
        for (const int n : blockSizes)
        {
            juce::AudioBuffer<float> input (numChannels, n), work (numChannels, n);
            fillSignal (input, position);
            work.makeCopyOf (input);
            p.processBlock (work, midi);
            for (int c = 0; c < numChannels; ++c)
                ASSERT_TRUE (sameBits (input.getReadPointer (c), work.getReadPointer (c), n))
                    << "channel " << c << ", block of " << n << " at " << position;
            EXPECT_TRUE (midi.isEmpty());
            position += n;
            playHead.position = position;
        }
    }
    p.releaseResources();
    p.setPlayHead (nullptr);
}

// Accepts layouts with fewer inputs than outputs, which the real processor
// refuses, to reach the clearing of surplus output channels.
struct WideOutputProcessor : OrvalenProcessor
{
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override
    {
        const auto out = layouts.getMainOutputChannelSet();
        return out == Set::stereo() && layouts.getMainInputChannelSet().size() <= 2;
    }
};
} // namespace

TEST (PassThrough, StereoIsBitExactWithTheTransportPlaying)
{
    OrvalenProcessor p;
    expectBitExactPassThrough (p, 2, true);
}

TEST (PassThrough, StereoIsBitExactWithTheTransportStopped)
{
    OrvalenProcessor p;
    expectBitExactPassThrough (p, 2, false);
}

TEST (PassThrough, MonoIsBitExact)
{
    OrvalenProcessor p;
    ASSERT_TRUE (p.setBusesLayout (layoutOf (Set::mono(), Set::mono())));
    expectBitExactPassThrough (p, 1, true);
}

TEST (PassThrough, WorksWithoutAPlayHead)
{
    OrvalenProcessor p;
    p.prepareToPlay (44100.0, 512);
    juce::AudioBuffer<float> input (2, 512), work (2, 512);
    fillSignal (input, 0);
    work.makeCopyOf (input);
    juce::MidiBuffer midi;
    p.processBlock (work, midi);
    EXPECT_TRUE (sameBits (input.getReadPointer (0), work.getReadPointer (0), 512));
    EXPECT_TRUE (sameBits (input.getReadPointer (1), work.getReadPointer (1), 512));
}

TEST (PassThrough, SurplusOutputChannelsAreCleared)
{
    struct Case
    {
        const char* name;
        Set input;
    };
    const Case cases[] = { { "mono in, stereo out", Set::mono() }, { "no input, stereo out", Set::disabled() } };

    for (const auto& c : cases)
    {
        WideOutputProcessor p;
        ASSERT_TRUE (p.setBusesLayout (layoutOf (c.input, Set::stereo()))) << c.name;
        const int numInputs = p.getTotalNumInputChannels();
        RollingPlayHead playHead;
        p.setPlayHead (&playHead);
        p.prepareToPlay (48000.0, 256);

        juce::AudioBuffer<float> input (2, 256), work (2, 256);
        fillSignal (input, 0);
        work.makeCopyOf (input);
        juce::MidiBuffer midi;
        p.processBlock (work, midi);

        for (int ch = 0; ch < numInputs; ++ch)
            EXPECT_TRUE (sameBits (input.getReadPointer (ch), work.getReadPointer (ch), 256))
                << c.name << ", channel " << ch;
        for (int ch = numInputs; ch < 2; ++ch)
            EXPECT_EQ (work.findMinMax (ch, 0, 256), juce::Range<float> (0.0f, 0.0f)) << c.name << ", channel " << ch;
        p.setPlayHead (nullptr);
    }
}
