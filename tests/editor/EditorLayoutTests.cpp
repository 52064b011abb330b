#include "editor/CurveStrip.h"
#include "editor/OrvalenEditor.h"
#include "editor/ParamStrip.h"
#include "editor/ResolutionSwitch.h"
#include "editor/SpectrumDisplay.h"
#include "editor/StereoScope.h"

#include "EditorTestSupport.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

namespace
{
using R = juce::Rectangle<int>;

struct LayoutCase
{
    int width, height;
    R display, scope, curveStrip0, paramStrip0, resolution;
    int rowTops[4];
};

const LayoutCase layoutCases[] = {
    { 800,
      580,
      { 24, 40, 752, 307 },
      { 295, 357, 210, 162 },
      { 22, 357, 259, 33 },
      { 517, 357, 259, 33 },
      { 734, 6, 46, 28 },
      { 357, 397, 437, 477 } },
    { 1200,
      870,
      { 36, 60, 1128, 460 },
      { 442, 535, 315, 243 },
      { 33, 535, 389, 50 },
      { 775, 535, 390, 50 },
      { 1101, 9, 69, 42 },
      { 535, 595, 655, 715 } },
};

class EditorLayout : public ::testing::TestWithParam<LayoutCase>
{
protected:
    OrvalenProcessor processor;
};
} // namespace

TEST_P (EditorLayout, ChildrenGetTheReferenceRectangles)
{
    const auto& c = GetParam();
    OrvalenEditor editor (processor);
    editor.setSize (c.width, c.height);

    EXPECT_EQ (editor.getSpectrumDisplay().getBounds(), c.display);
    EXPECT_EQ (editor.getStereoScope().getBounds(), c.scope);
    EXPECT_EQ (editor.getCurveStrip (0).getBounds(), c.curveStrip0);
    EXPECT_EQ (editor.getParamStrip (0).getBounds(), c.paramStrip0);
    EXPECT_EQ (editor.getResolutionSwitch().getBounds(), c.resolution);
    EXPECT_EQ (editor.getClickCatcher().getBounds(), R (0, 0, c.width, c.height));

    for (int k = 0; k < 4; ++k)
    {
        const auto curve = editor.getCurveStrip (k).getBounds();
        const auto param = editor.getParamStrip (k).getBounds();
        EXPECT_EQ (curve, c.curveStrip0.withY (c.rowTops[k])) << k;
        EXPECT_EQ (param, c.paramStrip0.withY (c.rowTops[k])) << k;
    }
}

TEST_P (EditorLayout, LastButtonOfEveryParameterStripEndsAtTheDisplaysRightEdge)
{
    const auto& c = GetParam();
    OrvalenEditor editor (processor);
    editor.setSize (c.width, c.height);
    const int edge = (int) (0.97f * (float) c.width);

    for (int k = 0; k < 4; ++k)
    {
        auto& strip = editor.getParamStrip (k);
        ASSERT_FALSE (strip.buttons.empty());
        EXPECT_EQ (strip.getX() + strip.buttons.back()->getRight(), edge) << k;
        // The shift keeps the spacing and sizes of the strip's own layout.
        for (size_t i = 1; i < strip.buttons.size(); ++i)
            EXPECT_EQ (strip.buttons[i]->getWidth(), strip.buttons[0]->getWidth());
    }
}

TEST_P (EditorLayout, ChildrenScaleWithTheWindow)
{
    const auto& c = GetParam();
    OrvalenEditor editor (processor);
    editor.setSize (c.width, c.height);
    const float s = (float) c.width / 800.0f;

    EXPECT_FLOAT_EQ (editor.getStereoScope().scaleFactor, s);
    EXPECT_FLOAT_EQ (editor.getStereoScope().channelFont.getHeight(), 10.0f * s);
    EXPECT_FLOAT_EQ (editor.getStereoScope().scaleLabelFont.getHeight(), 9.0f * s);
    EXPECT_FLOAT_EQ (editor.getResolutionSwitch().scaleFactor, s);
    EXPECT_FLOAT_EQ (editor.getResolutionSwitch().switchFont.getHeight(), 10.3f * s);
    EXPECT_TRUE (editor.getResolutionSwitch().switchFont.isBold());
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_FLOAT_EQ (editor.getCurveStrip (k).scaleFactor, s);
        EXPECT_FLOAT_EQ (editor.getCurveStrip (k).captionFont.getHeight(), 12.0f * s);
        EXPECT_FLOAT_EQ (editor.getCurveStrip (k).buttonFont.getHeight(), 10.3f * s);
        EXPECT_FLOAT_EQ (editor.getParamStrip (k).buttonLook.scaleFactor, s);
        EXPECT_FLOAT_EQ (editor.getParamStrip (k).buttonLook.buttonFont.getHeight(), 10.8f * s);
        EXPECT_FLOAT_EQ (editor.getParamStrip (k).titleLabel.getFont().getHeight(), 12.0f * s);
    }
    EXPECT_FLOAT_EQ (editor.getTitleFont().getHeight(), 22.0f * s);
    EXPECT_FLOAT_EQ (editor.getTitleFont().getExtraKerningFactor(), 0.2f);
    EXPECT_EQ (editor.getTitleFont().getTypefaceName(), "League Spartan");
}

TEST_P (EditorLayout, LogoFollowsTheRespuestaStripAcrossResizes)
{
    const auto& c = GetParam();
    OrvalenEditor editor (processor);
    editor.setSize (1000, 725);
    editor.setSize (c.width, c.height);
    const float s = (float) c.width / 800.0f;
    const auto logo = editor.getLogoBounds();
    EXPECT_FLOAT_EQ (logo.getHeight(), 46.0f * s);
    EXPECT_NEAR (logo.getWidth(), 46.0f * s * 1421.0f / 806.0f, 0.01f);
    EXPECT_FLOAT_EQ (logo.getRight(), (float) (int) (0.97f * (float) c.width));
    EXPECT_LE (logo.getBottom(), (float) c.height);
}

INSTANTIATE_TEST_SUITE_P (BothSizes, EditorLayout, ::testing::ValuesIn (layoutCases));

TEST (EditorFrame, ReadoutBarAndLogoPlacementAt800)
{
    OrvalenProcessor processor;
    OrvalenEditor editor (processor);
    ASSERT_EQ (editor.getWidth(), 800);
    ASSERT_EQ (editor.getHeight(), 580);

    const auto bar = editor.getReadoutBarBounds();
    EXPECT_FLOAT_EQ (bar.getY(), 529.0f);
    EXPECT_FLOAT_EQ (bar.getHeight(), 22.0f);
    EXPECT_NEAR (bar.getCentreX(), 400.0f, 0.01f);

    const auto logo = editor.getLogoBounds();
    EXPECT_NEAR (logo.getWidth(), 46.0f * 1421.0f / 806.0f, 0.01f);
    EXPECT_FLOAT_EQ (logo.getHeight(), 46.0f);
    EXPECT_FLOAT_EQ (logo.getRight(), 776.0f);
    // Just below the "Respuesta" strip, above nothing else.
    const auto& strip = editor.getParamStrip (3);
    const auto& third = *strip.buttons[2];
    EXPECT_FLOAT_EQ (logo.getY(), (float) (strip.getY() + third.getBottom()) + 6.0f);
    EXPECT_GT (logo.getY(), (float) strip.getBottom());
}

TEST (EditorFrame, HostResizeKeepsLimitsAndAspectRatio)
{
    OrvalenProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> created (processor.createEditor());
    auto& editor = *created;
    EXPECT_EQ (editor.getWidth(), 800);
    EXPECT_EQ (editor.getHeight(), 580);
    EXPECT_TRUE (editor.isResizable());

    auto* constrainer = editor.getConstrainer();
    ASSERT_NE (constrainer, nullptr);
    EXPECT_EQ (constrainer->getMinimumWidth(), 800);
    EXPECT_EQ (constrainer->getMinimumHeight(), 580);
    EXPECT_EQ (constrainer->getMaximumWidth(), 1200);
    EXPECT_EQ (constrainer->getMaximumHeight(), 870);
    EXPECT_DOUBLE_EQ (constrainer->getFixedAspectRatio(), 800.0 / 580.0);

    const R requests[] = { { 0, 0, 2000, 2000 }, { 0, 0, 100, 50 },   { 0, 0, 1000, 580 },
                           { 0, 0, 800, 870 },   { 0, 0, 1000, 725 }, { 0, 0, 1200, 870 } };
    for (auto r : requests)
    {
        editor.setBoundsConstrained (r);
        const int w = editor.getWidth(), h = editor.getHeight();
        EXPECT_GE (w, 800) << r.toString();
        EXPECT_LE (w, 1200) << r.toString();
        EXPECT_GE (h, 580) << r.toString();
        EXPECT_LE (h, 870) << r.toString();
        EXPECT_NEAR ((double) w / (double) h, 800.0 / 580.0, 0.005) << r.toString();
    }
}

TEST (EditorFrame, ClickCatcherIsTopmostAndHiddenAtFirst)
{
    OrvalenProcessor processor;
    OrvalenEditor editor (processor);
    auto& catcher = editor.getClickCatcher();
    EXPECT_FALSE (catcher.isVisible());
    EXPECT_FALSE (editor.isRearPanelShown());
    const int catcherIndex = editor.getIndexOfChildComponent (&catcher);
    for (auto* child :
         { (juce::Component*) &editor.getSpectrumDisplay(), (juce::Component*) &editor.getParamStrip (3) })
        EXPECT_LT (editor.getIndexOfChildComponent (child), catcherIndex);
    EXPECT_TRUE (editor.getWantsKeyboardFocus());
}
