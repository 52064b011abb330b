#pragma once

#include "analysis/CurveSlot.h"
#include "analysis/LoudnessMeter.h"
#include "analysis/RealFft.h"
#include "analysis/SpectrumAnalysis.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

// The plug-in: identity, buses, all analysis state, the audio-thread block
// step, and the analysis thread "KLA_FFT_Thread" (this object's Thread base).
// The editor and its components read and write the public members directly.
class OrvalenProcessor : public juce::AudioProcessor, public juce::Thread
{
public:
    OrvalenProcessor();
    ~OrvalenProcessor() override;

    const juce::String getName() const override;
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;
    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void run() override;

    // One iteration of the analysis loop: adopts a new resolution, then runs
    // one pass when a full batch waits. Returns false when it found too few
    // samples. run() calls it; tests drive it directly after stopThread.
    bool runAnalysisStep();

    static constexpr int scopeCaptureSize = 2048;
    static constexpr int numScopeSectors = 120;
    static constexpr int historySize = 16384;
    static constexpr int analysisBatchSize = 1024;

    // Analysis settings: the index of the chosen option in button order.
    std::atomic<int> measureMode { 0 };
    std::atomic<int> weighting { 3 };
    std::atomic<int> smoothing { 1 };
    std::atomic<int> responseMs { 1 };

    std::array<CurveSlot, numCurveSlots> curveSlots;
    std::atomic<int> selectedSlot { 0 };

    std::atomic<bool> toneActive { false };
    std::atomic<float> toneFrequencyHz { 1000.0f };
    std::atomic<float> toneLevelDb { -18.0f };

    std::atomic<int> requestedFftOrder { 13 };

    std::unique_ptr<LoudnessMeter> loudnessMeter;

    int scopeCapturePos = 0;
    std::atomic<bool> scopeResetRequest { false };
    float scopeCaptureLeft[scopeCaptureSize] {};
    float scopeCaptureRight[scopeCaptureSize] {};
    float scopeFftLeft[2 * scopeCaptureSize] {};
    float scopeFftRight[2 * scopeCaptureSize] {};
    RealFft scopeFft { 11 };
    juce::dsp::WindowingFunction<float> scopeWindow { (size_t) scopeCaptureSize,
                                                      juce::dsp::WindowingFunction<float>::blackmanHarris,
                                                      true,
                                                      0.0f };

    std::atomic<float> truePeakDb { -90.0f };
    std::atomic<float> rmsDb { -90.0f };
    std::atomic<float> momentaryLufs { -90.0f };
    std::atomic<float> integratedLufs { -90.0f };

    // Written by the audio thread and read by the scope's paint without a
    // lock; each entry is accessed as a relaxed atomic.
    std::atomic<float> scopeSectors[numScopeSectors] {};

    // Guards the FFT objects; also taken by prepareToPlay around the rate and
    // the ring reset, and by the analysis thread while it takes a batch.
    juce::CriticalSection fftLock;
    double preparedSampleRate = 44100.0;
    int currentFftOrder = 13;
    int fftSize = 8192;
    double tonePhase = 0.0;
    float dcPrevInput = 0.0f, dcPrevOutput = 0.0f;
    float dcCoefficient = 0.995f;
    const int analysisFifoSize = 131072;
    std::atomic<int> analysisFifoRead { 0 };
    std::atomic<int> analysisFifoWrite { 0 };
    std::vector<float> analysisFifo;
    std::vector<float> chunkBuffer, sampleHistory;
    std::vector<float> fftData;
    std::unique_ptr<RealFft> fft;
    std::unique_ptr<juce::dsp::WindowingFunction<float>> window;
    std::vector<float> spectrumDb, powerScratch, smoothedDb, averagedDb;
    SpectrumAnalysis::SmoothingScratch smoothingScratch;
    SpectrumAnalysis::WeightingTable weightingTable;

private:
    void setUpFft (int order);
    void adoptRequestedFftOrder();
    int availableAnalysisSamples() const;
    bool takeAnalysisBatch();
    void finishAnalysisPass (float sampleRate);
    void resetScopeCapture();
    void captureScope (const float* left, const float* right, int n);
    void feedAnalysisFifo (const float* left, const float* right, int n);
    void addAuditionTone (juce::AudioBuffer<float>& buffer);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvalenProcessor)
};
