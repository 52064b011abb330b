#include "processor/OrvalenProcessor.h"

#include "editor/OrvalenEditor.h"
#include "processor/StateFormat.h"

namespace
{
constexpr int destructorStopTimeoutMs = 3000;
constexpr float emptyCurveDb = -90.0f;
} // namespace

OrvalenProcessor::OrvalenProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
    , juce::Thread ("KLA_FFT_Thread")
{
    loudnessMeter = std::make_unique<LoudnessMeter>();

    truePeakDb.store (-90.0f);
    rmsDb.store (-90.0f);
    momentaryLufs.store (-90.0f);
    integratedLufs.store (-90.0f);
    for (auto& sector : scopeSectors)
        sector.store (0.0f, std::memory_order_relaxed);

    measureMode.store (0);
    weighting.store (3);
    smoothing.store (1);
    responseMs.store (1);

    for (int i = 0; i < numCurveSlots; ++i)
    {
        auto& slot = curveSlots[(size_t) i];
        slot.visible.store (true);
        slot.selected.store (i == 0);
        slot.clearRequest.store (false);
        slot.scopeClearRequest.store (false);
        slot.curve.assign (4096, emptyCurveDb);
        slot.peakCurve.assign (4096, emptyCurveDb);
    }

    analysisFifo.assign ((size_t) analysisFifoSize, 0.0f);
    chunkBuffer.assign ((size_t) historySize, 0.0f);
    sampleHistory.assign ((size_t) historySize, 0.0f);

    startThread (juce::Thread::Priority::normal);
}

OrvalenProcessor::~OrvalenProcessor()
{
    signalThreadShouldExit();
    stopThread (destructorStopTimeoutMs);
}

const juce::String OrvalenProcessor::getName() const { return "KLV Lumaspan"; }

void OrvalenProcessor::releaseResources() {}

double OrvalenProcessor::getTailLengthSeconds() const { return 0.0; }

bool OrvalenProcessor::acceptsMidi() const { return false; }

bool OrvalenProcessor::producesMidi() const { return false; }

juce::AudioProcessorEditor* OrvalenProcessor::createEditor() { return new OrvalenEditor (*this); }

bool OrvalenProcessor::hasEditor() const { return true; }

int OrvalenProcessor::getNumPrograms() { return 1; }

int OrvalenProcessor::getCurrentProgram() { return 0; }

void OrvalenProcessor::setCurrentProgram (int) {}

// Hosts list the single program in a "Factory Presets" list, where every entry
// needs a name.
const juce::String OrvalenProcessor::getProgramName (int index) { return index == 0 ? "Default" : juce::String(); }

void OrvalenProcessor::changeProgramName (int, const juce::String&) {}

bool OrvalenProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();
    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == output;
}

void OrvalenProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    destData.reset();
    copyXmlToBinary (*StateFormat::createStateXml (*this), destData);
}

void OrvalenProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    StateFormat::applyState (*this, data, sizeInBytes);
}

void OrvalenProcessor::setUpFft (int order)
{
    currentFftOrder = order;
    fftSize = 1 << order;
    fft = std::make_unique<RealFft> (order);
    window = std::make_unique<juce::dsp::WindowingFunction<float>> (
        (size_t) fftSize, juce::dsp::WindowingFunction<float>::blackmanHarris, true, 0.0f);
    fftData.assign ((size_t) (2 * fftSize), 0.0f);
}

void OrvalenProcessor::prepareToPlay (double sampleRate, int)
{
    {
        // The analysis thread reads the rate, the FFT objects, the ring and
        // the history under this lock.
        const juce::ScopedLock sl (fftLock);
        preparedSampleRate = sampleRate;
        setUpFft (requestedFftOrder.load() == 12 ? 12 : 13);
    }

    const double fs = sampleRate > 0.0 ? sampleRate : 48000.0;
    const auto q = (float) (4.0 * juce::MathConstants<double>::pi / fs);
    dcCoefficient = 1.0f - q;
    dcPrevInput = 0.0f;
    dcPrevOutput = 0.0f;

    {
        const juce::ScopedLock sl (fftLock);
        std::fill (analysisFifo.begin(), analysisFifo.end(), 0.0f);
        std::fill (sampleHistory.begin(), sampleHistory.end(), 0.0f);
        analysisFifoWrite.store (0);
        analysisFifoRead.store (0);
    }

    loudnessMeter->prepare (sampleRate);

    std::fill (std::begin (scopeCaptureLeft), std::end (scopeCaptureLeft), 0.0f);
    std::fill (std::begin (scopeCaptureRight), std::end (scopeCaptureRight), 0.0f);
    scopeCapturePos = 0;
    scopeResetRequest.store (false);

    if (! isThreadRunning())
        startThread (juce::Thread::Priority::normal);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter() { return new OrvalenProcessor(); }
