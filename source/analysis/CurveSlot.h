#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <array>
#include <atomic>
#include <vector>

// One of the four stored-curve memories. The flags are atomics; the two
// curves (contents and size) are guarded by `lock`.
struct CurveSlot
{
    std::atomic<bool> visible { true };
    std::atomic<bool> selected { false };
    std::atomic<bool> hold { false };
    std::atomic<bool> clearRequest { false };
    std::atomic<bool> scopeClearRequest { false };
    std::vector<float> curve;
    std::vector<float> peakCurve;
    juce::CriticalSection lock;

    CurveSlot() = default;
    CurveSlot (const CurveSlot&) = delete;
    CurveSlot& operator= (const CurveSlot&) = delete;
};

inline constexpr int numCurveSlots = 4;

// Colour of each slot's curves, scope traces and strip.
inline const std::array<juce::Colour, numCurveSlots> slotColours {
    juce::Colour (0xff3b82f6), juce::Colour (0xfff97316), juce::Colour (0xff10b981), juce::Colour (0xffef4444)
};
