#pragma once

#include <juce_core/juce_core.h>

// What a host reads from a module's factory before creating anything: the
// factory entry and the extended class info of the audio effect class.
struct FactoryClassInfo
{
    juce::String factoryVendor, factoryUrl, factoryEmail;
    juce::String name, vendor, version, category, sdkVersion;
    int numClasses = 0;
};

class FactoryReader
{
public:
    // The shared object inside a bundle, e.g. "X.vst3/Contents/x86_64-linux/X.so".
    static juce::File moduleFileOf (const juce::File& bundle);

    // Opens the module itself (entry point, factory, exit point); returns false
    // with a message when the module or its effect class cannot be read.
    static bool read (const juce::File& bundle, FactoryClassInfo& info, juce::String& error);
};
