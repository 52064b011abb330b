#include "editor/CurveStrip.h"

#include "processor/OrvalenProcessor.h"

namespace
{
juce::uint8 lighter (juce::uint8 x, float keep) { return (juce::uint8) (255.0f - (255.0f - (float) x) * keep); }
juce::uint8 darker (juce::uint8 x, float keep) { return (juce::uint8) ((float) x * keep); }

bool keyHit (juce::Rectangle<float> r, juce::Point<float> p)
{
    return r.getX() <= p.x && p.x < r.getRight() && r.getY() <= p.y && p.y < r.getBottom();
}

bool validSlot (int index) { return index >= 0 && index < numCurveSlots; }
} // namespace

CurveStrip::CurveStrip (OrvalenProcessor& p, int index)
    : processor (p)
    , slotIndex (index)
    , litKey (keyFor (index))
{
}

CurveStrip::~CurveStrip() = default;

EngravedKey CurveStrip::keyFor (int index)
{
    EngravedKey key;
    for (int i = 1; i <= 5; ++i)
        key.rings.emplace_back ((float) i, 0.35f / (float) i);

    if (! validSlot (index) || index == 0)
    {
        key.glow = juce::Colour (0xFF00A2FF);
        key.top = juce::Colour (0xFF3399FF);
        key.bottom = juce::Colour (0xFF003399);
        key.highlight = juce::Colour (0x8088CCFF);
    }
    else
    {
        const auto c = slotColours[(size_t) index];
        key.glow = c;
        key.top = juce::Colour (lighter (c.getRed(), 0.8333333f),
                                lighter (c.getGreen(), 0.8333333f),
                                lighter (c.getBlue(), 0.8333333f),
                                c.getAlpha());
        key.bottom = juce::Colour (darker (c.getRed(), 0.71428573f),
                                   darker (c.getGreen(), 0.71428573f),
                                   darker (c.getBlue(), 0.71428573f),
                                   c.getAlpha());
        key.highlight = juce::Colour (lighter (c.getRed(), 0.5555556f),
                                      lighter (c.getGreen(), 0.5555556f),
                                      lighter (c.getBlue(), 0.5555556f),
                                      (juce::uint8) 0x80);
    }
    key.textDiagonal = key.glow.withAlpha ((juce::uint8) 0x4C);
    key.textStraight = key.glow.withAlpha ((juce::uint8) 0x99);
    return key;
}

void CurveStrip::resized()
{
    const float w = (float) getWidth(), h = (float) getHeight();
    const float kh = h * 0.735f * 1.25f;
    const float y = (h - kh) * 0.5f;
    const float kw = ((w - 2.0f) - (w * 0.22f + 4.0f) - 9.0f) * 0.25f;

    selBounds = { 2.0f, y, kw, kh };
    onBounds = selBounds.withX (2.0f + (kw + 3.0f));
    holdBounds = selBounds.withX (2.0f + 2.0f * (kw + 3.0f));
    clrBounds = selBounds.withX (2.0f + 3.0f * (kw + 3.0f));

    for (auto& images : keyImages)
        images[0] = images[1] = juce::Image();
}

void CurveStrip::paint (juce::Graphics& g)
{
    if (! validSlot (slotIndex))
        return;

    auto& slot = processor.curveSlots[(size_t) slotIndex];
    const bool selLit = processor.selectedSlot.load() == slotIndex;
    const bool onLit = slot.visible.load();

    const auto caption = "Curva " + juce::String (slotIndex + 1);
    const float tw = captionFont.getStringWidthFloat (caption);
    g.setFont (captionFont);
    g.setColour (juce::Colour (0xFF8892A0));
    g.drawText (caption,
                juce::Rectangle<float> ((float) getWidth() - tw, 0.0f, tw, (float) getHeight()),
                juce::Justification::centred,
                true);

    if (cachedButtonFont != buttonFont)
    {
        cachedButtonFont = buttonFont;
        for (auto& images : keyImages)
            images[0] = images[1] = juce::Image();
    }

    blitKey (g, 0, selLit);
    blitKey (g, 1, onLit);
    blitKey (g, 2, slot.hold.load());
    blitKey (g, 3, clrPressed);
}

void CurveStrip::blitKey (juce::Graphics& g, int key, bool lit)
{
    static const char* const texts[] = { "SEL", "ON", "HOLD", "CLR" };
    const juce::Rectangle<float> bounds[] = { selBounds, onBounds, holdBounds, clrBounds };
    auto& image = keyImages[key][lit ? 1 : 0];

    if (! image.isValid())
    {
        // Room for the outermost glow ring and its anti-aliased edge; drawn
        // at the key's own sub-pixel position so the copy blits 1:1.
        const auto area = bounds[key].expanded (5.0f).getSmallestIntegerContainer();
        keyAreas[key] = area;
        if (area.isEmpty())
            return;
        image = juce::Image (juce::Image::ARGB, area.getWidth(), area.getHeight(), true);
        juce::Graphics ig (image);
        ig.addTransform (juce::AffineTransform::translation ((float) -area.getX(), (float) -area.getY()));
        drawKey (ig, bounds[key], texts[key], lit);
    }
    g.drawImageAt (image, keyAreas[key].getX(), keyAreas[key].getY());
}

void CurveStrip::drawKey (juce::Graphics& g, juce::Rectangle<float> r, const juce::String& text, bool lit)
{
    const juce::Rectangle<float> body (r.getX() + 2.0f,
                                       r.getY() + 2.0f,
                                       juce::jmax (0.0f, r.getWidth() - 4.0f),
                                       juce::jmax (0.0f, r.getHeight() - 4.0f));
    if (lit)
        litKey.drawLitBody (g, body);
    else
        EngravedKey::drawUnlitBody (g, body, 0.0f, juce::jmax (0.0f, r.getHeight() - 4.0f));

    g.setFont (buttonFont);
    litKey.drawText (g, text, body, lit);
}

void CurveStrip::pressSel()
{
    processor.selectedSlot.exchange (slotIndex);
    for (int k = 0; k < numCurveSlots; ++k)
        processor.curveSlots[(size_t) k].selected.exchange (k == slotIndex);
}

void CurveStrip::pressOn()
{
    auto& visible = processor.curveSlots[(size_t) slotIndex].visible;
    visible.exchange (! visible.load());
}

void CurveStrip::pressHold()
{
    auto& slot = processor.curveSlots[(size_t) slotIndex];
    const bool wasHeld = slot.hold.load();
    if (! wasHeld)
    {
        // Start the held curve empty, without racing the analysis thread's update.
        const juce::ScopedLock guard (slot.lock);
        std::fill (slot.peakCurve.begin(), slot.peakCurve.end(), -150.0f);
    }
    slot.hold.exchange (! wasHeld);
}

void CurveStrip::mouseDown (const juce::MouseEvent& event)
{
    if (! validSlot (slotIndex))
        return;

    const juce::Point<float> p ((float) event.x, (float) event.y);
    if (keyHit (selBounds, p))
        pressSel();
    else if (keyHit (onBounds, p))
        pressOn();
    else if (keyHit (holdBounds, p))
        pressHold();
    else if (keyHit (clrBounds, p))
        clrPressed = true;
    repaint();
}

void CurveStrip::mouseUp (const juce::MouseEvent&)
{
    if (! clrPressed)
        return;

    clrPressed = false;
    auto& slot = processor.curveSlots[(size_t) slotIndex];
    slot.clearRequest.exchange (true);
    slot.scopeClearRequest.exchange (true);
    repaint();
}
