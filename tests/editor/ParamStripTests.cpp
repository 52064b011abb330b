#include "editor/ParamStrip.h"

#include "EditorTestSupport.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

namespace
{
juce::StringArray textsOf (const ParamStrip& strip)
{
    juce::StringArray texts;
    for (const auto& b : strip.buttons)
        texts.add (b->getButtonText());
    return texts;
}

int litIndex (const ParamStrip& strip)
{
    int lit = -1;
    for (size_t i = 0; i < strip.buttons.size(); ++i)
        if (strip.buttons[i]->getToggleState())
        {
            EXPECT_EQ (lit, -1) << "two buttons lit";
            lit = (int) i;
        }
    return lit;
}

void click (juce::TextButton& b)
{
    b.triggerClick();
    editortest::pumpMessagesFor (5);
}
} // namespace

TEST (ParamStrip, CaptionsButtonsAndDefaultLitButtons)
{
    OrvalenProcessor p;
    const struct
    {
        const char* captionUtf8;
        juce::StringArray options;
        int lit;
    } cases[] = {
        { "Medici\xc3\xb3n", { "RMS", "Peak" }, 0 },
        { "Ponderaci\xc3\xb3n", { "Flat", "A", "C", "K" }, 3 },
        { "Suavizado", { "Off", "1/12", "1/6", "1/3" }, 1 },
        { "Respuesta", { "Fast", "Mid", "Slow" }, 1 },
    };
    for (int i = 0; i < 4; ++i)
    {
        ParamStrip strip (p, i);
        EXPECT_EQ (strip.titleLabel.getText(), juce::String::fromUTF8 (cases[i].captionUtf8));
        EXPECT_EQ (textsOf (strip), cases[i].options);
        EXPECT_EQ (litIndex (strip), cases[i].lit);
        for (const auto& b : strip.buttons)
        {
            EXPECT_EQ (b->getRadioGroupId(), 100 + i);
            EXPECT_EQ (&b->getLookAndFeel(), &strip.buttonLook);
            EXPECT_TRUE (b->getClickingTogglesState());
            EXPECT_NE (b->getCachedComponentImage(), nullptr);
        }
    }

    ParamStrip unknown (p, 4);
    EXPECT_TRUE (unknown.buttons.empty());
    EXPECT_TRUE (unknown.titleLabel.getText().isEmpty());
}

TEST (ParamStrip, ClickStoresTheIndexAndLightsOnlyThatButton)
{
    OrvalenProcessor p;
    ParamStrip strip (p, 2);
    click (*strip.buttons[3]);
    EXPECT_EQ (p.smoothing.load(), 3);
    EXPECT_EQ (litIndex (strip), 3);

    p.smoothing = 0; // a click on the lit button stores its index again
    click (*strip.buttons[3]);
    EXPECT_EQ (p.smoothing.load(), 3);
    EXPECT_EQ (litIndex (strip), 3);

    ParamStrip weighting (p, 1);
    click (*weighting.buttons[1]);
    EXPECT_EQ (p.weighting.load(), 1);
    EXPECT_EQ (p.smoothing.load(), 3) << "strips must not interfere";
    EXPECT_EQ (litIndex (strip), 3);
}

TEST (ParamStrip, RestoredValueLightsWithinOneTimerPeriodWithoutWriting)
{
    OrvalenProcessor p;
    ParamStrip strip (p, 3);
    ASSERT_EQ (litIndex (strip), 1);

    p.responseMs = 2;
    editortest::pumpMessagesFor (160);
    EXPECT_EQ (litIndex (strip), 2);
    EXPECT_EQ (p.responseMs.load(), 2);

    // The poll never writes: a value changed behind it stays as set.
    p.responseMs = 0;
    editortest::pumpMessagesFor (160);
    EXPECT_EQ (p.responseMs.load(), 0);
    EXPECT_EQ (litIndex (strip), 0);
}

TEST (ParamStrip, OutOfRangeValueChangesNoButton)
{
    OrvalenProcessor p;
    ParamStrip strip (p, 0);
    p.measureMode = 5;
    strip.syncFromProcessor();
    EXPECT_EQ (litIndex (strip), 0);
    p.measureMode = -1;
    strip.syncFromProcessor();
    EXPECT_EQ (litIndex (strip), 0);
    EXPECT_EQ (p.measureMode.load(), -1);

    p.weighting = 9;
    ParamStrip fresh (p, 1);
    EXPECT_EQ (litIndex (fresh), -1);
}

TEST (ParamStrip, TwoButtonLayoutAtScaleOne)
{
    OrvalenProcessor p;
    ParamStrip strip (p, 0);
    strip.setBounds (0, 0, 259, 33);
    EXPECT_EQ (strip.titleLabel.getBounds(), juce::Rectangle<int> (-3, 0, 80, 33));
    EXPECT_EQ (strip.buttons[0]->getBounds(), juce::Rectangle<int> (70, -1, 94, 35));
    EXPECT_EQ (strip.buttons[1]->getBounds(), juce::Rectangle<int> (161, -1, 94, 35));
}

TEST (ParamStrip, DestructionDetachesTheLookFromTheButtons)
{
    OrvalenProcessor p;
    auto strip = std::make_unique<ParamStrip> (p, 1);
    juce::Component::SafePointer<juce::TextButton> button (strip->buttons[0].get());
    strip.reset(); // a dangling look-and-feel here trips the framework's leak and weak-reference checks
    EXPECT_EQ (button.getComponent(), nullptr);
}

TEST (ParamButtonLook, OnAndDownDrawTheGlowingKeyHoverChangesNothing)
{
    OrvalenProcessor p;
    ParamStrip strip (p, 0);
    strip.setBounds (0, 0, 259, 33);
    auto& look = strip.buttonLook;
    auto& button = *strip.buttons[1]; // "Peak", off
    const int w = button.getWidth(), h = button.getHeight();

    auto draw = [&] (bool highlighted, bool down)
    {
        juce::Image image (juce::Image::ARGB, w, h, true);
        juce::Graphics g (image);
        look.drawButtonBackground (g, button, juce::Colours::red, highlighted, down);
        look.drawButtonText (g, button, highlighted, down);
        return image;
    };

    const auto off = draw (false, false);
    const auto hover = draw (true, false);
    const auto down = draw (false, true);
    const juce::Image::BitmapData a (off, juce::Image::BitmapData::readOnly),
        b (hover, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ (a.getPixelColour (x, y), b.getPixelColour (x, y)) << x << "," << y;

    // Off: dark grey body; on: teal body with the glow ring visible outside it.
    const auto offBody = off.getPixelAt (8, h / 2);
    EXPECT_LT (offBody.getBrightness(), 0.35f);
    const auto onBody = down.getPixelAt (8, 8);
    EXPECT_GT (onBody.getBlue(), onBody.getRed() + 40);
    EXPECT_GT (down.getPixelAt (w / 2, 2).getAlpha(), 0);
    EXPECT_EQ (off.getPixelAt (w / 2, 1).getAlpha(), 0);
    // Off text is black, on text white.
    EXPECT_GT (editortest::countNear (down, { 10, 8, w - 20, h - 16 }, juce::Colours::white, 30), 5);
    EXPECT_GT (editortest::countNear (off, { 10, 8, w - 20, h - 16 }, juce::Colours::black, 20), 5);
}

TEST (ParamButtonLook, GlowRingsOfTheOnKey)
{
    const auto& key = ParamButtonLookAndFeel::key();
    ASSERT_EQ (key.rings.size(), 6u);
    const int expectedAlpha[] = { 68, 55, 42, 30, 17, 4 };
    for (size_t i = 0; i < 6; ++i)
    {
        EXPECT_FLOAT_EQ (key.rings[i].first, 0.5f * (float) (i + 1));
        EXPECT_EQ (key.glow.withAlpha (key.rings[i].second).getAlpha(), expectedAlpha[i]);
    }
}
