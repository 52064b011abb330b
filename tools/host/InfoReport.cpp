#include "InfoReport.h"

#include "ProgramListReader.h"

#include <iostream>

namespace
{
constexpr juce::uint32 stateMagic = 0x21324356;
constexpr size_t stateHeaderSize = 8;

void printLine (const juce::String& key, const juce::String& value) { std::cout << key << ": " << value << std::endl; }

struct NamedLayout
{
    const char* name;
    juce::AudioChannelSet input, output;
};

juce::AudioProcessor::BusesLayout layoutOf (const NamedLayout& named)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (named.input);
    layout.outputBuses.add (named.output);
    return layout;
}

juce::String quoted (const juce::String& text) { return "\"" + text + "\""; }
} // namespace

void InfoReport::printFactory (const FactoryClassInfo& info)
{
    printLine ("factory vendor", info.factoryVendor);
    printLine ("factory url", info.factoryUrl);
    printLine ("factory email", info.factoryEmail);
    printLine ("factory classes", juce::String (info.numClasses));
    printLine ("class name", info.name);
    printLine ("vendor", info.vendor);
    printLine ("version", info.version);
    printLine ("category", info.category);
    printLine ("sdk version", info.sdkVersion);
}

void InfoReport::printLayouts (juce::AudioPluginInstance& instance)
{
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    const auto none = juce::AudioChannelSet::disabled();
    const NamedLayout layouts[] = {
        { "mono/mono", mono, mono },
        { "stereo/stereo", stereo, stereo },
        { "mono/stereo", mono, stereo },
        { "stereo/mono", stereo, mono },
        { "stereo/none (output bus off)", stereo, none },
        { "none/stereo (input bus off)", none, stereo },
        { "5.1/5.1", juce::AudioChannelSet::create5point1(), juce::AudioChannelSet::create5point1() },
    };

    instance.releaseResources();
    printLine ("buses",
               juce::String (instance.getBusCount (true)) + " in, " + juce::String (instance.getBusCount (false))
                   + " out");
    printLine ("default layout",
               juce::String (instance.getTotalNumInputChannels()) + " in / "
                   + juce::String (instance.getTotalNumOutputChannels()) + " out");
    for (const auto& named : layouts)
        printLine (juce::String ("layout ") + named.name,
                   instance.checkBusesLayoutSupported (layoutOf (named)) ? "accepted" : "refused");
}

void InfoReport::printParameters (juce::AudioPluginInstance& instance)
{
    const auto& parameters = instance.getParameters();
    printLine ("parameters", juce::String (parameters.size()));
    for (int i = 0; i < parameters.size(); ++i)
    {
        auto* parameter = parameters[i];
        juce::String id;
        if (auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*> (parameter))
            id = hosted->getParameterID();
        printLine ("parameter " + juce::String (i),
                   quoted (parameter->getName (128)) + " id=" + id
                       + " default=" + juce::String (parameter->getDefaultValue())
                       + " steps=" + juce::String (parameter->getNumSteps())
                       + " automatable=" + (parameter->isAutomatable() ? "yes" : "no")
                       + " bypass=" + (parameter == instance.getBypassParameter() ? "yes" : "no"));
    }
}

void InfoReport::printPrograms (juce::AudioPluginInstance& instance)
{
    const auto lists = ProgramListReader::read (instance);
    printLine ("program lists", juce::String (lists.size()));
    for (int i = 0; i < lists.size(); ++i)
    {
        const auto& list = lists.getReference (i);
        printLine ("program list " + juce::String (i),
                   quoted (list.name) + ", " + juce::String (list.programNames.size()) + " programs");
        for (int k = 0; k < list.programNames.size(); ++k)
            printLine ("program " + juce::String (k), quoted (list.programNames[k]));
    }
    printLine ("program-change parameter programs", juce::String (instance.getNumPrograms()));
    printLine ("editor", instance.hasEditor() ? "yes" : "no");
}

void InfoReport::printState (const juce::MemoryBlock& componentState)
{
    const auto block = pluginBlockOf (componentState);
    printLine ("component state", juce::String ((int) componentState.getSize()) + " bytes");
    if (block.isEmpty())
    {
        printLine ("state block", "none found");
        return;
    }

    printLine ("state block", juce::String ((int) block.getSize()) + " bytes");
    printLine ("state block hex", toHex (block));
    const auto* text = static_cast<const char*> (block.getData()) + stateHeaderSize;
    printLine ("state xml", juce::String::fromUTF8 (text, (int) (block.getSize() - stateHeaderSize - 1)));
    printLine ("state tail",
               juce::String ((int) (componentState.getSize() - block.getSize()))
                   + " bytes of the wrapper's private data");
}

juce::MemoryBlock InfoReport::pluginBlockOf (const juce::MemoryBlock& componentState)
{
    const auto size = componentState.getSize();
    if (size < stateHeaderSize + 1)
        return {};

    const auto* bytes = static_cast<const char*> (componentState.getData());
    if (juce::ByteOrder::littleEndianInt (bytes) != stateMagic)
        return {};

    const auto total = (size_t) juce::ByteOrder::littleEndianInt (bytes + 4) + stateHeaderSize + 1;
    if (total > size)
        return {};
    return juce::MemoryBlock (bytes, total);
}

juce::String InfoReport::toHex (const juce::MemoryBlock& block)
{
    juce::StringArray bytes;
    for (size_t i = 0; i < block.getSize(); ++i)
        bytes.add (juce::String::toHexString ((int) (juce::uint8) block[i]).paddedLeft ('0', 2));
    return bytes.joinIntoString (" ");
}
