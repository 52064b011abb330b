#include "analysis/ScopeSectors.h"
#include "processor/OrvalenProcessor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
bool transportIsPlaying (juce::AudioPlayHead* playHead)
{
    if (playHead == nullptr)
        return false;

    const auto position = playHead->getPosition();
    return position.hasValue() && position->getIsPlaying();
}
} // namespace

void OrvalenProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    const juce::ScopedNoDenormals noDenormals;
    const int n = buffer.getNumSamples();
    if (n == 0)
        return;

    const int numChannels = buffer.getNumChannels();
    if (numChannels == 0)
        return;

    const bool playing = transportIsPlaying (getPlayHead());
    const float* left = buffer.getReadPointer (0);
    const float* right = numChannels > 1 ? buffer.getReadPointer (1) : left;
    LoudnessReadings readings { truePeakDb, rmsDb, momentaryLufs, integratedLufs };
    loudnessMeter->processBlock (playing, left, right, n, readings);

    if (scopeResetRequest.exchange (false))
        resetScopeCapture();

    if (numChannels >= 2)
        captureScope (left, right, n);

    const float* monoRight = getTotalNumInputChannels() > 1 && numChannels > 1 ? right : left;
    feedAnalysisFifo (left, monoRight, n);

    addAuditionTone (buffer);

    for (int channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        if (channel < numChannels)
            buffer.clear (channel, 0, n);
}

void OrvalenProcessor::resetScopeCapture()
{
    for (auto& sector : scopeSectors)
        sector.store (0.0f, std::memory_order_relaxed);
    std::fill (std::begin (scopeCaptureLeft), std::end (scopeCaptureLeft), 0.0f);
    std::fill (std::begin (scopeCaptureRight), std::end (scopeCaptureRight), 0.0f);
    scopeCapturePos = 0;
}

void OrvalenProcessor::captureScope (const float* left, const float* right, int n)
{
    int done = 0;
    while (done < n)
    {
        const int count = std::min (n - done, scopeCaptureSize - scopeCapturePos);
        std::memcpy (scopeCaptureLeft + scopeCapturePos, left + done, sizeof (float) * (size_t) count);
        std::memcpy (scopeCaptureRight + scopeCapturePos, right + done, sizeof (float) * (size_t) count);
        scopeCapturePos += count;
        done += count;

        if (scopeCapturePos == scopeCaptureSize)
        {
            scopeCapturePos = 0;
            float sectors[numScopeSectors];
            ScopeSectors::analyseCapture (
                scopeCaptureLeft, scopeCaptureRight, scopeFftLeft, scopeFftRight, scopeFft, scopeWindow, sectors);
            for (int k = 0; k < numScopeSectors; ++k)
                scopeSectors[k].store (sectors[k], std::memory_order_relaxed);
        }
    }
}

void OrvalenProcessor::feedAnalysisFifo (const float* left, const float* right, int n)
{
    const int r = analysisFifoRead.load();
    const int w = analysisFifoWrite.load();
    const int size = analysisFifoSize;
    const int freeSpace = w < r ? r - w - 1 : size - w + r - 1;
    const int m = std::min (freeSpace, n);
    if (m <= 0)
        return;

    const int first = std::min (m, size - w);
    const int second = std::min (m - first, r);
    float* fifo = analysisFifo.data();
    int j = 0;

    const auto push = [&] (int index)
    {
        const float x = 0.5f * (left[j] + right[j]);
        const float y = x - dcPrevInput + dcCoefficient * dcPrevOutput;
        dcPrevInput = x;
        dcPrevOutput = y;
        fifo[index] = y;
        ++j;
    };

    for (int i = 0; i < first; ++i)
        push (w + i);
    for (int i = 0; i < second; ++i)
        push (i);

    int newWrite = w + first + second;
    if (newWrite >= size)
        newWrite -= size;
    analysisFifoWrite.store (newWrite);
}

void OrvalenProcessor::addAuditionTone (juce::AudioBuffer<float>& buffer)
{
    if (! toneActive.load())
    {
        tonePhase = 0.0;
        return;
    }

    const float levelDb = toneLevelDb.load();
    const float gain = levelDb > -100.0f ? std::pow (10.0f, levelDb / 20.0f) : 0.0f;
    const double fs = preparedSampleRate > 0.0 ? preparedSampleRate : 44100.0;
    const double step = (double) toneFrequencyHz.load() * juce::MathConstants<double>::twoPi / fs;
    const int n = buffer.getNumSamples();
    float* first = buffer.getWritePointer (0);
    float* second =
        getTotalNumOutputChannels() > 1 && buffer.getNumChannels() > 1 ? buffer.getWritePointer (1) : nullptr;

    for (int i = 0; i < n; ++i)
    {
        const float s = (float) std::sin (tonePhase) * gain;
        tonePhase += step;
        if (tonePhase >= juce::MathConstants<double>::twoPi)
            tonePhase -= juce::MathConstants<double>::twoPi;
        first[i] += s;
        if (second != nullptr)
            second[i] += s;
    }
}
