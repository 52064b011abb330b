#include "common/TestPlayHead.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

// Any rate a host may announce (and a nonsensical one), any block size, mono or
// stereo: the audio passes bit for bit and the readings do not depend on how
// the host slices the signal.
namespace
{
struct Readings
{
    float tp, rms, m, i;
};

juce::AudioBuffer<float> makeSignal (int channels, int numSamples, double rate)
{
    juce::AudioBuffer<float> signal (channels, numSamples);
    juce::Random random (1234);
    const double fs = rate > 0.0 ? rate : 48000.0;
    for (int n = 0; n < numSamples; ++n)
    {
        const float tone = 0.4f * (float) std::sin (juce::MathConstants<double>::twoPi * 440.0 * n / fs);
        for (int ch = 0; ch < channels; ++ch)
            signal.setSample (ch, n, tone * (ch == 0 ? 1.0f : 0.7f) + 0.05f * (random.nextFloat() - 0.5f));
    }
    return signal;
}

void useLayout (OrvalenProcessor& p, int channels)
{
    const auto set = channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);
    ASSERT_TRUE (p.setBusesLayout (layout));
}

// Plays the signal in blocks whose sizes come from `nextBlockSize` and checks
// that every block leaves the audio untouched.
template <typename NextBlockSize>
Readings play (const juce::AudioBuffer<float>& signal, double rate, NextBlockSize nextBlockSize)
{
    OrvalenProcessor p;
    useLayout (p, signal.getNumChannels());
    TestPlayHead head { true };
    p.setPlayHead (&head);
    p.prepareToPlay (rate, 512);

    juce::MidiBuffer midi;
    for (int start = 0; start < signal.getNumSamples();)
    {
        const int n = std::min (nextBlockSize(), signal.getNumSamples() - start);
        juce::AudioBuffer<float> block (signal.getNumChannels(), std::max (n, 1));
        for (int ch = 0; ch < signal.getNumChannels(); ++ch)
            block.copyFrom (ch, 0, signal, ch, start, std::max (n, 1));
        juce::AudioBuffer<float> view (block.getArrayOfWritePointers(), block.getNumChannels(), n);
        head.position = start;
        p.processBlock (view, midi);
        for (int ch = 0; ch < signal.getNumChannels(); ++ch)
            EXPECT_EQ (
                std::memcmp (block.getReadPointer (ch), signal.getReadPointer (ch, start), sizeof (float) * (size_t) n),
                0);
        start += n;
    }
    p.setPlayHead (nullptr);
    return { p.truePeakDb.load(), p.rmsDb.load(), p.momentaryLufs.load(), p.integratedLufs.load() };
}

void expectSameReadings (const Readings& a, const Readings& b)
{
    EXPECT_FLOAT_EQ (a.tp, b.tp);
    EXPECT_NEAR (a.rms, b.rms, 1e-4);
    EXPECT_NEAR (a.m, b.m, 1e-4);
    EXPECT_NEAR (a.i, b.i, 1e-4);
}
} // namespace

class RatesAndBlocks : public testing::TestWithParam<std::tuple<double, int>>
{
};

TEST_P (RatesAndBlocks, PassThroughAndReadingsIndependentOfBlockSize)
{
    const auto [rate, channels] = GetParam();
    const double fs = rate > 0.0 ? rate : 48000.0;
    const auto signal = makeSignal (channels, (int) (1.25 * fs), rate);

    const auto whole = play (signal, rate, [&] { return signal.getNumSamples(); });
    EXPECT_TRUE (std::isfinite (whole.tp) && std::isfinite (whole.rms) && std::isfinite (whole.m));
    EXPECT_GT (whole.m, -30.0f) << "a 1.25 s tone must give a momentary reading";
    EXPECT_GT (whole.i, -30.0f) << "one full 1 s block must have passed the gate";

    for (int size : { 1, 7, 64, 4095, 4096, 8192 })
    {
        SCOPED_TRACE (size);
        if (size == 1 && fs > 100000.0)
            continue; // one-sample blocks at the highest rates only cost time
        expectSameReadings (play (signal, rate, [size] { return size; }), whole);
    }

    juce::Random random (99);
    expectSameReadings (play (signal, rate, [&] { return random.nextInt (5000); }), whole);
}

INSTANTIATE_TEST_SUITE_P (AllRates,
                          RatesAndBlocks,
                          testing::Combine (testing::Values (8000.0,
                                                             11025.0,
                                                             16000.0,
                                                             22050.0,
                                                             32000.0,
                                                             44100.0,
                                                             48000.0,
                                                             88200.0,
                                                             96000.0,
                                                             176400.0,
                                                             192000.0,
                                                             352800.0,
                                                             384000.0,
                                                             0.0,
                                                             -44100.0),
                                            testing::Values (1, 2)));

TEST (RatesAndBlocks, EmptyBlockChangesNothing)
{
    OrvalenProcessor p;
    TestPlayHead head { true };
    p.setPlayHead (&head);
    p.prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> empty (2, 0);
    juce::MidiBuffer midi;
    p.processBlock (empty, midi);
    EXPECT_EQ (p.truePeakDb.load(), -90.0f);
    EXPECT_EQ (p.analysisFifoWrite.load(), 0);
    p.setPlayHead (nullptr);
}
