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

TEST (HostileState, DeeplyNestedXmlIsIgnoredWithoutCrashing)
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

TEST (HostileState, ShallowChildrenAndQuotedAngleBracketsStillLoad)
{
    OrvalenProcessor p;
    const auto block = blockWithText ("<KLALumaspanState measureMode=\"1\" note=\"a &lt; b\" "
                                      "x='<<<<'><child><grandchild/></child></KLALumaspanState>");
    p.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (p.measureMode.load(), 1);
}

TEST (HostileState, MalformedUtf8IsIgnored)
{
    OrvalenProcessor p;
    // An attribute value cut off inside a three-byte sequence, at the very end.
    const char text[] = "<KLALumaspanState measureMode=\"1\" x=\"\xe2\x82";
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) sizeof (text) - 1);
    out.write (text, sizeof (text) - 1);
    out.flush();

    p.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (p.measureMode.load(), 0);
}

TEST (HostileState, ProcessingInstructionsAmongElementsAreIgnoredWithoutHanging)
{
    // Found by the fuzzer: the framework's parser never returned on this block.
    const auto file = juce::File (LUMASPAN_SOURCE_DIR).getChildFile ("tests/fuzz/corpus/stray_processing_instructions");
    juce::MemoryBlock block;
    ASSERT_TRUE (file.loadFileAsData (block));

    OrvalenProcessor p;
    p.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (p.measureMode.load(), 0);
    EXPECT_EQ (p.weighting.load(), 3);
}
