#include "editor/SpectrumCurveRenderer.h"

#include "processor/OrvalenProcessor.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float sharpenBelowHz = 1000.0f;
constexpr float sharpenAmount = 0.15f;
constexpr float distinctPeakDb = 4.0f;

// A NaN or infinity from the analysis must not reach the path: NaN and -inf
// count as the analysis floor, +inf as full scale.
inline float finiteDb (float x)
{
    if (std::isfinite (x))
        return x;
    return x > 0.0f ? 0.0f : SpectrumCurveRenderer::emptyDb;
}

inline float clampToPlot (float db) { return std::min (std::max (db, SpectrumCurveRenderer::floorDb), 0.0f); }

inline float rowOf (float db, float ph)
{
    return SpectrumCurveRenderer::plotTop + (0.0f - db) / SpectrumCurveRenderer::levelRangeDb * ph;
}

inline float catmullRom (float y0, float y1, float y2, float y3, float t)
{
    const auto a = 1.5f * y1 - 0.5f * y0 - 1.5f * y2 + 0.5f * y3;
    const auto b = y0 - 2.5f * y1 + 2.0f * y2 - 0.5f * y3;
    const auto c = 0.5f * y2 - 0.5f * y0;
    return ((a * t + b) * t + c) * t + y1;
}
} // namespace

float SpectrumCurveRenderer::binValue (const float* v, int n, int j, float binHz)
{
    const auto c = finiteDb (v[j]);
    if (j < 2 || j >= n - 2)
        return c;

    const auto a = finiteDb (v[j - 1]);
    const auto b = finiteDb (v[j + 1]);
    if (c > a + distinctPeakDb && c > b + distinctPeakDb)
        return c;

    const auto k = (float) j * binHz < sharpenBelowHz ? sharpenAmount : 0.0f;
    return c - k * (a - 2.0f * c + b);
}

float SpectrumCurveRenderer::columnLevel (const float* v, int n, float binHz, float f0, float f1)
{
    const auto a = f0 / binHz;
    const auto b = f1 / binHz;
    const auto j0 = (int) std::floor (a);

    if (b - a >= 1.0f)
    {
        const auto first = std::max (j0, 0);
        const auto last = std::min ((int) std::ceil (b), n - 1);
        auto e = floorDb;
        for (int j = first; j <= last; ++j)
            e = std::max (e, clampToPlot (binValue (v, n, j, binHz)));
        return e;
    }

    const auto p1 = std::min (std::max (j0, 0), n - 1);
    const auto p0 = std::max (p1 - 1, 0);
    const auto p2 = std::min (p1 + 1, n - 1);
    const auto p3 = std::min (p1 + 2, n - 1);
    const auto y0 = clampToPlot (binValue (v, n, p0, binHz));
    const auto y1 = clampToPlot (binValue (v, n, p1, binHz));
    const auto y2 = clampToPlot (binValue (v, n, p2, binHz));
    const auto y3 = clampToPlot (binValue (v, n, p3, binHz));

    const auto e = catmullRom (y0, y1, y2, y3, a - (float) j0);
    return clampToPlot (std::min (std::max (e, std::min (y1, y2)), std::max (y1, y2)));
}

void SpectrumCurveRenderer::buildRows (const std::vector<float>& curve,
                                       float binHz,
                                       float pw,
                                       float ph,
                                       const std::vector<float>& pixelFrequencies,
                                       float upperEdgeHz,
                                       std::vector<float>& rows)
{
    rows.clear();
    const auto n = (int) curve.size();
    if (n < 1 || pixelFrequencies.empty() || ! (binHz > 0.0f) || ! std::isfinite (ph))
        return;

    auto loudest = floorDb;
    for (auto x : curve)
        loudest = std::max (loudest, finiteDb (x));
    if (! (loudest > drawThresholdDb))
        return;

    if (! (pw >= 0.0f))
        return;
    // A table left over from another width must not be read past its end.
    const auto cw = std::min ((int) std::min (pw, 1.0e6f), (int) pixelFrequencies.size() - 1);

    rows.resize ((size_t) cw + 1);
    const auto* v = curve.data();
    for (int c = 0; c <= cw; ++c)
    {
        const auto f0 = pixelFrequencies[(size_t) c];
        const auto f1 = c + 1 <= cw ? pixelFrequencies[(size_t) c + 1] : upperEdgeHz;
        rows[(size_t) c] = rowOf (columnLevel (v, n, binHz, f0, f1), ph);
    }
}

void SpectrumCurveRenderer::pathThroughRows (const std::vector<float>& rows, juce::Path& path)
{
    path.clear();
    if (rows.empty())
        return;
    path.preallocateSpace (3 * (int) rows.size() + 16);
    path.startNewSubPath (plotLeft, rows.front());
    for (size_t c = 1; c < rows.size(); ++c)
        path.lineTo (plotLeft + (float) c, rows[c]);
}

juce::Path SpectrumCurveRenderer::buildPath (const std::vector<float>& curve,
                                             float binHz,
                                             float pw,
                                             float ph,
                                             const std::vector<float>& pixelFrequencies,
                                             float upperEdgeHz)
{
    std::vector<float> rows;
    buildRows (curve, binHz, pw, ph, pixelFrequencies, upperEdgeHz, rows);
    juce::Path path;
    pathThroughRows (rows, path);
    return path;
}

juce::ColourGradient SpectrumCurveRenderer::fillGradient (juce::Colour colour, float ph)
{
    return juce::ColourGradient (
        colour.withAlpha (0.35f), plotLeft, plotTop, colour.withAlpha (0.1f), plotLeft, plotTop + ph, false);
}

void SpectrumCurveRenderer::strokeLive (juce::Graphics& g, const juce::Path& live, juce::Colour colour)
{
    g.setColour (colour.withAlpha (0.95f));
    g.strokePath (live, juce::PathStrokeType (0.8f));
}

void SpectrumCurveRenderer::strokePeak (juce::Graphics& g, const juce::Path& peak, juce::Colour colour)
{
    g.setColour (colour.withAlpha (0.95f));
    g.strokePath (peak, juce::PathStrokeType (1.2f));
}

float SpectrumCurveRenderer::sampleRateOf (OrvalenProcessor& processor)
{
    const auto fs = processor.getSampleRate();
    return (float) (fs > 0.0 && std::isfinite (fs) ? fs : fallbackSampleRate);
}

bool SpectrumCurveRenderer::consumeClearRequest (CurveSlot& slot)
{
    if (! slot.clearRequest.exchange (false))
        return false;
    std::fill (slot.curve.begin(), slot.curve.end(), emptyDb);
    std::fill (slot.peakCurve.begin(), slot.peakCurve.end(), emptyDb);
    return true;
}

// A plot without height has nothing to draw into, and its gradient would have
// coincident end points.
bool SpectrumCurveRenderer::isDrawn (const CurveSlot& slot, float ph)
{
    return slot.visible.load() && slot.curve.size() >= 2 && ph > 0.0f;
}

void SpectrumCurveRenderer::drawPeak (juce::Graphics& g,
                                      const std::vector<float>& peakCurve,
                                      float binHz,
                                      juce::Colour colour,
                                      float pw,
                                      float ph,
                                      const std::vector<float>& pixelFrequencies,
                                      float upperEdgeHz)
{
    // The peak curve may lag the live one in size for a moment; one value is
    // not a curve.
    if (peakCurve.size() < 2)
        return;
    const auto peak = buildPath (peakCurve, binHz, pw, ph, pixelFrequencies, upperEdgeHz);
    if (! peak.isEmpty())
        strokePeak (g, peak, colour);
}

void SpectrumCurveRenderer::drawSlot (juce::Graphics& g,
                                      const CurveSlot& slot,
                                      int index,
                                      float fs,
                                      float pw,
                                      float ph,
                                      const std::vector<float>& pixelFrequencies,
                                      float upperEdgeHz)
{
    if (! isDrawn (slot, ph))
        return;

    const auto colour = slotColours[(size_t) index];
    const auto binHz = fs / (2.0f * (float) slot.curve.size());
    if (slot.selected.load())
    {
        const auto live = buildPath (slot.curve, binHz, pw, ph, pixelFrequencies, upperEdgeHz);
        if (! live.isEmpty())
        {
            auto area = live;
            area.lineTo (plotLeft + pw, plotTop + ph);
            area.lineTo (plotLeft, plotTop + ph);
            area.closeSubPath();
            g.setGradientFill (fillGradient (colour, ph));
            g.fillPath (area);
            strokeLive (g, live, colour);
        }
    }
    if (slot.hold.load())
        drawPeak (g, slot.peakCurve, binHz, colour, pw, ph, pixelFrequencies, upperEdgeHz);
}

void SpectrumCurveRenderer::drawSlots (juce::Graphics& g,
                                       OrvalenProcessor& processor,
                                       float pw,
                                       float ph,
                                       const std::vector<float>& pixelFrequencies,
                                       float upperEdgeHz)
{
    const auto fs = sampleRateOf (processor);
    for (int i = 0; i < numCurveSlots; ++i)
    {
        auto& slot = processor.curveSlots[(size_t) i];
        const juce::ScopedLock sl (slot.lock);
        consumeClearRequest (slot);
        drawSlot (g, slot, i, fs, pw, ph, pixelFrequencies, upperEdgeHz);
    }
}
