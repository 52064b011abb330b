#include "analysis/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace
{
int waiting (const OrvalenProcessor& p)
{
    const int r = p.analysisFifoRead.load(), w = p.analysisFifoWrite.load();
    return w >= r ? w - r : p.analysisFifoSize - r + w;
}

int passesUntilIdle (OrvalenProcessor& p)
{
    int passes = 0;
    while (p.runAnalysisStep())
        ++passes;
    return passes;
}
} // namespace

TEST (AnalysisRing, PassesRunPerFullBatch)
{
    struct Case
    {
        int fed, passes, left;
    };
    const Case cases[] = { { 1023, 0, 1023 }, { 1024, 1, 0 }, { 5000, 4, 904 }, { 0, 0, 0 } };
    for (const auto& c : cases)
    {
        auto p = enginetest::makeQuietProcessor();
        const auto x = enginetest::whiteNoise (c.fed, 0.1f, 9);
        enginetest::processSignal (*p, x, &x, 700);
        EXPECT_EQ (passesUntilIdle (*p), c.passes) << c.fed;
        EXPECT_EQ (waiting (*p), c.left) << c.fed;
    }
}

TEST (AnalysisRing, BatchWrapsAroundTheEnd)
{
    auto p = enginetest::makeQuietProcessor();
    const int start = p->analysisFifoSize - 300;
    p->analysisFifoRead = start;
    p->analysisFifoWrite = start;

    const auto x = enginetest::whiteNoise (1024, 0.5f, 4);
    enginetest::processSignal (*p, x, &x, 1024);
    ASSERT_EQ (p->analysisFifoWrite.load(), 724);

    std::vector<float> ringOrder (p->analysisFifo.begin() + start, p->analysisFifo.end());
    ringOrder.insert (ringOrder.end(), p->analysisFifo.begin(), p->analysisFifo.begin() + 724);

    ASSERT_TRUE (p->runAnalysisStep());
    EXPECT_EQ (p->analysisFifoRead.load(), 724);
    const std::vector<float> newest (p->sampleHistory.end() - 1024, p->sampleHistory.end());
    EXPECT_EQ (newest, ringOrder);
    EXPECT_NE (ringOrder[299], 0.0f);
    EXPECT_NE (ringOrder[300], 0.0f);
}

TEST (AnalysisRing, HistoryKeepsTheNewestSamplesInOrder)
{
    auto p = enginetest::makeQuietProcessor();
    const auto x = enginetest::whiteNoise (3 * 1024, 0.5f, 8);
    enginetest::processSignal (*p, x, &x, 1024);
    std::vector<float> fed (p->analysisFifo.begin(), p->analysisFifo.begin() + 3 * 1024);
    ASSERT_EQ (passesUntilIdle (*p), 3);

    const std::vector<float> newest (p->sampleHistory.end() - 3 * 1024, p->sampleHistory.end());
    EXPECT_EQ (newest, fed);
    EXPECT_EQ (p->sampleHistory[p->sampleHistory.size() - 3 * 1024 - 1], 0.0f);
}

TEST (AnalysisRing, FullRingDropsTheExcess)
{
    auto p = enginetest::makeQuietProcessor();
    const int capacity = p->analysisFifoSize - 1;
    const auto x = enginetest::whiteNoise (capacity + 5000, 0.1f, 2);
    enginetest::processSignal (*p, x, &x, 4096);
    EXPECT_EQ (waiting (*p), capacity);
    EXPECT_EQ (p->analysisFifoWrite.load(), capacity);
    const float lastStored = p->analysisFifo[(size_t) capacity - 1];

    // After one batch is drained exactly 1024 more fit; the write index stops
    // one short of the read index.
    ASSERT_TRUE (p->runAnalysisStep());
    enginetest::processSignal (*p, x, &x, 4096);
    EXPECT_EQ (waiting (*p), capacity);
    EXPECT_EQ (p->analysisFifoWrite.load(), 1023);
    EXPECT_EQ (p->analysisFifoRead.load(), 1024);
    EXPECT_EQ (p->analysisFifo[(size_t) capacity - 1], lastStored);
}

TEST (AnalysisRing, DcBlockerRemovesOffsetAndPassesAudio)
{
    auto p = enginetest::makeQuietProcessor();
    EXPECT_NEAR (p->dcCoefficient, 1.0f - (float) (4.0 * juce::MathConstants<double>::pi / 48000.0), 1e-9f);

    std::vector<float> offset (48000 * 5 / 2, 0.5f);
    const auto tone = enginetest::sine ((int) offset.size(), 1000.0, 48000.0, 0.25f);
    for (size_t i = 0; i < offset.size(); ++i)
        offset[i] += tone[i];
    const std::vector<float> silence (offset.size(), 0.0f);
    enginetest::processSignal (*p, offset, &silence, 1000);

    // The mono mix halves the signal: 0.125 peak of tone, no offset left.
    float peak = 0.0f, mean = 0.0f;
    for (int i = 48000 * 2; i < 48000 * 5 / 2; ++i)
    {
        peak = std::max (peak, std::abs (p->analysisFifo[(size_t) i]));
        mean += p->analysisFifo[(size_t) i] / 24000.0f;
    }
    EXPECT_NEAR (peak, 0.125f, 0.002f);
    EXPECT_NEAR (mean, 0.0f, 1e-3f);
}

TEST (AnalysisRing, PrepareEmptiesTheRingAndHistory)
{
    auto p = enginetest::makeQuietProcessor();
    const auto x = enginetest::whiteNoise (3000, 0.5f, 3);
    enginetest::processSignal (*p, x, &x, 1000);
    ASSERT_TRUE (p->runAnalysisStep());

    p->prepareToPlay (44100.0, 512);
    p->stopThread (3000);
    EXPECT_EQ (p->analysisFifoRead.load(), 0);
    EXPECT_EQ (p->analysisFifoWrite.load(), 0);
    for (float v : p->sampleHistory)
        ASSERT_EQ (v, 0.0f);
    EXPECT_FALSE (p->runAnalysisStep());
}
