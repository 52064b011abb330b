#include "analysis/CurveSlotUpdate.h"
#include "processor/OrvalenProcessor.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr int pollIntervalMs = 2;

// Only 4096 and 8192 points can be served from the history; anything but 12
// is treated as the default 13.
int servedFftOrder (int requested) { return requested == 12 ? 12 : 13; }
} // namespace

void OrvalenProcessor::run()
{
    while (! threadShouldExit())
        if (! runAnalysisStep())
            wait (pollIntervalMs);
}

bool OrvalenProcessor::runAnalysisStep()
{
    adoptRequestedFftOrder();
    if (availableAnalysisSamples() < analysisBatchSize)
        return false;

    float sampleRate = 0.0f;
    {
        // prepareToPlay empties the ring and the history under the same lock,
        // so a batch is never taken half before and half after such a reset.
        const juce::ScopedLock sl (fftLock);
        if (! takeAnalysisBatch())
            return false;

        sampleRate = SpectrumAnalysis::analysisSampleRate (preparedSampleRate);
        if (fft == nullptr || window == nullptr || fftSize > historySize)
            return true;

        SpectrumAnalysis::computeSpectrum (*fft, *window, sampleHistory, fftSize, sampleRate, fftData, spectrumDb);
    }

    finishAnalysisPass (sampleRate);
    return true;
}

void OrvalenProcessor::adoptRequestedFftOrder()
{
    const int order = servedFftOrder (requestedFftOrder.load());
    const juce::ScopedLock sl (fftLock);
    if (order != currentFftOrder)
        setUpFft (order);
}

int OrvalenProcessor::availableAnalysisSamples() const
{
    const int r = analysisFifoRead.load();
    const int w = analysisFifoWrite.load();
    return w >= r ? w - r : analysisFifoSize - r + w;
}

bool OrvalenProcessor::takeAnalysisBatch()
{
    const int available = availableAnalysisSamples();
    if (available < analysisBatchSize)
        return false;

    const int r = analysisFifoRead.load();
    const int n = analysisBatchSize;
    const int first = std::min (n, analysisFifoSize - r);
    std::memcpy (chunkBuffer.data(), analysisFifo.data() + r, sizeof (float) * (size_t) first);
    std::memcpy (chunkBuffer.data() + first, analysisFifo.data(), sizeof (float) * (size_t) (n - first));
    analysisFifoRead.exchange ((r + n) % analysisFifoSize);

    std::memmove (sampleHistory.data(), sampleHistory.data() + n, sizeof (float) * (size_t) (historySize - n));
    std::memcpy (sampleHistory.data() + historySize - n, chunkBuffer.data(), sizeof (float) * (size_t) n);
    return true;
}

void OrvalenProcessor::finishAnalysisPass (float sampleRate)
{
    for (auto& slot : curveSlots)
        if (slot.scopeClearRequest.load())
            scopeResetRequest.exchange (true);

    SpectrumAnalysis::applyWeighting (spectrumDb, weighting.load(), sampleRate, weightingTable);
    SpectrumAnalysis::clampSpectrum (spectrumDb);
    SpectrumAnalysis::smooth (
        spectrumDb, smoothing.load(), sampleRate, powerScratch, smoothedDb, averagedDb, smoothingScratch);

    const int mode = measureMode.load();
    const float response = CurveSlotUpdate::responseCoefficient (responseMs.load());
    CurveSlotUpdate::updateAll (curveSlots, spectrumDb, selectedSlot.load(), mode, response);
}
