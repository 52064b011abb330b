#include "common/TestPlayHead.h"
#include "RealtimeProbe.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <random>

TEST (RealtimeSafety, ProbeSeesAllocationsAndLocks)
{
    if (! realtimeprobe::available())
        GTEST_SKIP() << "the probe's hooks are left out of sanitizer builds";

    // Volatile pointers keep the compiler from eliding the pairs.
    static int* volatile value = nullptr;
    static void* volatile raw = nullptr;
    juce::CriticalSection section;
    realtimeprobe::Scope probe;
    value = new int (3);
    delete value;
    raw = std::malloc (16);
    std::free (raw);
    {
        const juce::ScopedLock sl (section);
    }
    const auto counts = probe.counts();
    EXPECT_EQ (counts.allocations, 2);
    EXPECT_EQ (counts.deallocations, 2);
    EXPECT_GE (counts.locks, 1);
}

// Blocks of every size up to 4096 with captures completing, the transport
// starting and stopping, the tone switching and scope resets, while the
// analysis thread drains the ring: not one heap call or lock.
TEST (RealtimeSafety, ProcessBlockNeitherAllocatesNorLocks)
{
    if (! realtimeprobe::available())
        GTEST_SKIP() << "the probe's hooks are left out of sanitizer builds";

    OrvalenProcessor processor;
    TestPlayHead playHead;
    processor.setPlayHead (&playHead);
    processor.prepareToPlay (48000.0, 4096);

    juce::AudioBuffer<float> buffer (2, 4096);
    juce::MidiBuffer midi;
    std::mt19937 rng (42);
    std::uniform_int_distribution<int> sizes (1, 4096);
    std::uniform_real_distribution<float> sample (-1.0f, 1.0f);

    realtimeprobe::Counts total;
    long captures = 0, framesProcessed = 0;
    for (int block = 0; block < 600; ++block)
    {
        const int n = block % 50 == 0 ? 4096 : sizes (rng);
        buffer.setSize (2, n, false, false, true);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < n; ++i)
                buffer.setSample (c, i, sample (rng) * 0.5f);

        playHead.playing = (block / 37) % 2 == 0;
        processor.toneActive = (block / 23) % 2 == 1;
        if (block % 97 == 0)
            processor.scopeResetRequest = true;

        const int before = processor.scopeCapturePos;
        {
            realtimeprobe::Scope probe;
            processor.processBlock (buffer, midi);
            const auto counts = probe.counts();
            total.allocations += counts.allocations;
            total.deallocations += counts.deallocations;
            total.locks += counts.locks;
        }
        captures += (before + n) / OrvalenProcessor::scopeCaptureSize;
        framesProcessed += n;
    }

    EXPECT_EQ (total.allocations, 0);
    EXPECT_EQ (total.deallocations, 0);
    EXPECT_EQ (total.locks, 0);
    EXPECT_GT (captures, 100);
    EXPECT_GT (processor.momentaryLufs.load(), -90.0f);
    RecordProperty ("frames", std::to_string (framesProcessed));
}

// A mono layout takes the other branches of the capture and the ring feed.
TEST (RealtimeSafety, MonoProcessBlockNeitherAllocatesNorLocks)
{
    if (! realtimeprobe::available())
        GTEST_SKIP() << "the probe's hooks are left out of sanitizer builds";

    OrvalenProcessor processor;
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (juce::AudioChannelSet::mono());
    mono.outputBuses.add (juce::AudioChannelSet::mono());
    ASSERT_TRUE (processor.setBusesLayout (mono));
    TestPlayHead playHead;
    playHead.playing = true;
    processor.setPlayHead (&playHead);
    processor.prepareToPlay (44100.0, 1024);
    processor.toneActive = true;

    juce::AudioBuffer<float> buffer (1, 1024);
    juce::MidiBuffer midi;
    long locks = 0, allocations = 0;
    for (int block = 0; block < 200; ++block)
    {
        for (int i = 0; i < 1024; ++i)
            buffer.setSample (0, i, 0.1f * (float) std::sin (0.05 * (block * 1024 + i)));
        realtimeprobe::Scope probe;
        processor.processBlock (buffer, midi);
        locks += probe.counts().locks;
        allocations += probe.counts().allocations + probe.counts().deallocations;
    }
    EXPECT_EQ (allocations, 0);
    EXPECT_EQ (locks, 0);
}
