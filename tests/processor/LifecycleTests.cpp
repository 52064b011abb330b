#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{
// Threads of this process that carry the analysis thread's name.
int countAnalysisThreads()
{
    int count = 0;
    for (const auto& entry :
         juce::RangedDirectoryIterator (juce::File ("/proc/self/task"), false, "*", juce::File::findDirectories))
        if (entry.getFile().getChildFile ("comm").loadFileAsString().trim() == "KLA_FFT_Thread")
            ++count;
    return count;
}

void waitUntilAnalysisThreadsAre (int expected)
{
    for (int i = 0; i < 500 && countAnalysisThreads() != expected; ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
}
} // namespace

TEST (Lifecycle, ConstructedProcessorRunsItsAnalysisThread)
{
    ASSERT_EQ (countAnalysisThreads(), 0);
    {
        OrvalenProcessor p;
        EXPECT_TRUE (p.isThreadRunning());
        EXPECT_EQ (p.getThreadName(), "KLA_FFT_Thread");
        waitUntilAnalysisThreadsAre (1);
        EXPECT_EQ (countAnalysisThreads(), 1);
    }
    waitUntilAnalysisThreadsAre (0);
    EXPECT_EQ (countAnalysisThreads(), 0);
}

TEST (Lifecycle, PreparingTwiceKeepsOneThread)
{
    OrvalenProcessor p;
    waitUntilAnalysisThreadsAre (1);
    const auto threadId = p.getThreadId();

    p.prepareToPlay (48000.0, 512);
    p.prepareToPlay (96000.0, 64);

    EXPECT_TRUE (p.isThreadRunning());
    EXPECT_EQ (p.getThreadId(), threadId);
    EXPECT_EQ (countAnalysisThreads(), 1);
    EXPECT_EQ (p.preparedSampleRate, 96000.0);
}

TEST (Lifecycle, ReleaseThenPrepareKeepsTheSameThread)
{
    OrvalenProcessor p;
    p.prepareToPlay (44100.0, 256);
    const auto threadId = p.getThreadId();

    p.releaseResources();
    EXPECT_TRUE (p.isThreadRunning());
    p.prepareToPlay (48000.0, 256);

    EXPECT_TRUE (p.isThreadRunning());
    EXPECT_EQ (p.getThreadId(), threadId);
    waitUntilAnalysisThreadsAre (1);
    EXPECT_EQ (countAnalysisThreads(), 1);
    EXPECT_EQ (p.preparedSampleRate, 48000.0);
}

TEST (Lifecycle, PrepareRestartsAStoppedThread)
{
    OrvalenProcessor p;
    ASSERT_TRUE (p.stopThread (3000));
    EXPECT_FALSE (p.isThreadRunning());
    p.prepareToPlay (48000.0, 512);
    EXPECT_TRUE (p.isThreadRunning());
}

TEST (Lifecycle, NonPositiveSampleRateIsStoredAndTheDcBlockerFallsBackTo48k)
{
    OrvalenProcessor p;
    p.prepareToPlay (0.0, 512);
    EXPECT_EQ (p.preparedSampleRate, 0.0);
    const auto fallback = 1.0f - (float) (4.0 * juce::MathConstants<double>::pi / 48000.0);
    EXPECT_EQ (p.dcCoefficient, fallback);

    p.prepareToPlay (-44100.0, 512);
    EXPECT_EQ (p.preparedSampleRate, -44100.0);
    EXPECT_EQ (p.dcCoefficient, fallback);
}

TEST (Lifecycle, PrepareBuildsTheRequestedFftAndEmptiesTheRing)
{
    OrvalenProcessor p;
    EXPECT_EQ (p.fft, nullptr);
    EXPECT_EQ (p.window, nullptr);
    EXPECT_TRUE (p.fftData.empty());

    p.requestedFftOrder.exchange (12);
    p.prepareToPlay (48000.0, 512);
    EXPECT_EQ (p.currentFftOrder, 12);
    EXPECT_EQ (p.fftSize, 4096);
    ASSERT_NE (p.fft, nullptr);
    EXPECT_EQ (p.fft->getSize(), 4096);
    EXPECT_NE (p.window, nullptr);
    EXPECT_EQ (p.fftData.size(), 8192u);
    EXPECT_EQ (p.analysisFifoWrite.load(), 0);
    EXPECT_EQ (p.analysisFifoRead.load(), 0);
    EXPECT_EQ (p.analysisFifo.size(), 131072u);
    EXPECT_EQ (p.scopeCapturePos, 0);
    EXPECT_EQ (p.dcCoefficient, 1.0f - (float) (4.0 * juce::MathConstants<double>::pi / 48000.0));
}

TEST (Lifecycle, ConstructionValues)
{
    OrvalenProcessor p;
    EXPECT_EQ (p.selectedSlot.load(), 0);
    for (int i = 0; i < numCurveSlots; ++i)
    {
        const auto& slot = p.curveSlots[(size_t) i];
        EXPECT_TRUE (slot.visible.load()) << i;
        EXPECT_EQ (slot.selected.load(), i == 0) << i;
        EXPECT_FALSE (slot.clearRequest.load()) << i;
        EXPECT_FALSE (slot.scopeClearRequest.load()) << i;
        const juce::ScopedLock sl (slot.lock);
        EXPECT_EQ (slot.curve, std::vector<float> (4096, -90.0f)) << i;
        EXPECT_EQ (slot.peakCurve, std::vector<float> (4096, -90.0f)) << i;
    }
    EXPECT_FALSE (p.toneActive.load());
    EXPECT_EQ (p.toneFrequencyHz.load(), 1000.0f);
    EXPECT_EQ (p.toneLevelDb.load(), -18.0f);
    EXPECT_EQ (p.requestedFftOrder.load(), 13);
    EXPECT_NE (p.loudnessMeter, nullptr);
    for (const auto* reading : { &p.truePeakDb, &p.rmsDb, &p.momentaryLufs, &p.integratedLufs })
        EXPECT_EQ (reading->load(), -90.0f);
    EXPECT_EQ (p.preparedSampleRate, 44100.0);
    EXPECT_EQ (p.currentFftOrder, 13);
    EXPECT_EQ (p.fftSize, 8192);
    EXPECT_EQ (p.analysisFifoSize, 131072);
    EXPECT_EQ (p.chunkBuffer.size(), 16384u);
    EXPECT_EQ (p.sampleHistory.size(), 16384u);
    EXPECT_EQ (p.scopeFft.getSize(), 2048);
}

// Destroying an idle processor must not wait for the stop time-out; the
// figure is printed for the record.
TEST (Lifecycle, DestructionReturnsPromptly)
{
    double worstMs = 0.0, totalMs = 0.0;
    constexpr int runs = 20;
    for (int i = 0; i < runs; ++i)
    {
        auto p = std::make_unique<OrvalenProcessor>();
        if (i % 2 == 1)
        {
            p->prepareToPlay (48000.0, 512);
            p->releaseResources();
        }
        std::this_thread::sleep_for (std::chrono::milliseconds (5));

        const auto started = juce::Time::getMillisecondCounterHiRes();
        p.reset();
        const auto elapsed = juce::Time::getMillisecondCounterHiRes() - started;
        worstMs = juce::jmax (worstMs, elapsed);
        totalMs += elapsed;
    }
    std::cout << "[ figure   ] processor destruction: mean " << totalMs / runs << " ms, worst " << worstMs << " ms"
              << std::endl;
    RecordProperty ("destruction_worst_ms", juce::String (worstMs, 3).toStdString());
    EXPECT_LT (worstMs, 3000.0);
}
