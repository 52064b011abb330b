#include "common/TestPlayHead.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <iostream>
#include <random>
#include <thread>

namespace
{
constexpr auto stressDuration = std::chrono::milliseconds (3000);

// The host's audio thread: random block sizes, transport toggling and, now
// and then, a new sample rate through prepareToPlay.
void audioThread (OrvalenProcessor& p,
                  TestPlayHead& playHead,
                  std::atomic<bool>& stop,
                  long& blocks,
                  long& prepares)
{
    std::mt19937 rng (1);
    std::uniform_int_distribution<int> sizes (1, 4096);
    std::uniform_real_distribution<float> sample (-0.7f, 0.7f);
    const double rates[] = { 44100.0, 48000.0, 96000.0, 0.0 };
    std::vector<float> noise (2 * 8192);
    for (auto& x : noise)
        x = sample (rng);

    juce::AudioBuffer<float> buffer (2, 4096);
    juce::MidiBuffer midi;
    while (! stop.load())
    {
        const int n = sizes (rng);
        buffer.setSize (2, n, false, false, true);
        buffer.copyFrom (0, 0, noise.data() + rng() % 4096, n);
        buffer.copyFrom (1, 0, noise.data() + 8192 + rng() % 4096, n);

        if (rng() % 50 == 0)
            playHead.playing = ! playHead.playing.load();
        if (rng() % 30 == 0)
        {
            p.prepareToPlay (rates[rng() % 4], n);
            ++prepares;
        }

        p.processBlock (buffer, midi);
        ++blocks;
    }
}

// The editor's side: settings, resolution, the strip's buttons, the display's
// and the scope's paints, all as the message thread performs them.
void messageThread (OrvalenProcessor& p, std::atomic<bool>& stop, long& paints, bool& curvesInRange)
{
    std::mt19937 rng (2);
    while (! stop.load())
    {
        const auto choice = rng() % 10;
        const int slotIndex = (int) (rng() % 4);
        auto& slot = p.curveSlots[(size_t) slotIndex];

        if (choice == 0)
        {
            p.measureMode.exchange ((int) (rng() % 2));
            p.weighting.exchange ((int) (rng() % 4));
            p.smoothing.exchange ((int) (rng() % 4));
            p.responseMs.exchange ((int) (rng() % 3));
        }
        else if (choice == 1)
        {
            p.requestedFftOrder.exchange (rng() % 2 == 0 ? 12 : 13);
        }
        else if (choice == 2)
        {
            p.selectedSlot.exchange (slotIndex);
            for (int j = 0; j < 4; ++j)
                p.curveSlots[(size_t) j].selected.exchange (j == slotIndex);
        }
        else if (choice == 3)
        {
            slot.visible.exchange (! slot.visible.load());
        }
        else if (choice == 4)
        {
            if (! slot.hold.load())
            {
                {
                    const juce::ScopedLock sl (slot.lock);
                    std::fill (slot.peakCurve.begin(), slot.peakCurve.end(), -150.0f);
                }
                slot.hold.exchange (true);
            }
            else
            {
                slot.hold.exchange (false);
            }
        }
        else if (choice == 5)
        {
            slot.clearRequest.exchange (true);
            slot.scopeClearRequest.exchange (true);
        }
        else if (choice == 6)
        {
            p.toneActive.exchange (! p.toneActive.load());
            p.toneFrequencyHz.exchange (20.0f + (float) (rng() % 20000));
            p.toneLevelDb.exchange (-(float) (rng() % 120));
        }
        else
        {
            for (auto& s : p.curveSlots)
            {
                const juce::ScopedLock sl (s.lock);
                if (s.clearRequest.exchange (false))
                {
                    std::fill (s.curve.begin(), s.curve.end(), -150.0f);
                    std::fill (s.peakCurve.begin(), s.peakCurve.end(), -150.0f);
                }
                curvesInRange = curvesInRange && s.curve.size() == s.peakCurve.size();
                for (float v : s.curve)
                    curvesInRange = curvesInRange && v >= -150.0f && v <= 0.0f;
            }
            for (auto& s : p.curveSlots)
                s.scopeClearRequest.exchange (false);

            float sum = 0.0f;
            for (auto& sector : p.scopeSectors)
                sum += sector.load (std::memory_order_relaxed);
            sum += p.truePeakDb.load() + p.rmsDb.load() + p.momentaryLufs.load() + p.integratedLufs.load();
            curvesInRange = curvesInRange && ! std::isnan (sum);
            ++paints;
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
    }
}
} // namespace

TEST (EngineStress, AudioAnalysisAndMessageThreadsTogether)
{
    long blocks = 0, paints = 0, prepares = 0;
    bool curvesInRange = true;
    {
        OrvalenProcessor processor;
        TestPlayHead playHead;
        processor.setPlayHead (&playHead);
        processor.prepareToPlay (48000.0, 4096);

        std::atomic<bool> stop { false };
        std::thread audio ([&] { audioThread (processor, playHead, stop, blocks, prepares); });
        std::thread message ([&] { messageThread (processor, stop, paints, curvesInRange); });
        std::this_thread::sleep_for (stressDuration);
        stop = true;
        audio.join();
        message.join();
        EXPECT_TRUE (processor.isThreadRunning());

        // The analysis thread ran passes: some live curve left its start value.
        bool anyCurveMoved = false;
        for (auto& slot : processor.curveSlots)
        {
            const juce::ScopedLock sl (slot.lock);
            for (float v : slot.curve)
                anyCurveMoved = anyCurveMoved || v != -90.0f;
        }
        EXPECT_TRUE (anyCurveMoved);
    }

    EXPECT_TRUE (curvesInRange);
    EXPECT_GT (blocks, 100);
    EXPECT_GT (paints, 100);
    EXPECT_GT (prepares, 2);
    RecordProperty ("audioBlocks", std::to_string (blocks));
    RecordProperty ("paints", std::to_string (paints));
    std::cout << "stress: " << blocks << " audio blocks, " << prepares << " prepares, " << paints << " paints in "
              << stressDuration.count() << " ms\n";
}
