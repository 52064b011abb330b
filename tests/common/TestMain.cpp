#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// Components, timers and images need the framework's GUI state; no display is
// required for rendering into images.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    const juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
