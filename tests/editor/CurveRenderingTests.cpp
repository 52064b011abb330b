#include "DisplayTestSupport.h"

#include "editor/SpectrumCurveRenderer.h"
#include "editor/SpectrumDisplay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace displaytest;

namespace
{
constexpr float plotHeight = 270.0f;
constexpr float binHz = 10.0f;
constexpr int bins = 4096;

std::vector<juce::Point<float>> pointsOf (const juce::Path& path)
{
    std::vector<juce::Point<float>> points;
    juce::Path::Iterator it (path);
    while (it.next())
        if (it.elementType == juce::Path::Iterator::startNewSubPath || it.elementType == juce::Path::Iterator::lineTo)
            points.emplace_back (it.x1, it.y1);
    return points;
}

float levelOf (juce::Point<float> p) { return -(p.y - 8.0f) / plotHeight * 90.0f; }

std::vector<float> flatCurve (float db) { return std::vector<float> ((size_t) bins, db); }

// Level drawn for a single column starting at f0 and ending at f1.
float columnLevel (const std::vector<float>& curve, float f0, float f1)
{
    const auto path = SpectrumCurveRenderer::buildPath (curve, binHz, 0.0f, plotHeight, { f0 }, f1);
    const auto points = pointsOf (path);
    EXPECT_EQ (points.size(), 1u);
    return points.empty() ? std::numeric_limits<float>::quiet_NaN() : levelOf (points.front());
}

std::vector<float> logTable (float lo, float hi, int columns)
{
    std::vector<float> table ((size_t) columns + 1);
    for (int i = 0; i <= columns; ++i)
        table[(size_t) i] = lo * std::pow (hi / lo, (float) i / (float) columns);
    return table;
}
} // namespace

TEST (CurvePathBuilder, ColumnSpanningSeveralBinsShowsTheLoudest)
{
    auto curve = flatCurve (-100.0f);
    curve[201] = -20.0f;
    curve[202] = -60.0f;
    curve[203] = -30.0f;
    EXPECT_NEAR (columnLevel (curve, 2010.0f, 2030.0f), -20.0f, 1.0e-4f);
}

TEST (CurvePathBuilder, SharpensBelow1kHzButKeepsDistinctPeaks)
{
    struct Case
    {
        int bin;
        float below, centre, above, drawn;
    };
    const Case cases[] = {
        { 50, -40.0f, -30.0f, -40.0f, -30.0f }, // stands 10 dB above both: kept
        { 50, -32.0f, -30.0f, -32.0f, -29.4f }, // rounded hump lifted
        { 50, -28.0f, -30.0f, -28.0f, -30.6f }, // dip deepened
        { 150, -32.0f, -30.0f, -32.0f, -30.0f }, // 1.5 kHz: left alone
    };
    for (const auto& c : cases)
    {
        auto curve = flatCurve (-100.0f);
        curve[(size_t) c.bin - 1] = c.below;
        curve[(size_t) c.bin] = c.centre;
        curve[(size_t) c.bin + 1] = c.above;
        const auto f = (float) c.bin * binHz;
        EXPECT_NEAR (columnLevel (curve, f, f + 0.5f), c.drawn, 1.0e-4f) << c.bin << " " << c.below;
    }
}

TEST (CurvePathBuilder, InterpolationBetweenBinsRisesMonotonicallyWithinItsNeighbours)
{
    auto curve = flatCurve (-100.0f);
    curve[199] = curve[200] = -40.0f;
    curve[201] = curve[202] = -20.0f;

    std::vector<float> table;
    for (int i = 0; i < 20; ++i)
        table.push_back (2000.0f + 0.5f * (float) i);
    const auto points = pointsOf (SpectrumCurveRenderer::buildPath (curve, binHz, 19.0f, plotHeight, table, 2010.0f));
    ASSERT_EQ (points.size(), 20u);

    auto previous = -40.0f - 1.0e-4f;
    for (const auto& p : points)
    {
        const auto level = levelOf (p);
        EXPECT_GE (level, previous);
        EXPECT_GE (level, -40.0f - 1.0e-4f);
        EXPECT_LE (level, -20.0f + 1.0e-4f);
        previous = level;
    }
    EXPECT_NEAR (levelOf (points.front()), -40.0f, 1.0e-4f);
    EXPECT_GT (levelOf (points.back()), -22.0f);
}

TEST (CurvePathBuilder, InterpolationNeverOvershootsItsTwoBins)
{
    // Catmull-Rom through -90, -40, -40, -90 bulges above -40 between the bins.
    auto curve = flatCurve (-100.0f);
    curve[199] = -90.0f;
    curve[200] = curve[201] = -40.0f;
    curve[202] = -90.0f;
    for (const auto t : { 0.25f, 0.5f, 0.75f })
        EXPECT_NEAR (columnLevel (curve, 2000.0f + 10.0f * t, 2000.0f + 10.0f * t + 0.1f), -40.0f, 1.0e-4f) << t;
}

TEST (CurvePathBuilder, OnePointPerColumnOnTheLevelScale)
{
    auto curve = flatCurve (-60.0f);
    std::fill (curve.begin() + 500, curve.end(), -150.0f); // silent above 5 kHz
    const auto table = logTable (10.0f, 22000.0f, 708);
    const auto points = pointsOf (SpectrumCurveRenderer::buildPath (curve, binHz, 708.0f, plotHeight, table));

    ASSERT_EQ (points.size(), 709u);
    for (size_t c = 0; c < points.size(); ++c)
        ASSERT_FLOAT_EQ (points[c].x, 36.0f + (float) c);
    EXPECT_NEAR (levelOf (points[300]), -60.0f, 1.0e-3f); // about 260 Hz
    EXPECT_FLOAT_EQ (points.back().y, 8.0f + plotHeight) << "below -90 dB lies on the bottom edge";
}

TEST (CurvePathBuilder, CurvesAtOrBelowMinus88dBAreNotDrawn)
{
    const auto table = logTable (10.0f, 22000.0f, 100);
    EXPECT_TRUE (SpectrumCurveRenderer::buildPath (flatCurve (-150.0f), binHz, 100.0f, plotHeight, table).isEmpty());
    EXPECT_TRUE (SpectrumCurveRenderer::buildPath (flatCurve (-88.0f), binHz, 100.0f, plotHeight, table).isEmpty());

    auto curve = flatCurve (-150.0f);
    curve[1000] = -87.9f;
    EXPECT_EQ (pointsOf (SpectrumCurveRenderer::buildPath (curve, binHz, 100.0f, plotHeight, table)).size(), 101u);
}

TEST (CurvePathBuilder, LastColumnOfAZoomedViewEndsAtTheViewsEdge)
{
    auto curve = flatCurve (-60.0f);
    curve[500] = -10.0f; // 5 kHz, far outside a 100-390 Hz view
    const auto table = logTable (100.0f, 390.0f, 600);
    const auto points = pointsOf (SpectrumCurveRenderer::buildPath (curve, binHz, 600.0f, plotHeight, table, 390.0f));
    ASSERT_EQ (points.size(), 601u);
    EXPECT_NEAR (levelOf (points.back()), -60.0f, 1.0e-3f);
}

TEST (CurvePathBuilder, BadInputGivesAnEmptyOrFinitePath)
{
    const auto table = logTable (10.0f, 22000.0f, 200);
    const auto loud = flatCurve (-30.0f);

    EXPECT_TRUE (SpectrumCurveRenderer::buildPath (loud, binHz, 200.0f, plotHeight, {}).isEmpty());
    EXPECT_TRUE (SpectrumCurveRenderer::buildPath (loud, binHz, -3.0f, plotHeight, table).isEmpty());
    EXPECT_TRUE (SpectrumCurveRenderer::buildPath ({}, binHz, 200.0f, plotHeight, table).isEmpty());
    EXPECT_TRUE (SpectrumCurveRenderer::buildPath (loud, 0.0f, 200.0f, plotHeight, table).isEmpty());
    EXPECT_TRUE (
        SpectrumCurveRenderer::buildPath (loud, std::numeric_limits<float>::quiet_NaN(), 200.0f, plotHeight, table)
            .isEmpty());

    // A table shorter than the plot is read only as far as it goes.
    EXPECT_EQ (pointsOf (SpectrumCurveRenderer::buildPath (loud, binHz, 500.0f, plotHeight, table)).size(), 201u);
    EXPECT_EQ (pointsOf (SpectrumCurveRenderer::buildPath ({ -20.0f }, binHz, 200.0f, plotHeight, table)).size(), 201u);

    auto broken = flatCurve (-40.0f);
    broken[3] = std::numeric_limits<float>::quiet_NaN();
    broken[100] = std::numeric_limits<float>::infinity();
    broken[101] = -std::numeric_limits<float>::infinity();
    broken[2000] = std::numeric_limits<float>::quiet_NaN();
    const auto points = pointsOf (SpectrumCurveRenderer::buildPath (broken, binHz, 200.0f, plotHeight, table));
    ASSERT_EQ (points.size(), 201u);
    auto top = 1.0e9f;
    for (const auto& p : points)
    {
        ASSERT_TRUE (std::isfinite (p.y));
        ASSERT_GE (p.y, 8.0f);
        ASSERT_LE (p.y, 8.0f + plotHeight);
        top = std::min (top, p.y);
    }
    EXPECT_FLOAT_EQ (top, 8.0f) << "+inf shows at full scale";

    std::vector<float> onlyNaN ((size_t) bins, std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE (SpectrumCurveRenderer::buildPath (onlyNaN, binHz, 200.0f, plotHeight, table).isEmpty());
}

namespace
{
// Renders a display over hand-filled slots and looks for slot colours.
class SlotDrawingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        processor.setRateAndBufferSizeDetails (48000.0, 512);
        display.setGlassImage ({});
        display.setSize (752, 307);
        for (auto& slot : processor.curveSlots)
        {
            slot.selected = false;
            slot.curve.assign ((size_t) bins, -150.0f);
            slot.peakCurve.assign ((size_t) bins, -150.0f);
        }
    }

    void fill (int index, float liveDb, float peakDb, bool visible, bool selected, bool hold)
    {
        auto& slot = processor.curveSlots[(size_t) index];
        slot.curve.assign ((size_t) bins, liveDb);
        slot.peakCurve.assign ((size_t) bins, peakDb);
        slot.visible = visible;
        slot.selected = selected;
        slot.hold = hold;
    }

    // Is a line of colour c drawn within a pixel of level db at quiet column x?
    bool lineNear (const juce::Image& image, int x, float db, juce::Colour c) const
    {
        const auto y = (int) display.yOfLevel (db);
        return countLookingLike (image, { x, y - 1, 1, 3 }, c) > 0;
    }

    int quietX() const { return (int) display.xOfFrequency (1400.0f); }

    OrvalenProcessor processor;
    SpectrumDisplay display { processor };
};

// The first cached paint after its layers change draws them one over the
// other; the following paints put the frame together from opaque copies.
// Both must look like the direct paint.
template <typename RenderFunction>
void expectCachedLikeDirect (SpectrumDisplay& display, RenderFunction&& renderNow, const std::string& what)
{
    display.cacheLayers = false;
    const auto direct = renderNow();
    display.cacheLayers = true;
    for (const auto* frame : { "first", "next" })
    {
        const auto cached = renderNow();
        EXPECT_LE (maxImageDifference (cached, direct), 6) << what << ", " << frame << " frame";
        EXPECT_LT (countDifferingPixels (cached, direct, 1), direct.getWidth() * direct.getHeight() / 100)
            << what << ", " << frame << " frame";
    }
}
} // namespace

TEST_F (SlotDrawingTest, DrawsLiveCurveOfTheSelectedSlotAndPeakCurvesWithHold)
{
    struct Case
    {
        bool visible, selected, hold, live, peak;
    };
    const Case cases[] = {
        { true, true, false, true, false },   { true, true, true, true, true },    { true, false, true, false, true },
        { true, false, false, false, false }, { false, true, true, false, false },
    };
    const auto orange = slotColours[1];
    for (const auto& c : cases)
    {
        fill (1, -35.0f, -15.0f, c.visible, c.selected, c.hold);
        const auto image = render (display);
        EXPECT_EQ (lineNear (image, quietX(), -35.0f, orange), c.live) << c.visible << c.selected << c.hold;
        EXPECT_EQ (lineNear (image, quietX(), -15.0f, orange), c.peak) << c.visible << c.selected << c.hold;
        if (c.live && c.peak)
            saveArtefact (image, "display_live_and_peak");
    }
}

TEST_F (SlotDrawingTest, LiveCurveSitsAtItsRowOverAGradientFill)
{
    fill (0, -35.0f, -150.0f, true, true, false);
    const auto image = render (display);
    const auto x = quietX();
    const auto expectedY = display.yOfLevel (-35.0f);

    int bestRow = -1;
    float bestBlue = 0.0f;
    for (int y = 8; y < 8 + 281; ++y)
    {
        const auto blue = (float) image.getPixelAt (x, y).getBlue();
        if (blue > bestBlue)
        {
            bestBlue = blue;
            bestRow = y;
        }
    }
    EXPECT_NEAR ((float) bestRow, expectedY, 1.0f);
    EXPECT_EQ (image.getPixelAt (x, (int) expectedY - 6), juce::Colour (0xff07080b));

    const auto upperFill = image.getPixelAt (x, (int) expectedY + 6);
    const auto lowerFill = image.getPixelAt (x, 8 + 281 - 3);
    EXPECT_GT (upperFill.getBlue(), upperFill.getRed() + 30);
    EXPECT_GT (upperFill.getBlue(), lowerFill.getBlue()) << "fill fades towards the bottom";
    EXPECT_GT (lowerFill.getBlue(), 0x0b + 5);
}

TEST_F (SlotDrawingTest, ClearRequestEmptiesEvenAHiddenSlotAtTheNextPaint)
{
    fill (2, -30.0f, -20.0f, false, false, true);
    fill (3, -30.0f, -20.0f, true, true, true);
    processor.curveSlots[2].clearRequest = true;
    processor.curveSlots[3].clearRequest = true;

    const auto image = render (display);
    for (const auto index : { 2, 3 })
    {
        const auto& slot = processor.curveSlots[(size_t) index];
        EXPECT_FALSE (slot.clearRequest.load());
        EXPECT_EQ (slot.curve.size(), (size_t) bins);
        EXPECT_TRUE (std::all_of (slot.curve.begin(), slot.curve.end(), [] (float v) { return v == -150.0f; }));
        EXPECT_TRUE (std::all_of (slot.peakCurve.begin(), slot.peakCurve.end(), [] (float v) { return v == -150.0f; }));
    }
    EXPECT_FALSE (lineNear (image, quietX(), -30.0f, slotColours[3]));
    EXPECT_FALSE (lineNear (image, quietX(), -20.0f, slotColours[3]));
}

TEST_F (SlotDrawingTest, CurvesFollowTheZoomedPixelTableAtTheNextPaint)
{
    fill (0, -60.0f, -150.0f, true, true, false);
    const auto binWidth = 48000.0f / (2.0f * bins);
    for (int j = (int) (290.0f / binWidth); j <= (int) (310.0f / binWidth) + 1; ++j)
        processor.curveSlots[0].curve[(size_t) j] = -20.0f;

    const auto blue = slotColours[0];
    display.minFrequency = 100.0f;
    display.maxFrequency = 390.0f;
    const auto x300 = (int) display.xOfFrequency (300.0f);
    const auto full = render (display); // the table still holds the full view
    EXPECT_FALSE (lineNear (full, x300, -20.0f, blue));

    display.resized();
    const auto zoomed = render (display);
    saveArtefact (zoomed, "display_zoomed");
    EXPECT_TRUE (lineNear (zoomed, x300, -20.0f, blue));
    EXPECT_TRUE (lineNear (zoomed, (int) display.xOfFrequency (200.0f), -60.0f, blue));
}

TEST_F (SlotDrawingTest, ShortOrMismatchedCurvesDrawNothingAndDoNotCrash)
{
    fill (0, -30.0f, -30.0f, true, true, true);
    processor.curveSlots[0].curve.assign (1, -10.0f);
    processor.curveSlots[1].curve.clear();
    processor.curveSlots[1].visible = true;
    processor.curveSlots[1].selected = true;
    fill (2, -30.0f, -30.0f, true, false, true);
    processor.curveSlots[2].peakCurve.clear();
    fill (3, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), true, true, true);

    const auto image = render (display);
    EXPECT_FALSE (lineNear (image, quietX(), -30.0f, slotColours[0]));
    EXPECT_FALSE (lineNear (image, quietX(), -30.0f, slotColours[2]));
    EXPECT_EQ (processor.curveSlots[0].curve.size(), 1u);
}

TEST_F (SlotDrawingTest, NonPositiveSampleRateFallsBackTo44100)
{
    processor.setRateAndBufferSizeDetails (0.0, 512);
    EXPECT_FLOAT_EQ (SpectrumCurveRenderer::sampleRateOf (processor), 44100.0f);
    processor.setRateAndBufferSizeDetails (96000.0, 512);
    EXPECT_FLOAT_EQ (SpectrumCurveRenderer::sampleRateOf (processor), 96000.0f);
}

TEST_F (SlotDrawingTest, FourProgrammeCurvesWithHolds)
{
    for (int i = 0; i < numCurveSlots; ++i)
    {
        auto& slot = processor.curveSlots[(size_t) i];
        slot.curve = programmeCurve (bins, 48000.0, 10 + i, -4.0f * (float) i);
        slot.peakCurve = programmeCurve (bins, 48000.0, 20 + i, 6.0f - 4.0f * (float) i);
        slot.visible = true;
        slot.selected = i == 0;
        slot.hold = true;
    }
    display.mouseMove (hoverAt (display, 36 + 420, 120));
    display.setGlassImage (makeGlassPicture());
    saveArtefact (render (display), "display_four_slots");
    display.setSize (1128, 460);
    const auto large = render (display);
    saveArtefact (large, "display_four_slots_1128");
    for (const auto colour : slotColours)
        EXPECT_GT (countLookingLike (large, large.getBounds(), colour), 200) << colour.toString();
}

TEST_F (SlotDrawingTest, CachedLayersGiveTheSamePictureAsDrawingEveryStep)
{
    for (int i = 0; i < numCurveSlots; ++i)
    {
        auto& slot = processor.curveSlots[(size_t) i];
        slot.curve = programmeCurve (bins, 48000.0, 30 + i, -5.0f * (float) i);
        slot.peakCurve = programmeCurve (bins, 48000.0, 40 + i, 5.0f - 5.0f * (float) i);
        slot.selected = i == 1;
        slot.hold = true;
    }
    display.setGlassImage (makeGlassPicture());

    struct Case
    {
        int w, h, hoverX;
        float lo, hi;
    };
    const Case cases[] = {
        { 752, 307, 400, 10.0f, 22000.0f },
        { 1128, 460, 1100, 10.0f, 22000.0f },
        { 752, 307, 700, 100.0f, 390.0f },
        { 150, 120, 120, 10.0f, 22000.0f }, // read-out box flips over the frame
    };
    for (const auto& c : cases)
    {
        display.setSize (c.w, c.h);
        display.minFrequency = c.lo;
        display.maxFrequency = c.hi;
        display.resized();
        display.mouseMove (hoverAt (display, c.hoverX, 60));

        expectCachedLikeDirect (
            display, [this] { return render (display); }, std::to_string (c.w) + " " + std::to_string (c.lo));
    }

    // The cached view follows a change of the view and of the label font.
    display.setSize (752, 307);
    display.minFrequency = 10.0f;
    display.maxFrequency = 22000.0f;
    display.resized();
    const auto before = render (display);
    display.labelFont = juce::Font (16.0f, juce::Font::bold);
    expectCachedLikeDirect (
        display, [this] { return render (display); }, "larger label font");
    EXPECT_GT (maxImageDifference (before, render (display)), 50);
}

TEST_F (SlotDrawingTest, CachedFrozenPeaksFollowEveryChangeOfTheirSlots)
{
    fill (0, -50.0f, -40.0f, true, true, false);
    fill (2, -150.0f, -25.0f, true, false, true); // frozen reference above the live slot
    const auto green = slotColours[2];
    const auto x = quietX();
    ASSERT_TRUE (lineNear (render (display), x, -25.0f, green));

    processor.curveSlots[2].peakCurve.assign ((size_t) bins, -15.0f);
    auto image = render (display);
    EXPECT_TRUE (lineNear (image, x, -15.0f, green));
    EXPECT_FALSE (lineNear (image, x, -25.0f, green));

    processor.curveSlots[2].clearRequest = true;
    EXPECT_FALSE (lineNear (render (display), x, -15.0f, green));

    processor.curveSlots[2].peakCurve.assign ((size_t) bins, -20.0f);
    ASSERT_TRUE (lineNear (render (display), x, -20.0f, green));
    processor.curveSlots[2].hold = false;
    EXPECT_FALSE (lineNear (render (display), x, -20.0f, green));
    processor.curveSlots[2].hold = true;
    processor.curveSlots[2].visible = false;
    EXPECT_FALSE (lineNear (render (display), x, -20.0f, green));
    processor.curveSlots[2].visible = true;

    // Moving the selection makes slot 2 live and slot 0 a frozen reference.
    processor.curveSlots[0].hold = true;
    processor.curveSlots[0].selected = false;
    processor.curveSlots[2].selected = true;
    processor.curveSlots[2].curve.assign ((size_t) bins, -60.0f);
    image = render (display);
    EXPECT_TRUE (lineNear (image, x, -40.0f, slotColours[0]));
    EXPECT_TRUE (lineNear (image, x, -60.0f, green));
    EXPECT_TRUE (lineNear (image, x, -20.0f, green));

    // Two slots live at once for a moment: drawn directly, both visible.
    processor.curveSlots[0].selected = true;
    image = render (display);
    EXPECT_TRUE (lineNear (image, x, -50.0f, slotColours[0]));
    EXPECT_TRUE (lineNear (image, x, -60.0f, green));

    display.cacheLayers = false;
    const auto direct = render (display);
    display.cacheLayers = true;
    EXPECT_EQ (maxImageDifference (image, direct), 0);
}

namespace
{
// Curves that put the live slot's pixels where the cached paint must redraw:
// against the top rows and the rounded corners, on the plot's bottom edge,
// in spikes with long mitred joints, with the peak below the live curve.
std::vector<float> spikyCurve (float floorDb, float spikeDb, int every)
{
    std::vector<float> curve ((size_t) bins, floorDb);
    for (size_t j = 0; j < curve.size(); j += (size_t) every)
        curve[j] = spikeDb;
    return curve;
}
} // namespace

TEST_F (SlotDrawingTest, CachedPaintMatchesDirectPaintForCurvesAtTheEdgesOfThePlot)
{
    struct Case
    {
        const char* name;
        std::vector<float> live, peak;
        bool hold, hover;
    };
    const auto programme = programmeCurve (bins, 48000.0, 50, 0.0f);
    const Case cases[] = {
        { "full scale", std::vector<float> ((size_t) bins, 0.0f), spikyCurve (-3.0f, 0.0f, 5), true, true },
        { "bottom edge", spikyCurve (-95.0f, -80.0f, 97), spikyCurve (-89.9f, -87.0f, 13), true, false },
        { "spikes", spikyCurve (-70.0f, -5.0f, 3), spikyCurve (-60.0f, -2.0f, 7), true, true },
        { "peak below live", programme, programmeCurve (bins, 48000.0, 51, -30.0f), true, true },
        { "peak only", std::vector<float> ((size_t) bins, -150.0f), programme, true, false },
        { "live only", programme, programme, false, true },
    };
    display.setGlassImage (makeGlassPicture());
    for (int i = 1; i < numCurveSlots; ++i)
        fill (i, -150.0f, -40.0f - 10.0f * (float) i, true, false, true);

    for (const auto& c : cases)
    {
        auto& slot = processor.curveSlots[0];
        slot.curve = c.live;
        slot.peakCurve = c.peak;
        slot.visible = slot.selected = true;
        slot.hold = c.hold;
        if (c.hover)
            display.mouseMove (hoverAt (display, 700, 40));
        else
            display.mouseExit (hoverAt (display, 0, 0));

        expectCachedLikeDirect (
            display, [this] { return render (display); }, c.name);
        if (c.name == cases[2].name)
            saveArtefact (render (display), "display_cached_spikes");
    }
}

TEST_F (SlotDrawingTest, CachedPaintLeavesNothingOfThePreviousFrame)
{
    // Each frame moves the live curve, the peak and the read-out; a pixel the
    // previous frame drew and this one does not would stay behind.
    display.setGlassImage (makeGlassPicture());
    fill (2, -150.0f, -30.0f, true, false, true);
    auto& slot = processor.curveSlots[0];
    slot.visible = slot.selected = slot.hold = true;
    for (int frame = 0; frame < 4; ++frame)
    {
        slot.curve = programmeCurve (bins, 48000.0, 60 + frame, 10.0f - 12.0f * (float) frame);
        slot.peakCurve = programmeCurve (bins, 48000.0, 70 + frame, 14.0f - 12.0f * (float) frame);
        display.mouseMove (hoverAt (display, 100 + 150 * frame, 50));
        const auto cached = render (display);
        display.cacheLayers = false;
        const auto direct = render (display);
        display.cacheLayers = true;
        EXPECT_LE (maxImageDifference (cached, direct), 6) << frame;
    }
}

TEST_F (SlotDrawingTest, CachedPaintInsideAParentKeepsItsPlaceAndLeavesTheCornersAlone)
{
    for (int i = 0; i < numCurveSlots; ++i)
        fill (i, -150.0f, -150.0f, true, false, false);
    processor.curveSlots[1].curve = programmeCurve (bins, 48000.0, 80, 20.0f);
    processor.curveSlots[1].selected = true;
    display.setGlassImage (makeGlassPicture());

    juce::Component parent;
    parent.setSize (800, 340);
    parent.addAndMakeVisible (display);
    display.setBounds (23, 17, 752, 307);

    // An opaque child is painted over whatever lies beneath; outside its
    // rounded corners that must stay as it was.
    const juce::Colour under (0xffc08040);
    const auto renderOver = [&]
    {
        juce::Image image (juce::Image::ARGB, parent.getWidth(), parent.getHeight(), false);
        image.clear (image.getBounds(), under);
        juce::Graphics g (image);
        parent.paintEntireComponent (g, false);
        return image;
    };
    expectCachedLikeDirect (display, renderOver, "inside a parent");
    display.cacheLayers = false;
    const auto direct = renderOver();
    display.cacheLayers = true;
    const auto cached = renderOver();
    parent.removeChildComponent (&display);

    EXPECT_EQ (cached.getPixelAt (23, 17), under);
    EXPECT_EQ (cached.getPixelAt (23 + 751, 17 + 306), under);
    EXPECT_EQ (cached.getPixelAt (23 + 20, 17 + 20), direct.getPixelAt (23 + 20, 17 + 20));
}
