#include "common/TestPlayHead.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

// A NaN or infinite sample in the input must pass through untouched but must not
// poison any measurement: the meters, the curves and the scope treat it as
// silence and recover as soon as the signal is finite again.
namespace
{
constexpr double rate = 48000.0;
constexpr int block = 512;

struct Rig
{
    OrvalenProcessor processor;
    TestPlayHead head { true };
    juce::MidiBuffer midi;
    juce::int64 position = 0;

    Rig()
    {
        processor.setPlayHead (&head);
        processor.setRateAndBufferSizeDetails (rate, block);
        processor.prepareToPlay (rate, block);
    }
    ~Rig() { processor.setPlayHead (nullptr); }

    // Feeds a 997 Hz sine, panned a little to the left; `poison` replaces the
    // samples of [poisonFrom, poisonTo) with non-finite values (or zeros when
    // `poison` is false, for the reference run).
    void feed (double seconds, juce::int64 poisonFrom = -1, juce::int64 poisonTo = -1, bool poison = true)
    {
        const auto total = (juce::int64) (seconds * rate);
        juce::AudioBuffer<float> buffer (2, block);
        for (juce::int64 start = 0; start < total; start += block)
        {
            for (int i = 0; i < block; ++i)
            {
                const auto n = position + start + i;
                const float s =
                    0.5f * (float) std::sin (juce::MathConstants<double>::twoPi * 997.0 * (double) n / rate);
                float l = s, r = 0.6f * s;
                if (n >= poisonFrom && n < poisonTo)
                    l = r = poison ? nonFinite (n) : 0.0f;
                buffer.setSample (0, i, l);
                buffer.setSample (1, i, r);
            }
            juce::AudioBuffer<float> input;
            input.makeCopyOf (buffer);
            head.position = position + start;
            processor.processBlock (buffer, midi);
            for (int ch = 0; ch < 2; ++ch)
                ASSERT_EQ (std::memcmp (buffer.getReadPointer (ch), input.getReadPointer (ch), sizeof (float) * block),
                           0)
                    << "the audio must pass unchanged, non-finite samples included";
            waitForAnalysis();
        }
        position += total;
    }

    static float nonFinite (juce::int64 n)
    {
        switch (n % 3)
        {
            case 0:
                return std::numeric_limits<float>::quiet_NaN();
            case 1:
                return std::numeric_limits<float>::infinity();
            default:
                return -std::numeric_limits<float>::infinity();
        }
    }

    void waitForAnalysis()
    {
        for (int i = 0; i < 2000; ++i)
        {
            const int r = processor.analysisFifoRead.load(), w = processor.analysisFifoWrite.load();
            const int waiting = w >= r ? w - r : processor.analysisFifoSize - r + w;
            if (waiting < OrvalenProcessor::analysisBatchSize)
                return;
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    }

    std::vector<float> selectedCurve()
    {
        auto& slot = processor.curveSlots[0];
        const juce::ScopedLock sl (slot.lock);
        return slot.curve;
    }

    float loudestSectorValue() const
    {
        float m = 0.0f;
        for (auto& s : processor.scopeSectors)
            m = std::max (m, s.load (std::memory_order_relaxed));
        return m;
    }
};

void expectAllFinite (const std::vector<float>& values)
{
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE (std::isfinite (values[i])) << "bin " << i;
}
} // namespace

TEST (NonFiniteInput, MeasurementsRecoverAfterABurstOfNanAndInf)
{
    Rig poisoned, reference;
    const auto burstFrom = (juce::int64) (1.0 * rate), burstTo = burstFrom + 3000;
    poisoned.feed (4.0, burstFrom, burstTo, true);
    reference.feed (4.0, burstFrom, burstTo, false);

    const std::pair<std::atomic<float>*, std::atomic<float>*> readings[] = {
        { &poisoned.processor.truePeakDb, &reference.processor.truePeakDb },
        { &poisoned.processor.rmsDb, &reference.processor.rmsDb },
        { &poisoned.processor.momentaryLufs, &reference.processor.momentaryLufs },
        { &poisoned.processor.integratedLufs, &reference.processor.integratedLufs },
    };
    for (auto [p, r] : readings)
    {
        ASSERT_TRUE (std::isfinite (p->load()));
        EXPECT_NEAR (p->load(), r->load(), 1e-3);
    }
    EXPECT_NEAR (poisoned.processor.truePeakDb.load(), 20.0f * std::log10 (0.5f) + 1.0f, 0.01);

    const auto curve = poisoned.selectedCurve();
    const auto referenceCurve = reference.selectedCurve();
    expectAllFinite (curve);
    ASSERT_EQ (curve.size(), referenceCurve.size());
    const auto peakBin = (size_t) std::lround (997.0 / (rate / 8192.0));
    EXPECT_NEAR (curve[peakBin], referenceCurve[peakBin], 1.0);
    EXPECT_GT (curve[peakBin], -20.0f);

    for (auto& s : poisoned.processor.scopeSectors)
        ASSERT_TRUE (std::isfinite (s.load (std::memory_order_relaxed)));
    EXPECT_GT (poisoned.loudestSectorValue(), 0.0f);
    EXPECT_NEAR (poisoned.loudestSectorValue(), reference.loudestSectorValue(), 1e-3f * reference.loudestSectorValue());
}

TEST (NonFiniteInput, PeakAndCurvesStayFiniteDuringTheBurst)
{
    Rig rig;
    rig.feed (1.5, 0, (juce::int64) (1.5 * rate), true);
    const float readings[] = { rig.processor.truePeakDb.load(),
                               rig.processor.rmsDb.load(),
                               rig.processor.momentaryLufs.load(),
                               rig.processor.integratedLufs.load() };
    for (float r : readings)
        EXPECT_TRUE (std::isfinite (r));
    expectAllFinite (rig.selectedCurve());
    for (auto& s : rig.processor.scopeSectors)
        EXPECT_EQ (s.load (std::memory_order_relaxed), 0.0f);
}
