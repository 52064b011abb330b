#pragma once

#include "editor/ReadoutBar.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <memory>
#include <vector>

class OrvalenProcessor;
class SpectrumDisplay;
class StereoScope;
class ResolutionSwitch;
class CurveStrip;
class ParamStrip;

// The plug-in window: the metal frame with title, logo, resolution caption and
// read-out bar around the display, the scope, the switch and the eight strips.
// A click on the logo turns the unit round to show its rear panel until the
// next click anywhere.
class OrvalenEditor : public juce::AudioProcessorEditor, private juce::Timer
{
public:
    explicit OrvalenEditor (OrvalenProcessor& processor);
    ~OrvalenEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& event) override;

    // Full-window transparent layer that takes the click closing the rear panel.
    class ClickCatcher : public juce::Component
    {
    public:
        ClickCatcher();
        ~ClickCatcher() override;
        void mouseDown (const juce::MouseEvent& event) override;

        std::function<void()> onClick;
    };

    // Decodes an embedded picture by resource name; replaceable so that tests
    // can build an editor with a picture missing.
    using PictureLoader = juce::Image (*) (const char* resourceName);
    static juce::Image loadEmbeddedPicture (const char* resourceName);
    static PictureLoader pictureLoader;

    // Read access for tests and tools.
    SpectrumDisplay& getSpectrumDisplay() const { return *spectrumDisplay; }
    StereoScope& getStereoScope() const { return *stereoScope; }
    ResolutionSwitch& getResolutionSwitch() const { return *resolutionSwitch; }
    CurveStrip& getCurveStrip (int index) const { return *curveStrips[(size_t) index]; }
    ParamStrip& getParamStrip (int index) const { return *paramStrips[(size_t) index]; }
    ClickCatcher& getClickCatcher() { return clickCatcher; }
    juce::Rectangle<float> getLogoBounds() const { return logoBounds; }
    bool isRearPanelShown() const { return rearPanelShown; }
    juce::Rectangle<float> getReadoutBarBounds() const;
    const juce::Font& getTitleFont() const { return titleFont; }

private:
    void timerCallback() override;
    void openRearPanel();
    void closeRearPanel();
    void setControlsVisible (bool shouldBeVisible);
    void scaleChildren (float s);
    void layOutChildren (float s);
    void alignParamButtons (float s);
    void placeLogo (float s);
    void paintFrame (juce::Graphics& g);
    void paintStaticFrame (juce::Graphics& g);
    void buildFrameLayer();
    void paintRearPanel (juce::Graphics& g);
    const juce::Image& fittedCopy (const juce::Image& source, juce::Image& copy);

    juce::Font titleFont;
    juce::Font labelFont;
    juce::Font readoutFont;
    OrvalenProcessor& audioProcessor;
    juce::Image backgroundImage;
    juce::Image glassImage;
    juce::Image logoImage;
    juce::Image rearPanelImage;
    juce::Typeface::Ptr displayTypeface;
    juce::Rectangle<float> logoBounds;
    bool rearPanelShown = false;
    ClickCatcher clickCatcher;
    std::unique_ptr<SpectrumDisplay> spectrumDisplay;
    std::unique_ptr<StereoScope> stereoScope;
    std::unique_ptr<ResolutionSwitch> resolutionSwitch;
    std::vector<std::unique_ptr<CurveStrip>> curveStrips;
    std::vector<std::unique_ptr<ParamStrip>> paramStrips;

    // Background, title, logo and caption drawn once per size, so a frame only
    // blits them; and the rear-panel picture scaled to the window.
    juce::Image frameLayer;
    juce::Image fittedRearPanel;
    juce::Image fittedLogo;
    ReadoutBar::GlassLayer readoutGlass;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvalenEditor)
};
