#include "FactoryReader.h"

#define JUCE_VST3HEADERS_INCLUDE_HEADERS_ONLY 1
#include <juce_audio_processors/format_types/juce_VST3Headers.h>
#undef JUCE_VST3HEADERS_INCLUDE_HEADERS_ONLY

#include <dlfcn.h>

namespace
{
using ModuleEntryFunction = bool (*) (void*);
using ModuleExitFunction = bool (*)();
using GetFactoryFunction = Steinberg::IPluginFactory* (*) ();

template <size_t size>
juce::String textOf (const char (&chars)[size])
{
    return juce::String::fromUTF8 (chars, (int) strnlen (chars, size));
}

bool readClasses (Steinberg::IPluginFactory& factory, FactoryClassInfo& info, juce::String& error)
{
    Steinberg::PFactoryInfo factoryInfo {};
    if (factory.getFactoryInfo (&factoryInfo) != Steinberg::kResultOk)
    {
        error = "the factory gives no factory info";
        return false;
    }
    info.factoryVendor = textOf (factoryInfo.vendor);
    info.factoryUrl = textOf (factoryInfo.url);
    info.factoryEmail = textOf (factoryInfo.email);
    info.numClasses = (int) factory.countClasses();

    Steinberg::IPluginFactory2* factory2 = nullptr;
    if (factory.queryInterface (Steinberg::IPluginFactory2::iid, (void**) &factory2) != Steinberg::kResultOk
        || factory2 == nullptr)
    {
        error = "the factory has no extended class info (IPluginFactory2)";
        return false;
    }

    bool found = false;
    for (Steinberg::int32 i = 0; i < factory2->countClasses() && ! found; ++i)
    {
        Steinberg::PClassInfo2 classInfo {};
        if (factory2->getClassInfo2 (i, &classInfo) != Steinberg::kResultOk
            || textOf (classInfo.category) != kVstAudioEffectClass)
            continue;

        info.name = textOf (classInfo.name);
        info.vendor = textOf (classInfo.vendor);
        info.version = textOf (classInfo.version);
        info.category = textOf (classInfo.subCategories);
        info.sdkVersion = textOf (classInfo.sdkVersion);
        found = true;
    }
    factory2->release();

    if (! found)
        error = "the factory has no audio effect class";
    return found;
}
} // namespace

juce::File FactoryReader::moduleFileOf (const juce::File& bundle)
{
    return bundle.getChildFile ("Contents")
        .getChildFile ("x86_64-linux")
        .getChildFile (bundle.getFileNameWithoutExtension() + ".so");
}

bool FactoryReader::read (const juce::File& bundle, FactoryClassInfo& info, juce::String& error)
{
    const auto moduleFile = moduleFileOf (bundle);
    if (! moduleFile.existsAsFile())
    {
        error = "no module at " + moduleFile.getFullPathName();
        return false;
    }

    void* handle = dlopen (moduleFile.getFullPathName().toRawUTF8(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        error = "cannot open the module: " + juce::String::fromUTF8 (dlerror());
        return false;
    }

    auto entry = reinterpret_cast<ModuleEntryFunction> (dlsym (handle, "ModuleEntry"));
    auto exit = reinterpret_cast<ModuleExitFunction> (dlsym (handle, "ModuleExit"));
    auto getFactory = reinterpret_cast<GetFactoryFunction> (dlsym (handle, "GetPluginFactory"));

    bool ok = false;
    if (entry == nullptr || exit == nullptr || getFactory == nullptr)
        error = "the module does not export ModuleEntry, ModuleExit and GetPluginFactory";
    else if (! entry (handle))
        error = "ModuleEntry failed";
    else
    {
        if (auto* factory = getFactory())
        {
            ok = readClasses (*factory, info, error);
            factory->release();
        }
        else
        {
            error = "GetPluginFactory returned no factory";
        }
        exit();
    }

    dlclose (handle);
    return ok;
}
