#include "editor/ParamStrip.h"

#include "processor/OrvalenProcessor.h"

namespace
{
struct StripChoices
{
    const char* captionUtf8;
    std::vector<const char*> options;
};

StripChoices choicesFor (int index)
{
    switch (index)
    {
        case 0:
            return { "Medici\xc3\xb3n", { "RMS", "Peak" } };
        case 1:
            return { "Ponderaci\xc3\xb3n", { "Flat", "A", "C", "K" } };
        case 2:
            return { "Suavizado", { "Off", "1/12", "1/6", "1/3" } };
        case 3:
            return { "Respuesta", { "Fast", "Mid", "Slow" } };
        default:
            return { "", {} };
    }
}

int truncated (float v) { return (int) v; }
} // namespace

ParamStrip::ParamStrip (OrvalenProcessor& p, int index)
    : processor (p)
    , stripIndex (index)
{
    const auto choices = choicesFor (stripIndex);

    titleLabel.setText (juce::String::fromUTF8 (choices.captionUtf8), juce::dontSendNotification);
    titleLabel.setJustificationType (juce::Justification::centredLeft);
    titleLabel.setFont (juce::Font (12.0f, juce::Font::bold));
    titleLabel.setColour (juce::Label::textColourId, juce::Colour (0xFF8892A0));
    titleLabel.setBufferedToImage (true); // a fixed caption: no text layout on every repaint
    addAndMakeVisible (titleLabel);

    for (int i = 0; i < (int) choices.options.size(); ++i)
    {
        auto button = std::make_unique<juce::TextButton> (choices.options[(size_t) i]);
        button->setLookAndFeel (&buttonLook);
        button->setClickingTogglesState (true);
        button->setRadioGroupId (100 + stripIndex);
        button->setBufferedToImage (true);
        button->onClick = [this, i]
        {
            if (auto* target = setting())
                target->exchange (i);
        };
        addAndMakeVisible (*button);
        buttons.push_back (std::move (button));
    }

    syncFromProcessor();
    startTimer (100);
}

ParamStrip::~ParamStrip()
{
    stopTimer();
    for (auto& button : buttons)
        button->setLookAndFeel (nullptr);
}

std::atomic<int>* ParamStrip::setting() const
{
    switch (stripIndex)
    {
        case 0:
            return &processor.measureMode;
        case 1:
            return &processor.weighting;
        case 2:
            return &processor.smoothing;
        case 3:
            return &processor.responseMs;
        default:
            return nullptr;
    }
}

void ParamStrip::syncFromProcessor()
{
    const auto* target = setting();
    if (target == nullptr)
        return;

    const int v = target->load();
    if (v >= 0 && v < (int) buttons.size())
        buttons[(size_t) v]->setToggleState (true, juce::dontSendNotification);
}

void ParamStrip::timerCallback() { syncFromProcessor(); }

void ParamStrip::resized()
{
    const int w = getWidth(), h = getHeight();
    const float s = buttonLook.scaleFactor;

    titleLabel.setBounds (truncated (-3.0f * s), 0, truncated (80.0f * s), h);
    const int d = juce::jmin (w, truncated (80.0f * s + (-3.0f * s)));

    if (buttons.empty())
        return;

    const float n = (float) buttons.size();
    const float avail = (float) (w - d);
    const float gap = 1.5f * s;
    const float totalGap = gap * (n - 1.0f);
    const float bw = juce::jmin (avail / n * 0.96f * 1.2f, (avail - totalGap) / n);
    const float step = bw + gap;
    const int bh = truncated ((float) h * 0.8f * 1.2f);
    const int by = (h - bh) / 2;

    float x = (avail - (bw * n + totalGap)) * 0.5f + (float) d - 5.0f;
    for (auto& button : buttons)
    {
        button->setBounds (truncated (x) - 2, by - 2, truncated (bw) + 4, bh + 4);
        x += step;
    }
}
