#pragma once

#include "analysis/CurveSlot.h"

#include <array>
#include <vector>

// Folds one pass's spectrum into the curve slots: the selected slot follows
// the spectrum and raises its peak curve, the others fade.
struct CurveSlotUpdate
{
    // Response coefficient per pass: "Fast" 0.4, "Slow" 0.02, anything else "Mid" 0.08.
    static float responseCoefficient (int responseMs);

    // Every slot in turn, each under its own lock. A selectedSlot outside
    // 0 .. 3 updates no slot, so every live curve fades.
    static void updateAll (std::array<CurveSlot, numCurveSlots>& slots,
                           const std::vector<float>& spectrumDb,
                           int selectedSlot,
                           int measureMode,
                           float response);

    // One slot; the caller holds its lock.
    static void updateSlot (CurveSlot& slot,
                            const std::vector<float>& spectrumDb,
                            bool isSelected,
                            int measureMode,
                            float response);
};
