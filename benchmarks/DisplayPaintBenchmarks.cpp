#include "common/MouseEvents.h"
#include "common/ProgrammeSpectrum.h"
#include "editor/SpectrumDisplay.h"
#include "editor/StereoScope.h"
#include "processor/OrvalenProcessor.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

// Paint cost of the spectrum display and the stereo scope at the editor's
// reference sizes (800 and 1200 wide windows), with four visible slots holding
// programme-like order-13 curves, holds on and the glass layer in place.
namespace
{
constexpr int bins = 4096;
constexpr double sampleRate = 48000.0;

juce::Image makeGlassPicture()
{
    juce::Image image (juce::Image::ARGB, 1897, 1225, true);
    juce::Graphics g (image);
    g.setColour (juce::Colours::white.withAlpha (0.16f));
    g.fillRoundedRectangle (0.0f, 0.0f, 1897.0f, 1225.0f, 60.0f);
    juce::Random random (42);
    for (int i = 0; i < 4000; ++i)
    {
        g.setColour (juce::Colours::white.withAlpha (random.nextFloat() * 0.1f));
        g.fillRect (random.nextInt (1897), random.nextInt (1225), 3, 3);
    }
    return image;
}

void fillSlots (OrvalenProcessor& processor, bool smoothed)
{
    processor.setRateAndBufferSizeDetails (sampleRate, 512);
    for (int i = 0; i < numCurveSlots; ++i)
    {
        auto& slot = processor.curveSlots[(size_t) i];
        const juce::ScopedLock sl (slot.lock);
        slot.curve = programmeCurve (bins, sampleRate, 10 + i, -4.0f * (float) i, { true, smoothed });
        slot.peakCurve = programmeCurve (bins, sampleRate, 20 + i, 6.0f - 4.0f * (float) i, { true, smoothed });
        slot.visible = true;
        slot.selected = i == 0;
        slot.hold = true;
    }
}

// A few captures of a wide stereo image with some movement, made up front so
// that the timed loop only copies them in, as the audio thread would.
using SectorFrame = std::array<float, OrvalenProcessor::numScopeSectors>;

std::vector<SectorFrame> makeSectorFrames()
{
    juce::Random random (7);
    std::vector<SectorFrame> frames (16);
    for (auto& frame : frames)
        for (int v = 0; v < OrvalenProcessor::numScopeSectors; ++v)
        {
            const auto spread = std::exp (-std::pow ((v - 60.0f) / 22.0f, 2.0f));
            frame[(size_t) v] = spread * (0.2f + 0.1f * random.nextFloat());
        }
    return frames;
}

void storeSectors (OrvalenProcessor& processor, const SectorFrame& frame)
{
    for (int v = 0; v < OrvalenProcessor::numScopeSectors; ++v)
        processor.scopeSectors[v].store (frame[(size_t) v], std::memory_order_relaxed);
}

void BM_SpectrumDisplayPaint (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI gui;
    OrvalenProcessor processor;
    fillSlots (processor, state.range (2) != 0);

    SpectrumDisplay display (processor);
    display.setGlassImage (makeGlassPicture());
    display.setSize ((int) state.range (0), (int) state.range (1));
    display.hovering = state.range (3) != 0;
    display.hoverX = 300.0f;
    display.hoverFrequency = 440.0f;
    display.hoverLevelDb = -24.0f;

    juce::Image target (juce::Image::ARGB, display.getWidth(), display.getHeight(), true);
    for (auto _ : state)
    {
        juce::Graphics g (target);
        display.paint (g);
        benchmark::ClobberMemory();
    }
}

juce::MouseEvent leftButtonAt (juce::Component& component, int x, int y)
{
    return handMadeMouseEvent (component, { (float) x, (float) y });
}

// A pan/zoom drag in the band under the plot: every paint shows a new view,
// so every cached layer is made again. The display's most expensive frame.
void BM_SpectrumDisplayZoomDragPaint (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI gui;
    OrvalenProcessor processor;
    fillSlots (processor, true);

    SpectrumDisplay display (processor);
    display.setGlassImage (makeGlassPicture());
    display.setSize ((int) state.range (0), (int) state.range (1));
    const auto bandY = display.getHeight() - 10;
    display.mouseDown (leftButtonAt (display, 400, bandY));

    juce::Image target (juce::Image::ARGB, display.getWidth(), display.getHeight(), true);
    int step = 0;
    for (auto _ : state)
    {
        display.mouseDrag (leftButtonAt (display, 400 + step % 40, bandY - 100 + step % 80));
        ++step;
        juce::Graphics g (target);
        display.paint (g);
        benchmark::ClobberMemory();
    }
    display.mouseUp (leftButtonAt (display, 400, bandY));
}

void BM_StereoScopePaint (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI gui;
    OrvalenProcessor processor;
    fillSlots (processor, false);

    StereoScope scope (processor);
    scope.setGlassImage (makeGlassPicture());
    scope.setSize ((int) state.range (0), (int) state.range (1));

    const auto frames = makeSectorFrames();
    juce::Image target (juce::Image::ARGB, scope.getWidth(), scope.getHeight(), true);
    // Every slot grows an outline first, as after a session of use.
    for (int slot = 0; slot < numCurveSlots; ++slot)
    {
        processor.selectedSlot = slot;
        for (size_t i = 0; i < frames.size(); ++i)
        {
            storeSectors (processor, frames[i]);
            juce::Graphics g (target);
            scope.paint (g);
        }
    }
    processor.selectedSlot = 0;

    size_t next = 0;
    for (auto _ : state)
    {
        storeSectors (processor, frames[next++ % frames.size()]);
        juce::Graphics g (target);
        scope.paint (g);
        benchmark::ClobberMemory();
    }
}
} // namespace

// Arguments: width, height, 1 for curves smoothed over 1/12 octave (the
// analysis default) or 0 for raw per-bin texture (harder for the rasteriser),
// 1 with the hover read-out shown.
BENCHMARK (BM_SpectrumDisplayPaint)
    ->Args ({ 752, 307, 1, 0 })
    ->Args ({ 752, 307, 1, 1 })
    ->Args ({ 752, 307, 0, 1 })
    ->Args ({ 1128, 460, 1, 0 })
    ->Args ({ 1128, 460, 1, 1 })
    ->Args ({ 1128, 460, 0, 1 })
    ->Unit (benchmark::kMillisecond);
BENCHMARK (BM_SpectrumDisplayZoomDragPaint)->Args ({ 752, 307 })->Args ({ 1128, 460 })->Unit (benchmark::kMillisecond);
BENCHMARK (BM_StereoScopePaint)->Args ({ 210, 162 })->Args ({ 315, 243 })->Unit (benchmark::kMillisecond);
