#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The program lists a VST3 host reads from the component's unit info. The
// framework's own hosting lists programs only through a program-change
// parameter, which a module with a single program does not have.
class ProgramListReader
{
public:
    struct ProgramList
    {
        juce::String name;
        juce::StringArray programNames;
    };

    // Empty when the instance is no VST3 component or has no unit info.
    static juce::Array<ProgramList> read (juce::AudioPluginInstance& instance);
};
