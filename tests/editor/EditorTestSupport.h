#pragma once

#include "common/MouseEvents.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace juce
{
// The framework's own message pump step; lets tests run timers without a modal loop.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace editortest
{
inline juce::MouseEvent mouseEventAt (juce::Component& target,
                                      juce::Point<float> position,
                                      juce::ModifierKeys modifiers = juce::ModifierKeys::leftButtonModifier)
{
    return handMadeMouseEvent (target, position, modifiers);
}

inline void pressAt (juce::Component& target,
                     float x,
                     float y,
                     juce::ModifierKeys modifiers = juce::ModifierKeys::leftButtonModifier)
{
    target.mouseDown (mouseEventAt (target, { x, y }, modifiers));
}

inline void releaseAt (juce::Component& target, float x, float y)
{
    target.mouseUp (mouseEventAt (target, { x, y }, juce::ModifierKeys()));
}

// Delivers queued messages (timer callbacks among them) for the given time.
inline void pumpMessagesFor (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;
    while (juce::Time::getMillisecondCounter() < end)
    {
        while (juce::dispatchNextMessageOnSystemQueue (true))
        {
        }
        juce::Thread::sleep (1);
    }
}

inline juce::Image render (juce::Component& c)
{
    juce::Image image (juce::Image::ARGB, c.getWidth(), c.getHeight(), true);
    juce::Graphics g (image);
    c.paintEntireComponent (g, true);
    return image;
}

inline void saveArtefact (const juce::Image& image, const juce::String& name)
{
    const juce::File dir (LUMASPAN_TEST_ARTEFACTS_DIR);
    dir.createDirectory();
    const auto file = dir.getChildFile (name);
    file.deleteFile();
    juce::FileOutputStream out (file);
    juce::PNGImageFormat().writeImageToStream (image, out);
}

// Counts pixels close to a colour, a cheap check that something was drawn in it.
inline int countNear (const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour, int tolerance)
{
    int n = 0;
    const juce::Image::BitmapData data (image, juce::Image::BitmapData::readOnly);
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const auto c = data.getPixelColour (x, y);
            if (std::abs (c.getRed() - colour.getRed()) <= tolerance
                && std::abs (c.getGreen() - colour.getGreen()) <= tolerance
                && std::abs (c.getBlue() - colour.getBlue()) <= tolerance)
                ++n;
        }
    return n;
}
} // namespace editortest
