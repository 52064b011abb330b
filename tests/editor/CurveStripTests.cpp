#include "editor/CurveStrip.h"

#include "EditorTestSupport.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
struct StripFixture : ::testing::Test
{
    OrvalenProcessor p;
    std::unique_ptr<CurveStrip> strips[4];

    void SetUp() override
    {
        for (int i = 0; i < 4; ++i)
        {
            strips[i] = std::make_unique<CurveStrip> (p, i);
            strips[i]->setBounds (0, 0, 259, 33);
        }
    }

    static void press (CurveStrip& s, juce::Rectangle<float> key)
    {
        editortest::pressAt (s, key.getCentreX(), key.getCentreY());
    }
};
} // namespace

TEST_F (StripFixture, KeyGeometryOfA259By33Strip)
{
    const auto& s = *strips[0];
    const float xs[] = { 2.0f, 51.76f, 101.51f, 151.27f };
    const juce::Rectangle<float> keys[] = { s.selBounds, s.onBounds, s.holdBounds, s.clrBounds };
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR (keys[i].getX(), xs[i], 0.01f);
        EXPECT_NEAR (keys[i].getY(), 1.34f, 0.01f);
        EXPECT_NEAR (keys[i].getWidth(), 46.76f, 0.01f);
        EXPECT_NEAR (keys[i].getHeight(), 30.32f, 0.01f);
    }
    EXPECT_NEAR (s.clrBounds.getRight(), 0.78f * 259.0f - 4.0f, 0.01f);
}

TEST_F (StripFixture, SelSelectsOnlyThisSlot)
{
    press (*strips[2], strips[2]->selBounds);
    EXPECT_EQ (p.selectedSlot.load(), 2);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ (p.curveSlots[(size_t) k].selected.load(), k == 2) << k;

    press (*strips[0], strips[0]->selBounds);
    EXPECT_EQ (p.selectedSlot.load(), 0);
    EXPECT_FALSE (p.curveSlots[2].selected.load());
}

TEST_F (StripFixture, TwoPressesOnOnRestoreVisibility)
{
    auto& visible = p.curveSlots[1].visible;
    const bool before = visible.load();
    press (*strips[1], strips[1]->onBounds);
    EXPECT_NE (visible.load(), before);
    press (*strips[1], strips[1]->onBounds);
    EXPECT_EQ (visible.load(), before);
}

TEST_F (StripFixture, HoldOnEmptiesThePeakCurveUnderTheLockFirst)
{
    auto& slot = p.curveSlots[3];
    {
        const juce::ScopedLock guard (slot.lock);
        slot.peakCurve.assign (64, -12.0f);
    }

    // While another thread holds the slot's lock the press must wait, with hold still off.
    std::atomic<bool> holding { false }, holdSeenDuringLock { false };
    std::thread analysis (
        [&]
        {
            const juce::ScopedLock guard (slot.lock);
            holding = true;
            juce::Thread::sleep (80);
            holdSeenDuringLock = slot.hold.load();
        });
    while (! holding)
        std::this_thread::yield();
    press (*strips[3], strips[3]->holdBounds);
    analysis.join();

    EXPECT_FALSE (holdSeenDuringLock.load());
    EXPECT_TRUE (slot.hold.load());
    for (float v : slot.peakCurve)
        ASSERT_EQ (v, -150.0f);

    // Turning it off leaves the curve alone.
    slot.peakCurve.assign (64, -20.0f);
    press (*strips[3], strips[3]->holdBounds);
    EXPECT_FALSE (slot.hold.load());
    EXPECT_EQ (slot.peakCurve[10], -20.0f);
}

TEST_F (StripFixture, HoldOnAnEmptyCurveIsHarmless)
{
    {
        const juce::ScopedLock guard (p.curveSlots[0].lock);
        p.curveSlots[0].peakCurve.clear();
    }
    press (*strips[0], strips[0]->holdBounds);
    EXPECT_TRUE (p.curveSlots[0].hold.load());
}

TEST_F (StripFixture, ClrRaisesBothRequestsOnceOnReleaseAnywhere)
{
    auto& s = *strips[1];
    auto& slot = p.curveSlots[1];
    press (s, s.clrBounds);
    EXPECT_TRUE (s.clrPressed);
    EXPECT_FALSE (slot.clearRequest.load());
    EXPECT_FALSE (slot.scopeClearRequest.load());

    editortest::releaseAt (s, -300.0f, 900.0f);
    EXPECT_FALSE (s.clrPressed);
    EXPECT_TRUE (slot.clearRequest.exchange (false));
    EXPECT_TRUE (slot.scopeClearRequest.exchange (false));

    editortest::releaseAt (s, s.clrBounds.getCentreX(), s.clrBounds.getCentreY());
    EXPECT_FALSE (slot.clearRequest.load());
    EXPECT_FALSE (slot.scopeClearRequest.load());
}

TEST_F (StripFixture, PressesBetweenKeysOnEdgesOrOnTheCaptionMiss)
{
    // At 250 x 320 the key edges fall on whole pixels: keys 45 wide at x = 2, 50, 98, 146, from y 13 to 307.
    auto& s = *strips[2];
    s.setBounds (0, 0, 250, 320);
    ASSERT_FLOAT_EQ (s.onBounds.getRight(), 95.0f);
    ASSERT_FLOAT_EQ (s.holdBounds.getBottom(), 307.0f);

    auto& slot = p.curveSlots[2];
    const bool visible = slot.visible.load();
    const juce::Point<float> misses[] = {
        { 48.0f, 100.0f }, // gap between SEL and ON
        { 95.0f, 100.0f }, // exactly on ON's right edge
        { 120.0f, 307.0f }, // exactly on HOLD's bottom edge
        { 120.0f, 5.0f }, // above the keys
        { 230.0f, 160.0f }, // caption
        { 1.0f, 100.0f }, // left of SEL
    };
    for (auto m : misses)
        editortest::pressAt (s, m.x, m.y);

    EXPECT_EQ (p.selectedSlot.load(), 0);
    EXPECT_EQ (slot.visible.load(), visible);
    EXPECT_FALSE (slot.hold.load());
    EXPECT_FALSE (s.clrPressed);

    // Last pixels inside a key still hit it.
    editortest::pressAt (s, 94.0f, 306.0f);
    EXPECT_NE (slot.visible.load(), visible);
}

TEST_F (StripFixture, PressPositionIsTakenInWholePixels)
{
    // SEL starts at x = 2: a press at 1.6 lands on pixel 2 and selects the slot.
    editortest::pressAt (*strips[1], 1.6f, 16.0f);
    EXPECT_EQ (p.selectedSlot.load(), 1);
}

TEST (CurveStripPalette, SlotZeroIsBlueOthersDeriveFromTheSlotColour)
{
    const struct
    {
        juce::uint32 glow, top, bottom, highlight;
    } expected[] = {
        { 0xFF00A2FF, 0xFF3399FF, 0xFF003399, 0x8088CCFF },
        { 0xFFF97316, 0xFFFA8A3C, 0xFFB1520F, 0x80FBB17D },
        { 0xFF10B981, 0xFF37C496, 0xFF0B845C, 0x807AD8B9 },
        { 0xFFEF4444, 0xFFF16363, 0xFFAA3030, 0x80F69797 },
    };
    for (int i = 0; i < 4; ++i)
    {
        const auto key = CurveStrip::keyFor (i);
        EXPECT_EQ (key.glow.getARGB(), expected[i].glow) << i;
        EXPECT_EQ (key.top.getARGB(), expected[i].top) << i;
        EXPECT_EQ (key.bottom.getARGB(), expected[i].bottom) << i;
        EXPECT_EQ (key.highlight.getARGB(), expected[i].highlight) << i;
        ASSERT_EQ (key.rings.size(), 5u);
        const int alphas[] = { 89, 45, 30, 22, 18 };
        for (size_t r = 0; r < 5; ++r)
            EXPECT_EQ (key.glow.withAlpha (key.rings[r].second).getAlpha(), alphas[r]);
        EXPECT_EQ (key.textDiagonal.getAlpha(), 0x4C);
        EXPECT_EQ (key.textStraight.getAlpha(), 0x99);
    }
}

TEST_F (StripFixture, LitKeysGlowInTheSlotColourAndTheCaptionShows)
{
    auto& s = *strips[3];
    p.selectedSlot = 3;
    const auto image = editortest::render (s);
    const auto sel = s.selBounds.toNearestInt();
    // SEL lit in red; HOLD unlit stays dark grey.
    const auto litBody = image.getPixelAt (sel.getX() + 6, sel.getY() + 6);
    EXPECT_GT (litBody.getRed(), 200);
    EXPECT_LT (litBody.getGreen(), 140);
    const auto dark = image.getPixelAt (s.holdBounds.toNearestInt().getX() + 6, sel.getCentreY());
    EXPECT_LT (dark.getBrightness(), 0.35f);
    // Caption "Curva 4" at the right end in grey.
    EXPECT_GT (editortest::countNear (image, { 205, 0, 54, 33 }, juce::Colour (0xFF8892A0), 40), 5);
}

TEST_F (StripFixture, RepaintsFollowStateFontAndSizeChanges)
{
    auto& s = *strips[3];
    const auto sel = s.selBounds.toNearestInt();
    auto selBody = [&] { return editortest::render (s).getPixelAt (sel.getX() + 6, sel.getY() + 6); };

    EXPECT_LT (selBody().getRed(), 120); // unlit
    p.selectedSlot = 3;
    EXPECT_GT (selBody().getRed(), 200); // lit, with no press on this strip
    p.selectedSlot = 0;
    EXPECT_LT (selBody().getRed(), 120);

    const auto small = editortest::render (s);
    s.buttonFont = juce::Font (16.0f, juce::Font::bold);
    const auto large = editortest::render (s);
    const auto hold = s.holdBounds.toNearestInt();
    EXPECT_NE (editortest::countNear (small, hold, juce::Colours::black, 10),
               editortest::countNear (large, hold, juce::Colours::black, 10));

    s.setBounds (0, 0, 389, 50);
    const auto grown = editortest::render (s);
    const auto clr = s.clrBounds.toNearestInt();
    EXPECT_LT (grown.getPixelAt (clr.getRight() - 6, clr.getBottom() - 6).getBrightness(), 0.35f);
    EXPECT_GT (grown.getPixelAt (clr.getRight() - 6, clr.getBottom() - 6).getAlpha(), 200);
}
