#include "editor/ReadoutBar.h"

#include "EditorTestSupport.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

TEST (ReadoutBar, FormatsOneDecimalPaddedToSixCharacters)
{
    const struct
    {
        float value;
        const char* expected;
    } cases[] = {
        { -90.0f, "    --" },   { -120.0f, "    --" }, { -1.0e9f, "    --" }, { -89.96f, " -90.0" },
        { -23.4f, " -23.4" },   { -5.0f, "  -5.0" },   { 0.0f, "   0.0" },    { 3.06f, "   3.1" },
        { -123.45f, "    --" }, { 12.34f, "  12.3" },  { -150.0f, "    --" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (formatReadout (c.value), juce::String (c.expected)) << c.value;

    // Wider numbers are left as they are.
    EXPECT_EQ (formatReadout (1234.5f), "1234.5");
}

TEST (ReadoutBar, LinesCarryLabelsAndUnitsAndShowDashesAfterReset)
{
    OrvalenProcessor p;
    const auto reset = ReadoutBar::readoutLines (p);
    EXPECT_EQ (reset[0], "TP:     -- dB");
    EXPECT_EQ (reset[1], "RMS:     -- dB");
    EXPECT_EQ (reset[2], "M:     -- LUFS");
    EXPECT_EQ (reset[3], "I:     -- LUFS");

    p.truePeakDb = -23.4f;
    p.rmsDb = -5.0f;
    p.momentaryLufs = 0.0f;
    p.integratedLufs = 3.06f;
    const auto live = ReadoutBar::readoutLines (p);
    EXPECT_EQ (live[0], "TP:  -23.4 dB");
    EXPECT_EQ (live[1], "RMS:   -5.0 dB");
    EXPECT_EQ (live[2], "M:    0.0 LUFS");
    EXPECT_EQ (live[3], "I:    3.1 LUFS");
}

TEST (ReadoutBar, AMeterResetShowsDashesOnAllFour)
{
    OrvalenProcessor p;
    p.truePeakDb = -1.0f;
    p.rmsDb = -12.0f;
    p.momentaryLufs = -14.0f;
    p.integratedLufs = -15.0f;
    LoudnessReadings readings { p.truePeakDb, p.rmsDb, p.momentaryLufs, p.integratedLufs };
    p.loudnessMeter->reset (&readings);
    for (const auto& line : ReadoutBar::readoutLines (p))
        EXPECT_TRUE (line.contains ("    --")) << line;
}

TEST (ReadoutBar, BarSitsTenBelowTheScopeCentredAndFollowsItsTexts)
{
    OrvalenProcessor p;
    const juce::Font font (11.0f, juce::Font::bold);
    const juce::Rectangle<int> scope (295, 357, 210, 162);
    const auto lines = ReadoutBar::readoutLines (p);
    const auto bar = ReadoutBar::barBounds (lines, font, scope, 800);

    EXPECT_FLOAT_EQ (bar.getY(), 529.0f);
    EXPECT_FLOAT_EQ (bar.getHeight(), 22.0f);
    EXPECT_NEAR (bar.getCentreX(), 400.0f, 0.01f);

    float texts = 0.0f;
    for (const auto& line : lines)
        texts += font.getStringWidthFloat (line);
    EXPECT_NEAR (bar.getWidth(), texts + 42.0f, 0.01f);
    EXPECT_GT (texts, 100.0f) << "no font found: the texts have no width";

    p.truePeakDb = -23.4f;
    const auto wider = ReadoutBar::barBounds (ReadoutBar::readoutLines (p), font, scope, 800);
    EXPECT_GT (wider.getWidth(), bar.getWidth());
    EXPECT_NEAR (wider.getCentreX(), 400.0f, 0.01f);
}

TEST (ReadoutBar, PaintsTextsAndGlassOnlyWhenTheTextureExists)
{
    OrvalenProcessor p;
    p.momentaryLufs = -14.2f;
    const juce::Font font (11.0f, juce::Font::bold);
    const juce::Rectangle<int> scope (295, 357, 210, 162);
    const auto bar =
        ReadoutBar::barBounds (ReadoutBar::readoutLines (p), font, scope, 800).getSmallestIntegerContainer();

    auto paintWith = [&] (const juce::Image& glass)
    {
        juce::Image image (juce::Image::ARGB, 800, 580, true);
        juce::Graphics g (image);
        g.fillAll (juce::Colours::black);
        ReadoutBar::paint (g, p, font, glass, scope, 800);
        return image;
    };

    const auto plain = paintWith ({});
    // Orange loudness text and white level text both drawn inside the bar.
    EXPECT_GT (editortest::countNear (plain, bar, juce::Colour (0xFFE68A00), 60), 5);
    EXPECT_GT (editortest::countNear (plain, bar, juce::Colour (0xFFB2B2B2), 60), 5);
    // Nothing outside the bar.
    EXPECT_EQ (editortest::countNear (plain, bar.withY (bar.getBottom() + 2), juce::Colours::black, 0),
               bar.getWidth() * bar.getHeight());

    juce::Image glass (juce::Image::ARGB, 50, 50, true);
    glass.clear (glass.getBounds(), juce::Colours::white);
    const auto glazed = paintWith (glass);
    const auto centre = bar.getCentre();
    const auto below = plain.getPixelAt (bar.getX() + 2, centre.y);
    const auto over = glazed.getPixelAt (bar.getX() + 2, centre.y);
    EXPECT_GT (over.getBrightness(), below.getBrightness() + 0.3f);
    // The glass keeps to the rounded bar: the corner pixel outside it stays black.
    EXPECT_EQ (glazed.getPixelAt (bar.getX(), bar.getY()).getBrightness(),
               plain.getPixelAt (bar.getX(), bar.getY()).getBrightness());
}
