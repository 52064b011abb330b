#include "editor/OrvalenEditor.h"
#include "editor/ParamStrip.h"
#include "editor/ResolutionSwitch.h"
#include "editor/SpectrumDisplay.h"

#include "EditorTestSupport.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

namespace
{
struct SnapshotCase
{
    int width, height;
};

class EditorSnapshot : public ::testing::TestWithParam<SnapshotCase>
{
};

void fillLiveState (OrvalenProcessor& p)
{
    p.truePeakDb = -3.2f;
    p.rmsDb = -17.8f;
    p.momentaryLufs = -14.6f;
    p.integratedLufs = -16.1f;
    p.curveSlots[1].hold = true;
}
} // namespace

TEST_P (EditorSnapshot, NormalAndRearPanelViewsRender)
{
    const auto c = GetParam();
    OrvalenProcessor p;
    fillLiveState (p);
    OrvalenEditor editor (p);
    editor.setSize (c.width, c.height);
    const float s = (float) c.width / 800.0f;
    const juce::String size = juce::String (c.width) + "x" + juce::String (c.height);

    const auto normal = editortest::render (editor);
    editortest::saveArtefact (normal, "editor_" + size + "_normal.png");

    // The title is drawn in white left-aligned with the display, in the header.
    const auto titleArea =
        juce::Rectangle<int> (editor.getSpectrumDisplay().getX(), 0, (int) (120 * s), (int) (40 * s));
    EXPECT_GT (editortest::countNear (normal, titleArea, juce::Colours::white, 40), (int) (40 * s * s));
    // The caption "Resolución" sits left of the switch in grey.
    const auto sw = editor.getResolutionSwitch().getBounds();
    EXPECT_GT (editortest::countNear (normal,
                                      { sw.getX() - (int) (90 * s), sw.getY(), (int) (85 * s), sw.getHeight() },
                                      juce::Colour (0xFF8892A0),
                                      40),
               10);
    // The logo draws light pixels inside its bounds.
    const auto logo = editor.getLogoBounds().toNearestInt();
    EXPECT_GT (editortest::countNear (normal, logo, juce::Colour (0xFFE0E4EA), 40), 20);
    // Lit parameter buttons glow teal: "K" of the weighting strip.
    auto& weighting = editor.getParamStrip (1);
    const auto k = weighting.buttons[3]->getBounds() + weighting.getPosition();
    EXPECT_GT (normal.getPixelAt (k.getX() + (int) (8 * s), k.getCentreY()).getBlue(), 120);

    const auto logoCentre = editor.getLogoBounds().getCentre();
    editortest::pressAt (editor, logoCentre.x, logoCentre.y);
    const auto rear = editortest::render (editor);
    editortest::saveArtefact (rear, "editor_" + size + "_rear_panel.png");
    EXPECT_LT (editortest::countNear (rear, titleArea, juce::Colours::white, 40), 10);
}

// Every pixel of a frame is painted, whatever the window held before: the
// frame skips the areas the display and the scope cover, never more.
TEST_P (EditorSnapshot, FrameCoversEveryPixel)
{
    const auto c = GetParam();
    OrvalenProcessor p;
    fillLiveState (p);
    OrvalenEditor editor (p);
    editor.setSize (c.width, c.height);

    auto paintOver = [&] (juce::Colour previous)
    {
        juce::Image image (juce::Image::ARGB, c.width, c.height, false);
        image.clear (image.getBounds(), previous);
        juce::Graphics g (image);
        editor.paintEntireComponent (g, false);
        return image;
    };

    const auto overMagenta = paintOver (juce::Colours::magenta);
    const auto overGreen = paintOver (juce::Colours::lime);
    int differing = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (overMagenta.getPixelAt (x, y) != overGreen.getPixelAt (x, y) && ++differing <= 3)
                ADD_FAILURE() << "pixel " << x << ", " << y << " shows what the window held";
    EXPECT_EQ (differing, 0);
}

INSTANTIATE_TEST_SUITE_P (BothSizes,
                          EditorSnapshot,
                          ::testing::Values (SnapshotCase { 800, 580 }, SnapshotCase { 1200, 870 }));
