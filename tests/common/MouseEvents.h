#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A mouse event made by hand, for handing straight to a component's mouse
// methods in tests and benchmarks (no window, no real mouse).
inline juce::MouseEvent handMadeMouseEvent (juce::Component& target,
                                            juce::Point<float> position,
                                            juce::ModifierKeys modifiers = juce::ModifierKeys::leftButtonModifier,
                                            int clicks = 1)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(),
                             position,
                             modifiers,
                             juce::MouseInputSource::defaultPressure,
                             juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation,
                             juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY,
                             &target,
                             &target,
                             now,
                             position,
                             now,
                             clicks,
                             false);
}
