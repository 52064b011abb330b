#include "DisplayTestSupport.h"

#include "BinaryData.h"
#include "editor/StereoScope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace displaytest;

namespace
{
const juce::Colour background (0xff080a0c);
const juce::Colour track (0xff1e2832);

class StereoScopeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        scope.setGlassImage ({});
        scope.setSize (210, 162);
    }

    void setSectors (const std::function<float (int)>& energyOf)
    {
        for (int v = 0; v < 120; ++v)
            processor.scopeSectors[v].store (energyOf (v), std::memory_order_relaxed);
    }

    void paintTimes (int n)
    {
        for (int i = 0; i < n; ++i)
            last = render (scope);
    }

    void select (int slot)
    {
        processor.selectedSlot = slot;
        for (int j = 0; j < 4; ++j)
            processor.curveSlots[(size_t) j].selected = j == slot;
    }

    float radius() const
    {
        return ((float) scope.getWidth() - 6.0f) / (2.0f * std::sin (juce::MathConstants<float>::pi / 4.0f));
    }
    float centreY() const { return radius() + 3.0f; }
    float barCentreX() const { return (float) scope.getWidth() / 2.0f; }
    float barWidth() const { return 0.8f * (float) scope.getWidth() - 6.0f; }
    int barRow() const { return scope.getHeight() - 11 + 3; }

    bool allSmoothedZero() const
    {
        return std::all_of (
            std::begin (scope.smoothedSectors), std::end (scope.smoothedSectors), [] (float v) { return v == 0.0f; });
    }

    static float mono (int v) { return v == 60 ? 1.0f : 0.0f; }
    static float centreOnly (int v) { return v >= 30 && v <= 89 ? 1.0f : 0.0f; }
    static float sidesOnly (int v) { return v < 30 || v > 89 ? 1.0f : 0.0f; }

    OrvalenProcessor processor;
    StereoScope scope { processor };
    juce::Image last;
};
} // namespace

TEST (StereoScopeLevels, TargetIsTheCentreWeightedLevelOverTheTop50dB)
{
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto inf = std::numeric_limits<float>::infinity();
    struct Case
    {
        float energy;
        int sector;
        float target, tolerance;
    };
    const Case cases[] = {
        { 1.0f, 60, 0.9927f, 1.0e-4f },
        { 1.0f, 0, 0.126f, 1.0e-4f },
        { 1.0f, 119, 0.126f, 1.0e-4f },
        { 1.0f, 30, 0.567f, 1.0e-3f },
        { 0.01f, 60, 0.6f * 0.99266f, 1.0e-4f }, // -20 dB
        { 1.0e-5f, 60, 0.0f, 1.0e-4f }, // -50 dB shows nothing
        { 0.0f, 60, 0.0f, 0.0f },
        { -1.0f, 60, 0.0f, 0.0f },
        { nan, 60, 0.0f, 0.0f },
        { inf, 60, 1.0f, 0.0f },
        { 100.0f, 60, 1.0f, 0.0f },
    };
    for (const auto& c : cases)
        EXPECT_NEAR (StereoScope::sectorTarget (c.energy, c.sector), c.target, c.tolerance)
            << c.energy << " @ " << c.sector;
    EXPECT_FLOAT_EQ (StereoScope::sectorWeight (0), StereoScope::sectorWeight (119));
}

TEST (StereoScopeLevels, BalanceAndItsColour)
{
    EXPECT_FLOAT_EQ (StereoScope::balanceOf (1.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ (StereoScope::balanceOf (0.0f, 1.0f), -1.0f);
    EXPECT_FLOAT_EQ (StereoScope::balanceOf (3.0f, 1.0f), 0.5f);
    EXPECT_FLOAT_EQ (StereoScope::balanceOf (0.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ (StereoScope::balanceOf (0.0f, 0.0009f), 1.0f) << "tiny sums count as centred";

    struct Case
    {
        float balance;
        juce::uint32 argb;
    };
    const Case cases[] = { { -1.0f, 0xd9d93838 }, { 0.3f, 0xd9d93838 }, { 0.75f, 0xd93097b5 }, { 1.0f, 0xd93097b5 } };
    for (const auto& c : cases)
        EXPECT_EQ (StereoScope::balanceColour (c.balance).getARGB(), c.argb) << c.balance;

    const auto mid = StereoScope::balanceColour (0.525f);
    EXPECT_EQ (mid.getAlpha(), 0xd9);
    EXPECT_NEAR (mid.getRed(), (0xd9 + 0x30) / 2, 1);
    EXPECT_NEAR (mid.getGreen(), (0x38 + 0x97) / 2, 1);
    EXPECT_NEAR (mid.getBlue(), (0x38 + 0xb5) / 2, 1);
}

TEST_F (StereoScopeTest, MonoSignalGrowsASpikeStraightUpWithFullBalance)
{
    setSectors (mono);
    paintTimes (1);
    EXPECT_NEAR (scope.smoothedSectors[60], 0.35f * 0.99266f, 1.0e-4f);
    paintTimes (39);
    saveArtefact (last, "scope_mono");

    EXPECT_NEAR (scope.smoothedSectors[60], 0.99266f, 1.0e-3f);
    EXPECT_FLOAT_EQ (scope.heldSectors[0][60], scope.smoothedSectors[60]);
    EXPECT_FLOAT_EQ (scope.heldSectors[1][60], 0.0f);
    EXPECT_FLOAT_EQ (scope.lastBalance, 1.0f);

    const auto cx = (int) barCentreX();
    const auto spikeY = (int) (centreY() - 0.5f * radius());
    EXPECT_GT (countLookingLike (last, { cx - 2, spikeY - 2, 5, 5 }, slotColours[0]), 0);
    EXPECT_EQ (countLookingLike (last, { cx - 60, spikeY - 2, 5, 5 }, slotColours[0]), 0);

    // Bar: blue from the centre to the right end, the left half bare track.
    const auto expectedBlue = track.overlaidWith (juce::Colour (0xd93097b5));
    EXPECT_LE (channelDistance (last.getPixelAt ((int) (barCentreX() + barWidth() / 4.0f), barRow()), expectedBlue), 3);
    EXPECT_LE (channelDistance (last.getPixelAt ((int) (barCentreX() - barWidth() / 4.0f), barRow()), track), 1);
}

TEST_F (StereoScopeTest, CentreEnergyGivesPlusOneAndSideEnergyMinusOne)
{
    setSectors (centreOnly);
    paintTimes (5);
    EXPECT_FLOAT_EQ (scope.lastBalance, 1.0f);
    saveArtefact (last, "scope_centre");

    std::fill (std::begin (scope.smoothedSectors), std::end (scope.smoothedSectors), 0.0f);
    setSectors (sidesOnly);
    paintTimes (5);
    EXPECT_FLOAT_EQ (scope.lastBalance, -1.0f);
    saveArtefact (last, "scope_sides");

    const auto expectedRed = track.overlaidWith (juce::Colour (0xd9d93838));
    EXPECT_LE (channelDistance (last.getPixelAt ((int) (barCentreX() - barWidth() / 4.0f), barRow()), expectedRed), 3);
    EXPECT_LE (channelDistance (last.getPixelAt ((int) (barCentreX() + barWidth() / 4.0f), barRow()), track), 1);
}

TEST_F (StereoScopeTest, SilenceShrinksTheCurveByTwoPercentPerPaintUntilTheBarCentres)
{
    setSectors (sidesOnly);
    paintTimes (20);
    const auto before = scope.smoothedSectors[10];
    setSectors ([] (int) { return 0.0f; });
    paintTimes (1);
    EXPECT_NEAR (scope.smoothedSectors[10], before * 0.98f, 1.0e-6f);
    EXPECT_FLOAT_EQ (scope.lastBalance, -1.0f);

    paintTimes (600);
    EXPECT_FLOAT_EQ (scope.lastBalance, 1.0f);
    EXPECT_GT (scope.heldSectors[0][10], 0.1f) << "the held outline stays";
}

TEST_F (StereoScopeTest, ClearOnAnotherSlotClearsOnlyItsOutline)
{
    setSectors ([] (int v) { return v >= 20 && v <= 40 ? 0.5f : 0.0f; });
    select (2);
    paintTimes (10);
    select (0);
    setSectors ([] (int v) { return v >= 80 && v <= 100 ? 0.5f : 0.0f; });
    paintTimes (10);
    ASSERT_GT (scope.heldSectors[2][30], 0.2f);
    const auto smoothed = scope.smoothedSectors[90];
    const auto aboveBar = last.getBounds().withHeight (scope.getHeight() - 20);
    ASSERT_GT (countLookingLike (last, aboveBar, slotColours[2], 0.2f), 0);

    processor.curveSlots[2].scopeClearRequest = true;
    paintTimes (1);
    EXPECT_FALSE (processor.curveSlots[2].scopeClearRequest.load());
    EXPECT_FLOAT_EQ (scope.heldSectors[2][30], 0.0f);
    EXPECT_GT (scope.heldSectors[0][90], 0.2f);
    EXPECT_GE (scope.smoothedSectors[90], smoothed) << "the live curve is not restarted";
    EXPECT_EQ (countLookingLike (last, aboveBar, slotColours[2], 0.2f), 0) << "the outline is gone from the picture";
}

TEST_F (StereoScopeTest, ClearOnTheSelectedSlotRestartsTheLiveCurve)
{
    setSectors (mono);
    paintTimes (10);
    processor.curveSlots[0].scopeClearRequest = true;
    paintTimes (1);
    EXPECT_NEAR (scope.smoothedSectors[60], 0.35f * 0.99266f, 1.0e-4f);
    EXPECT_FLOAT_EQ (scope.heldSectors[0][60], scope.smoothedSectors[60]);
}

TEST_F (StereoScopeTest, HidingTheSelectedSlotRemovesTheLiveCurveButKeepsOtherOutlines)
{
    setSectors (sidesOnly);
    select (2);
    paintTimes (10);
    select (0);
    paintTimes (10);

    processor.curveSlots[0].visible = false;
    paintTimes (1);
    saveArtefact (last, "scope_selected_hidden");
    EXPECT_TRUE (allSmoothedZero());
    EXPECT_FLOAT_EQ (scope.lastBalance, 1.0f);
    const auto aboveBar = last.getBounds().withHeight (scope.getHeight() - 20);
    EXPECT_EQ (countLookingLike (last, aboveBar, slotColours[0], 0.2f), 0);
    EXPECT_GT (countLookingLike (last, aboveBar, slotColours[2], 0.2f), 0) << "slot 2's held outline";

    processor.curveSlots[2].visible = false;
    paintTimes (1);
    EXPECT_EQ (countLookingLike (last, aboveBar, slotColours[2], 0.2f), 0);
    EXPECT_GT (scope.heldSectors[2][10], 0.0f) << "hiding does not clear";
}

TEST_F (StereoScopeTest, SelectionOutsideTheSlotsShowsNoLiveCurve)
{
    setSectors (mono);
    for (const auto index : { -1, 4, 99 })
    {
        processor.selectedSlot = index;
        processor.curveSlots[1].scopeClearRequest = true;
        paintTimes (2);
        EXPECT_TRUE (allSmoothedZero()) << index;
        EXPECT_FLOAT_EQ (scope.lastBalance, 1.0f);
        EXPECT_FALSE (processor.curveSlots[1].scopeClearRequest.load());
    }
}

TEST_F (StereoScopeTest, NonFiniteSectorsKeepTheLevelsFiniteAndBounded)
{
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto inf = std::numeric_limits<float>::infinity();
    setSectors (
        [&] (int v)
        {
            switch (v % 4)
            {
                case 0:
                    return nan;
                case 1:
                    return inf;
                case 2:
                    return -inf;
                default:
                    return -1.0f;
            }
        });
    paintTimes (10);
    for (int v = 0; v < 120; ++v)
    {
        ASSERT_TRUE (std::isfinite (scope.smoothedSectors[v]));
        ASSERT_GE (scope.smoothedSectors[v], 0.0f);
        ASSERT_LE (scope.smoothedSectors[v], 1.0f);
    }
    EXPECT_TRUE (std::isfinite (scope.lastBalance));
}

TEST_F (StereoScopeTest, RendersBackgroundLabelsAndBorder)
{
    paintTimes (1);
    saveArtefact (last, "scope_silent");
    EXPECT_EQ (last.getPixelAt (12, 12), background);
    EXPECT_EQ (last.getPixelAt (0, 0).getAlpha(), 0) << "rounded corner clipped";
    EXPECT_GT (last.getPixelAt (105, 0).getBrightness(), background.getBrightness() + 0.1f);

    const auto diagonal = std::sin (juce::MathConstants<float>::pi / 4.0f) * 1.05f * radius();
    const auto labelTop = (int) (centreY() - diagonal - 10.0f);
    const auto leftBox = juce::Rectangle<int> ((int) (105.0f - diagonal + 3.0f), labelTop, 20, 20);
    const auto rightBox = juce::Rectangle<int> ((int) (105.0f + diagonal - 23.0f), labelTop, 20, 20);
    EXPECT_GT (countBrightPixels (last, leftBox, 0.6f), 5) << "no font found?";
    EXPECT_GT (countBrightPixels (last, rightBox, 0.6f), 5);

    const auto x0 = (int) (barCentreX() - barWidth() / 2.0f);
    EXPECT_GT (countBrightPixels (last, { x0 - 20, scope.getHeight() - 15, 20, 14 }, 0.45f), 3);
    EXPECT_GT (countBrightPixels (last, { x0 + (int) barWidth(), scope.getHeight() - 15, 20, 14 }, 0.45f), 3);
}

TEST_F (StereoScopeTest, OutOfPhaseWedgesAreRedTinted)
{
    paintTimes (1);
    const auto wedge = last.getPixelAt (10, (int) centreY() - 20); // about 82 degrees left
    EXPECT_GT (wedge.getRed(), background.getRed());
    EXPECT_EQ (last.getPixelAt (105 + 30, (int) centreY() - 90), background) << "inside the disc, no tint";
}

TEST_F (StereoScopeTest, HeldOutlinesOfAllVisibleSlotsAtBothSizes)
{
    const float spreads[] = { 6.0f, 14.0f, 24.0f, 36.0f };
    for (int slot = 0; slot < 4; ++slot)
    {
        select (slot);
        const auto spread = spreads[slot];
        setSectors ([spread] (int v) { return std::exp (-std::pow ((v - 60.0f) / spread, 2.0f)) * 0.5f; });
        paintTimes (15);
    }
    select (0);
    setSectors ([] (int v) { return std::exp (-std::pow ((v - 52.0f) / 10.0f, 2.0f)) * 0.3f + 0.001f; });
    paintTimes (15);
    saveArtefact (last, "scope_held_outlines");
    for (const auto colour : slotColours)
        EXPECT_GT (countLookingLike (last, last.getBounds().withHeight (scope.getHeight() - 20), colour, 0.2f), 0)
            << colour.toString();

    scope.setGlassImage (makeGlassPicture());
    scope.setSize (315, 243);
    paintTimes (1);
    saveArtefact (last, "scope_held_outlines_315_glass");
    EXPECT_EQ (last.getWidth(), 315);
}

TEST_F (StereoScopeTest, CachedGlassLooksLikeThePictureScaledOnEveryPaint)
{
    const auto glass = makeGlassPicture();
    for (const auto size : { juce::Point<int> (210, 162), juce::Point<int> (315, 243) })
    {
        scope.setGlassImage ({});
        scope.setSize (size.x, size.y);
        // Silent sectors keep the live state identical between the renders.
        const auto plain = render (scope);
        auto reference = plain.createCopy();
        {
            juce::Graphics g (reference);
            juce::Path clip;
            clip.addRoundedRectangle (scope.getLocalBounds().toFloat(), 8.0f);
            g.reduceClipRegion (clip);
            g.setOpacity (0.5f);
            g.drawImage (glass, scope.getLocalBounds().toFloat(), juce::RectanglePlacement::fillDestination);
        }
        scope.setGlassImage (glass);
        const auto withGlass = render (scope);
        EXPECT_LE (maxImageDifference (withGlass, reference), 6) << size.x;
        EXPECT_LT (countDifferingPixels (withGlass, reference, 2), size.x * size.y / 100) << size.x;
        EXPECT_GT (maxImageDifference (withGlass, plain), 10);

        scope.setGlassImage ({});
        EXPECT_EQ (maxImageDifference (render (scope), plain), 0);
    }

    int size = 0;
    const auto* data = BinaryData::getNamedResource ("placa_acrilica_png", size);
    StereoScope fresh (processor);
    EXPECT_EQ (fresh.glassImage.isValid(), data != nullptr);
    EXPECT_FLOAT_EQ (fresh.scaleFactor, 1.0f);
    EXPECT_FLOAT_EQ (fresh.channelFont.getHeight(), 10.0f);
    EXPECT_TRUE (fresh.channelFont.isBold());
    EXPECT_FLOAT_EQ (fresh.scaleLabelFont.getHeight(), 9.0f);
    EXPECT_FALSE (fresh.scaleLabelFont.isBold());
}

TEST_F (StereoScopeTest, CachedLayersGiveTheSamePictureAsDrawingEveryStep)
{
    StereoScope direct (processor);
    direct.cacheLayers = false;
    const auto glass = makeGlassPicture();

    for (const auto size : { juce::Point<int> (210, 162), juce::Point<int> (315, 243) })
    {
        for (auto* s : { &scope, &direct })
        {
            s->setGlassImage (glass);
            s->setSize (size.x, size.y);
        }
        for (int slot = 0; slot < 4; ++slot)
        {
            select (slot);
            const auto centre = 20.0f + 25.0f * (float) slot;
            setSectors ([centre] (int v) { return std::exp (-std::pow ((v - centre) / 12.0f, 2.0f)) * 0.6f; });
            for (int i = 0; i < 8; ++i)
            {
                last = render (scope);
                render (direct);
            }
        }
        const auto reference = render (direct);
        last = render (scope);
        EXPECT_LE (maxImageDifference (last, reference), 6) << size.x;
        EXPECT_LT (countDifferingPixels (last, reference, 1), size.x * size.y / 100) << size.x;
    }
}
