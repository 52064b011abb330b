#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

// Project files are untrusted input. A state block whose XML nests elements
// tens of thousands deep would exhaust the host's stack in a recursive parser;
// such a block cannot be one of ours, so it is ignored like any malformed one.
namespace
{
juce::MemoryBlock blockWithText (const juce::String& xml)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) xml.getNumBytesAsUTF8());
    out << xml;
    out.writeByte (0);
    out.flush();
    return block;
}
} // namespace

TEST (StateNesting, DeeplyNestedXmlIsIgnoredWithoutCrashing)
{
    OrvalenProcessor p;
    juce::MemoryOutputStream xml;
    xml << "<KLALumaspanState measureMode=\"1\">";
    for (int i = 0; i < 200000; ++i)
        xml << "<a>";
    const auto block = blockWithText (xml.toString());

    p.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (p.measureMode.load(), 0);
}

TEST (StateNesting, ShallowChildrenAndQuotedAngleBracketsStillLoad)
{
    OrvalenProcessor p;
    const auto block = blockWithText ("<KLALumaspanState measureMode=\"1\" note=\"a &lt; b\" x='<<<<'><child><grandchild/></child></KLALumaspanState>");
    p.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (p.measureMode.load(), 1);
}
