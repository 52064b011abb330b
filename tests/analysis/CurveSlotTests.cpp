#include "analysis/CurveSlotUpdate.h"
#include "analysis/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
void fill (CurveSlot& slot, size_t n, float curve, float peak)
{
    slot.curve.assign (n, curve);
    slot.peakCurve.assign (n, peak);
}

// Feeds one batch of a bin-centred sine and runs one pass.
void passWithSine (OrvalenProcessor& p, float amplitude)
{
    const auto x = enginetest::sine (1024, 1000.0 * 48000.0 / 8192.0, 48000.0, amplitude);
    enginetest::processSignal (p, x, &x, 1024);
    ASSERT_TRUE (p.runAnalysisStep());
}
} // namespace

TEST (CurveSlots, ResponseCoefficients)
{
    const std::pair<int, float> cases[] = { { 0, 0.4f }, { 1, 0.08f }, { 2, 0.02f }, { 3, 0.08f }, { -1, 0.08f } };
    for (const auto& [index, r] : cases)
        EXPECT_EQ (CurveSlotUpdate::responseCoefficient (index), r) << index;
}

TEST (CurveSlots, SelectedSlotFollowsPeakAndRms)
{
    struct Case
    {
        const char* name;
        int mode;
        float response, from, to, expected;
    };
    const float rmsRise = 20.0f * std::log10 (0.01f + (0.1f - 0.01f) * 0.4f);
    const float rmsFall = 20.0f * std::log10 (0.1f + (0.01f - 0.1f) * 0.08f);
    const Case cases[] = {
        { "Peak rises at once", 1, 0.4f, -40.0f, -20.0f, -20.0f },
        { "Peak Fast falls 40 %", 1, 0.4f, -20.0f, -40.0f, -28.0f },
        { "Peak Slow falls 2 %", 1, 0.02f, -20.0f, -40.0f, -20.4f },
        { "RMS Fast rises 40 % in amplitude", 0, 0.4f, -40.0f, -20.0f, rmsRise },
        { "RMS Mid falls 8 % in amplitude", 0, 0.08f, -20.0f, -40.0f, rmsFall },
        { "RMS from the floor", 0, 0.4f, -150.0f, -20.0f, 20.0f * std::log10 (0.04f) },
        { "RMS to the floor", 0, 0.4f, -150.0f, -150.0f, -150.0f },
    };
    for (const auto& c : cases)
    {
        CurveSlot slot;
        fill (slot, 8, c.from, -150.0f);
        const std::vector<float> spectrum (8, c.to);
        CurveSlotUpdate::updateSlot (slot, spectrum, true, c.mode, c.response);
        EXPECT_NEAR (slot.curve[3], c.expected, 1e-4f) << c.name;
        EXPECT_EQ (slot.peakCurve[3], std::max (slot.curve[3], -150.0f)) << c.name;
    }
}

TEST (CurveSlots, PeakCurveIsTheRunningMaximum)
{
    CurveSlot slot;
    fill (slot, 4, -150.0f, -150.0f);
    for (float level : { -30.0f, -10.0f, -60.0f, -60.0f })
        CurveSlotUpdate::updateSlot (slot, std::vector<float> (4, level), true, 1, 0.4f);
    EXPECT_EQ (slot.peakCurve[0], -10.0f);
    EXPECT_LT (slot.curve[0], -30.0f);
}

TEST (CurveSlots, UnselectedSlotsFadeAndKeepTheirPeak)
{
    CurveSlot slot;
    fill (slot, 3, -20.0f, -12.0f);
    slot.curve[1] = -147.0f;
    slot.curve[2] = -150.0f;
    const std::vector<float> spectrum (3, 0.0f);
    CurveSlotUpdate::updateSlot (slot, spectrum, false, 1, 0.4f);
    EXPECT_EQ (slot.curve, (std::vector<float> { -26.0f, -150.0f, -150.0f }));
    EXPECT_EQ (slot.peakCurve, std::vector<float> (3, -12.0f));
}

TEST (CurveSlots, SizeChangeResetsBothCurves)
{
    CurveSlot slot;
    fill (slot, 4096, -20.0f, -10.0f);
    CurveSlotUpdate::updateSlot (slot, std::vector<float> (2048, -150.0f), false, 1, 0.4f);
    EXPECT_EQ (slot.curve, std::vector<float> (2048, -150.0f));
    EXPECT_EQ (slot.peakCurve, std::vector<float> (2048, -150.0f));
}

TEST (CurveSlots, OutOfRangeSelectionUpdatesNoSlot)
{
    for (int selected : { -1, 4, 1000 })
    {
        std::array<CurveSlot, numCurveSlots> slots;
        for (auto& s : slots)
            fill (s, 16, -30.0f, -20.0f);
        CurveSlotUpdate::updateAll (slots, std::vector<float> (16, 0.0f), selected, 1, 0.4f);
        for (auto& s : slots)
        {
            EXPECT_EQ (s.curve, std::vector<float> (16, -36.0f)) << selected;
            EXPECT_EQ (s.peakCurve, std::vector<float> (16, -20.0f)) << selected;
        }
    }
}

TEST (CurveSlots, FirstPassAfterConstructionStartsFromMinus90)
{
    auto p = enginetest::makeQuietProcessor();
    p->measureMode = 1;
    p->responseMs = 0;
    passWithSine (*p, 0.001f);
    auto& slot0 = p->curveSlots[0];
    ASSERT_EQ (slot0.curve.size(), 4096u);
    // A bin far from the sine only falls from -90 by 40 % towards its level.
    EXPECT_NEAR (slot0.curve[3000], -90.0f + (p->spectrumDb[3000] + 90.0f) * 0.4f, 1e-3f);
    EXPECT_NEAR (slot0.curve[0], -114.0f, 1e-4f);
    EXPECT_EQ (p->curveSlots[1].curve[3000], -96.0f);
    EXPECT_EQ (p->curveSlots[1].peakCurve[3000], -90.0f);
}

TEST (CurveSlots, SelectionMovesTheUpdate)
{
    auto p = enginetest::makeQuietProcessor();
    p->measureMode = 1;
    p->selectedSlot = 2;
    for (int j = 0; j < 4; ++j)
        p->curveSlots[(size_t) j].selected = j == 2;
    passWithSine (*p, 0.5f);

    ASSERT_GT (p->spectrumDb[1000], -90.0f);
    EXPECT_EQ (p->curveSlots[2].curve[1000], p->spectrumDb[1000]) << "Peak rises at once";
    EXPECT_EQ (p->curveSlots[2].peakCurve[1000], p->spectrumDb[1000]);
    for (int j : { 0, 1, 3 })
    {
        EXPECT_EQ (p->curveSlots[(size_t) j].curve[1000], -96.0f) << j;
        EXPECT_EQ (p->curveSlots[(size_t) j].peakCurve[1000], -90.0f) << j;
    }
}

TEST (CurveSlots, HoldStartsFromTheFloorAndKeepsThePeak)
{
    auto p = enginetest::makeQuietProcessor();
    p->measureMode = 1;
    passWithSine (*p, 0.5f);
    auto& slot = p->curveSlots[0];

    // "HOLD" switched on: the strip empties the peak curve under the lock.
    {
        const juce::ScopedLock sl (slot.lock);
        std::fill (slot.peakCurve.begin(), slot.peakCurve.end(), -150.0f);
    }
    slot.hold = true;
    passWithSine (*p, 0.1f);
    EXPECT_EQ (slot.peakCurve, slot.curve) << "the next pass raises the peak curve to the live curve";

    // "HOLD" off leaves the peak curve; deselecting freezes it as a reference.
    slot.hold = false;
    const auto frozen = slot.peakCurve;
    p->selectedSlot = 1;
    passWithSine (*p, 0.9f);
    EXPECT_EQ (slot.peakCurve, frozen);
    EXPECT_LT (slot.curve[1000], frozen[1000]);
}

TEST (CurveSlots, ClearRelaysScopeResetUntilConsumed)
{
    auto p = enginetest::makeQuietProcessor();
    p->curveSlots[3].clearRequest = true;
    p->curveSlots[3].scopeClearRequest = true;

    for (int pass = 0; pass < 3; ++pass)
    {
        passWithSine (*p, 0.5f);
        EXPECT_TRUE (p->scopeResetRequest.load()) << pass;
        EXPECT_TRUE (p->curveSlots[3].scopeClearRequest.load()) << "the pass only relays the request";
        EXPECT_TRUE (p->curveSlots[3].clearRequest.load());
        // The next block (inside passWithSine) consumes the reset.
    }

    // The scope's paint consumes its request: no more resets are raised.
    p->curveSlots[3].scopeClearRequest.exchange (false);
    passWithSine (*p, 0.5f);
    juce::AudioBuffer<float> one (2, 1);
    one.clear();
    juce::MidiBuffer midi;
    p->processBlock (one, midi);
    passWithSine (*p, 0.5f);
    EXPECT_FALSE (p->scopeResetRequest.load());
}

TEST (CurveSlots, ResolutionChangeResetsEverySlot)
{
    auto p = enginetest::makeQuietProcessor();
    p->measureMode = 1;
    passWithSine (*p, 0.5f);
    p->requestedFftOrder = 12;
    passWithSine (*p, 0.5f);

    EXPECT_EQ (p->fftSize, 4096);
    EXPECT_EQ (p->currentFftOrder, 12);
    EXPECT_EQ (p->spectrumDb.size(), 2048u);
    for (int j = 1; j < 4; ++j)
    {
        EXPECT_EQ (p->curveSlots[(size_t) j].curve, std::vector<float> (2048, -150.0f)) << j;
        EXPECT_EQ (p->curveSlots[(size_t) j].peakCurve, std::vector<float> (2048, -150.0f)) << j;
    }
    EXPECT_EQ (p->curveSlots[0].curve, p->spectrumDb) << "Peak from -150 takes the spectrum at once";
}

TEST (CurveSlots, UnservableOrdersFallBackTo13)
{
    for (int requested : { 11, 14, 0, -3 })
    {
        auto p = enginetest::makeQuietProcessor();
        p->requestedFftOrder = 12;
        passWithSine (*p, 0.5f);
        p->requestedFftOrder = requested;
        passWithSine (*p, 0.5f);
        EXPECT_EQ (p->currentFftOrder, 13) << requested;
        EXPECT_EQ (p->spectrumDb.size(), 4096u) << requested;

        p->prepareToPlay (48000.0, 512);
        p->stopThread (3000);
        EXPECT_EQ (p->fftSize, 8192) << requested;
    }
}

TEST (CurveSlots, PassWithoutTransformObjectsIsSkipped)
{
    OrvalenProcessor p;
    p.stopThread (3000);
    const auto x = enginetest::sine (2048, 1000.0, 44100.0, 0.5f);
    enginetest::processSignal (p, x, &x, 512);

    EXPECT_TRUE (p.runAnalysisStep());
    EXPECT_TRUE (p.spectrumDb.empty());
    EXPECT_EQ (p.curveSlots[0].curve, std::vector<float> (4096, -90.0f));
    EXPECT_EQ (p.analysisFifoRead.load(), 1024) << "the batch is still taken";
}
