#include "ArtCommon.h"
#include "ArtPictures.h"

namespace
{
constexpr int panelWidth = 1500, panelHeight = 1088;
const juce::Colour silkScreen (0xFFE2E6EC);

juce::Font labelFont (float height, bool bold = true)
{
    return juce::Font (juce::Font::getDefaultSansSerifFontName(), height, bold ? juce::Font::bold : juce::Font::plain);
}

void silkText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area, float height, bool bold = true)
{
    g.setFont (labelFont (height, bold));
    g.setColour (silkScreen);
    g.drawText (text, area, juce::Justification::centred, false);
}

juce::ColourGradient chrome (juce::Rectangle<float> r)
{
    juce::ColourGradient grad (
        juce::Colour (0xFFF0F2F5), r.getX(), r.getY(), juce::Colour (0xFF5C626C), r.getRight(), r.getBottom(), false);
    grad.addColour (0.5, juce::Colour (0xFFAEB4BD));
    return grad;
}

void drawXlrSocket (juce::Graphics& g, juce::Point<float> c, float r)
{
    const auto outer = juce::Rectangle<float> (r * 2.0f, r * 2.0f).withCentre (c);
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillEllipse (outer.expanded (r * 0.12f).translated (0.0f, r * 0.06f));
    g.setGradientFill (chrome (outer));
    g.fillEllipse (outer);
    g.setColour (juce::Colour (0xFF202226));
    g.drawEllipse (outer, 2.0f);

    const auto face = outer.reduced (r * 0.2f);
    juce::ColourGradient dark (
        juce::Colour (0xFF0E0F11), c.x, face.getY(), juce::Colour (0xFF2A2C31), c.x, face.getBottom(), false);
    g.setGradientFill (dark);
    g.fillEllipse (face);

    const float pinR = r * 0.1f;
    const juce::Point<float> pins[] = { { c.x - r * 0.36f, c.y - r * 0.12f },
                                        { c.x + r * 0.36f, c.y - r * 0.12f },
                                        { c.x, c.y + r * 0.38f } };
    for (auto p : pins)
    {
        g.setColour (juce::Colour (0xFF000000));
        g.fillEllipse (juce::Rectangle<float> (pinR * 2.0f, pinR * 2.0f).withCentre (p));
        g.setColour (juce::Colour (0xFFC9A24A));
        g.drawEllipse (juce::Rectangle<float> (pinR * 2.0f, pinR * 2.0f).withCentre (p), 2.0f);
    }

    const auto latch = juce::Rectangle<float> (r * 0.42f, r * 0.22f).withCentre ({ c.x, outer.getY() - r * 0.2f });
    g.setGradientFill (chrome (latch));
    g.fillRoundedRectangle (latch, r * 0.05f);
    silkText (g, "PUSH", latch.withSizeKeepingCentre (r * 1.2f, r * 0.3f).translated (0.0f, -r * 0.3f), r * 0.2f);
}

void drawIecInlet (juce::Graphics& g, juce::Rectangle<float> r)
{
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillRoundedRectangle (r.expanded (6.0f).translated (0.0f, 4.0f), 10.0f);
    g.setColour (juce::Colour (0xFF16171A));
    g.fillRoundedRectangle (r, 8.0f);
    juce::Path socket;
    const auto in = r.reduced (r.getWidth() * 0.16f, r.getHeight() * 0.18f);
    socket.startNewSubPath (in.getX(), in.getY());
    socket.lineTo (in.getRight(), in.getY());
    socket.lineTo (in.getRight(), in.getBottom() - in.getHeight() * 0.3f);
    socket.lineTo (in.getRight() - in.getWidth() * 0.2f, in.getBottom());
    socket.lineTo (in.getX() + in.getWidth() * 0.2f, in.getBottom());
    socket.lineTo (in.getX(), in.getBottom() - in.getHeight() * 0.3f);
    socket.closeSubPath();
    g.setColour (juce::Colour (0xFF050506));
    g.fillPath (socket);
    g.setColour (juce::Colour (0xFF3A3D44));
    g.strokePath (socket, juce::PathStrokeType (2.0f));
    const float pinW = in.getWidth() * 0.09f, pinH = in.getHeight() * 0.34f;
    for (float fx : { 0.25f, 0.5f, 0.75f })
    {
        const float dy = fx == 0.5f ? -in.getHeight() * 0.14f : in.getHeight() * 0.12f;
        g.setColour (juce::Colour (0xFFB8BDC4));
        g.fillRect (
            juce::Rectangle<float> (pinW, pinH).withCentre ({ in.getX() + in.getWidth() * fx, in.getCentreY() + dy }));
    }
}

void drawRockerSwitch (juce::Graphics& g, juce::Rectangle<float> r)
{
    g.setColour (juce::Colour (0xFF0C0D0F));
    g.fillRoundedRectangle (r.expanded (6.0f), 6.0f);
    juce::ColourGradient rocker (
        juce::Colour (0xFF3C3F46), r.getX(), r.getY(), juce::Colour (0xFF15161A), r.getX(), r.getBottom(), false);
    g.setGradientFill (rocker);
    g.fillRoundedRectangle (r, 4.0f);
    g.setColour (silkScreen);
    g.fillRect (juce::Rectangle<float> (4.0f, r.getHeight() * 0.22f)
                    .withCentre ({ r.getCentreX(), r.getY() + r.getHeight() * 0.25f }));
    g.drawEllipse (juce::Rectangle<float> (r.getWidth() * 0.32f, r.getWidth() * 0.32f)
                       .withCentre ({ r.getCentreX(), r.getY() + r.getHeight() * 0.74f }),
                   3.0f);
}

void drawUsbPort (juce::Graphics& g, juce::Rectangle<float> r)
{
    g.setGradientFill (chrome (r));
    g.fillRoundedRectangle (r, 5.0f);
    g.setColour (juce::Colour (0xFF08090A));
    g.fillRoundedRectangle (r.reduced (5.0f), 3.0f);
    g.setColour (juce::Colour (0xFFE8E8E8));
    g.fillRect (r.reduced (r.getWidth() * 0.3f, r.getHeight() * 0.32f));
}

void drawVents (juce::Graphics& g, juce::Rectangle<float> area, int count)
{
    const float slotW = 20.0f, gap = (area.getWidth() - slotW * (float) count) / (float) (count - 1);
    for (int i = 0; i < count; ++i)
    {
        const auto slot =
            juce::Rectangle<float> (area.getX() + (float) i * (slotW + gap), area.getY(), slotW, area.getHeight());
        g.setColour (juce::Colours::white.withAlpha (0.12f));
        g.fillRoundedRectangle (slot.translated (0.0f, 2.0f), slotW * 0.5f);
        g.setColour (juce::Colour (0xFF050607));
        g.fillRoundedRectangle (slot, slotW * 0.5f);
    }
}

void drawNameplate (juce::Graphics& g, juce::Rectangle<float> plate, juce::Typeface::Ptr face)
{
    g.setColour (juce::Colours::black.withAlpha (0.55f));
    g.fillRoundedRectangle (plate.expanded (4.0f).translated (0.0f, 6.0f), 16.0f);

    juce::Image metal (juce::Image::RGB, (int) plate.getWidth(), (int) plate.getHeight(), false);
    art::fillBrushedMetal (metal, juce::Colour (0xFFB4BAC3), 0.05f, 0.05f, 771);
    juce::Path shape;
    shape.addRoundedRectangle (plate, 14.0f);
    g.saveState();
    g.reduceClipRegion (shape);
    g.drawImageAt (metal, (int) plate.getX(), (int) plate.getY());
    juce::ColourGradient sheen (juce::Colours::white.withAlpha (0.3f),
                                plate.getX(),
                                plate.getY(),
                                juce::Colours::black.withAlpha (0.15f),
                                plate.getRight(),
                                plate.getBottom(),
                                false);
    g.setGradientFill (sheen);
    g.fillRect (plate);
    g.restoreState();
    g.setColour (juce::Colour (0xFF5A6069));
    g.strokePath (shape, juce::PathStrokeType (3.0f));

    for (auto corner : { plate.getTopLeft(), plate.getTopRight(), plate.getBottomLeft(), plate.getBottomRight() })
    {
        const auto centre = corner
                            + juce::Point<float> (corner.x < plate.getCentreX() ? 30.0f : -30.0f,
                                                  corner.y < plate.getCentreY() ? 30.0f : -30.0f);
        art::drawScrew (g, centre, 11.0f, 0.4f);
    }

    const juce::Colour ink (0xFF1A1C20);
    juce::Font title = face != nullptr ? juce::Font (face) : labelFont (10.0f);
    auto big = title.withHeight (112.0f).withExtraKerningFactor (0.04f);
    const float fit = plate.getWidth() - 150.0f;
    if (big.getStringWidthFloat ("KLV Lumaspan") > fit)
        big = big.withHeight (112.0f * fit / big.getStringWidthFloat ("KLV Lumaspan"));
    g.setFont (big);
    art::drawEngravedText (g,
                           "KLV Lumaspan",
                           { plate.getX(), plate.getY() + 40.0f, plate.getWidth(), 120.0f },
                           juce::Justification::centred,
                           ink,
                           2.0f);

    g.setFont (labelFont (27.0f, false));
    art::drawEngravedText (g,
                           juce::String::fromUTF8 ("Analizador de espectro estéreo  \xc2\xb7  Medidor de sonoridad"),
                           { plate.getX(), plate.getY() + 160.0f, plate.getWidth(), 40.0f },
                           juce::Justification::centred,
                           ink.withAlpha (0.85f),
                           1.0f);

    g.setColour (ink.withAlpha (0.5f));
    g.fillRect (plate.getX() + 70.0f, plate.getY() + 218.0f, plate.getWidth() - 140.0f, 2.0f);

    g.setFont (title.withHeight (60.0f).withExtraKerningFactor (0.08f));
    art::drawEngravedText (g,
                           "Orvalen",
                           { plate.getX() + 70.0f, plate.getY() + 240.0f, 360.0f, 70.0f },
                           juce::Justification::centredLeft,
                           ink,
                           1.5f);
    g.setFont (labelFont (26.0f));
    art::drawEngravedText (g,
                           juce::String::fromUTF8 ("Versión 1.0.0"),
                           { plate.getRight() - 430.0f, plate.getY() + 236.0f, 360.0f, 40.0f },
                           juce::Justification::centredRight,
                           ink,
                           1.0f);
    g.setFont (labelFont (22.0f, false));
    art::drawEngravedText (g,
                           juce::String::fromUTF8 ("N.\xc2\xba de serie  LS-100-00142"),
                           { plate.getRight() - 430.0f, plate.getY() + 274.0f, 360.0f, 36.0f },
                           juce::Justification::centredRight,
                           ink.withAlpha (0.85f),
                           1.0f);
}

void drawGroupCaption (juce::Graphics& g, const juce::String& text, float left, float right, float y)
{
    silkText (g, text, { left, y - 20.0f, right - left, 40.0f }, 30.0f);
    const float textW = labelFont (30.0f).getStringWidthFloat (text) + 30.0f;
    const float mid = (left + right) * 0.5f;
    g.setColour (silkScreen);
    g.fillRect (left, y, mid - textW * 0.5f - left, 3.0f);
    g.fillRect (mid + textW * 0.5f, y, right - mid - textW * 0.5f, 3.0f);
    g.fillRect (left, y, 3.0f, 22.0f);
    g.fillRect (right - 3.0f, y, 3.0f, 22.0f);
}
} // namespace

juce::Image drawRearPanel (juce::Typeface::Ptr displayFace)
{
    juce::Image image (juce::Image::RGB, panelWidth, panelHeight, false);
    art::fillBrushedMetal (image, juce::Colour (0xFF2C2F36), 0.07f, 0.06f, 1088);
    juce::Graphics g (image);

    juce::ColourGradient light (juce::Colours::white.withAlpha (0.06f),
                                0.0f,
                                0.0f,
                                juce::Colours::black.withAlpha (0.25f),
                                0.0f,
                                (float) panelHeight,
                                false);
    g.setGradientFill (light);
    g.fillAll();

    // The chassis lips above and below the panel.
    for (auto lip : { juce::Rectangle<float> (0.0f, 0.0f, (float) panelWidth, 34.0f),
                      juce::Rectangle<float> (0.0f, (float) panelHeight - 34.0f, (float) panelWidth, 34.0f) })
    {
        juce::ColourGradient lipFill (
            juce::Colour (0xFF14161A), 0.0f, lip.getY(), juce::Colour (0xFF24272D), 0.0f, lip.getBottom(), false);
        g.setGradientFill (lipFill);
        g.fillRect (lip);
    }
    g.setColour (juce::Colours::white.withAlpha (0.1f));
    g.fillRect (0.0f, 34.0f, (float) panelWidth, 2.0f);
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillRect (0.0f, (float) panelHeight - 36.0f, (float) panelWidth, 2.0f);

    for (auto p : { juce::Point<float> (62.0f, 92.0f), { 1438.0f, 92.0f }, { 62.0f, 996.0f }, { 1438.0f, 996.0f } })
        art::drawScrew (g, p, 20.0f, 0.7f);

    drawNameplate (g, { 140.0f, 110.0f, 800.0f, 350.0f }, displayFace);
    drawVents (g, { 1020.0f, 120.0f, 350.0f, 330.0f }, 9);

    const float row = 700.0f;
    drawGroupCaption (g, "ENTRADA", 130.0f, 540.0f, 560.0f);
    drawGroupCaption (g, "SALIDA", 590.0f, 1000.0f, 560.0f);
    const std::pair<float, const char*> sockets[] = {
        { 230.0f, "L" }, { 440.0f, "R" }, { 690.0f, "L" }, { 900.0f, "R" }
    };
    for (const auto& [x, name] : sockets)
    {
        drawXlrSocket (g, { x, row }, 72.0f);
        silkText (g, name, { x - 40.0f, row + 86.0f, 80.0f, 44.0f }, 36.0f);
    }
    silkText (g, "BALANCEADA  +4 dBu", { 130.0f, row + 134.0f, 410.0f, 30.0f }, 20.0f, false);
    silkText (g, "BALANCEADA  +4 dBu", { 590.0f, row + 134.0f, 410.0f, 30.0f }, 20.0f, false);

    drawUsbPort (g, { 1050.0f, row - 26.0f, 56.0f, 52.0f });
    silkText (g, "USB", { 1028.0f, row + 50.0f, 100.0f, 36.0f }, 26.0f);

    drawGroupCaption (g, juce::String::fromUTF8 ("ALIMENTACIÓN"), 1160.0f, 1420.0f, 560.0f);
    drawIecInlet (g, { 1180.0f, row - 55.0f, 120.0f, 110.0f });
    drawRockerSwitch (g, { 1340.0f, row - 50.0f, 56.0f, 100.0f });
    silkText (g,
              juce::String::fromUTF8 ("100–240 V ~ 50/60 Hz  15 W"),
              { 1150.0f, row + 86.0f, 280.0f, 30.0f },
              19.0f,
              false);
    silkText (g, "T 500 mA L 250 V", { 1150.0f, row + 116.0f, 280.0f, 30.0f }, 19.0f, false);

    g.setColour (silkScreen.withAlpha (0.8f));
    g.drawRoundedRectangle ({ 290.0f, 930.0f, 920.0f, 44.0f }, 6.0f, 2.0f);
    silkText (g,
              juce::String::fromUTF8 ("PRECAUCIÓN: RIESGO DE DESCARGA ELÉCTRICA. NO ABRIR."),
              { 290.0f, 930.0f, 920.0f, 44.0f },
              22.0f);
    silkText (g,
              juce::String::fromUTF8 ("Diseñado y fabricado por Orvalen"),
              { 290.0f, 990.0f, 920.0f, 30.0f },
              18.0f,
              false);
    return image;
}
