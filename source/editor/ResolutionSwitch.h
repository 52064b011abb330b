#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class OrvalenProcessor;

// Two-position slide switch for the analysis resolution: "Lo" asks for FFT
// order 12, "Hi" for 13. It keeps no state: it paints and flips the
// processor's requestedFftOrder, so a reopened editor shows the live setting.
class ResolutionSwitch : public juce::Component
{
public:
    explicit ResolutionSwitch (OrvalenProcessor& processor);
    ~ResolutionSwitch() override;

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& event) override;

    OrvalenProcessor& processor;
    float scaleFactor = 1.0f;
    juce::Font switchFont { 10.3f, juce::Font::bold };

    static constexpr juce::uint32 loColour = 0xFF10B981;
    static constexpr juce::uint32 hiColour = 0xFFEF4444;

private:
    void paintThumb (juce::Graphics& g, float x, float y, float h);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ResolutionSwitch)
};
