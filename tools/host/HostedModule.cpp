#include "HostedModule.h"

namespace
{
constexpr const char* componentStateTag = "IComponent";
} // namespace

std::unique_ptr<HostedModule>
    HostedModule::load (const juce::File& bundle, double sampleRate, int blockSize, juce::String& error)
{
    if (! bundle.isDirectory())
    {
        error = "no bundle at " + bundle.getFullPathName();
        return nullptr;
    }

    std::unique_ptr<HostedModule> module (new HostedModule());
    juce::OwnedArray<juce::PluginDescription> found;
    module->format.findAllTypesForFile (found, bundle.getFullPathName());
    if (found.isEmpty())
    {
        error = "the framework's VST3 hosting finds no plug-in class in " + bundle.getFullPathName();
        return nullptr;
    }

    module->description = *found.getFirst();
    module->instance = module->format.createInstanceFromDescription (module->description, sampleRate, blockSize, error);
    if (module->instance == nullptr)
    {
        if (error.isEmpty())
            error = "the module's effect class could not be instantiated";
        return nullptr;
    }
    return module;
}

HostedModule::~HostedModule()
{
    if (instance != nullptr)
        instance->releaseResources();
    instance.reset();
}

// The framework's hosted instance saves an XML element holding the component
// and controller states in base64; the component state is what the plug-in wrote.
juce::MemoryBlock HostedModule::getComponentState()
{
    juce::MemoryBlock wrapped;
    instance->getStateInformation (wrapped);

    juce::MemoryBlock state;
    if (const auto xml = juce::AudioProcessor::getXmlFromBinary (wrapped.getData(), (int) wrapped.getSize()))
        if (const auto* component = xml->getChildByName (componentStateTag))
            state.fromBase64Encoding (component->getAllSubText());
    return state;
}

bool HostedModule::setComponentState (const juce::MemoryBlock& state)
{
    juce::MemoryBlock wrapped;
    instance->getStateInformation (wrapped);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (wrapped.getData(), (int) wrapped.getSize());
    if (xml == nullptr)
        return false;

    auto* component = xml->getChildByName (componentStateTag);
    if (component == nullptr)
        component = xml->createNewChildElement (componentStateTag);
    component->deleteAllTextElements();
    component->addTextElement (state.toBase64Encoding());

    juce::MemoryBlock rewrapped;
    juce::AudioProcessor::copyXmlToBinary (*xml, rewrapped);
    instance->setStateInformation (rewrapped.getData(), (int) rewrapped.getSize());
    return true;
}
