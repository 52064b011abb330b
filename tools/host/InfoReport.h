#pragma once

#include "FactoryReader.h"

#include <juce_audio_processors/juce_audio_processors.h>

class HostedModule;

// Prints, one "key: value" line at a time, what a host sees of a module.
class InfoReport
{
public:
    static void printFactory (const FactoryClassInfo& info);
    static void printLayouts (juce::AudioPluginInstance& instance);
    static void printParameters (juce::AudioPluginInstance& instance);
    static void printPrograms (juce::AudioPluginInstance& instance);
    static void printState (const juce::MemoryBlock& componentState);

    // The plug-in's own block at the start of a component state: magic, length
    // L, L bytes of text and a zero byte. Empty when the state holds no such block.
    static juce::MemoryBlock pluginBlockOf (const juce::MemoryBlock& componentState);

    static juce::String toHex (const juce::MemoryBlock& block);
};
