#include "analysis/CurveSlotUpdate.h"
#include "analysis/SpectrumAnalysis.h"
#include "processor/OrvalenProcessor.h"

#include <benchmark/benchmark.h>
#include <ebur128.h>

#include <chrono>
#include <ctime>
#include <random>
#include <thread>

namespace
{
class PlayingHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying (true);
        return info;
    }
};

std::vector<float> noise (size_t n, unsigned seed)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-0.5f, 0.5f);
    std::vector<float> out (n);
    for (auto& x : out)
        x = dist (rng);
    return out;
}

// processBlock at 48 kHz stereo with the transport playing; the analysis
// thread is stopped so that it does not share the core being measured.
void processBlockStereo48k (benchmark::State& state)
{
    const int blockSize = (int) state.range (0);
    OrvalenProcessor processor;
    PlayingHead playHead;
    processor.setPlayHead (&playHead);
    processor.prepareToPlay (48000.0, blockSize);
    processor.stopThread (3000);

    const auto left = noise ((size_t) blockSize, 1), right = noise ((size_t) blockSize, 2);
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;

    for (auto _ : state)
    {
        buffer.copyFrom (0, 0, left.data(), blockSize);
        buffer.copyFrom (1, 0, right.data(), blockSize);
        processor.processBlock (buffer, midi);
        // Keep the ring from filling up, as the analysis thread would.
        processor.analysisFifoRead.store (processor.analysisFifoWrite.load());
        benchmark::ClobberMemory();
    }
    state.counters["time_per_frame"] = benchmark::Counter ((double) state.iterations() * blockSize,
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The same frames through libebur128 with momentary and integrated loudness.
void libebur128Stereo48k (benchmark::State& state)
{
    const int blockSize = (int) state.range (0);
    ebur128_state* meter = ebur128_init (2, 48000, EBUR128_MODE_M | EBUR128_MODE_I);
    const auto left = noise ((size_t) blockSize, 1), right = noise ((size_t) blockSize, 2);
    std::vector<float> interleaved (2 * (size_t) blockSize);

    for (auto _ : state)
    {
        for (int i = 0; i < blockSize; ++i)
        {
            interleaved[2 * (size_t) i] = left[(size_t) i];
            interleaved[2 * (size_t) i + 1] = right[(size_t) i];
        }
        ebur128_add_frames_float (meter, interleaved.data(), (size_t) blockSize);
        double m = 0.0, integrated = 0.0;
        ebur128_loudness_momentary (meter, &m);
        ebur128_loudness_global (meter, &integrated);
        benchmark::DoNotOptimize (m + integrated);
    }
    ebur128_destroy (&meter);
    state.counters["time_per_frame"] = benchmark::Counter ((double) state.iterations() * blockSize,
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One analysis pass at order 13 with "1/3" smoothing, "K" weighting and
// "Peak", from the batch hand-over to the slot update.
void analysisPassOrder13 (benchmark::State& state)
{
    OrvalenProcessor processor;
    processor.prepareToPlay (48000.0, 1024);
    processor.stopThread (3000);
    processor.measureMode = 1;
    processor.weighting = 3;
    processor.smoothing = 3;

    const auto samples = noise (1024, 3);
    for (auto _ : state)
    {
        state.PauseTiming();
        std::copy (samples.begin(), samples.end(), processor.analysisFifo.begin());
        processor.analysisFifoRead.store (0);
        processor.analysisFifoWrite.store (1024);
        state.ResumeTiming();
        benchmark::DoNotOptimize (processor.runAnalysisStep());
    }
}

// The band smoothing alone, in its O(n) form and term by term.
void bandSmoothing (benchmark::State& state)
{
    const bool direct = state.range (0) != 0;
    const auto values = noise (4096, 4);
    std::vector<float> power (4096), smoothed (4096);
    for (size_t k = 0; k < power.size(); ++k)
        power[k] = values[k] * values[k];
    SpectrumAnalysis::SmoothingScratch scratch;
    for (auto _ : state)
    {
        if (direct)
            SpectrumAnalysis::bandSmoothDirect (power, 1.0f / 3.0f, 14, smoothed);
        else
            SpectrumAnalysis::bandSmooth (power, 1.0f / 3.0f, 14, smoothed, scratch);
        benchmark::DoNotOptimize (smoothed.data());
    }
}

double threadCpuSeconds (clockid_t clock)
{
    timespec t {};
    clock_gettime (clock, &t);
    return (double) t.tv_sec + (double) t.tv_nsec * 1e-9;
}

// CPU time the idle analysis thread (no audio, 2 ms polling) uses per second.
void idleAnalysisThread (benchmark::State& state)
{
    OrvalenProcessor processor;
    processor.prepareToPlay (48000.0, 512);
    clockid_t clock {};
    pthread_getcpuclockid ((pthread_t) processor.getThreadId(), &clock);

    for (auto _ : state)
    {
        const double cpuBefore = threadCpuSeconds (clock);
        const auto wallBefore = std::chrono::steady_clock::now();
        std::this_thread::sleep_for (std::chrono::seconds (1));
        const double cpu = threadCpuSeconds (clock) - cpuBefore;
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
        state.counters["cpu_us_per_s"] = cpu / wall.count() * 1e6;
    }
}
} // namespace

BENCHMARK (processBlockStereo48k)->Arg (64)->Arg (512)->Arg (4096);
BENCHMARK (libebur128Stereo48k)->Arg (64)->Arg (512)->Arg (4096);
BENCHMARK (analysisPassOrder13)->Unit (benchmark::kMicrosecond);
BENCHMARK (bandSmoothing)->Arg (0)->Arg (1)->Unit (benchmark::kMicrosecond);
BENCHMARK (idleAnalysisThread)->Iterations (3)->Unit (benchmark::kMillisecond);
