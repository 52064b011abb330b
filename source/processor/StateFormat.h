#pragma once

#include <juce_core/juce_core.h>

#include <memory>

class OrvalenProcessor;

// The persisted state: one XML element "KLALumaspanState" carrying the four
// analysis settings, wrapped in the framework's binary XML block.
namespace StateFormat
{
inline constexpr const char* tagName = "KLALumaspanState";
inline constexpr const char* attributeNames[] = { "measureMode", "weighting", "smoothing", "responseMs" };

std::unique_ptr<juce::XmlElement> createStateXml (const OrvalenProcessor& processor);

// Parses a block the way the framework's getXmlFromBinary does, but never
// reads past sizeInBytes, whatever the bytes are. Returns null for any block
// that is to be ignored.
std::unique_ptr<juce::XmlElement> parseStateBlock (const void* data, int sizeInBytes);

// A setting's attribute value as a decimal integer: leading white space is
// skipped, a leading minus sign is honoured, parsing stops at the first
// character that is not a digit, and no digits at all give 0.
int parseSettingValue (const juce::String& text);

// Applies a block to the processor's settings; malformed blocks change nothing.
void applyState (OrvalenProcessor& processor, const void* data, int sizeInBytes);
} // namespace StateFormat
