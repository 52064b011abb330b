#include "processor/StateFormat.h"

#include "processor/OrvalenProcessor.h"

#include <limits>

namespace StateFormat
{
namespace
{
constexpr juce::uint32 magic = 0x21324356;
constexpr int headerSize = 8;

// The framework's XML parser recurses once per nesting level; deeper blocks are
// refused before parsing so that a corrupt project cannot overflow the stack.
constexpr int maxElementDepth = 64;

// Our state text has one processing instruction, the XML declaration at its
// start. The framework's parser can loop for ever on processing instructions
// among child elements, so a block with any other is refused.
bool hasStrayProcessingInstruction (const char* text, int numBytes)
{
    int start = 0;
    while (start < numBytes && juce::CharacterFunctions::isWhitespace (text[start]))
        ++start;
    if (start + 1 < numBytes && text[start] == '<' && text[start + 1] == '?')
        start += 2;

    for (int i = start; i + 1 < numBytes; ++i)
        if (text[i] == '<' && text[i + 1] == '?')
            return true;
    return false;
}

bool nestsTooDeeply (const char* text, int numBytes)
{
    int depth = 0;
    bool inTag = false;
    char quote = 0;
    for (int i = 0; i < numBytes; ++i)
    {
        const char c = text[i];
        const char next = i + 1 < numBytes ? text[i + 1] : 0;
        if (quote != 0)
            quote = c == quote ? 0 : quote;
        else if (inTag && (c == '"' || c == '\''))
            quote = c;
        else if (c == '<')
        {
            inTag = true;
            if (next == '/')
                --depth;
            else if (next != '?' && next != '!' && ++depth > maxElementDepth)
                return true;
        }
        else if (inTag && c == '/' && next == '>')
            --depth;
        else if (c == '>')
            inTag = false;
    }
    return false;
}

std::array<std::atomic<int>*, 4> settingsOf (OrvalenProcessor& p)
{
    return { &p.measureMode, &p.weighting, &p.smoothing, &p.responseMs };
}
} // namespace

std::unique_ptr<juce::XmlElement> createStateXml (const OrvalenProcessor& processor)
{
    auto xml = std::make_unique<juce::XmlElement> (tagName);
    const std::atomic<int>* settings[] = {
        &processor.measureMode, &processor.weighting, &processor.smoothing, &processor.responseMs
    };
    for (size_t i = 0; i < 4; ++i)
        xml->setAttribute (attributeNames[i], settings[i]->load());
    return xml;
}

std::unique_ptr<juce::XmlElement> parseStateBlock (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= headerSize)
        return nullptr;

    const auto* bytes = static_cast<const char*> (data);
    if (juce::ByteOrder::littleEndianInt (bytes) != magic)
        return nullptr;

    const auto length = (int) juce::ByteOrder::littleEndianInt (bytes + 4);
    if (length <= 0)
        return nullptr;

    // Copy the text with a zero tail so that a truncated multi-byte UTF-8
    // sequence at the end cannot make the decoder read past the caller's data.
    const auto textBytes = juce::jmin (length, sizeInBytes - headerSize);
    juce::MemoryBlock text ((size_t) textBytes + 4, true);
    text.copyFrom (bytes + headerSize, 0, (size_t) textBytes);
    const auto* textData = static_cast<const char*> (text.getData());
    if (nestsTooDeeply (textData, textBytes) || hasStrayProcessingInstruction (textData, textBytes))
        return nullptr;

    // Malformed UTF-8 (a sequence cut off at the end, say) is not text; the
    // framework's XML reader would step past the end of such a string.
    if (! juce::CharPointer_UTF8::isValidString (textData, textBytes))
        return nullptr;

    const auto xmlText = juce::String::fromUTF8 (textData, textBytes);

    // The framework's parser accepts an element cut off inside its attribute
    // list; a block cut short must not restore half a state.
    if (! xmlText.trimEnd().endsWithChar ('>'))
        return nullptr;

    return juce::parseXML (xmlText);
}

int parseSettingValue (const juce::String& text)
{
    auto s = text.getCharPointer().findEndOfWhitespace();
    const bool negative = *s == '-';
    if (negative)
        ++s;

    // Digits accumulate modulo 2^32, so an overlong number wraps instead of
    // overflowing.
    juce::uint32 magnitude = 0;
    for (auto c = s.getAndAdvance(); c >= '0' && c <= '9'; c = s.getAndAdvance())
        magnitude = magnitude * 10u + (juce::uint32) (c - '0');

    const auto bits = negative ? 0u - magnitude : magnitude;
    if (bits <= (juce::uint32) std::numeric_limits<int>::max())
        return (int) bits;
    return (int) (bits - 0x80000000u) + std::numeric_limits<int>::min();
}

void applyState (OrvalenProcessor& processor, const void* data, int sizeInBytes)
{
    const auto xml = parseStateBlock (data, sizeInBytes);
    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (tagName))
        return;

    const auto settings = settingsOf (processor);
    for (size_t i = 0; i < settings.size(); ++i)
    {
        auto& setting = *settings[i];
        const auto value = xml->hasAttribute (attributeNames[i])
                               ? parseSettingValue (xml->getStringAttribute (attributeNames[i]))
                               : setting.load();
        setting.exchange (value);
    }
}
} // namespace StateFormat
