#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace
{
using Settings = std::array<int, 4>;

const std::string defaultXml =
    R"(<?xml version="1.0" encoding="UTF-8"?> <KLALumaspanState measureMode="0" weighting="3" smoothing="1" responseMs="1"/>)";
const std::string xmlHeader = R"(<?xml version="1.0" encoding="UTF-8"?> )";

Settings settingsOf (const OrvalenProcessor& p)
{
    return { p.measureMode.load(), p.weighting.load(), p.smoothing.load(), p.responseMs.load() };
}

void setSettings (OrvalenProcessor& p, const Settings& s)
{
    p.measureMode.exchange (s[0]);
    p.weighting.exchange (s[1]);
    p.smoothing.exchange (s[2]);
    p.responseMs.exchange (s[3]);
}

void appendLittleEndian (std::vector<char>& bytes, juce::uint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back ((char) ((value >> (8 * i)) & 0xff));
}

// A block as the framework writes it: magic, length, text, zero byte; the
// length field can be given explicitly to build malformed blocks.
std::vector<char> blockOf (const std::string& text, juce::int64 lengthField = -1, juce::uint32 magic = 0x21324356)
{
    std::vector<char> bytes;
    appendLittleEndian (bytes, magic);
    appendLittleEndian (bytes, (juce::uint32) (lengthField < 0 ? (juce::int64) text.size() : lengthField));
    bytes.insert (bytes.end(), text.begin(), text.end());
    bytes.push_back (0);
    return bytes;
}

std::string elementWith (const std::string& tag, const std::string& attributes)
{
    return xmlHeader + "<" + tag + " " + attributes + "/>";
}

std::string allFour (int a, int b, int c, int d)
{
    return "measureMode=\"" + std::to_string (a) + "\" weighting=\"" + std::to_string (b) + "\" smoothing=\""
           + std::to_string (c) + "\" responseMs=\"" + std::to_string (d) + "\"";
}
} // namespace

TEST (State, FreshInstanceSavesTheDefaultBlock)
{
    OrvalenProcessor p;
    juce::MemoryBlock block;
    p.getStateInformation (block);

    const auto expected = blockOf (defaultXml);
    ASSERT_EQ (defaultXml.size(), 117u);
    ASSERT_EQ (block.getSize(), 126u);
    EXPECT_EQ (std::memcmp (block.getData(), expected.data(), expected.size()), 0);

    const unsigned char header[] = { 0x56, 0x43, 0x32, 0x21, 0x75, 0x00, 0x00, 0x00 };
    EXPECT_EQ (std::memcmp (block.getData(), header, sizeof (header)), 0);
}

TEST (State, SavingReplacesTheDestinationContent)
{
    OrvalenProcessor p;
    juce::MemoryBlock block ("leftover bytes from somewhere else", 34);
    p.getStateInformation (block);
    EXPECT_EQ (block.getSize(), 126u);
}

TEST (State, NegativeAndOutOfRangeValuesAreWrittenAsTheyAre)
{
    OrvalenProcessor p;
    setSettings (p, { -1, 7, 12, INT_MIN });
    juce::MemoryBlock block;
    p.getStateInformation (block);

    const auto expected = blockOf (elementWith ("KLALumaspanState", allFour (-1, 7, 12, INT_MIN)));
    ASSERT_EQ (block.getSize(), expected.size());
    EXPECT_EQ (std::memcmp (block.getData(), expected.data(), expected.size()), 0);
}

TEST (State, SaveChangeRestoreRoundTrip)
{
    OrvalenProcessor p;
    setSettings (p, { 1, 0, 3, 2 });
    juce::MemoryBlock saved;
    p.getStateInformation (saved);

    setSettings (p, { 0, 2, 0, 0 });
    p.setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (settingsOf (p), (Settings { 1, 0, 3, 2 }));

    OrvalenProcessor fresh;
    fresh.setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (settingsOf (fresh), (Settings { 1, 0, 3, 2 }));
}

TEST (State, RestoringLeavesEverythingElseAtItsConstructionValues)
{
    OrvalenProcessor p;
    p.requestedFftOrder.exchange (12);
    p.selectedSlot.exchange (2);
    const auto block = blockOf (elementWith ("KLALumaspanState", allFour (1, 1, 1, 1)));
    p.setStateInformation (block.data(), (int) block.size());
    EXPECT_EQ (p.requestedFftOrder.load(), 12);
    EXPECT_EQ (p.selectedSlot.load(), 2);
    EXPECT_FALSE (p.toneActive.load());
}

struct RestoreCase
{
    const char* name;
    std::vector<char> bytes;
    Settings expected;
};

// Every case starts from these settings, so "unchanged" differs from the defaults.
constexpr Settings start { 0, 1, 3, 0 };

std::vector<RestoreCase> restoreCases()
{
    const auto valid = blockOf (elementWith ("KLALumaspanState", allFour (1, 2, 0, 2)));
    auto shortened = valid;
    shortened.resize (60);
    auto truncatedUtf8 = blockOf (xmlHeader + "<KLALumaspanState weighting=\"2\xE2\x82");
    truncatedUtf8.pop_back();

    return {
        { "valid block", valid, { 1, 2, 0, 2 } },
        { "tag in other letter case",
          blockOf (elementWith ("klalumaspanSTATE", allFour (1, 2, 0, 2))),
          { 1, 2, 0, 2 } },
        { "only measureMode", blockOf (elementWith ("KLALumaspanState", "measureMode=\"1\"")), { 1, 1, 3, 0 } },
        { "no attributes", blockOf (elementWith ("KLALumaspanState", "")), start },
        { "attribute names in other case are not ours",
          blockOf (elementWith ("KLALumaspanState", "MeasureMode=\"1\" WEIGHTING=\"2\"")),
          start },
        { "other attributes ignored",
          blockOf (elementWith ("KLALumaspanState", "colour=\"9\" smoothing=\"2\"")),
          { 0, 1, 2, 0 } },
        { "abc gives 0", blockOf (elementWith ("KLALumaspanState", "weighting=\"abc\"")), { 0, 0, 3, 0 } },
        { "2.9 gives 2", blockOf (elementWith ("KLALumaspanState", "weighting=\"2.9\"")), { 0, 2, 3, 0 } },
        { "-1 stays -1", blockOf (elementWith ("KLALumaspanState", "weighting=\"-1\"")), { 0, -1, 3, 0 } },
        { "7 stays 7", blockOf (elementWith ("KLALumaspanState", "weighting=\"7\"")), { 0, 7, 3, 0 } },
        { "leading white space skipped",
          blockOf (elementWith ("KLALumaspanState", "weighting=\"  2x\"")),
          { 0, 2, 3, 0 } },
        { "empty value gives 0", blockOf (elementWith ("KLALumaspanState", "smoothing=\"\"")), { 0, 1, 0, 0 } },
        { "plus sign gives 0", blockOf (elementWith ("KLALumaspanState", "smoothing=\"+2\"")), { 0, 1, 0, 0 } },
        { "largest int", blockOf (elementWith ("KLALumaspanState", "weighting=\"2147483647\"")), { 0, INT_MAX, 3, 0 } },
        { "smallest int",
          blockOf (elementWith ("KLALumaspanState", "weighting=\"-2147483648\"")),
          { 0, INT_MIN, 3, 0 } },
        { "other root tag", blockOf (elementWith ("KLALumaspanStates", allFour (1, 2, 0, 2))), start },
        { "header only, 8 bytes", std::vector<char> (valid.begin(), valid.begin() + 8), start },
        { "9 bytes", std::vector<char> (valid.begin(), valid.begin() + 9), start },
        { "wrong magic", blockOf (elementWith ("KLALumaspanState", allFour (1, 2, 0, 2)), -1, 0x21324357), start },
        { "length 0", blockOf (elementWith ("KLALumaspanState", allFour (1, 2, 0, 2)), 0), start },
        { "negative length", blockOf (elementWith ("KLALumaspanState", allFour (1, 2, 0, 2)), 0xffffffff), start },
        { "length larger than the data",
          blockOf (elementWith ("KLALumaspanState", allFour (1, 2, 0, 2)), 100000),
          { 1, 2, 0, 2 } },
        { "length shorter than the text", blockOf (elementWith ("KLALumaspanState", allFour (1, 2, 0, 2)), 50), start },
        { "data cut inside the element", shortened, start },
        { "unparsable XML", blockOf (xmlHeader + "<KLALumaspanState measureMode=\"1\""), start },
        { "not XML at all", blockOf ("garbage \x01\x02\xff"), start },
        { "truncated UTF-8 at the end of the data", truncatedUtf8, start },
    };
}

TEST (State, RestoreEdgeCases)
{
    for (const auto& c : restoreCases())
    {
        OrvalenProcessor p;
        setSettings (p, start);
        // An exact-size copy, so that a read past the data is caught by the sanitizers.
        std::unique_ptr<char[]> exact (new char[c.bytes.size()]);
        std::memcpy (exact.get(), c.bytes.data(), c.bytes.size());
        p.setStateInformation (exact.get(), (int) c.bytes.size());
        EXPECT_EQ (settingsOf (p), c.expected) << c.name;
    }
}

TEST (State, NullAndNegativeSizesAreIgnored)
{
    const auto valid = blockOf (elementWith ("KLALumaspanState", allFour (1, 2, 0, 2)));
    OrvalenProcessor p;
    setSettings (p, start);

    p.setStateInformation (nullptr, 0);
    p.setStateInformation (nullptr, 126);
    p.setStateInformation (nullptr, -1);
    p.setStateInformation (valid.data(), -1);
    p.setStateInformation (valid.data(), INT_MIN);
    p.setStateInformation (valid.data(), 0);
    EXPECT_EQ (settingsOf (p), start);
}

TEST (State, EveryPrefixOfAValidBlockIsSafe)
{
    const auto valid = blockOf (elementWith ("KLALumaspanState", allFour (1, 2, 0, 2)));
    OrvalenProcessor p;
    for (size_t size = 0; size < valid.size(); ++size)
    {
        setSettings (p, start);
        std::unique_ptr<char[]> exact (new char[size + 1]);
        std::memcpy (exact.get(), valid.data(), size);
        p.setStateInformation (exact.get(), (int) size);
        // Until the closing "/>" has arrived the element is incomplete and ignored.
        const bool complete = size == valid.size() - 1;
        EXPECT_EQ (settingsOf (p), (complete ? Settings { 1, 2, 0, 2 } : start)) << "size " << size;
    }
}
