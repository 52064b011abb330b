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
std::vector<juce::Component*> controlsOf (OrvalenEditor& e)
{
    std::vector<juce::Component*> all { &e.getSpectrumDisplay(), &e.getStereoScope(), &e.getResolutionSwitch() };
    for (int i = 0; i < 4; ++i)
    {
        all.push_back (&e.getCurveStrip (i));
        all.push_back (&e.getParamStrip (i));
    }
    return all;
}

bool allVisible (OrvalenEditor& e, bool visible)
{
    for (auto* c : controlsOf (e))
        if (c->isVisible() != visible)
            return false;
    return true;
}

// Replaces one embedded picture by an invalid image for the lifetime of the guard.
struct MissingPicture
{
    explicit MissingPicture (const char* name)
    {
        missing = name;
        OrvalenEditor::pictureLoader = [] (const char* resource)
        { return juce::String (resource) == missing ? juce::Image() : OrvalenEditor::loadEmbeddedPicture (resource); };
    }
    ~MissingPicture() { OrvalenEditor::pictureLoader = &OrvalenEditor::loadEmbeddedPicture; }
    static inline const char* missing = nullptr;
};
} // namespace

TEST (EditorRearPanel, PressOnTheLogoOpensItAndTheNextPressAnywhereCloses)
{
    OrvalenProcessor p;
    OrvalenEditor editor (p);
    const auto logo = editor.getLogoBounds();
    ASSERT_FALSE (logo.isEmpty());

    editortest::pressAt (editor, logo.getCentreX(), logo.getCentreY());
    EXPECT_TRUE (editor.isRearPanelShown());
    EXPECT_TRUE (allVisible (editor, false));
    EXPECT_TRUE (editor.getClickCatcher().isVisible());
    editor.setVisible (true);
    EXPECT_EQ (editor.getComponentAt (10, 300), &editor.getClickCatcher());

    // A press on the editor itself while open does nothing.
    editortest::pressAt (editor, logo.getCentreX(), logo.getCentreY());
    EXPECT_TRUE (editor.isRearPanelShown());

    editortest::pressAt (editor.getClickCatcher(), 300.0f, 100.0f);
    EXPECT_FALSE (editor.isRearPanelShown());
    EXPECT_TRUE (allVisible (editor, true));
    EXPECT_FALSE (editor.getClickCatcher().isVisible());
}

TEST (EditorRearPanel, PressesOutsideOrOnTheFarEdgesDoNotOpen)
{
    OrvalenProcessor p;
    OrvalenEditor editor (p);
    const auto logo = editor.getLogoBounds();
    const juce::Point<float> misses[] = {
        { logo.getRight(), logo.getCentreY() },
        { logo.getCentreX(), logo.getBottom() },
        { logo.getX() - 0.5f, logo.getCentreY() },
        { 10.0f, 10.0f },
        { 400.0f, 570.0f },
    };
    for (auto m : misses)
    {
        editortest::pressAt (editor, m.x, m.y);
        EXPECT_FALSE (editor.isRearPanelShown()) << m.toString();
    }

    // The first pixels inside, on the left and top edges, do open it.
    editortest::pressAt (editor, logo.getX(), logo.getY());
    EXPECT_TRUE (editor.isRearPanelShown());
}

TEST (EditorRearPanel, WithoutTheLogoPictureItNeverOpens)
{
    const MissingPicture guard ("logo_orvalen_png");
    OrvalenProcessor p;
    OrvalenEditor editor (p);
    EXPECT_TRUE (editor.getLogoBounds().isEmpty());
    for (float x = 0.0f; x < 800.0f; x += 37.0f)
        for (float y = 0.0f; y < 580.0f; y += 29.0f)
            editortest::pressAt (editor, x, y);
    EXPECT_FALSE (editor.isRearPanelShown());
    editor.setSize (1200, 870);
    editortest::pressAt (editor, 1100.0f, 800.0f);
    EXPECT_FALSE (editor.isRearPanelShown());
}

TEST (EditorRearPanel, RearPictureFillsTheWindowOrBlackWithoutIt)
{
    {
        OrvalenProcessor p;
        OrvalenEditor editor (p);
        const auto logo = editor.getLogoBounds();
        editortest::pressAt (editor, logo.getCentreX(), logo.getCentreY());
        const auto image = editortest::render (editor);
        // No control or title is painted: the read-out bar's dark fill is gone and
        // the picture's brighter nameplate shows in the upper left.
        EXPECT_GT (image.getPixelAt (200, 100).getBrightness(), 0.4f);
        EXPECT_LT (editortest::countNear (image, { 280, 525, 240, 30 }, juce::Colour (0xFF080A0C), 2), 100);
    }
    {
        const MissingPicture guard ("panel_trasero_kla_jpg");
        OrvalenProcessor p;
        OrvalenEditor editor (p);
        const auto logo = editor.getLogoBounds();
        editortest::pressAt (editor, logo.getCentreX(), logo.getCentreY());
        const auto image = editortest::render (editor);
        EXPECT_EQ (editortest::countNear (
                       image, image.getBounds().withTrimmedRight (30).withTrimmedBottom (30), juce::Colours::black, 0),
                   770 * 550);
    }
}

TEST (EditorRearPanel, ANewEditorOpensInTheNormalState)
{
    OrvalenProcessor p;
    {
        OrvalenEditor first (p);
        const auto logo = first.getLogoBounds();
        editortest::pressAt (first, logo.getCentreX(), logo.getCentreY());
        ASSERT_TRUE (first.isRearPanelShown());
    }
    OrvalenEditor second (p);
    EXPECT_FALSE (second.isRearPanelShown());
    EXPECT_TRUE (allVisible (second, true));
}
