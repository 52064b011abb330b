#include "ProgramListReader.h"

#define JUCE_VST3HEADERS_INCLUDE_HEADERS_ONLY 1
#include <juce_audio_processors/format_types/juce_VST3Headers.h>
#undef JUCE_VST3HEADERS_INCLUDE_HEADERS_ONLY

namespace
{
juce::String textOf (const Steinberg::Vst::String128 text)
{
    return juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (text)));
}

struct ComponentFinder : juce::ExtensionsVisitor
{
    void visitVST3Client (const VST3Client& client) override { component = client.getIComponentPtr(); }

    Steinberg::Vst::IComponent* component = nullptr;
};
} // namespace

juce::Array<ProgramListReader::ProgramList> ProgramListReader::read (juce::AudioPluginInstance& instance)
{
    juce::Array<ProgramList> lists;
    ComponentFinder finder;
    instance.getExtensions (finder);
    auto* component = finder.component;
    if (component == nullptr)
        return lists;

    Steinberg::Vst::IUnitInfo* unitInfo = nullptr;
    if (component->queryInterface (Steinberg::Vst::IUnitInfo::iid, (void**) &unitInfo) != Steinberg::kResultOk
        || unitInfo == nullptr)
        return lists;

    for (Steinberg::int32 i = 0; i < unitInfo->getProgramListCount(); ++i)
    {
        Steinberg::Vst::ProgramListInfo info {};
        if (unitInfo->getProgramListInfo (i, info) != Steinberg::kResultOk)
            continue;

        ProgramList list;
        list.name = textOf (info.name);
        for (Steinberg::int32 k = 0; k < info.programCount; ++k)
        {
            Steinberg::Vst::String128 name {};
            list.programNames.add (
                unitInfo->getProgramName (info.id, k, name) == Steinberg::kResultOk ? textOf (name) : juce::String());
        }
        lists.add (list);
    }
    unitInfo->release();
    return lists;
}
