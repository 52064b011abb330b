#include "common/ProgrammeSpectrum.h"
#include "editor/OrvalenEditor.h"
#include "processor/OrvalenProcessor.h"

#include <benchmark/benchmark.h>

#include <cmath>

// One whole editor frame, as the 16 ms repaint draws it, rendered in software
// into an image: background, title, logo, read-out bar, display with four
// programme-like curves and holds, scope with moving sectors, all strips.
namespace
{
constexpr int bins = 4096;
constexpr double sampleRate = 48000.0;

void fillLiveState (OrvalenProcessor& processor)
{
    processor.setRateAndBufferSizeDetails (sampleRate, 512);
    for (int i = 0; i < numCurveSlots; ++i)
    {
        auto& slot = processor.curveSlots[(size_t) i];
        const juce::ScopedLock guard (slot.lock);
        slot.curve = programmeCurve (bins, sampleRate, 10 + i, -4.0f * (float) i);
        slot.peakCurve = programmeCurve (bins, sampleRate, 20 + i, 6.0f - 4.0f * (float) i);
        slot.visible = true;
        slot.selected = i == 0;
        slot.hold = i < 2;
    }
    processor.truePeakDb = -3.2f;
    processor.rmsDb = -17.8f;
    processor.momentaryLufs = -14.6f;
    processor.integratedLufs = -16.1f;
}

void moveScope (OrvalenProcessor& processor, juce::Random& random)
{
    for (int v = 0; v < OrvalenProcessor::numScopeSectors; ++v)
    {
        const float spread = std::exp (-std::pow (((float) v - 60.0f) / 22.0f, 2.0f));
        processor.scopeSectors[v].store (spread * (0.2f + 0.1f * random.nextFloat()), std::memory_order_relaxed);
    }
}

void BM_EditorFrame (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI gui;
    OrvalenProcessor processor;
    fillLiveState (processor);

    OrvalenEditor editor (processor);
    const int width = (int) state.range (0);
    editor.setSize (width, width * 580 / 800);

    juce::Image frame (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true);
    juce::Random random (7);
    for (auto _ : state)
    {
        moveScope (processor, random);
        juce::Graphics g (frame);
        editor.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (frame.getPixelAt (10, 10));
    }
    state.SetLabel (juce::String (editor.getWidth()).toStdString() + "x"
                    + juce::String (editor.getHeight()).toStdString());
}
} // namespace

BENCHMARK (BM_EditorFrame)->Arg (800)->Arg (1200)->Unit (benchmark::kMillisecond)->MinTime (1.0);
