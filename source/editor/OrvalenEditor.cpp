#include "editor/OrvalenEditor.h"

#include "BinaryData.h"
#include "editor/CoverImage.h"
#include "editor/CurveStrip.h"
#include "editor/ParamStrip.h"
#include "editor/ReadoutBar.h"
#include "editor/ResolutionSwitch.h"
#include "editor/SpectrumDisplay.h"
#include "editor/StereoScope.h"
#include "processor/OrvalenProcessor.h"

namespace
{
constexpr int baseWidth = 800, baseHeight = 580;
constexpr int maxWidth = 1200, maxHeight = 870;
// The display and the scope round their corners with this radius.
constexpr int opaqueChildCorner = 8;

int T (float v) { return (int) v; }

juce::Font bold (float height) { return juce::Font (height, juce::Font::bold); }

// Averages 2 x 2 blocks: a clean half-size copy, unlike a single bilinear pass
// that skips most source pixels when shrinking a lot.
juce::Image halved (const juce::Image& source)
{
    const int w = juce::jmax (1, source.getWidth() / 2), h = juce::jmax (1, source.getHeight() / 2);
    juce::Image result (juce::Image::ARGB, w, h, false);
    const juce::Image::BitmapData in (source, juce::Image::BitmapData::readOnly);
    juce::Image::BitmapData out (result, juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            int sum[4] = {};
            for (int k = 0; k < 4; ++k)
            {
                const auto c = in.getPixelColour (juce::jmin (2 * x + (k & 1), source.getWidth() - 1),
                                                  juce::jmin (2 * y + (k >> 1), source.getHeight() - 1));
                const auto p = c.getPixelARGB();
                sum[0] += p.getAlpha();
                sum[1] += p.getRed();
                sum[2] += p.getGreen();
                sum[3] += p.getBlue();
            }
            juce::PixelARGB mixed ((juce::uint8) (sum[0] / 4),
                                   (juce::uint8) (sum[1] / 4),
                                   (juce::uint8) (sum[2] / 4),
                                   (juce::uint8) (sum[3] / 4));
            out.setPixelColour (x, y, juce::Colour (mixed));
        }
    return result;
}

int halvedWidthFor (int width, float targetWidth)
{
    while ((float) width > 2.0f * targetWidth && width > 1)
        width /= 2;
    return width;
}

// Halves the picture until it is at most twice the target width; a copy that
// already has that width (a small resize) is kept.
juce::Image shrunkTowards (const juce::Image& source, const juce::Image& previous, float targetWidth)
{
    if (! source.isValid())
        return {};
    if (previous.isValid() && previous.getWidth() == halvedWidthFor (source.getWidth(), targetWidth))
        return previous;

    auto image = source;
    while ((float) image.getWidth() > 2.0f * targetWidth && image.getWidth() > 1)
        image = halved (image);
    return image;
}
} // namespace

juce::Image OrvalenEditor::loadEmbeddedPicture (const char* resourceName)
{
    int size = 0;
    const char* data = BinaryData::getNamedResource (resourceName, size);
    if (data == nullptr || size <= 0)
        return {};
    return juce::ImageCache::getFromMemory (data, size);
}

OrvalenEditor::PictureLoader OrvalenEditor::pictureLoader = &OrvalenEditor::loadEmbeddedPicture;

OrvalenEditor::ClickCatcher::ClickCatcher() { setInterceptsMouseClicks (true, false); }
OrvalenEditor::ClickCatcher::~ClickCatcher() = default;

void OrvalenEditor::ClickCatcher::mouseDown (const juce::MouseEvent&)
{
    if (onClick)
        onClick();
}

OrvalenEditor::OrvalenEditor (OrvalenProcessor& p)
    : juce::AudioProcessorEditor (p)
    , audioProcessor (p)
{
    backgroundImage = pictureLoader ("fondo_placa_metalica_jpg");
    glassImage = pictureLoader ("placa_acrilica_png");
    logoImage = pictureLoader ("logo_orvalen_png");
    rearPanelImage = pictureLoader ("panel_trasero_kla_jpg");

    int fontSize = 0;
    if (const char* fontData = BinaryData::getNamedResource ("LeagueSpartanBold_otf", fontSize))
        displayTypeface = juce::Typeface::createSystemTypefaceFor (fontData, (size_t) fontSize);

    spectrumDisplay = std::make_unique<SpectrumDisplay> (audioProcessor);
    addAndMakeVisible (*spectrumDisplay);
    stereoScope = std::make_unique<StereoScope> (audioProcessor);
    addAndMakeVisible (*stereoScope);
    resolutionSwitch = std::make_unique<ResolutionSwitch> (audioProcessor);
    addAndMakeVisible (*resolutionSwitch);

    for (int i = 0; i < 4; ++i)
    {
        curveStrips.push_back (std::make_unique<CurveStrip> (audioProcessor, i));
        addAndMakeVisible (*curveStrips.back());
    }
    for (int i = 0; i < 4; ++i)
    {
        paramStrips.push_back (std::make_unique<ParamStrip> (audioProcessor, i));
        addAndMakeVisible (*paramStrips.back());
    }

    clickCatcher.onClick = [this] { closeRearPanel(); };
    addChildComponent (clickCatcher);

    setSize (baseWidth, baseHeight);
    setResizable (true, true);
    setResizeLimits (baseWidth, baseHeight, maxWidth, maxHeight);
    if (auto* editorConstrainer = getConstrainer())
        editorConstrainer->setFixedAspectRatio ((double) baseWidth / (double) baseHeight);

    setWantsKeyboardFocus (true);
    startTimer (16);
}

OrvalenEditor::~OrvalenEditor() { stopTimer(); }

void OrvalenEditor::timerCallback() { repaint(); }

void OrvalenEditor::resized()
{
    const float s = (float) getWidth() / 800.0f;

    titleFont = displayTypeface != nullptr ? juce::Font (displayTypeface).withHeight (22.0f * s) : bold (22.0f * s);
    titleFont.setExtraKerningFactor (0.2f);
    labelFont = juce::Font (12.0f * s, juce::Font::plain);
    readoutFont = bold (11.0f * s);

    clickCatcher.setBounds (getLocalBounds());
    scaleChildren (s);
    layOutChildren (s);
    alignParamButtons (s);
    resolutionSwitch->setBounds (getWidth() - T (20.0f * s) - T (46.0f * s),
                                 T ((40.0f * s - (float) T (28.0f * s)) / 2.0f),
                                 T (46.0f * s),
                                 T (28.0f * s));
    placeLogo (s);

    buildFrameLayer();
}

void OrvalenEditor::scaleChildren (float s)
{
    for (auto& strip : curveStrips)
    {
        strip->scaleFactor = s;
        strip->captionFont = bold (12.0f * s);
        strip->buttonFont = bold (10.3f * s);
        strip->repaint();
    }
    for (auto& strip : paramStrips)
    {
        strip->buttonLook.scaleFactor = s;
        strip->buttonLook.buttonFont = bold (10.8f * s);
        strip->titleLabel.setFont (bold (12.0f * s));
        strip->repaint();
        // The buttons keep cached images; a new font must redraw them.
        for (auto& button : strip->buttons)
            button->repaint();
    }
    stereoScope->scaleFactor = s;
    stereoScope->channelFont = bold (10.0f * s);
    stereoScope->scaleLabelFont = juce::Font (9.0f * s, juce::Font::plain);
    stereoScope->repaint();
    resolutionSwitch->scaleFactor = s;
    resolutionSwitch->switchFont = bold (10.3f * s);
    resolutionSwitch->repaint();
}

void OrvalenEditor::layOutChildren (float s)
{
    const int W = getWidth(), H = getHeight();

    const int header = juce::jmin (H, T (40.0f * s));
    int rest = H - header;
    const int footer = juce::jmin (rest, T (30.0f * s));
    rest -= footer;
    const int band = juce::jmin (rest, T (180.0f * s));
    const int bandTop = header + (rest - band) + T (3.0f * s);

    const int A = T (230.0f * s), p10 = T (10.0f * s);
    const int leftW = juce::jmin (W, (W - A) / 2);
    const int midW = juce::jmin (W - leftW, A);
    const int rightW = W - leftW - midW;
    const int leftIn = juce::jmax (0, leftW - 2 * p10);
    const int midIn = juce::jmax (0, midW - 2 * p10);
    const int rightIn = juce::jmax (0, rightW - 2 * p10);
    const int colH = juce::jmax (0, band - 2 * p10);

    const float displayW = 0.94f * (float) W;
    int displayH = T ((float) (bandTop + T (16.0f * s) - T (20.0f * s)) - 10.0f * s - 52.0f * s);
    if (displayH <= 0)
        displayH = T (0.94f * (float) (rest - band));
    spectrumDisplay->setBounds (
        T (((float) W - displayW) / 2.0f), T (52.0f * s - (float) T (12.0f * s)), T (displayW), displayH);

    const int scopeTop = bandTop + T (16.0f * s) - T (20.0f * s) - T (12.0f * s);
    stereoScope->setBounds (
        leftW + p10, scopeTop, midIn, juce::jmax (0, juce::jmax (0, band - T (16.0f * s)) - T (2.0f * s)));

    const int rowH = colH / 4;
    const int stripH = T (0.98f * (float) juce::jmax (0, rowH - 2 * T (3.0f * s)));
    for (size_t k = 0; k < curveStrips.size(); ++k)
        curveStrips[k]->setBounds (T ((float) (2 * p10) + 0.01f * (float) leftIn),
                                   scopeTop + (int) k * rowH,
                                   T (0.98f * (float) leftIn),
                                   stripH);
    for (size_t k = 0; k < paramStrips.size(); ++k)
        paramStrips[k]->setBounds (T ((float) (leftW + midW) + 0.01f * (float) rightIn),
                                   scopeTop + (int) k * rowH,
                                   T (0.98f * (float) rightIn),
                                   stripH);
}

void OrvalenEditor::alignParamButtons (float)
{
    const float R = 0.97f * (float) getWidth();
    for (auto& strip : paramStrips)
    {
        if (strip->buttons.empty())
            continue;
        const auto& last = *strip->buttons.back();
        const int dx = T (R - (float) strip->getX() - (float) (last.getX() + last.getWidth()));
        if (dx == 0)
            continue;
        for (auto& button : strip->buttons)
            button->setTopLeftPosition (button->getX() + dx, button->getY());
    }
}

void OrvalenEditor::placeLogo (float s)
{
    if (paramStrips.empty() || ! logoImage.isValid())
        return;
    const auto& strip = *paramStrips.back();
    if (strip.buttons.size() < 3)
        return;
    const auto& b = *strip.buttons[2];
    if (b.getWidth() <= 0 || b.getHeight() <= 0)
        return;

    const float height = 46.0f * s;
    const float width = 46.0f * s * ((float) logoImage.getWidth() / (float) juce::jmax (1, logoImage.getHeight()));
    const float right = (float) (strip.getX() + b.getX() + b.getWidth());
    const float top = (float) (strip.getY() + b.getY() + b.getHeight()) + 6.0f * s;
    logoBounds = { right - width, top, width, height };
    fittedLogo = shrunkTowards (logoImage, fittedLogo, width);
}

const juce::Image& OrvalenEditor::fittedCopy (const juce::Image& source, juce::Image& copy)
{
    if (! source.isValid() || getWidth() <= 0 || getHeight() <= 0)
        return source;
    if (copy.getWidth() != getWidth() || copy.getHeight() != getHeight())
        copy = makeCoverImage (source, getWidth(), getHeight(), source.getFormat());
    return copy;
}

juce::Rectangle<float> OrvalenEditor::getReadoutBarBounds() const
{
    return ReadoutBar::barBounds (
        ReadoutBar::readoutLines (audioProcessor), readoutFont, stereoScope->getBounds(), getWidth());
}

void OrvalenEditor::paint (juce::Graphics& g)
{
    if (rearPanelShown)
        paintRearPanel (g);
    else
        paintFrame (g);
}

void OrvalenEditor::paintRearPanel (juce::Graphics& g)
{
    const auto& picture = fittedCopy (rearPanelImage, fittedRearPanel);
    if (picture.isValid())
        g.drawImageAt (picture, 0, 0);
    else
        g.fillAll (juce::Colour (0xFF000000));
}

void OrvalenEditor::paintFrame (juce::Graphics& g)
{
    if (frameLayer.getWidth() != getWidth() || frameLayer.getHeight() != getHeight())
        buildFrameLayer();
    if (frameLayer.isValid())
    {
        // The display and the scope cover their areas opaquely except the
        // rounded corners and the anti-aliased outermost pixels; blitting the
        // frame under the rest would be wasted.
        juce::Graphics::ScopedSaveState state (g);
        const juce::Component* const opaqueChildren[] = { spectrumDisplay.get(), stereoScope.get() };
        for (const auto* child : opaqueChildren)
            if (child->isVisible())
            {
                const auto area = child->getBounds();
                g.excludeClipRegion (area.reduced (opaqueChildCorner, 1));
                g.excludeClipRegion (area.reduced (1, opaqueChildCorner));
            }
        g.drawImageAt (frameLayer, 0, 0);
    }

    ReadoutBar::paint (g, audioProcessor, readoutFont, glassImage, stereoScope->getBounds(), getWidth(), readoutGlass);
}

void OrvalenEditor::buildFrameLayer()
{
    frameLayer = {};
    if (getWidth() <= 0 || getHeight() <= 0)
        return;
    frameLayer = juce::Image (juce::Image::RGB, getWidth(), getHeight(), false);
    juce::Graphics g (frameLayer);
    paintStaticFrame (g);
}

void OrvalenEditor::paintStaticFrame (juce::Graphics& g)
{
    const float W = (float) getWidth(), s = W / 800.0f;

    if (backgroundImage.isValid())
        g.drawImage (backgroundImage, getLocalBounds().toFloat(), juce::RectanglePlacement::fillDestination);
    else
        g.fillAll (juce::Colour (0xFF0C0E14));

    const float titleX = (float) spectrumDisplay->getX();
    g.setColour (juce::Colour (0xFFFFFFFF));
    g.setFont (titleFont);
    g.drawText ("Lumaspan",
                juce::Rectangle<float> (titleX, 0.0f, juce::jmax (0.0f, W - titleX), 40.0f * s),
                juce::Justification::centredLeft,
                true);

    if (fittedLogo.isValid() && logoBounds.getWidth() > 0.0f && logoBounds.getHeight() > 0.0f)
        g.drawImage (fittedLogo, logoBounds, juce::RectanglePlacement::fillDestination);

    const auto sw = resolutionSwitch->getBounds().toFloat();
    g.setFont (labelFont);
    g.setColour (juce::Colour (0xFF8892A0));
    g.drawText (juce::String::fromUTF8 ("Resoluci\xc3\xb3n"),
                juce::Rectangle<float> (sw.getX() - 5.0f * s - 110.0f * s, sw.getY(), 110.0f * s, sw.getHeight()),
                juce::Justification::centredRight,
                true);
}

void OrvalenEditor::mouseDown (const juce::MouseEvent& event)
{
    if (rearPanelShown)
        return;
    const auto p = event.position;
    const auto& r = logoBounds;
    if (r.getX() <= p.x && p.x < r.getRight() && r.getY() <= p.y && p.y < r.getBottom())
        openRearPanel();
}

void OrvalenEditor::setControlsVisible (bool shouldBeVisible)
{
    for (auto& strip : curveStrips)
        strip->setVisible (shouldBeVisible);
    for (auto& strip : paramStrips)
        strip->setVisible (shouldBeVisible);
    spectrumDisplay->setVisible (shouldBeVisible);
    stereoScope->setVisible (shouldBeVisible);
    resolutionSwitch->setVisible (shouldBeVisible);
}

void OrvalenEditor::openRearPanel()
{
    rearPanelShown = true;
    clickCatcher.setVisible (true);
    clickCatcher.toFront (false);
    setControlsVisible (false);
    repaint();
}

void OrvalenEditor::closeRearPanel()
{
    rearPanelShown = false;
    clickCatcher.setVisible (false);
    setControlsVisible (true);
    repaint();
}
