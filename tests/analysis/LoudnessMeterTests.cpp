#include "analysis/EngineTestSupport.h"
#include "analysis/LoudnessMeter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct Readings
{
    std::atomic<float> truePeak { 0.0f }, rms { 0.0f }, momentary { 0.0f }, integrated { 0.0f };
    LoudnessReadings target { truePeak, rms, momentary, integrated };
};

// Steps the meter over a signal in blocks, as processBlock would.
void run (LoudnessMeter& meter,
          Readings& readings,
          bool playing,
          const std::vector<float>& left,
          const std::vector<float>& right,
          int blockSize = 480)
{
    for (size_t start = 0; start < left.size(); start += (size_t) blockSize)
    {
        const int n = (int) std::min ((size_t) blockSize, left.size() - start);
        meter.processBlock (playing, left.data() + start, right.data() + start, n, readings.target);
    }
}
} // namespace

TEST (LoudnessMeter, WindowLengthsFollowTheSampleRate)
{
    struct Case
    {
        double rate;
        int rmsLength, loudnessLength;
    };
    const Case cases[] = { { 44100.0, 22050, 44100 }, { 48000.0, 24000, 48000 }, { 96000.0, 48000, 96000 },
                           { 22050.5, 11025, 22051 }, { 0.0, 24000, 48000 },     { -44100.0, 24000, 48000 } };
    for (const auto& c : cases)
    {
        LoudnessMeter meter;
        meter.prepare (c.rate);
        EXPECT_EQ (meter.rmsLength, c.rmsLength) << c.rate;
        EXPECT_EQ (meter.loudnessLength, c.loudnessLength) << c.rate;
        EXPECT_EQ ((int) meter.rmsRingLeft.size(), c.rmsLength);
        EXPECT_EQ ((int) meter.loudnessRingRight.size(), c.loudnessLength);
        EXPECT_TRUE (meter.resetPending);
    }
}

TEST (LoudnessMeter, FullScaleSineAfterOneSecond)
{
    LoudnessMeter meter;
    meter.prepare (48000.0);
    Readings readings;
    const auto x = enginetest::sine (48000, 997.0, 48000.0, 1.0f);
    run (meter, readings, true, x, x);

    EXPECT_NEAR (readings.truePeak.load(), 1.0f, 0.01f);
    EXPECT_NEAR (readings.rms.load(), -3.01f, 0.01f);
    EXPECT_NEAR (readings.momentary.load(), -0.26f, 0.01f);
    EXPECT_NEAR (readings.integrated.load(), readings.momentary.load(), 0.01f);
    EXPECT_EQ (meter.gatedCount, 1u);
}

TEST (LoudnessMeter, IntegratedWaitsForTheFirstFullSecond)
{
    LoudnessMeter meter;
    meter.prepare (48000.0);
    Readings readings;
    const auto x = enginetest::sine (47999, 997.0, 48000.0, 1.0f);
    run (meter, readings, true, x, x);
    EXPECT_EQ (readings.integrated.load(), -90.0f);
    EXPECT_GT (readings.momentary.load(), -1.0f);
}

TEST (LoudnessMeter, MonoSignalOnBothChannelsCountsTwice)
{
    const auto x = enginetest::sine (96000, 1000.0, 48000.0, 0.5f);
    const std::vector<float> silence (x.size(), 0.0f);

    LoudnessMeter both, leftOnly;
    both.prepare (48000.0);
    leftOnly.prepare (48000.0);
    Readings a, b;
    run (both, a, true, x, x);
    run (leftOnly, b, true, x, silence);

    EXPECT_NEAR (a.momentary.load() - b.momentary.load(), 3.0103f, 0.01f);
    EXPECT_NEAR (a.integrated.load() - b.integrated.load(), 3.0103f, 0.01f);
    EXPECT_NEAR (a.rms.load() - b.rms.load(), 3.0103f, 0.01f);
}

TEST (LoudnessMeter, MonoLayoutUsesTheChannelTwiceAndKeepsRms)
{
    TestPlayHead playHead;
    playHead.playing = true;
    const auto x = enginetest::sine (96000, 1000.0, 48000.0, 0.5f);

    auto stereo = enginetest::makeQuietProcessor();
    stereo->setPlayHead (&playHead);
    enginetest::processSignal (*stereo, x, &x, 512);

    OrvalenProcessor monoProcessor;
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (juce::AudioChannelSet::mono());
    mono.outputBuses.add (juce::AudioChannelSet::mono());
    ASSERT_TRUE (monoProcessor.setBusesLayout (mono));
    monoProcessor.prepareToPlay (48000.0, 512);
    monoProcessor.setPlayHead (&playHead);
    enginetest::processSignal (monoProcessor, x, nullptr, 512);

    EXPECT_NEAR (monoProcessor.momentaryLufs.load(), stereo->momentaryLufs.load(), 0.001f);
    EXPECT_NEAR (monoProcessor.integratedLufs.load(), stereo->integratedLufs.load(), 0.001f);
    EXPECT_NEAR (monoProcessor.rmsDb.load(), stereo->rmsDb.load(), 0.001f);
    EXPECT_NEAR (monoProcessor.rmsDb.load(), -9.03f, 0.01f);
}

TEST (LoudnessMeter, GatePassesABlockAtExactlyMinus70)
{
    // Completes a 1 s block whose running sum is `sum`.
    const auto gatedCountFor = [] (double sum)
    {
        LoudnessMeter meter;
        meter.prepare (48000.0);
        Readings readings;
        const float silence[1] = { 0.0f };
        meter.processBlock (true, silence, silence, 1, readings.target);
        meter.loudnessPos = meter.loudnessLength - 1;
        meter.loudnessSumLeft = sum;
        meter.processBlock (true, silence, silence, 1, readings.target);
        return meter.gatedCount;
    };

    // A running sum whose block loudness is exactly the gate.
    double sum = 48000.0 * std::pow (10.0, (LoudnessMeter::absoluteGateLufs + 0.691) / 10.0);
    for (int i = 0; i < 256 && LoudnessMeter::blockLoudness (sum / 48000.0) != -70.0; ++i)
        sum = std::nextafter (sum, LoudnessMeter::blockLoudness (sum / 48000.0) < -70.0 ? 1e300 : 0.0);
    ASSERT_EQ (LoudnessMeter::blockLoudness (sum / 48000.0), -70.0);

    EXPECT_EQ (gatedCountFor (sum), 1u);
    EXPECT_EQ (gatedCountFor (sum * 0.999), 0u);
}

TEST (LoudnessMeter, StopFreezesAndStartResets)
{
    LoudnessMeter meter;
    meter.prepare (48000.0);
    Readings readings;
    const auto loud = enginetest::sine (96000, 440.0, 48000.0, 0.8f);
    run (meter, readings, true, loud, loud);
    const float frozen[] = {
        readings.truePeak.load(), readings.rms.load(), readings.momentary.load(), readings.integrated.load()
    };
    ASSERT_GT (frozen[3], -10.0f);

    const auto quiet = enginetest::sine (48000, 440.0, 48000.0, 0.01f);
    run (meter, readings, false, quiet, quiet);
    EXPECT_EQ (readings.truePeak.load(), frozen[0]);
    EXPECT_EQ (readings.rms.load(), frozen[1]);
    EXPECT_EQ (readings.momentary.load(), frozen[2]);
    EXPECT_EQ (readings.integrated.load(), frozen[3]);

    // Restart with a quiet signal: the peak and the windows start from empty.
    run (meter, readings, true, quiet, quiet);
    EXPECT_NEAR (readings.truePeak.load(), 20.0f * std::log10 (0.01f) + 1.0f, 0.01f);
    EXPECT_NEAR (readings.rms.load(), 20.0f * std::log10 (0.01f / std::sqrt (2.0f)), 0.01f);
    EXPECT_EQ (meter.gatedCount, 1u);
    EXPECT_LT (readings.integrated.load(), -30.0f);
}

TEST (LoudnessMeter, FirstBlockAfterConstructionPublishesTheReset)
{
    LoudnessMeter meter;
    Readings readings;
    const float x[4] = { 0.5f, 0.5f, 0.5f, 0.5f };
    meter.processBlock (true, x, x, 4, readings.target);
    EXPECT_EQ (readings.truePeak.load(), -90.0f) << "without prepare the block step measures nothing";
    EXPECT_FALSE (meter.resetPending);

    meter.prepare (48000.0);
    readings.truePeak = 3.0f;
    meter.processBlock (true, x, x, 4, readings.target);
    EXPECT_NEAR (readings.truePeak.load(), 20.0f * std::log10 (0.5f) + 1.0f, 1e-4f)
        << "prepare alone keeps the readings until the next measured block";
}

TEST (LoudnessMeter, PeakHoldsAndNeverDecreases)
{
    LoudnessMeter meter;
    meter.prepare (44100.0);
    Readings readings;
    auto x = enginetest::whiteNoise (44100, 0.1f, 3);
    x[1234] = -0.5f;
    const std::vector<float> silence (x.size(), 0.0f);
    float previous = -1000.0f;
    for (size_t start = 0; start < x.size(); start += 441)
    {
        meter.processBlock (true, x.data() + start, silence.data() + start, 441, readings.target);
        EXPECT_GE (readings.truePeak.load(), previous);
        previous = readings.truePeak.load();
    }
    EXPECT_GE (readings.truePeak.load(), -5.021f) << "-0.5 is -5.0206 dB, shown as -5.02";
    EXPECT_NEAR (readings.truePeak.load(), 20.0f * std::log10 (0.5f) + 1.0f, 1e-4f);
}

TEST (LoudnessMeter, SilenceFallsToTheFloors)
{
    LoudnessMeter meter;
    meter.prepare (48000.0);
    Readings readings;
    const std::vector<float> silence (48000, 0.0f);
    run (meter, readings, true, silence, silence);
    EXPECT_EQ (readings.truePeak.load(), -99.0f);
    EXPECT_EQ (readings.rms.load(), -100.0f);
    EXPECT_NEAR (readings.momentary.load(), -100.691f, 1e-3f);
    EXPECT_EQ (readings.integrated.load(), -90.0f);
}

TEST (LoudnessMeter, InlineStageMatchesTheFrameworkFilter)
{
    for (const double rate : { 44100.0, 48000.0, 96000.0 })
    {
        WeightingStage inlineShelf, inlineHighPass;
        juce::IIRFilter shelf, highPass;
        const auto shelfCoefficients = juce::IIRCoefficients::makeHighShelf (rate, 1681.974f, 0.7071f, std::pow (10.0f, 0.2f));
        inlineShelf.setCoefficients (shelfCoefficients);
        shelf.setCoefficients (shelfCoefficients);
        inlineHighPass.setCoefficients (LoudnessMeter::makeKWeightingHighPass (rate));
        highPass.setCoefficients (LoudnessMeter::makeKWeightingHighPass (rate));

        auto x = enginetest::whiteNoise (20000, 1.0f, 77);
        std::fill (x.begin() + 10000, x.end(), 0.0f); // the decay towards the snap to zero
        for (float v : x)
            ASSERT_EQ (inlineHighPass.step (inlineShelf.step (v)),
                       highPass.processSingleSampleRaw (shelf.processSingleSampleRaw (v)));
    }
}
