#include "editor/StereoScope.h"

#include "BinaryData.h"
#include "editor/CoverImage.h"
#include "processor/OrvalenProcessor.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;
constexpr float halfPi = juce::MathConstants<float>::halfPi;
constexpr float cornerSize = 8.0f;
constexpr float edgeWeight = 0.874f;
constexpr float floorDb = -100.0f;
constexpr float shownRangeDb = 50.0f;
constexpr float riseCoefficient = 0.35f;
constexpr float fallCoefficient = 0.02f;
constexpr float invisibleLevel = 0.005f;
constexpr float glassOpacity = 0.5f;

const juce::Colour backgroundColour (0xff080a0c);
const juce::Colour wedgeColour (0x0fd93838);
const juce::Colour gridColour (0x38f1f5f9);
const juce::Colour channelColour (0xffd0d8e0);
const juce::Colour trackColour (0xff1e2832);
const juce::Colour centreTickColour (0xff2a3d4a);
const juce::Colour lowEndColour (0xffd93838);
const juce::Colour highEndColour (0xff3097b5);
const juce::Colour scaleLabelColour (0xff8a9aab);
const juce::Colour borderColour (0x806e6e6e);
constexpr juce::uint8 barAlpha = 0xd9;

// Sector ranges of the left, centre and right parts; 30 and 90 are shared.
struct SectorRange
{
    int first, last;
    bool contains (int v) const { return v >= first && v <= last; }
};
constexpr SectorRange ranges[3] { { 0, 30 }, { 30, 90 }, { 90, 119 } };

juce::Image loadGlassPicture()
{
    int size = 0;
    if (const auto* data = BinaryData::getNamedResource ("placa_acrilica_png", size))
        return juce::ImageCache::getFromMemory (data, size);
    return {};
}
} // namespace

juce::Point<float> StereoScope::Geometry::at (float angle, float r) const
{
    return { cx + std::sin (angle) * r, cy - std::cos (angle) * r };
}

StereoScope::StereoScope (OrvalenProcessor& p)
    : processor (p)
{
    setGlassImage (loadGlassPicture());
}

StereoScope::~StereoScope() = default;

float StereoScope::sectorAngle (int v) { return (float) v / 119.0f * pi - halfPi; }

float StereoScope::sectorWeight (int v) { return 1.0f - std::abs ((float) v / 119.0f - 0.5f) * 2.0f * edgeWeight; }

float StereoScope::sectorTarget (float e, int v)
{
    // NaN and negative powers fail A > 0 and count as silence; +inf saturates.
    const auto amplitude = std::sqrt (e);
    const auto level = amplitude > 0.0f ? std::max (20.0f * std::log10 (amplitude), floorDb) : floorDb;
    const auto target = sectorWeight (v) * (level + shownRangeDb) / shownRangeDb;
    return std::min (std::max (target, 0.0f), 1.0f);
}

float StereoScope::balanceOf (float centreSum, float sideSum)
{
    const auto total = centreSum + sideSum;
    return total > 0.001f ? (centreSum - sideSum) / total : 1.0f;
}

juce::Colour StereoScope::balanceColour (float balance)
{
    if (balance <= 0.3f)
        return lowEndColour.withAlpha (barAlpha);
    if (balance >= 0.75f)
        return highEndColour.withAlpha (barAlpha);
    return lowEndColour.interpolatedWith (highEndColour, (balance - 0.3f) / 0.45f).withAlpha (barAlpha);
}

void StereoScope::setGlassImage (const juce::Image& image)
{
    glassImage = image;
    rebuildScaledGlass();
    overlayLayer = {};
}

// The picture is far larger than the panel; scaling it once per size instead
// of on every paint leaves each paint a plain blend with the same look.
void StereoScope::rebuildScaledGlass()
{
    scaledGlass = makeCoverImage (glassImage, getWidth(), getHeight(), juce::Image::ARGB);
}

void StereoScope::resized() { rebuildScaledGlass(); }

void StereoScope::paintBackdrop (juce::Graphics& g, const Geometry& geo)
{
    const juce::Point<float> centre (geo.cx, geo.cy);

    juce::Path leftWedge, rightWedge;
    leftWedge.startNewSubPath (centre);
    rightWedge.startNewSubPath (centre);
    for (int i = 0; i <= 50; ++i)
    {
        leftWedge.lineTo (geo.at ((float) i / 50.0f * 0.25f * pi - halfPi, geo.radius));
        rightWedge.lineTo (geo.at (((float) i / 50.0f * 0.25f + 0.75f) * pi - halfPi, geo.radius));
    }
    leftWedge.closeSubPath();
    rightWedge.closeSubPath();
    g.setColour (wedgeColour);
    g.fillPath (leftWedge);
    g.fillPath (rightWedge);

    g.setColour (gridColour);
    for (int spoke = -2; spoke <= 2; ++spoke)
    {
        const auto end = geo.at ((float) spoke * 0.25f * pi, geo.radius);
        g.drawLine (geo.cx, geo.cy, end.x, end.y, 1.0f);
    }
    const juce::PathStrokeType arcStroke (0.5f);
    for (int ring = 1; ring <= 4; ++ring)
    {
        const auto r = 0.25f * (float) ring * geo.radius;
        juce::Path arc;
        arc.startNewSubPath (geo.at (-halfPi, r));
        for (int m = 0; m <= 20; ++m)
            arc.lineTo (geo.at ((float) m * 0.05f * pi - halfPi, r));
        g.strokePath (arc, arcStroke);
    }
}

void StereoScope::consumeClearRequests (int selected)
{
    for (int m = 0; m < numSlots; ++m)
    {
        if (! processor.curveSlots[(size_t) m].scopeClearRequest.exchange (false))
            continue;
        std::fill (std::begin (heldSectors[m]), std::end (heldSectors[m]), 0.0f);
        heldLayersDirty = true;
        if (m == selected)
            std::fill (std::begin (smoothedSectors), std::end (smoothedSectors), 0.0f);
    }
}

void StereoScope::paintLive (juce::Graphics& g, const Geometry& geo, int selected, float& centreSum, float& sideSum)
{
    // A selection index outside the slots means no live slot at all.
    const auto live = selected >= 0 && selected < numSlots && processor.curveSlots[(size_t) selected].visible.load();
    if (! live)
    {
        std::fill (std::begin (smoothedSectors), std::end (smoothedSectors), 0.0f);
        return;
    }

    auto* held = heldSectors[selected];
    for (int v = 0; v < numSectors; ++v)
    {
        const auto t = sectorTarget (processor.scopeSectors[v].load (std::memory_order_relaxed), v);
        auto& s = smoothedSectors[v];
        s += (t - s) * (t > s ? riseCoefficient : fallCoefficient);
        held[v] = std::max (held[v], s);
        const auto position = (float) v / 119.0f;
        (position >= 0.25f && position <= 0.75f ? centreSum : sideSum) += s;
    }

    juce::Path parts[3];
    for (int k = 0; k < 3; ++k)
    {
        parts[k].startNewSubPath (geo.cx, geo.cy);
        for (int v = ranges[k].first; v <= ranges[k].last; ++v)
        {
            const auto u = smoothedSectors[v] < invisibleLevel ? 0.0f : smoothedSectors[v];
            parts[k].lineTo (geo.at (sectorAngle (v), u * geo.radius));
        }
        parts[k].closeSubPath();
    }

    const auto colour = slotColours[(size_t) selected];
    g.setColour (colour.withAlpha (0.35f));
    for (auto& part : parts)
        g.fillPath (part);
    g.setColour (colour.withAlpha (0.9f));
    const juce::PathStrokeType stroke (1.2f);
    for (auto& part : parts)
        g.strokePath (part, stroke);
}

juce::Rectangle<float> StereoScope::paintHeldSlot (juce::Graphics& g, const Geometry& geo, int m)
{
    juce::Path parts[3];
    bool open[3] {};
    for (int v = 0; v < numSectors; ++v)
    {
        const auto b = heldSectors[m][v];
        for (int k = 0; k < 3; ++k)
        {
            if (! ranges[k].contains (v))
                continue;
            if (b < invisibleLevel)
            {
                if (open[k])
                    parts[k].closeSubPath();
                open[k] = false;
                continue;
            }
            if (! open[k])
            {
                parts[k].startNewSubPath (geo.cx, geo.cy);
                open[k] = true;
            }
            parts[k].lineTo (geo.at (sectorAngle (v), b * geo.radius));
        }
    }

    const juce::PathStrokeType stroke (1.2f);
    g.setColour (slotColours[(size_t) m].withAlpha (0.4f));
    juce::Rectangle<float> drawn;
    for (auto& part : parts)
    {
        if (part.isEmpty())
            continue;
        part.closeSubPath();
        g.strokePath (part, stroke);
        drawn = drawn.isEmpty() ? part.getBounds() : drawn.getUnion (part.getBounds());
    }
    return drawn;
}

juce::Rectangle<int> StereoScope::paintHeld (juce::Graphics& g, const Geometry& geo, int first, int end)
{
    juce::Rectangle<float> drawn;
    for (int m = std::max (first, 0); m < std::min (end, numSlots); ++m)
    {
        if (! processor.curveSlots[(size_t) m].visible.load())
            continue;
        const auto bounds = paintHeldSlot (g, geo, m);
        if (! bounds.isEmpty())
            drawn = drawn.isEmpty() ? bounds : drawn.getUnion (bounds);
    }
    // Room for the stroke's width and its anti-aliased edge.
    return drawn.isEmpty() ? juce::Rectangle<int>() : drawn.expanded (2.0f).getSmallestIntegerContainer();
}

// Outlines of slots other than the selected one only change on their "CLR",
// on showing or hiding them and when the selection moves: the ones before and
// after the selected slot are kept as two layers.
void StereoScope::refreshHeldLayers (int selected)
{
    std::array<bool, numSlots> visible {};
    for (int m = 0; m < numSlots; ++m)
        visible[(size_t) m] = processor.curveSlots[(size_t) m].visible.load();

    const auto sameSize = heldBelowLayer.getWidth() == getWidth() && heldBelowLayer.getHeight() == getHeight();
    if (sameSize && ! heldLayersDirty && selected == heldLayerSelected && visible == heldLayerVisible)
        return;

    heldLayersDirty = false;
    heldLayerSelected = selected;
    heldLayerVisible = visible;

    const auto geo = geometry();
    const auto split = juce::jlimit (0, numSlots, selected);
    heldBelowLayer = juce::Image (juce::Image::ARGB, getWidth(), getHeight(), true);
    heldAboveLayer = juce::Image (juce::Image::ARGB, getWidth(), getHeight(), true);
    juce::Graphics below (heldBelowLayer);
    heldBelowBounds = paintHeld (below, geo, 0, split).getIntersection (getLocalBounds());
    juce::Graphics above (heldAboveLayer);
    heldAboveBounds =
        paintHeld (above, geo, selected >= 0 ? split + 1 : 0, numSlots).getIntersection (getLocalBounds());
}

// Images are blended with the alpha of the current colour.
void StereoScope::blitPart (juce::Graphics& g, const juce::Image& layer, juce::Rectangle<int> area)
{
    if (area.isEmpty())
        return;
    g.setOpacity (1.0f);
    g.drawImage (layer,
                 area.getX(),
                 area.getY(),
                 area.getWidth(),
                 area.getHeight(),
                 area.getX(),
                 area.getY(),
                 area.getWidth(),
                 area.getHeight());
}

void StereoScope::paintLabels (juce::Graphics& g, const Geometry& geo)
{
    const auto outer = 1.05f * geo.radius;
    const auto diagonal = std::sin (pi / 4.0f) * outer;
    g.setFont (channelFont);
    g.setColour (channelColour);
    g.drawText ("L",
                juce::Rectangle<float> (geo.cx - diagonal + 3.0f, geo.cy - diagonal - 10.0f, 20.0f, 20.0f),
                juce::Justification::centred,
                true);
    g.drawText ("R",
                juce::Rectangle<float> (geo.cx + diagonal - 23.0f, geo.cy - diagonal - 10.0f, 20.0f, 20.0f),
                juce::Justification::centred,
                true);
}

void StereoScope::paintBalance (juce::Graphics& g, float w, float h, float balance)
{
    const auto cx = w / 2.0f;
    const auto bw = 0.8f * w - 6.0f;
    const auto y = h - 11.0f;
    const auto x0 = cx - bw / 2.0f;

    g.setColour (trackColour);
    g.fillRoundedRectangle (x0, y, bw, 6.0f, 3.0f);
    g.setColour (centreTickColour);
    g.drawLine (cx, y - 2.0f, cx, y + 8.0f, 1.5f);

    const auto xc = x0 + bw / 2.0f;
    const auto xv = xc + bw * balance * 0.5f;
    g.setColour (balanceColour (balance));
    if (balance < 0.0f)
        g.fillRoundedRectangle (xv, y, xc - xv, 6.0f, 3.0f);
    else
        g.fillRoundedRectangle (xc, y, xv - xc, 6.0f, 3.0f);

    g.setFont (scaleLabelFont);
    g.setColour (scaleLabelColour);
    g.drawText (
        "-1", juce::Rectangle<float> (x0 - 20.0f, y - 4.0f, 20.0f, 14.0f), juce::Justification::centredRight, true);
    g.drawText ("+1", juce::Rectangle<float> (x0 + bw, y - 4.0f, 20.0f, 14.0f), juce::Justification::centredLeft, true);
}

StereoScope::Geometry StereoScope::geometry() const
{
    const auto w = (float) getWidth();
    const auto radius = (w - 6.0f) / (2.0f * std::sin (pi / 4.0f));
    return { w / 2.0f, radius + 3.0f, radius };
}

void StereoScope::paintBase (juce::Graphics& g, const Geometry& geo)
{
    juce::Path clip;
    clip.addRoundedRectangle (getLocalBounds().toFloat(), cornerSize);
    g.reduceClipRegion (clip);
    g.fillAll (backgroundColour);
    paintBackdrop (g, geo);
}

void StereoScope::paintDynamic (juce::Graphics& g, const Geometry& geo, bool cachedOutlines)
{
    const auto selected = processor.selectedSlot.load();
    consumeClearRequests (selected);

    auto centreSum = 0.0f, sideSum = 0.0f;
    paintLive (g, geo, selected, centreSum, sideSum);
    if (cachedOutlines)
    {
        refreshHeldLayers (selected);
        blitPart (g, heldBelowLayer, heldBelowBounds);
        paintHeld (g, geo, selected, selected + 1);
        blitPart (g, heldAboveLayer, heldAboveBounds);
    }
    else
    {
        paintHeld (g, geo, 0, numSlots);
    }
    paintLabels (g, geo);

    lastBalance = balanceOf (centreSum, sideSum);
    paintBalance (g, (float) getWidth(), (float) getHeight(), lastBalance);
}

void StereoScope::paintOverlay (juce::Graphics& g)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    g.setColour (borderColour);
    g.drawRoundedRectangle (0.5f, 0.5f, std::max (0.0f, w - 1.0f), std::max (0.0f, h - 1.0f), cornerSize, 1.0f);

    drawCoverImage (g, glassImage, scaledGlass, getWidth(), getHeight(), glassOpacity);
}

void StereoScope::paintDirect (juce::Graphics& g)
{
    const auto geo = geometry();
    paintBase (g, geo);
    paintDynamic (g, geo, false);
    paintOverlay (g);
}

// Background, wedges and grid depend only on the size; border and glass are
// composited once, since blending the pair equals blending each in turn.
void StereoScope::refreshLayers()
{
    if (baseLayer.getWidth() != getWidth() || baseLayer.getHeight() != getHeight())
    {
        baseLayer = juce::Image (juce::Image::ARGB, getWidth(), getHeight(), true);
        juce::Graphics g (baseLayer);
        paintBase (g, geometry());
        overlayLayer = {};
    }
    if (! overlayLayer.isValid())
    {
        overlayLayer = juce::Image (juce::Image::ARGB, getWidth(), getHeight(), true);
        juce::Graphics g (overlayLayer);
        juce::Path clip;
        clip.addRoundedRectangle (getLocalBounds().toFloat(), cornerSize);
        g.reduceClipRegion (clip);
        paintOverlay (g);
    }
}

void StereoScope::paint (juce::Graphics& g)
{
    if (! cacheLayers || getWidth() <= 2 * (int) cornerSize || getHeight() <= 2 * (int) cornerSize)
    {
        paintDirect (g);
        return;
    }

    refreshLayers();
    g.setOpacity (1.0f);
    g.drawImageAt (baseLayer, 0, 0);
    {
        // Nothing live reaches into the corner squares at panel proportions;
        // leaving them out is a much cheaper clip than the rounded outline.
        const juce::Graphics::ScopedSaveState saved (g);
        const auto corner = (int) cornerSize;
        g.excludeClipRegion ({ 0, 0, corner, corner });
        g.excludeClipRegion ({ getWidth() - corner, 0, corner, corner });
        g.excludeClipRegion ({ 0, getHeight() - corner, corner, corner });
        g.excludeClipRegion ({ getWidth() - corner, getHeight() - corner, corner, corner });
        paintDynamic (g, geometry(), true);
    }
    // Images are blended with the alpha of the current colour.
    g.setOpacity (1.0f);
    g.drawImageAt (overlayLayer, 0, 0);
}
