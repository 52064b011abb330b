#include "analysis/CurveSlotUpdate.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float floorDb = -150.0f;
constexpr float fadePerPassDb = 6.0f;

inline float followPeak (float x, float c, float r) { return x > c ? x : c + (x - c) * r; }

inline float followRms (float x, float c, float r)
{
    // 10^(v/20) and 20 log10 through exp and log, which are much faster.
    constexpr float twentiethOfLn10 = 0.115129255f;
    constexpr float twentyOverLn10 = 8.68588964f;
    const float a = x > floorDb ? std::exp (x * twentiethOfLn10) : 0.0f;
    const float e = c > floorDb ? std::exp (c * twentiethOfLn10) : 0.0f;
    const float y = e + (a - e) * r;
    return y > 0.0f ? std::max (twentyOverLn10 * std::log (y), floorDb) : floorDb;
}
} // namespace

float CurveSlotUpdate::responseCoefficient (int responseMs)
{
    if (responseMs == 0)
        return 0.4f;
    if (responseMs == 2)
        return 0.02f;
    return 0.08f;
}

void CurveSlotUpdate::updateAll (std::array<CurveSlot, numCurveSlots>& slots,
                                 const std::vector<float>& spectrumDb,
                                 int selectedSlot,
                                 int measureMode,
                                 float response)
{
    for (int i = 0; i < numCurveSlots; ++i)
    {
        auto& slot = slots[(size_t) i];
        const juce::ScopedLock sl (slot.lock);
        updateSlot (slot, spectrumDb, i == selectedSlot, measureMode, response);
    }
}

void CurveSlotUpdate::updateSlot (CurveSlot& slot,
                                  const std::vector<float>& spectrumDb,
                                  bool isSelected,
                                  int measureMode,
                                  float response)
{
    const size_t n = spectrumDb.size();
    if (slot.curve.size() != n)
    {
        slot.curve.assign (n, floorDb);
        slot.peakCurve.assign (n, floorDb);
    }
    if (slot.peakCurve.size() != n)
        slot.peakCurve.assign (n, floorDb);

    auto& curve = slot.curve;
    if (! isSelected)
    {
        for (auto& c : curve)
            if (c > floorDb)
                c = std::max (c - fadePerPassDb, floorDb);
        return;
    }

    auto& peak = slot.peakCurve;
    for (size_t j = 0; j < n; ++j)
    {
        const float x = spectrumDb[j];
        curve[j] = measureMode != 0 ? followPeak (x, curve[j], response) : followRms (x, curve[j], response);
        if (curve[j] > peak[j])
            peak[j] = curve[j];
    }
}
