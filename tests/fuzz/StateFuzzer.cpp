#include "processor/OrvalenProcessor.h"
#include "processor/StateFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

// Feeds arbitrary bytes to setStateInformation. Every setting starts at a
// sentinel; afterwards each must hold the value an independent reading of the
// block gives, or its sentinel when the block must be ignored.
namespace
{
constexpr int sentinels[] = { 1001, -1002, 1003, -1004 };

std::atomic<int>* settingsOf (OrvalenProcessor& p, size_t i)
{
    std::atomic<int>* all[] = { &p.measureMode, &p.weighting, &p.smoothing, &p.responseMs };
    return all[i];
}

std::uint32_t readLE32 (const std::uint8_t* p) { return (std::uint32_t) p[0] | (std::uint32_t) p[1] << 8 | (std::uint32_t) p[2] << 16 | (std::uint32_t) p[3] << 24; }

void expectedValues (const std::uint8_t* data, size_t size, int* out)
{
    std::memcpy (out, sentinels, sizeof (sentinels));
    if (size <= 8 || readLE32 (data) != 0x21324356u)
        return;
    const auto length = (std::int32_t) readLE32 (data + 4);
    if (length <= 0)
        return;

    const auto textBytes = std::min ((size_t) length, size - 8);
    std::string text (reinterpret_cast<const char*> (data + 8), textBytes);
    text.append (4, '\0');
    const auto xml = juce::parseXML (juce::String::fromUTF8 (text.data(), (int) textBytes));
    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase ("KLALumaspanState"))
        return;

    for (size_t i = 0; i < 4; ++i)
        if (xml->hasAttribute (StateFormat::attributeNames[i]))
            out[i] = xml->getStringAttribute (StateFormat::attributeNames[i]).getIntValue();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    static auto* processor = new OrvalenProcessor();
    if (size > (size_t) std::numeric_limits<int>::max())
        return 0;

    for (size_t i = 0; i < 4; ++i)
        settingsOf (*processor, i)->store (sentinels[i]);

    processor->setStateInformation (data, (int) size);

    int expected[4];
    expectedValues (data, size, expected);
    for (size_t i = 0; i < 4; ++i)
        if (settingsOf (*processor, i)->load() != expected[i])
            std::abort();
    return 0;
}
