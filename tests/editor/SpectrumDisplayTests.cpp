#include "DisplayTestSupport.h"

#include "BinaryData.h"
#include "editor/SpectrumDisplay.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace displaytest;

namespace
{
const juce::Colour background (0xff07080b);

class SpectrumDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        processor.setRateAndBufferSizeDetails (48000.0, 512);
        display.setGlassImage ({});
        display.setSize (752, 307); // pw 708, ph 281
    }

    float pw() const { return display.plotWidth(); }
    float ph() const { return display.plotHeight(); }
    int bandY() const { return (int) (8.0f + ph()) + 6; }
    float columnFrequency (int column) const { return display.pixelFrequencies[(size_t) column]; }

    void press (int x, int y, juce::ModifierKeys mods = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier))
    {
        display.mouseDown (mouseAt (display, x, y, mods));
    }
    void drag (int x, int y) { display.mouseDrag (mouseAt (display, x, y)); }
    void release (int x, int y) { display.mouseUp (mouseAt (display, x, y, juce::ModifierKeys())); }

    void zoomDrag (int x, int dx, int dy)
    {
        press (x, bandY());
        drag (x + dx, bandY() + dy);
        release (x + dx, bandY() + dy);
    }

    float shownOctaves() const { return std::log2 (display.maxFrequency / display.minFrequency); }

    OrvalenProcessor processor;
    SpectrumDisplay display { processor };
};

float brightness (const juce::Image& image, int x, int y) { return image.getPixelAt (x, y).getBrightness(); }
} // namespace

TEST_F (SpectrumDisplayTest, StartsAtTheFullRangeAndMapsFrequencyAndLevelOntoThePlot)
{
    EXPECT_FLOAT_EQ (display.minFrequency, 10.0f);
    EXPECT_FLOAT_EQ (display.maxFrequency, 22000.0f);
    EXPECT_FLOAT_EQ (pw(), 708.0f);
    EXPECT_FLOAT_EQ (ph(), 281.0f);

    EXPECT_NEAR (display.xOfFrequency (10.0f), 36.0f, 1.0e-4f);
    EXPECT_NEAR (display.xOfFrequency (22000.0f), 36.0f + 708.0f, 1.0e-3f);
    EXPECT_NEAR (display.xOfFrequency (std::sqrt (10.0f * 22000.0f)), 36.0f + 354.0f, 1.0e-3f);
    EXPECT_FLOAT_EQ (display.yOfLevel (0.0f), 8.0f);
    EXPECT_FLOAT_EQ (display.yOfLevel (-90.0f), 8.0f + 281.0f);
    EXPECT_FLOAT_EQ (display.yOfLevel (-45.0f), 8.0f + 140.5f);
}

TEST_F (SpectrumDisplayTest, PixelTableHoldsOneLogSpacedFrequencyPerColumn)
{
    const auto& table = display.pixelFrequencies;
    ASSERT_EQ (table.size(), 709u);
    EXPECT_FLOAT_EQ (table.front(), 10.0f);
    EXPECT_LE (table.back(), 22000.0f * 1.00001f);
    EXPECT_GT (table.back(), 21990.0f);
    EXPECT_NEAR (table[354], 10.0f * std::pow (2200.0f, 354.0f / 708.0f), 0.01f);
    for (size_t i = 1; i < table.size(); ++i)
        ASSERT_GT (table[i], table[i - 1]);

    display.setSize (644, 307);
    EXPECT_EQ (display.pixelFrequencies.size(), 601u);
}

TEST_F (SpectrumDisplayTest, FullViewShowsExactlyTheMainTicks)
{
    const auto ticks = display.computeTicks();
    ASSERT_EQ (ticks.size(), 10u);
    EXPECT_EQ (ticks.front().label, "20");
    EXPECT_EQ (ticks[5].label, "1K");
    EXPECT_EQ (ticks.back().label, "20K");
}

TEST_F (SpectrumDisplayTest, ZoomedViewFillsInThirdOctaveTicksAtLeast42PixelsApart)
{
    display.setSize (644, 307); // pw 600
    display.minFrequency = 100.0f;
    display.maxFrequency = 390.0f;

    const auto ticks = display.computeTicks();
    std::vector<float> frequencies;
    std::vector<juce::String> labels;
    for (const auto& tick : ticks)
    {
        frequencies.push_back (tick.frequency);
        labels.push_back (tick.label);
    }
    EXPECT_EQ (frequencies, (std::vector<float> { 100.0f, 125.0f, 160.0f, 200.0f, 250.0f, 315.0f }));
    EXPECT_EQ (labels, (std::vector<juce::String> { "100", "125", "160", "200", "250", "315" }));

    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GE (display.xOfFrequency (ticks[i].frequency) - display.xOfFrequency (ticks[i - 1].frequency), 42.0f);
}

TEST_F (SpectrumDisplayTest, SlightZoomWithEnoughMainTicksAddsNoFillIns)
{
    display.setSize (644, 307);
    display.minFrequency = 15.0f;
    display.maxFrequency = 21000.0f;
    EXPECT_EQ (display.computeTicks().size(), 10u);
}

TEST_F (SpectrumDisplayTest, HoverTextNamesFrequencyLevelAndNote)
{
    struct Case
    {
        float frequency, level;
        const char* text;
    };
    const Case cases[] = {
        { 440.0f, -12.0f, "440 Hz  -12.0 dB  A4" }, { 1250.0f, -42.3f, "1.25 kHz  -42.3 dB  D#6" },
        { 261.6f, -3.0f, "261 Hz  -3.0 dB  C4" },   { 20000.0f, -80.0f, "20.00 kHz  -80.0 dB" },
        { 999.9f, -90.0f, "999 Hz  -90.0 dB  B5" }, { 0.0f, -1.0f, "0 Hz  -1.0 dB" },
    };
    for (const auto& c : cases)
    {
        display.hoverFrequency = c.frequency;
        display.hoverLevelDb = c.level;
        EXPECT_EQ (display.hoverText(), juce::String (c.text)) << c.frequency;
    }
    EXPECT_EQ (SpectrumDisplay::noteName (7.0f), juce::String()); // below MIDI note 0
    EXPECT_EQ (SpectrumDisplay::noteName (8.2f), "C-1");
}

TEST_F (SpectrumDisplayTest, MouseMoveOverThePlotColumnsUpdatesTheHover)
{
    display.mouseMove (hoverAt (display, 36 + 354, 8 + 281 / 2));
    EXPECT_TRUE (display.hovering);
    EXPECT_FLOAT_EQ (display.hoverX, 390.0f);
    EXPECT_FLOAT_EQ (display.hoverFrequency, columnFrequency (354));
    EXPECT_NEAR (display.hoverLevelDb, -140.0f / 281.0f * 90.0f, 1.0e-4f);

    // The vertical position does not matter, but the level is limited.
    display.mouseMove (hoverAt (display, 36, 500));
    EXPECT_TRUE (display.hovering);
    EXPECT_FLOAT_EQ (display.hoverLevelDb, -90.0f);
    display.mouseMove (hoverAt (display, 36 + 708, 0));
    EXPECT_FLOAT_EQ (display.hoverLevelDb, 0.0f);
    EXPECT_FALSE (std::signbit (display.hoverLevelDb)) << "shown as -0.0";
    EXPECT_TRUE (display.hoverText().contains ("  0.0 dB"));

    display.mouseMove (hoverAt (display, 35, 100));
    EXPECT_FALSE (display.hovering);
    display.mouseMove (hoverAt (display, 36 + 709, 100));
    EXPECT_FALSE (display.hovering);

    display.mouseMove (hoverAt (display, 100, 100));
    display.mouseExit (hoverAt (display, 100, 100));
    EXPECT_FALSE (display.hovering);
}

TEST_F (SpectrumDisplayTest, PressInThePlotStartsTheToneAtTheLevelUnderTheMouse)
{
    struct Case
    {
        int y;
        float level;
    };
    const Case cases[] = {
        { 8, 3.0f }, // top edge of the plot
        { 8 + 280, 3.0f - 280.0f / 281.0f * 90.0f }, // last row above the band
        { 148, 3.0f - 140.0f / 281.0f * 90.0f },
        { 0, 3.0f + 8.0f / 281.0f * 90.0f }, // margin above the plot: not clamped
    };
    for (const auto& c : cases)
    {
        processor.toneActive = false;
        press (36 + 100, c.y);
        EXPECT_TRUE (display.toneHeld);
        EXPECT_TRUE (processor.toneActive.load());
        EXPECT_FLOAT_EQ (processor.toneFrequencyHz.load(), columnFrequency (100));
        EXPECT_NEAR (processor.toneLevelDb.load(), c.level, 1.0e-4f) << c.y;
        release (36 + 100, c.y);
        EXPECT_FALSE (display.toneHeld);
        EXPECT_FALSE (processor.toneActive.load());
    }
}

TEST_F (SpectrumDisplayTest, PressesOutsideThePlotColumnsOrWithOtherButtonsStartNoTone)
{
    struct Case
    {
        int x, y;
        juce::ModifierKeys mods;
    };
    const juce::ModifierKeys left (juce::ModifierKeys::leftButtonModifier);
    const Case cases[] = {
        { 35, 100, left },
        { 36 + 709, 100, left },
        { 0, 0, left },
        { 200, 100, juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier) },
    };
    for (const auto& c : cases)
    {
        press (c.x, c.y, c.mods);
        EXPECT_FALSE (display.toneHeld);
        EXPECT_FALSE (display.zoomDragging);
        EXPECT_FALSE (processor.toneActive.load());
        EXPECT_FLOAT_EQ (processor.toneFrequencyHz.load(), 1000.0f);
    }
}

TEST_F (SpectrumDisplayTest, PressInTheBandStartsAZoomDragAndNoTone)
{
    // The band includes its top edge, the plot's bottom line.
    for (const auto y : { 8 + 281, 8 + 281 + 9, 8 + 281 + 18 })
    {
        press (36 + 200, y);
        EXPECT_TRUE (display.zoomDragging) << y;
        EXPECT_FALSE (processor.toneActive.load());
        EXPECT_FLOAT_EQ (display.dragStartFrequency, columnFrequency (200));
        EXPECT_NEAR (display.dragAnchor, 200.0f / 708.0f, 1.0e-6f);
        EXPECT_NEAR (display.dragStartOctaves, std::log2 (2200.0f), 1.0e-5f);
        release (36 + 200, y);
        EXPECT_FALSE (display.zoomDragging);
    }
}

TEST_F (SpectrumDisplayTest, DraggingTheToneRetunesWithinTheShownRangeAndPlotLevels)
{
    press (136, 100);
    drag (136, 1000);
    EXPECT_FLOAT_EQ (processor.toneLevelDb.load(), -87.0f);
    drag (136, -50);
    EXPECT_FLOAT_EQ (processor.toneLevelDb.load(), 3.0f);
    drag (5000, 100);
    EXPECT_FLOAT_EQ (processor.toneFrequencyHz.load(), display.pixelFrequencies.back());
    drag (-100, 8 + 281);
    EXPECT_FLOAT_EQ (processor.toneFrequencyHz.load(), 10.0f);
    EXPECT_FLOAT_EQ (processor.toneLevelDb.load(), -87.0f);
    EXPECT_TRUE (processor.toneActive.load());
    EXPECT_FALSE (display.hovering) << "x = -100 lies left of the columns";

    release (-100, 8 + 281);
    EXPECT_FALSE (processor.toneActive.load());
}

TEST_F (SpectrumDisplayTest, DraggingUp260PixelsLeavesTwoOctavesAroundTheGrabbedFrequency)
{
    const int x = 36 + 354;
    press (x, bandY());
    const auto grabbed = display.dragStartFrequency;
    drag (x, bandY() - 260);
    EXPECT_NEAR (shownOctaves(), 2.0f, 1.0e-4f);
    EXPECT_NEAR (columnFrequency (354) / grabbed, 1.0f, 1.0e-4f);

    drag (x, bandY() - 600);
    EXPECT_NEAR (shownOctaves(), 2.0f, 1.0e-4f);
    EXPECT_NEAR (columnFrequency (354) / grabbed, 1.0f, 1.0e-4f);

    // Moving sideways keeps the grabbed frequency under the mouse.
    drag (x + 100, bandY() - 260);
    EXPECT_NEAR (columnFrequency (354 + 100) / grabbed, 1.0f, 1.0e-3f);
    release (x + 100, bandY() - 260);
    EXPECT_FALSE (processor.toneActive.load());

    zoomDrag (x, 0, 260);
    EXPECT_NEAR (display.minFrequency, 10.0f, 0.01f);
    EXPECT_NEAR (display.maxFrequency, 22000.0f, 22.0f);
}

TEST_F (SpectrumDisplayTest, ZoomDragsNeverLeaveTenHzTo22kHz)
{
    zoomDrag (36 + 20, 300, -260);
    EXPECT_FLOAT_EQ (display.minFrequency, 10.0f);
    EXPECT_NEAR (shownOctaves(), 2.0f, 1.0e-4f);

    display.mouseDoubleClick (mouseAt (display, 100, bandY()));
    zoomDrag (36 + 700, -300, -260);
    EXPECT_FLOAT_EQ (display.maxFrequency, 22000.0f);
    EXPECT_NEAR (shownOctaves(), 2.0f, 1.0e-4f);
    EXPECT_NEAR (display.pixelFrequencies.back(), 22000.0f, 1.0f);
}

TEST_F (SpectrumDisplayTest, DoubleClickInTheBandRestoresTheFullRangeButNotInThePlot)
{
    zoomDrag (36 + 354, 0, -200);
    const auto zoomedMin = display.minFrequency;
    ASSERT_GT (zoomedMin, 10.0f);

    display.mouseDoubleClick (
        mouseAt (display, 300, 100, juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier), 2));
    EXPECT_FLOAT_EQ (display.minFrequency, zoomedMin);

    display.mouseDoubleClick (
        mouseAt (display, 300, bandY(), juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier), 2));
    EXPECT_FLOAT_EQ (display.minFrequency, 10.0f);
    EXPECT_FLOAT_EQ (display.maxFrequency, 22000.0f);
    EXPECT_FLOAT_EQ (display.pixelFrequencies.front(), 10.0f);
}

TEST_F (SpectrumDisplayTest, MagnifierCursorOverTheBandAndWhileZooming)
{
    const juce::MouseCursor crosshair (juce::MouseCursor::CrosshairCursor);
    EXPECT_TRUE (display.getMouseCursor() == crosshair);

    display.mouseMove (hoverAt (display, 200, bandY()));
    EXPECT_TRUE (display.overZoomBar);
    const auto magnifier = display.getMouseCursor();
    EXPECT_TRUE (magnifier != crosshair);

    display.mouseMove (hoverAt (display, 200, 100));
    EXPECT_FALSE (display.overZoomBar);
    EXPECT_TRUE (display.getMouseCursor() == crosshair);

    press (200, bandY());
    drag (200, 100);
    EXPECT_TRUE (display.getMouseCursor() == magnifier);
    release (200, 100);

    display.mouseMove (hoverAt (display, 200, bandY()));
    display.mouseExit (hoverAt (display, 200, bandY()));
    EXPECT_FALSE (display.overZoomBar);
}

TEST_F (SpectrumDisplayTest, MagnifierPictureIsMadeOnceAndShared)
{
    SpectrumDisplay other (processor);
    const auto image = display.magnifierImage();
    EXPECT_TRUE (image == other.magnifierImage());
    ASSERT_EQ (image.getWidth(), 18);
    ASSERT_EQ (image.getHeight(), 18);
    EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (6, 1).getAlpha(), 128); // top of the ring
    EXPECT_GT (image.getPixelAt (13, 13).getAlpha(), 128); // handle
    EXPECT_EQ (image.getPixelAt (6, 6).getAlpha(), 0); // inside the lens
    saveArtefact (image, "magnifier_cursor");
}

TEST_F (SpectrumDisplayTest, RendersBackgroundGridAndLabelsAtTheirPositions)
{
    const auto image = render (display);
    saveArtefact (image, "display_empty");

    const auto quietX = (int) display.xOfFrequency (1400.0f);
    const auto quietY = (int) display.yOfLevel (-15.0f);
    EXPECT_EQ (image.getPixelAt (quietX, quietY), background);
    EXPECT_EQ (image.getPixelAt (quietX, (int) display.yOfLevel (-75.0f)), background);

    // Horizontal lines: a brighter row at each 10 dB step, background between.
    for (int level = -10; level >= -80; level -= 10)
    {
        const auto y = display.yOfLevel ((float) level);
        EXPECT_GT (brightness (image, quietX, (int) y), background.getBrightness() + 0.02f) << level;
        EXPECT_EQ (image.getPixelAt (quietX, (int) y + 4), background) << level;
    }
    // Vertical lines at the ticks only.
    EXPECT_GT (brightness (image, (int) display.xOfFrequency (1000.0f), quietY), background.getBrightness() + 0.02f);
    EXPECT_EQ (image.getPixelAt ((int) display.xOfFrequency (1000.0f) + 4, quietY), background);

    // Level labels left of the plot and tick labels in the band: text draws.
    const auto labelY = (int) display.yOfLevel (-50.0f);
    EXPECT_GT (countBrightPixels (image, { 2, labelY - 5, 30, 12 }, 0.35f), 8) << "no font found?";
    EXPECT_EQ (countBrightPixels (image, { 2, (int) display.yOfLevel (0.0f) - 4, 30, 8 }, 0.35f), 0)
        << "the 0 dB line has no label";
    const auto kx = (int) display.xOfFrequency (1000.0f);
    EXPECT_GT (countBrightPixels (image, { kx - 10, 8 + 281 + 2, 20, 14 }, 0.35f), 8);

    // Frame and rounded corners.
    EXPECT_GT (brightness (image, display.getWidth() / 2, 0), background.getBrightness() + 0.05f);
    EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0);
}

TEST_F (SpectrumDisplayTest, RendersTheHoverReadOutBox)
{
    display.mouseMove (hoverAt (display, 200, 150));
    const auto image = render (display);
    saveArtefact (image, "display_hover");

    const auto bw = (int) std::ceil (display.readoutFont.getStringWidthFloat (display.hoverText())) + 12;
    EXPECT_GT (countBrightPixels (image, { 206 + 4, 12, bw - 8, 18 }, 0.5f), 20);
    EXPECT_GT (brightness (image, 200, 250), background.getBrightness() + 0.08f) << "hover line";

    // Near the right edge the box flips to the left of the line.
    display.mouseMove (hoverAt (display, 36 + 700, 150));
    const auto flipped = render (display);
    const auto bw2 = (int) std::ceil (display.readoutFont.getStringWidthFloat (display.hoverText())) + 12;
    EXPECT_GT (countBrightPixels (flipped, { 736 - bw2 - 6 + 4, 12, bw2 - 8, 18 }, 0.5f), 20);
}

TEST_F (SpectrumDisplayTest, CachedGlassLooksLikeThePictureScaledOnEveryPaint)
{
    const auto glass = makeGlassPicture();
    for (const auto size : { juce::Point<int> (752, 307), juce::Point<int> (1128, 460) })
    {
        display.setGlassImage ({});
        display.setSize (size.x, size.y);
        const auto plain = render (display);

        auto reference = plain.createCopy();
        {
            juce::Graphics g (reference);
            juce::Path clip;
            clip.addRoundedRectangle (display.getLocalBounds().toFloat(), 8.0f);
            g.reduceClipRegion (clip);
            g.setOpacity (0.5f);
            g.drawImage (glass, display.getLocalBounds().toFloat(), juce::RectanglePlacement::fillDestination);
        }

        display.setGlassImage (glass);
        const auto withGlass = render (display);
        saveArtefact (withGlass, "display_glass_" + juce::String (size.x));

        // Only 8-bit rounding of the cached layers may differ, mostly at the
        // half-covered corner pixels.
        EXPECT_LE (maxImageDifference (withGlass, reference), 6) << size.x;
        EXPECT_LT (countDifferingPixels (withGlass, reference, 2), size.x * size.y / 100) << size.x;
        EXPECT_GT (maxImageDifference (withGlass, plain), 10) << size.x;

        display.setGlassImage ({});
        EXPECT_EQ (maxImageDifference (render (display), plain), 0) << size.x;
    }
}

TEST_F (SpectrumDisplayTest, GlassPictureComesFromTheEmbeddedResourcesWhenPresent)
{
    int size = 0;
    const auto* data = BinaryData::getNamedResource ("placa_acrilica_png", size);
    SpectrumDisplay fresh (processor);
    EXPECT_EQ (fresh.glassImage.isValid(), data != nullptr);
    if (data != nullptr)
    {
        EXPECT_EQ (fresh.glassImage.getWidth(), 1897);
        EXPECT_EQ (fresh.glassImage.getHeight(), 1225);
        EXPECT_TRUE (fresh.glassImage.hasAlphaChannel());
    }
}

TEST_F (SpectrumDisplayTest, NarrowDisplayKeepsItsTableAndIgnoresTheMouse)
{
    display.setSize (40, 307); // pw < 0
    EXPECT_EQ (display.pixelFrequencies.size(), 709u);
    for (const auto x : { 0, 36, 38, 40 })
    {
        press (x, 100);
        drag (x + 5, 200);
        release (x + 5, 200);
        press (x, 8 + 281 + 5);
        drag (x, 0);
        release (x, 0);
    }
    EXPECT_FALSE (processor.toneActive.load());
    EXPECT_FLOAT_EQ (processor.toneFrequencyHz.load(), 1000.0f);
    EXPECT_FLOAT_EQ (display.minFrequency, 10.0f);
    EXPECT_FALSE (display.hovering);
    EXPECT_EQ (render (display).getWidth(), 40);
}

TEST_F (SpectrumDisplayTest, NeverSizedTableGivesNoHoverNoToneAndNoZoom)
{
    SpectrumDisplay fresh (processor);
    fresh.setSize (44, 120); // pw 0: the table is never built
    ASSERT_TRUE (fresh.pixelFrequencies.empty());

    fresh.mouseMove (hoverAt (fresh, 36, 50));
    EXPECT_FALSE (fresh.hovering);
    fresh.mouseDown (mouseAt (fresh, 36, 50));
    EXPECT_FALSE (processor.toneActive.load());
    fresh.mouseDown (mouseAt (fresh, 36, 8 + 94 + 4));
    EXPECT_TRUE (fresh.zoomDragging);
    fresh.mouseDrag (mouseAt (fresh, 36, 0));
    EXPECT_FLOAT_EQ (fresh.minFrequency, 10.0f);
    EXPECT_FLOAT_EQ (fresh.maxFrequency, 22000.0f);
    fresh.mouseUp (mouseAt (fresh, 36, 0));
    EXPECT_EQ (render (fresh).getWidth(), 44);
}

TEST_F (SpectrumDisplayTest, PlotWithoutHeightNeverProducesANonFiniteTone)
{
    for (const auto height : { 26, 20, 1 })
    {
        display.setSize (752, height);
        for (const auto y : { -5, 0, 3, 8, 20, 30 })
        {
            display.mouseMove (hoverAt (display, 200, y));
            EXPECT_TRUE (std::isfinite (display.hoverLevelDb));
            press (200, y);
            drag (250, y + 10);
            release (250, y + 10);
            EXPECT_FALSE (processor.toneActive.load()) << height << " " << y;
            EXPECT_TRUE (std::isfinite (processor.toneLevelDb.load()));
        }
        EXPECT_EQ (render (display).getHeight(), height);
    }
}

TEST_F (SpectrumDisplayTest, ShrinkingThePlotDuringAToneKeepsItsLevelFinite)
{
    press (200, 100);
    const auto level = processor.toneLevelDb.load();
    display.setSize (752, 26);
    drag (220, 200);
    EXPECT_TRUE (std::isfinite (processor.toneLevelDb.load()));
    EXPECT_FLOAT_EQ (processor.toneLevelDb.load(), level);
    release (220, 200);
    EXPECT_FALSE (processor.toneActive.load());
}
