#include "editor/SpectrumDisplay.h"

#include "BinaryData.h"
#include "editor/CoverImage.h"
#include "editor/SpectrumCurveRenderer.h"
#include "processor/OrvalenProcessor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace
{
constexpr float cornerSize = 8.0f;
constexpr float levelRangeDb = 90.0f;
constexpr float toneHeadroomDb = 3.0f;
constexpr float tickSpacingPx = 42.0f;
constexpr float zoomTravelPx = 260.0f;
constexpr float narrowestOctaves = 2.0f;
constexpr float glassOpacity = 0.5f;

const juce::Colour backgroundColour (0xff07080b);
const juce::Colour gridColour = juce::Colour (0xfff1f5f9).withAlpha (0.22f);
const juce::Colour labelColour = juce::Colour (0xffd0d8e0).withAlpha (0.6f);
const juce::Colour frameColour = juce::Colour (0xff6e6e6e).withAlpha (0.5f);
const juce::Colour hoverLineColour (0x66ffffff);
const juce::Colour readoutFillColour (0xee090d14);
const juce::Colour readoutOutlineColour (0xff334155);
const juce::Colour readoutTextColour (0xffd0d8e0);

using Tick = SpectrumDisplay::Tick;

const std::vector<Tick>& mainTicks()
{
    static const std::vector<Tick> table { { 20.0f, "20" },    { 50.0f, "50" },   { 100.0f, "100" },
                                           { 200.0f, "200" },  { 500.0f, "500" }, { 1000.0f, "1K" },
                                           { 2000.0f, "2K" },  { 5000.0f, "5K" }, { 10000.0f, "10K" },
                                           { 20000.0f, "20K" } };
    return table;
}

const std::vector<Tick>& fillInTicks()
{
    static const std::vector<Tick> table {
        { 10.0f, "10" },      { 12.5f, "12" },       { 16.0f, "16" },     { 20.0f, "20" },     { 25.0f, "25" },
        { 31.5f, "32" },      { 40.0f, "40" },       { 50.0f, "50" },     { 63.0f, "63" },     { 80.0f, "80" },
        { 100.0f, "100" },    { 125.0f, "125" },     { 160.0f, "160" },   { 200.0f, "200" },   { 250.0f, "250" },
        { 315.0f, "315" },    { 400.0f, "400" },     { 500.0f, "500" },   { 630.0f, "630" },   { 800.0f, "800" },
        { 1000.0f, "1K" },    { 1250.0f, "1.25K" },  { 1600.0f, "1.6K" }, { 2000.0f, "2K" },   { 2500.0f, "2.5K" },
        { 3150.0f, "3.15K" }, { 4000.0f, "4K" },     { 5000.0f, "5K" },   { 6300.0f, "6.3K" }, { 8000.0f, "8K" },
        { 10000.0f, "10K" },  { 12500.0f, "12.5K" }, { 16000.0f, "16K" }, { 20000.0f, "20K" }
    };
    return table;
}

const std::array<juce::String, 9>& levelLabels()
{
    static const std::array<juce::String, 9> labels { "-10", "-20", "-30", "-40", "-50", "-60", "-70", "-80", "-90" };
    return labels;
}

// Unlike jlimit this tolerates hi < lo (degenerate plots) without asserting.
inline float clampTo (float v, float lo, float hi) { return std::min (std::max (v, lo), hi); }

juce::Image loadGlassPicture()
{
    int size = 0;
    if (const auto* data = BinaryData::getNamedResource ("placa_acrilica_png", size))
        return juce::ImageCache::getFromMemory (data, size);
    return {};
}

juce::Image makeMagnifier()
{
    juce::Image image (juce::Image::ARGB, 18, 18, true);
    juce::Graphics g (image);
    g.setColour (juce::Colour (0xffffffff));
    g.drawEllipse (1.5f, 1.5f, 10.0f, 10.0f, 1.7f);
    g.drawLine (9.0f, 9.0f, 16.0f, 16.0f, 2.0f);
    return image;
}
} // namespace

// Made with the first display and shared until the last one goes.
struct SpectrumDisplay::SharedCursor
{
    juce::Image image = makeMagnifier();
    juce::MouseCursor cursor { image, 6, 6 };
};

SpectrumDisplay::SpectrumDisplay (OrvalenProcessor& p)
    : processor (p)
{
    ticks.reserve (mainTicks().size() + fillInTicks().size());
    minFrequency = fullMinFrequency;
    maxFrequency = fullMaxFrequency;
    // Not opaque: the rounded corners leave the editor's frame showing, and
    // an opaque component's parent never paints there (the host showed black).
    setOpaque (false);
    setMouseCursor (juce::MouseCursor::CrosshairCursor);
    setGlassImage (loadGlassPicture());
}

SpectrumDisplay::~SpectrumDisplay() = default;

float SpectrumDisplay::plotWidth() const { return (float) getWidth() - plotLeft - rightMargin; }

float SpectrumDisplay::plotHeight() const { return (float) getHeight() - plotTop - bandHeight; }

float SpectrumDisplay::xOfFrequency (float f) const
{
    return plotLeft + plotWidth() * std::log10 (f / minFrequency) / std::log10 (maxFrequency / minFrequency);
}

float SpectrumDisplay::yOfLevel (float db) const { return plotTop + (0.0f - db) / levelRangeDb * plotHeight(); }

bool SpectrumDisplay::isInZoomBand (int x, int y) const
{
    const auto pw = plotWidth();
    const auto ph = plotHeight();
    const auto fx = (float) x;
    const auto fy = (float) y;
    return fx >= plotLeft && fx <= plotLeft + pw && fy >= plotTop + ph && fy <= plotTop + ph + bandHeight;
}

bool SpectrumDisplay::isOverColumns (int x) const
{
    const auto offset = (float) x - plotLeft;
    return offset >= 0.0f && offset <= plotWidth() && ! pixelFrequencies.empty();
}

float SpectrumDisplay::frequencyAtColumn (float offset) const
{
    if (pixelFrequencies.empty())
        return minFrequency;
    const auto index = std::min ((size_t) std::max ((int) offset, 0), pixelFrequencies.size() - 1);
    return pixelFrequencies[index];
}

void SpectrumDisplay::rebuildPixelFrequencies()
{
    const auto pw = plotWidth();
    if (! (pw > 0.0f))
        return;

    ++tableGeneration;
    const auto columns = (int) pw;
    const auto ratio = (double) maxFrequency / (double) minFrequency;
    pixelFrequencies.resize ((size_t) columns + 1);
    for (int i = 0; i <= columns; ++i)
        pixelFrequencies[(size_t) i] = (float) (minFrequency * std::pow (ratio, (double) i / (double) pw));
}

void SpectrumDisplay::buildTicks (std::vector<Tick>& out, float pw) const
{
    out.clear();
    for (const auto& tick : mainTicks())
        if (tick.frequency >= minFrequency - 0.01f && tick.frequency <= maxFrequency + 0.01f)
            out.push_back (tick);

    const auto zoomed = minFrequency > 10.01f || maxFrequency < 21999.99f;
    if (! zoomed || (float) out.size() >= 0.6f * std::max (pw / tickSpacingPx, 2.0f))
        return;

    const auto span = std::log10 (maxFrequency / minFrequency);
    const auto offsetOf = [&] (float f) { return pw * std::log10 (f / minFrequency) / span; };

    for (const auto& tick : fillInTicks())
    {
        if (tick.frequency < minFrequency || tick.frequency > maxFrequency)
            continue;
        const auto x = offsetOf (tick.frequency);
        const auto crowded =
            std::any_of (out.begin(),
                         out.end(),
                         [&] (const Tick& other) { return std::abs (offsetOf (other.frequency) - x) < tickSpacingPx; });
        if (! crowded)
            out.push_back (tick);
    }
    std::sort (out.begin(), out.end(), [] (const Tick& a, const Tick& b) { return a.frequency < b.frequency; });
}

std::vector<SpectrumDisplay::Tick> SpectrumDisplay::computeTicks() const
{
    std::vector<Tick> list;
    buildTicks (list, plotWidth());
    return list;
}

juce::String SpectrumDisplay::noteName (float frequency)
{
    static const char* const names[] = { "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B" };
    if (! (frequency > 0.0f))
        return {};

    const auto m = std::round (std::log2 (frequency / 440.0f) * 12.0f + 69.0f);
    if (! (m >= 0.0f && m <= 127.0f))
        return {};

    const auto note = (int) m;
    return juce::String (names[note % 12]) + juce::String (note / 12 - 1);
}

juce::String SpectrumDisplay::hoverText() const
{
    const auto frequencyText = hoverFrequency >= 1000.0f ? juce::String (hoverFrequency / 1000.0f, 2) + " kHz"
                                                         : juce::String ((int) hoverFrequency) + " Hz";
    auto text = frequencyText + "  " + juce::String (hoverLevelDb, 1) + " dB";
    const auto note = noteName (hoverFrequency);
    if (note.isNotEmpty())
        text << "  " << note;
    return text;
}

void SpectrumDisplay::setGlassImage (const juce::Image& image)
{
    glassImage = image;
    rebuildScaledGlass();
    overlayLayer = {};
}

// Scaling the large picture on every paint is the costly part of the glass; a
// copy at the component's size drawn at opacity 1 keeps the same look.
void SpectrumDisplay::rebuildScaledGlass()
{
    scaledGlass = makeCoverImage (glassImage, getWidth(), getHeight(), juce::Image::ARGB);
}

juce::Image SpectrumDisplay::magnifierImage() const { return sharedCursor->image; }

void SpectrumDisplay::setOverZoomBar (bool over)
{
    if (over == overZoomBar)
        return;
    overZoomBar = over;
    juce::Desktop::getInstance().getMainMouseSource().forceMouseCursorUpdate();
}

void SpectrumDisplay::mouseMove (const juce::MouseEvent& e)
{
    const auto ph = plotHeight();
    hovering = isOverColumns (e.x);
    if (hovering)
    {
        hoverX = (float) e.x;
        hoverFrequency = frequencyAtColumn ((float) e.x - plotLeft);
        // A plot without height collapses onto its top line.
        const auto level = ph > 0.0f ? -(clampTo ((float) e.y - plotTop, 0.0f, ph) / ph * levelRangeDb) : 0.0f;
        hoverLevelDb = clampTo (level, -levelRangeDb, 0.0f) + 0.0f;
    }
    setOverZoomBar (isInZoomBand (e.x, e.y));
    repaint();
}

void SpectrumDisplay::mouseExit (const juce::MouseEvent&)
{
    hovering = false;
    setOverZoomBar (false);
    repaint();
}

void SpectrumDisplay::mouseDown (const juce::MouseEvent& e)
{
    if (! e.mods.isLeftButtonDown())
        return;

    const auto pw = plotWidth();
    const auto ph = plotHeight();
    if (isInZoomBand (e.x, e.y))
    {
        zoomDragging = true;
        const auto c = clampTo ((float) e.x - plotLeft, 0.0f, pw);
        dragStartX = (float) e.x;
        dragStartY = (float) e.y;
        dragStartFrequency = frequencyAtColumn (c);
        dragAnchor = pw > 0.0f ? c / pw : 0.5f;
        dragStartOctaves = std::log2 (maxFrequency / minFrequency);
        return;
    }

    // Without plot height the level under the mouse is undefined: no tone.
    if (! isOverColumns (e.x) || ! (ph > 0.0f))
        return;

    const auto f = frequencyAtColumn ((float) e.x - plotLeft);
    toneHeld = true;
    processor.toneFrequencyHz.exchange (f);
    processor.toneLevelDb.exchange (0.0f - ((float) e.y - plotTop) / ph * levelRangeDb + toneHeadroomDb);
    processor.toneActive.exchange (true);
}

void SpectrumDisplay::panAndZoom (const juce::MouseEvent& e)
{
    const auto pw = plotWidth();
    const auto dx = (float) e.x - dragStartX;
    const auto dy = (float) e.y - dragStartY;

    const auto widest = std::log2 (fullMaxFrequency / fullMinFrequency);
    const auto target = dy <= 0.0f ? narrowestOctaves : widest;
    const auto progress = clampTo (std::abs (dy) / zoomTravelPx, 0.0f, 1.0f);
    const auto octaves = dragStartOctaves + (target - dragStartOctaves) * progress;
    const auto decades = octaves * std::log10 (2.0f);

    auto lo = dragStartFrequency / std::pow (10.0f, (dx / pw + dragAnchor) * decades);
    auto hi = std::pow (10.0f, decades) * lo;
    if (lo < fullMinFrequency)
    {
        hi = hi * fullMinFrequency / lo;
        lo = fullMinFrequency;
    }
    if (hi > fullMaxFrequency)
    {
        lo = lo * fullMaxFrequency / hi;
        hi = fullMaxFrequency;
    }
    minFrequency = std::max (lo, fullMinFrequency);
    maxFrequency = hi;
}

void SpectrumDisplay::mouseDrag (const juce::MouseEvent& e)
{
    const auto pw = plotWidth();
    const auto ph = plotHeight();
    if (zoomDragging)
    {
        if (! (pw > 0.0f))
            return;
        panAndZoom (e);
        rebuildPixelFrequencies();
        repaint();
        return;
    }

    mouseMove (e);
    if (! e.mods.isLeftButtonDown() || ! toneHeld || pixelFrequencies.empty() || ! (pw >= 0.0f) || ! (ph > 0.0f))
        return;

    const auto c = clampTo ((float) e.x - plotLeft, 0.0f, pw);
    const auto r = clampTo ((float) e.y - plotTop, 0.0f, ph);
    processor.toneFrequencyHz.exchange (frequencyAtColumn (c));
    processor.toneLevelDb.exchange (0.0f - r / ph * levelRangeDb + toneHeadroomDb);
}

void SpectrumDisplay::mouseUp (const juce::MouseEvent&)
{
    if (zoomDragging)
    {
        zoomDragging = false;
        return;
    }
    toneHeld = false;
    processor.toneActive.exchange (false);
}

void SpectrumDisplay::mouseDoubleClick (const juce::MouseEvent& e)
{
    if (! e.mods.isLeftButtonDown() || ! isInZoomBand (e.x, e.y))
        return;
    minFrequency = fullMinFrequency;
    maxFrequency = fullMaxFrequency;
    rebuildPixelFrequencies();
    repaint();
}

juce::MouseCursor SpectrumDisplay::getMouseCursor()
{
    if (zoomDragging || overZoomBar)
        return sharedCursor->cursor;
    return juce::MouseCursor::CrosshairCursor;
}

void SpectrumDisplay::paintGrid (juce::Graphics& g, float pw, float ph)
{
    g.setColour (gridColour);
    for (const auto& tick : ticks)
    {
        const auto x = xOfFrequency (tick.frequency);
        g.drawLine (x, plotTop, x, plotTop + ph, 0.5f);
    }
    for (int level = 0; level >= -90; level -= 10)
    {
        const auto y = plotTop + (0.0f - (float) level) / levelRangeDb * ph;
        g.drawLine (plotLeft, y, plotLeft + pw, y, 0.5f);
    }
}

void SpectrumDisplay::paintLabels (juce::Graphics& g, float, float ph)
{
    g.setFont (labelFont);
    g.setColour (labelColour);
    for (const auto& tick : ticks)
    {
        const auto w = labelFont.getStringWidthFloat (tick.label);
        const juce::Rectangle<float> box (
            xOfFrequency (tick.frequency) - (w + 6.0f) / 2.0f, plotTop + ph + 2.0f, w + 6.0f, 14.0f);
        g.drawText (tick.label, box, juce::Justification::centred, true);
    }
    for (int i = 0; i < 9; ++i)
    {
        const auto y = plotTop + (float) (10 * (i + 1)) / levelRangeDb * ph;
        g.drawText (levelLabels()[(size_t) i],
                    juce::Rectangle<float> (2.0f, y - 5.0f, 30.0f, 12.0f),
                    juce::Justification::centredRight,
                    true);
    }
}

juce::Rectangle<float> SpectrumDisplay::hoverBox (const juce::String& text, float pw) const
{
    const auto bw = (float) ((int) std::ceil (readoutFont.getStringWidthFloat (text)) + 12);
    const auto boxX = hoverX + 6.0f + bw > plotLeft + pw ? hoverX - bw - 6.0f : hoverX + 6.0f;
    return { boxX, 12.0f, bw, 18.0f };
}

void SpectrumDisplay::paintHover (juce::Graphics& g, float pw, float ph)
{
    g.setColour (hoverLineColour);
    g.drawLine (hoverX, plotTop, hoverX, plotTop + ph, 0.8f);

    const auto text = hoverText();
    const auto box = hoverBox (text, pw);
    g.setColour (readoutFillColour);
    g.fillRoundedRectangle (box, 4.0f);
    g.setColour (readoutOutlineColour);
    g.drawRoundedRectangle (box, 4.0f, 1.0f);
    g.setFont (readoutFont);
    g.setColour (readoutTextColour);
    g.drawText (text, box.withTrimmedLeft (4.0f).withTrimmedRight (4.0f), juce::Justification::centredLeft, true);
}

// Pixels the read-out can touch, with a pixel to spare for anti-aliasing.
juce::RectangleList<int> SpectrumDisplay::hoverArea (float pw, float ph) const
{
    juce::RectangleList<int> area;
    if (! hovering)
        return area;
    const auto x = (int) std::floor (hoverX);
    area.add ({ x - 2, (int) plotTop, 5, (int) std::ceil (ph) + 1 });
    area.add (hoverBox (hoverText(), pw).getSmallestIntegerContainer().expanded (2));
    return area;
}

void SpectrumDisplay::paintBase (juce::Graphics& g, float pw, float ph)
{
    juce::Path clip;
    clip.addRoundedRectangle (getLocalBounds().toFloat(), cornerSize);
    g.reduceClipRegion (clip);
    g.fillAll (backgroundColour);
    buildTicks (ticks, pw);
    paintGrid (g, pw, ph);
}

void SpectrumDisplay::paintOverlay (juce::Graphics& g)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    g.setColour (frameColour);
    g.drawRoundedRectangle (0.5f, 0.5f, std::max (w - 1.0f, 0.0f), std::max (h - 1.0f, 0.0f), cornerSize, 1.0f);

    drawCoverImage (g, glassImage, scaledGlass, getWidth(), getHeight(), glassOpacity);
}

void SpectrumDisplay::paintDirect (juce::Graphics& g)
{
    const auto pw = plotWidth();
    const auto ph = plotHeight();
    paintBase (g, pw, ph);
    SpectrumCurveRenderer::drawSlots (g, processor, pw, ph, pixelFrequencies, maxFrequency);
    paintLabels (g, pw, ph);
    if (hovering)
        paintHover (g, pw, ph);
    paintOverlay (g);
}

bool SpectrumDisplay::LayerKey::operator== (const LayerKey& other) const
{
    return w == other.w && h == other.h && minFrequency == other.minFrequency && maxFrequency == other.maxFrequency
           && sampleRate == other.sampleRate && tableGeneration == other.tableGeneration && liveSlot == other.liveSlot;
}

// Consumes the clear requests and notes which slot is drawn live and which
// frozen peak curves changed. False when more than one slot is live at once
// (a selection change in progress): that paint draws every step directly.
bool SpectrumDisplay::collectSlots (float ph, int& liveSlot, bool& frozenChanged)
{
    liveSlot = numCurveSlots;
    frozenChanged = false;
    int liveCount = 0;
    for (int i = 0; i < numCurveSlots; ++i)
    {
        auto& slot = processor.curveSlots[(size_t) i];
        const juce::ScopedLock sl (slot.lock);
        SpectrumCurveRenderer::consumeClearRequest (slot);

        const auto drawn = SpectrumCurveRenderer::isDrawn (slot, ph);
        const auto live = drawn && slot.selected.load();
        if (live)
        {
            liveSlot = i;
            ++liveCount;
        }

        auto& frozen = frozenPeaks[(size_t) i];
        const auto frozenNow = drawn && ! live && slot.hold.load() && slot.peakCurve.size() >= 2;
        if (frozenNow && (! frozen.frozen || frozen.curveSize != slot.curve.size() || frozen.peak != slot.peakCurve))
        {
            frozen.peak = slot.peakCurve;
            frozen.curveSize = slot.curve.size();
            frozenChanged = true;
        }
        frozenChanged = frozenChanged || (frozen.frozen && ! frozenNow);
        frozen.frozen = frozenNow;
    }
    return liveCount <= 1;
}

void SpectrumDisplay::paintFrozen (juce::Graphics& g, int first, int end, float pw, float ph)
{
    const auto fs = SpectrumCurveRenderer::sampleRateOf (processor);
    for (int i = first; i < end; ++i)
    {
        const auto& frozen = frozenPeaks[(size_t) i];
        if (! frozen.frozen)
            continue;
        const auto binHz = fs / (2.0f * (float) frozen.curveSize);
        SpectrumCurveRenderer::drawPeak (
            g, frozen.peak, binHz, slotColours[(size_t) i], pw, ph, pixelFrequencies, maxFrequency);
    }
}

// Labels lie outside the plot, so drawing them together with the background
// under the curves gives the same picture.
bool SpectrumDisplay::refreshLayers (int liveSlot, bool frozenChanged)
{
    const LayerKey key {
        getWidth(),      getHeight(), minFrequency, maxFrequency, SpectrumCurveRenderer::sampleRateOf (processor),
        tableGeneration, liveSlot
    };
    const auto overlayChanged = refreshOverlayLayer();
    const auto layersChanged = frozenChanged || ! (key == layerKey) || ! (layerFont == labelFont);
    if (! layersChanged && ! overlayChanged)
        return false;

    const auto pw = plotWidth();
    const auto ph = plotHeight();
    if (layersChanged)
    {
        layerKey = key;
        layerFont = labelFont;

        baseLayer = juce::Image (juce::Image::ARGB, getWidth(), getHeight(), true);
        juce::Graphics base (baseLayer);
        paintBase (base, pw, ph);
        paintFrozen (base, 0, liveSlot, pw, ph);
        paintLabels (base, pw, ph);

        hasAboveLayer = false;
        for (int i = liveSlot + 1; i < numCurveSlots; ++i)
            hasAboveLayer = hasAboveLayer || frozenPeaks[(size_t) i].frozen;
        aboveLayer = {};
        if (hasAboveLayer)
        {
            aboveLayer = juce::Image (juce::Image::ARGB, getWidth(), getHeight(), true);
            juce::Graphics above (aboveLayer);
            paintFrozen (above, liveSlot + 1, numCurveSlots, pw, ph);
        }
    }

    // Without a read-out in between, the higher peaks and the glass blend as one.
    overlayAboveLayer = overlayLayer;
    if (hasAboveLayer)
    {
        overlayAboveLayer = aboveLayer.createCopy();
        juce::Graphics g (overlayAboveLayer);
        g.drawImageAt (overlayLayer, 0, 0);
    }

    opaqueCopiesStale = true;
    return true;
}

// An opaque copy is drawn by plain copying instead of blending. It is only
// used between the rounded corners, where the background covers every pixel.
void SpectrumDisplay::refreshOpaqueCopies (int liveSlot)
{
    opaqueCopiesStale = false;
    const auto stacked = [] (const juce::Image& under, const juce::Image& over)
    {
        auto image = under.createCopy();
        juce::Graphics g (image);
        g.drawImageAt (over, 0, 0);
        return image;
    };
    plainBase = stacked (juce::Image (juce::Image::RGB, getWidth(), getHeight(), true), baseLayer);
    plainComposite = stacked (plainBase, overlayAboveLayer);
    filledBase = {};
    filledComposite = {};
    if (liveSlot >= numCurveSlots)
        return;

    const auto ph = plotHeight();
    filledBase = plainBase.createCopy();
    {
        juce::Graphics g (filledBase);
        g.setGradientFill (SpectrumCurveRenderer::fillGradient (slotColours[(size_t) liveSlot], ph));
        g.fillRect (juce::Rectangle<float> (plotLeft, plotTop, plotWidth(), ph));
    }
    filledComposite = stacked (filledBase, overlayAboveLayer);
}

// Frame and glass composited once: blending the pair equals blending each.
bool SpectrumDisplay::refreshOverlayLayer()
{
    if (overlayLayer.getWidth() == getWidth() && overlayLayer.getHeight() == getHeight())
        return false;

    overlayLayer = juce::Image (juce::Image::ARGB, getWidth(), getHeight(), true);
    juce::Graphics g (overlayLayer);
    juce::Path clip;
    clip.addRoundedRectangle (getLocalBounds().toFloat(), cornerSize);
    g.reduceClipRegion (clip);
    paintOverlay (g);
    return true;
}

bool SpectrumDisplay::tableFitsPlot (float pw) const
{
    return pw == std::floor (pw) && pixelFrequencies.size() == (size_t) pw + 1;
}

void SpectrumDisplay::buildLiveRows (const CurveSlot& slot, float pw, float ph)
{
    const auto binHz = SpectrumCurveRenderer::sampleRateOf (processor) / (2.0f * (float) slot.curve.size());
    SpectrumCurveRenderer::buildRows (slot.curve, binHz, pw, ph, pixelFrequencies, maxFrequency, liveRows);
    peakRows.clear();
    // The peak curve may lag the live one in size for a moment.
    if (slot.hold.load() && slot.peakCurve.size() >= 2)
        SpectrumCurveRenderer::buildRows (slot.peakCurve, binHz, pw, ph, pixelFrequencies, maxFrequency, peakRows);
}

namespace
{
// Row by row rather than rectangle by rectangle: the rectangles are narrow
// tiles, and walking memory along the rows keeps the caches fed.
template <typename SpanFunction>
void forEachRowSpan (const juce::RectangleList<int>& rects, SpanFunction&& span)
{
    const auto bounds = rects.getBounds();
    for (int y = bounds.getY(); y < bounds.getBottom(); ++y)
        for (const auto& r : rects)
            if (y >= r.getY() && y < r.getBottom())
                span (y, r.getX(), r.getWidth());
}

// Rectangles copied between two software images of one size and format.
void copyRects (const juce::Image& from, juce::Image& to, const juce::RectangleList<int>& rects)
{
    jassert (from.getFormat() == to.getFormat() && from.getBounds() == to.getBounds());
    const juce::Image::BitmapData src (from, juce::Image::BitmapData::readOnly);
    juce::Image::BitmapData dst (to, juce::Image::BitmapData::readWrite);
    forEachRowSpan (
        rects,
        [&] (int y, int x, int w)
        { std::memcpy (dst.getPixelPointer (x, y), src.getPixelPointer (x, y), (size_t) (w * dst.pixelStride)); });
}

// PixelRGB::blend of a PixelARGB, written on the bytes so that the compiler
// keeps the pixel in registers.
void blendRow (const juce::uint8* over, juce::uint8* under, int width)
{
    using Src = juce::PixelARGB;
    using Dst = juce::PixelRGB;
    const auto mix = [] (juce::uint32 top, juce::uint32 bottom, juce::uint32 inverse)
    { return (juce::uint8) std::min (255u, top + ((bottom * inverse) >> 8)); };
    for (int i = 0; i < width; ++i, over += sizeof (Src), under += sizeof (Dst))
    {
        const auto inverse = 256u - over[Src::indexA];
        under[Dst::indexR] = mix (over[Src::indexR], under[Dst::indexR], inverse);
        under[Dst::indexG] = mix (over[Src::indexG], under[Dst::indexG], inverse);
        under[Dst::indexB] = mix (over[Src::indexB], under[Dst::indexB], inverse);
    }
}

// Blends a transparent layer over an opaque picture, pixel by pixel as the
// renderer blends an image drawn at full opacity.
void blendRects (const juce::Image& layer, juce::Image& to, const juce::RectangleList<int>& rects)
{
    jassert (layer.getFormat() == juce::Image::ARGB && to.getFormat() == juce::Image::RGB);
    jassert (layer.getBounds() == to.getBounds());
    const juce::Image::BitmapData src (layer, juce::Image::BitmapData::readOnly);
    juce::Image::BitmapData dst (to, juce::Image::BitmapData::readWrite);
    jassert (src.pixelStride == (int) sizeof (juce::PixelARGB) && dst.pixelStride == (int) sizeof (juce::PixelRGB));
    forEachRowSpan (
        rects, [&] (int y, int x, int w) { blendRow (src.getPixelPointer (x, y), dst.getPixelPointer (x, y), w); });
}
} // namespace

void SpectrumDisplay::buildLivePaths (float pw)
{
    fillArea.clear();
    livePath.clear();
    peakPath.clear();
    if (! liveRows.empty())
    {
        SpectrumCurveRenderer::pathThroughRows (liveRows, fillArea);
        regions.closeFill (fillArea, plotLeft + pw);
        SpectrumCurveRenderer::pathThroughRows (liveRows, livePath);
    }
    SpectrumCurveRenderer::pathThroughRows (peakRows, peakPath);
}

void SpectrumDisplay::drawLivePaths (juce::Graphics& g, int liveSlot, float ph) const
{
    const auto colour = slotColours[(size_t) liveSlot];
    if (! fillArea.isEmpty())
    {
        g.setGradientFill (SpectrumCurveRenderer::fillGradient (colour, ph));
        g.fillPath (fillArea);
        SpectrumCurveRenderer::strokeLive (g, livePath, colour);
    }
    if (! peakPath.isEmpty())
        SpectrumCurveRenderer::strokePeak (g, peakPath, colour);
}

// Everything drawn over the curves, blended again only where they changed.
// Away from the read-out the layers above the live slot blend as one.
void SpectrumDisplay::layerAbove (juce::Graphics& canvas, float pw, float ph)
{
    if (! hovering)
    {
        blendRects (overlayAboveLayer, composed, regions.redrawn);
        return;
    }
    auto readout = hoverRects;
    readout.clipTo (composed.getBounds());
    auto rest = regions.redrawn;
    rest.subtract (readout);
    blendRects (overlayAboveLayer, composed, rest);

    if (hasAboveLayer)
        blendRects (aboveLayer, composed, readout);
    {
        const juce::Graphics::ScopedSaveState saved (canvas);
        if (canvas.reduceClipRegion (readout))
            paintHover (canvas, pw, ph);
    }
    blendRects (overlayLayer, composed, readout);
}

// The rows of the rounded corners keep their transparency: they are blended
// layer by layer, as the direct paint draws them.
void SpectrumDisplay::paintCornerRows (juce::Graphics& g, juce::Rectangle<int> rows, int liveSlot, float ph) const
{
    const juce::Graphics::ScopedSaveState saved (g);
    if (! g.reduceClipRegion (rows))
        return;
    g.setOpacity (1.0f);
    g.drawImageAt (baseLayer, 0, 0);
    if (liveSlot < numCurveSlots && regions.redrawn.intersects (rows))
        drawLivePaths (g, liveSlot, ph);
    g.setOpacity (1.0f);
    g.drawImageAt (overlayAboveLayer, 0, 0);
}

// Between the corner rows the frame is put together in an opaque picture of
// our own: cached pictures are copied in, and only the pixels the live curves
// and the read-out touch are drawn and blended again.
void SpectrumDisplay::composeFrame (juce::Graphics& g, int liveSlot, float pw, float ph)
{
    const auto w = getWidth();
    const auto h = getHeight();
    regions.compute ({ w, h, (int) plotLeft, (int) (plotTop + ph) }, liveRows, peakRows, hoverRects);
    buildLivePaths (pw);

    if (composed.getWidth() != w || composed.getHeight() != h)
        composed = juce::Image (juce::Image::RGB, w, h, false);
    copyRects (plainComposite, composed, juce::RectangleList<int> (composed.getBounds()));
    if (filledComposite.isValid())
    {
        copyRects (filledComposite, composed, regions.filled);
        copyRects (filledBase, composed, regions.redrawnFilled);
    }
    auto plain = regions.redrawn;
    plain.subtract (regions.redrawnFilled);
    copyRects (plainBase, composed, plain);
    {
        juce::Graphics canvas (composed);
        if (liveSlot < numCurveSlots)
            drawLivePaths (canvas, liveSlot, ph);
        layerAbove (canvas, pw, ph);
    }

    const auto edge = (int) cornerSize;
    g.setOpacity (1.0f);
    g.drawImage (composed, 0, edge, w, h - 2 * edge, 0, edge, w, h - 2 * edge);
    paintCornerRows (g, { 0, 0, w, edge }, liveSlot, ph);
    paintCornerRows (g, { 0, h - edge, w, edge }, liveSlot, ph);
}

void SpectrumDisplay::paint (juce::Graphics& g)
{
    const auto pw = plotWidth();
    const auto ph = plotHeight();
    int liveSlot = numCurveSlots;
    bool frozenChanged = false;
    if (! cacheLayers || getWidth() <= 45 || getHeight() <= 40 || ! tableFitsPlot (pw)
        || ! collectSlots (ph, liveSlot, frozenChanged))
    {
        paintDirect (g);
        return;
    }

    // While the layers change from one paint to the next (a zoom drag), the
    // opaque copies would cost more than they save. A scaled context (a HiDPI
    // screen) gets its live curves drawn at its own resolution.
    const auto layersChanged = refreshLayers (liveSlot, frozenChanged);
    if (layersChanged || std::abs (g.getInternalContext().getPhysicalPixelScaleFactor() - 1.0f) > 1.0e-3f)
    {
        paintLayered (g, liveSlot, pw, ph);
        return;
    }
    if (opaqueCopiesStale)
        refreshOpaqueCopies (liveSlot);

    hoverRects = hoverArea (pw, ph);
    liveRows.clear();
    peakRows.clear();
    if (liveSlot < numCurveSlots)
    {
        // The frame is composed from these rows alone, so the analysis thread
        // waits on the slot only while they are read.
        const auto& slot = processor.curveSlots[(size_t) liveSlot];
        const juce::ScopedLock sl (slot.lock);
        buildLiveRows (slot, pw, ph);
    }
    composeFrame (g, liveSlot, pw, ph);
}

void SpectrumDisplay::paintLayered (juce::Graphics& g, int liveSlot, float pw, float ph)
{
    g.setOpacity (1.0f);
    g.drawImageAt (baseLayer, 0, 0);
    if (liveSlot < numCurveSlots)
    {
        const auto& slot = processor.curveSlots[(size_t) liveSlot];
        const juce::ScopedLock sl (slot.lock);
        SpectrumCurveRenderer::drawSlot (
            g, slot, liveSlot, SpectrumCurveRenderer::sampleRateOf (processor), pw, ph, pixelFrequencies, maxFrequency);
    }

    // Images are blended with the alpha of the current colour, which the
    // curves left below 1.
    g.setOpacity (1.0f);
    if (! hovering)
    {
        g.drawImageAt (overlayAboveLayer, 0, 0);
        return;
    }
    if (hasAboveLayer)
        g.drawImageAt (aboveLayer, 0, 0);
    paintHover (g, pw, ph);
    g.setOpacity (1.0f);
    g.drawImageAt (overlayLayer, 0, 0);
}

void SpectrumDisplay::resized()
{
    rebuildPixelFrequencies();
    rebuildScaledGlass();
}
