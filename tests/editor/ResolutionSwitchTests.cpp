#include "editor/ResolutionSwitch.h"

#include "EditorTestSupport.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

namespace
{
// Track colour sampled near the pill's centre line, away from thumb and label.
juce::Colour trackColourOf (ResolutionSwitch& sw, bool hi)
{
    const auto image = editortest::render (sw);
    const int x = hi ? 4 : sw.getWidth() - 4;
    return image.getPixelAt (x, sw.getHeight() / 2);
}

bool reddish (juce::Colour c) { return c.getRed() > 2 * c.getGreen() && c.getRed() > 150; }
bool greenish (juce::Colour c) { return c.getGreen() > 2 * c.getRed() && c.getGreen() > 100; }
} // namespace

TEST (ResolutionSwitch, NewProcessorShowsHiInRedAndClicksToggle)
{
    OrvalenProcessor p;
    ResolutionSwitch sw (p);
    EXPECT_EQ (sw.getWidth(), 46);
    EXPECT_EQ (sw.getHeight(), 28);
    EXPECT_EQ (p.requestedFftOrder.load(), 13);
    EXPECT_TRUE (reddish (trackColourOf (sw, true)));

    editortest::pressAt (sw, 10.0f, 10.0f);
    EXPECT_EQ (p.requestedFftOrder.load(), 12);
    EXPECT_TRUE (greenish (trackColourOf (sw, false)));

    editortest::pressAt (sw, 40.0f, 20.0f);
    EXPECT_EQ (p.requestedFftOrder.load(), 13);
}

TEST (ResolutionSwitch, AnyButtonToggles)
{
    OrvalenProcessor p;
    ResolutionSwitch sw (p);
    for (auto mods : { juce::ModifierKeys::rightButtonModifier,
                       juce::ModifierKeys::middleButtonModifier,
                       juce::ModifierKeys::leftButtonModifier })
    {
        const int before = p.requestedFftOrder.load();
        editortest::pressAt (sw, 1.0f, 27.0f, juce::ModifierKeys (mods));
        EXPECT_NE (p.requestedFftOrder.load(), before);
    }
}

TEST (ResolutionSwitch, UnknownRequestBecomesHiAndPaintsAsLo)
{
    OrvalenProcessor p;
    p.requestedFftOrder = 7;
    ResolutionSwitch sw (p);
    EXPECT_TRUE (greenish (trackColourOf (sw, false)));
    editortest::pressAt (sw, 5.0f, 5.0f);
    EXPECT_EQ (p.requestedFftOrder.load(), 13);
}

TEST (ResolutionSwitch, ReopenedSwitchShowsTheProcessorsValue)
{
    OrvalenProcessor p;
    {
        ResolutionSwitch first (p);
        editortest::pressAt (first, 5.0f, 5.0f);
    }
    ResolutionSwitch reopened (p);
    EXPECT_EQ (p.requestedFftOrder.load(), 12);
    EXPECT_TRUE (greenish (trackColourOf (reopened, false)));
}

TEST (ResolutionSwitch, ThumbSitsAtTheEndOfItsPosition)
{
    OrvalenProcessor p;
    ResolutionSwitch sw (p);
    // Hi: the light thumb is at the right end, the left end is red track.
    auto image = editortest::render (sw);
    EXPECT_GT (image.getPixelAt (37, 14).getBrightness(), 0.6f);
    EXPECT_TRUE (reddish (image.getPixelAt (6, 14)) || image.getPixelAt (6, 14).getBrightness() > 0.5f);

    editortest::pressAt (sw, 5.0f, 5.0f);
    image = editortest::render (sw);
    EXPECT_GT (image.getPixelAt (9, 14).getBrightness(), 0.6f);
}

TEST (ResolutionSwitch, TrackGradientColoursFollowTheFrameworkRules)
{
    EXPECT_EQ (juce::Colour (ResolutionSwitch::loColour).brighter (0.15f).getARGB(), 0xFF2FC291u);
    EXPECT_EQ (juce::Colour (ResolutionSwitch::loColour).darker (0.55f).getARGB(), 0xFF0A7753u);
    EXPECT_EQ (juce::Colour (ResolutionSwitch::hiColour).brighter (0.15f).getARGB(), 0xFFF15C5Cu);
    EXPECT_EQ (juce::Colour (ResolutionSwitch::hiColour).darker (0.55f).getARGB(), 0xFF9A2B2Bu);
}
