#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Opens the hosted module's editor in a desktop window while audio plays,
// as a host does; needs an X display with a window manager.
class EditorSession
{
public:
    struct Options
    {
        double seconds = 3.0;
        int openCloseCycles = 0;
        juce::File screenshot;
    };

    // Returns a process exit status and prints one line per step.
    static int run (juce::AudioPluginInstance& instance, const Options& options);
};
