#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A bundle loaded through the framework's VST3 hosting: its description and
// one instance of its effect class.
class HostedModule
{
public:
    // Returns null and sets the message when the bundle has no loadable class.
    static std::unique_ptr<HostedModule>
        load (const juce::File& bundle, double sampleRate, int blockSize, juce::String& error);

    ~HostedModule();

    const juce::PluginDescription& getDescription() const { return description; }
    juce::AudioPluginInstance& getInstance() { return *instance; }

    // The component state a host stores in its project: the plug-in's own
    // block followed by the framework wrapper's private tail.
    juce::MemoryBlock getComponentState();

    // Gives the component a state the way a host restores a project.
    bool setComponentState (const juce::MemoryBlock& state);

private:
    HostedModule() = default;

    juce::VST3PluginFormat format;
    juce::PluginDescription description;
    std::unique_ptr<juce::AudioPluginInstance> instance;
};
