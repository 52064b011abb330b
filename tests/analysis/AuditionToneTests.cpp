#include "analysis/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
juce::AudioBuffer<float> runBlock (OrvalenProcessor& p, int channels, int n, float input)
{
    juce::AudioBuffer<float> buffer (channels, n);
    for (int c = 0; c < channels; ++c)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (c), input, n);
    juce::MidiBuffer midi;
    p.processBlock (buffer, midi);
    return buffer;
}
} // namespace

TEST (AuditionTone, AddsTheRequestedSineToBothOutputs)
{
    auto p = enginetest::makeQuietProcessor (48000.0);
    p->toneActive = true;
    const auto out = runBlock (*p, 2, 4800, 0.25f);

    const float gain = std::pow (10.0f, -18.0f / 20.0f);
    float peak = 0.0f;
    for (int i = 0; i < out.getNumSamples(); ++i)
    {
        const float expected =
            0.25f + gain * (float) std::sin (juce::MathConstants<double>::twoPi * 1000.0 * i / 48000.0);
        ASSERT_NEAR (out.getSample (0, i), expected, 1e-5f) << i;
        ASSERT_EQ (out.getSample (1, i), out.getSample (0, i));
        peak = std::max (peak, out.getSample (0, i) - 0.25f);
    }
    EXPECT_NEAR (peak, 0.126f, 0.001f);
}

TEST (AuditionTone, SilentAtOrBelowMinus100)
{
    for (float level : { -100.0f, -140.0f })
    {
        auto p = enginetest::makeQuietProcessor();
        p->toneActive = true;
        p->toneLevelDb = level;
        const auto out = runBlock (*p, 2, 512, 0.1f);
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ (out.getSample (0, i), 0.1f);
    }
}

TEST (AuditionTone, PhaseRestartsOnEveryActivation)
{
    auto p = enginetest::makeQuietProcessor();
    p->toneActive = true;
    p->toneLevelDb = 0.0f;
    const auto first = runBlock (*p, 2, 300, 0.0f);
    EXPECT_NE (p->tonePhase, 0.0);

    p->toneActive = false;
    const auto off = runBlock (*p, 2, 64, 0.0f);
    EXPECT_EQ (p->tonePhase, 0.0);
    EXPECT_EQ (off.getMagnitude (0, 64), 0.0f);

    p->toneActive = true;
    const auto again = runBlock (*p, 2, 300, 0.0f);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ (again.getSample (0, i), first.getSample (0, i)) << i;
    EXPECT_EQ (again.getSample (0, 0), 0.0f);
}

TEST (AuditionTone, PhaseStaysWithinOneTurn)
{
    auto p = enginetest::makeQuietProcessor();
    p->toneActive = true;
    p->toneFrequencyHz = 19000.0f;
    for (int block = 0; block < 100; ++block)
    {
        runBlock (*p, 2, 512, 0.0f);
        ASSERT_GE (p->tonePhase, 0.0);
        ASSERT_LT (p->tonePhase, juce::MathConstants<double>::twoPi);
    }
}

TEST (BlockOutput, AudioPassesUnchangedWithoutTone)
{
    auto p = enginetest::makeQuietProcessor();
    TestPlayHead playHead;
    playHead.playing = true;
    p->setPlayHead (&playHead);
    const auto x = enginetest::whiteNoise (4096, 0.9f, 17);
    juce::AudioBuffer<float> buffer (2, 4096);
    buffer.copyFrom (0, 0, x.data(), 4096);
    buffer.copyFrom (1, 0, x.data(), 4096);
    juce::MidiBuffer midi;
    p->processBlock (buffer, midi);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 4096; ++i)
            ASSERT_EQ (buffer.getSample (c, i), x[(size_t) i]);
}
