#include "processor/OrvalenProcessor.h"
#include "processor/StateFormat.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

// Feeds arbitrary bytes to setStateInformation and checks what must hold for
// any input: a block with a bad header or without our element changes nothing,
// a setting changes only when the block names it, and applying the same block
// twice gives the same settings. The sanitizers catch every out-of-range read.
namespace
{
constexpr int sentinels[] = { 1001, -1002, 1003, -1004 };

std::atomic<int>* settingOf (OrvalenProcessor& p, size_t i)
{
    std::atomic<int>* all[] = { &p.measureMode, &p.weighting, &p.smoothing, &p.responseMs };
    return all[i];
}

std::uint32_t readLE32 (const std::uint8_t* p)
{
    return (std::uint32_t) p[0] | (std::uint32_t) p[1] << 8 | (std::uint32_t) p[2] << 16 | (std::uint32_t) p[3] << 24;
}

// The XML text a well-formed header points at, or nothing for a block that
// must be ignored before any parsing.
std::optional<std::string> textOf (const std::uint8_t* data, size_t size)
{
    if (size <= 8 || readLE32 (data) != 0x21324356u)
        return std::nullopt;
    const auto length = (std::int32_t) readLE32 (data + 4);
    if (length <= 0)
        return std::nullopt;
    return std::string (reinterpret_cast<const char*> (data + 8), std::min ((size_t) length, size - 8));
}

bool containsIgnoringCase (std::string text, std::string word)
{
    for (auto* s : { &text, &word })
        std::transform (s->begin(), s->end(), s->begin(), [] (unsigned char c) { return (char) std::tolower (c); });
    return text.find (word) != std::string::npos;
}

void apply (OrvalenProcessor& p, const std::uint8_t* data, size_t size, int* out)
{
    for (size_t i = 0; i < 4; ++i)
        settingOf (p, i)->store (sentinels[i]);
    p.setStateInformation (data, (int) size);
    for (size_t i = 0; i < 4; ++i)
        out[i] = settingOf (p, i)->load();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    static auto* processor = new OrvalenProcessor();
    if (size > (size_t) std::numeric_limits<int>::max())
        return 0;

    int first[4], second[4];
    apply (*processor, data, size, first);
    apply (*processor, data, size, second);

    const auto text = textOf (data, size);
    const bool mayApply = text.has_value() && containsIgnoringCase (*text, "KLALumaspanState");
    for (size_t i = 0; i < 4; ++i)
    {
        if (first[i] != second[i])
            std::abort();
        const bool changed = first[i] != sentinels[i];
        if (changed && ! (mayApply && text->find (StateFormat::attributeNames[i]) != std::string::npos))
            std::abort();
    }
    return 0;
}
