#include "analysis/LoudnessMeter.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float noReading = -90.0f;
constexpr double fallbackSampleRate = 48000.0;
constexpr double loudnessOffset = 0.691;

float levelDb (float x)
{
    if (x <= 0.0f)
        return -100.0f;
    return std::max (20.0f * std::log10 (x), -100.0f);
}

float lufsOf (double meanSquare)
{
    const auto logValue = std::log10 ((float) std::max (meanSquare, 1e-10));
    return (float) (10.0 * (double) logValue - loudnessOffset);
}

// One running-sum window update: the difference is formed in single
// precision and accumulated in double.
inline void slide (std::vector<float>& ring, int pos, float square, double& sum)
{
    sum += (double) (square - ring[(size_t) pos]);
    ring[(size_t) pos] = square;
}
} // namespace

juce::IIRCoefficients LoudnessMeter::makeKWeightingHighPass (double rate)
{
    const double k = std::tan (119.80463057158781 / rate);
    const double kOverQ = k * 1.9988007588125345;
    const double norm = 1.0 / (1.0 + kOverQ + k * k);

    juce::IIRCoefficients c;
    c.coefficients[0] = (float) norm;
    c.coefficients[1] = (float) (-2.0 * norm);
    c.coefficients[2] = (float) norm;
    c.coefficients[3] = (float) (2.0 * (k * k - 1.0) * norm);
    c.coefficients[4] = (float) ((1.0 - kOverQ + k * k) * norm);
    return c;
}

double LoudnessMeter::blockLoudness (double meanSquare)
{
    return 10.0 * std::log10 (std::max (meanSquare, 1e-10)) - loudnessOffset;
}

void LoudnessMeter::prepare (double newSampleRate)
{
    sampleRate = newSampleRate > 0.0 ? newSampleRate : fallbackSampleRate;

    const float shelfCutoff = 1681.974f;
    const float shelfQ = 0.7071f;
    const float shelfGain = std::pow (10.0f, 0.2f);
    const auto shelf = juce::IIRCoefficients::makeHighShelf (sampleRate, shelfCutoff, shelfQ, shelfGain);
    shelfLeft.setCoefficients (shelf);
    shelfRight.setCoefficients (shelf);

    const auto highPass = makeKWeightingHighPass (sampleRate);
    highPassLeft.setCoefficients (highPass);
    highPassRight.setCoefficients (highPass);

    rmsLength = std::max (1, (int) std::lround (0.5 * sampleRate));
    loudnessLength = std::max (1, (int) std::lround (sampleRate));

    rmsRingLeft.assign ((size_t) rmsLength, 0.0f);
    rmsRingRight.assign ((size_t) rmsLength, 0.0f);
    loudnessRingLeft.assign ((size_t) loudnessLength, 0.0f);
    loudnessRingRight.assign ((size_t) loudnessLength, 0.0f);

    reset (nullptr);
}

void LoudnessMeter::reset (LoudnessReadings* target)
{
    std::fill (rmsRingLeft.begin(), rmsRingLeft.end(), 0.0f);
    std::fill (rmsRingRight.begin(), rmsRingRight.end(), 0.0f);
    std::fill (loudnessRingLeft.begin(), loudnessRingLeft.end(), 0.0f);
    std::fill (loudnessRingRight.begin(), loudnessRingRight.end(), 0.0f);
    rmsPos = 0;
    loudnessPos = 0;
    rmsSumLeft = rmsSumRight = 0.0;
    loudnessSumLeft = loudnessSumRight = 0.0;
    gatedSum = 0.0;
    gatedCount = 0;
    peak = 0.0f;

    if (target != nullptr)
    {
        target->truePeakDb.exchange (noReading);
        target->rmsDb.exchange (noReading);
        target->momentaryLufs.exchange (noReading);
        target->integratedLufs.exchange (noReading);
    }
}

void LoudnessMeter::processBlock (bool playing,
                                  const float* left,
                                  const float* right,
                                  int numSamples,
                                  LoudnessReadings& readings)
{
    if (resetPending)
    {
        reset (&readings);
        resetPending = false;
    }

    if (playing && ! wasPlaying)
        reset (&readings);

    wasPlaying = playing;

    if (! playing || rmsLength < 1 || loudnessLength < 1 || rmsRingLeft.empty() || loudnessRingLeft.empty())
        return;

    measure (left, right, numSamples);
    publish (readings);
}

void LoudnessMeter::measure (const float* left, const float* right, int numSamples)
{
    for (int i = 0; i < numSamples; ++i)
    {
        const float l = left[i];
        const float r = right[i];
        peak = std::max (peak, std::max (std::abs (l), std::abs (r)));

        slide (rmsRingLeft, rmsPos, l * l, rmsSumLeft);
        slide (rmsRingRight, rmsPos, r * r, rmsSumRight);
        if (++rmsPos == rmsLength)
            rmsPos = 0;

        const float kl = highPassLeft.step (shelfLeft.step (l));
        const float kr = highPassRight.step (shelfRight.step (r));

        slide (loudnessRingLeft, loudnessPos, kl * kl, loudnessSumLeft);
        slide (loudnessRingRight, loudnessPos, kr * kr, loudnessSumRight);
        if (++loudnessPos == loudnessLength)
        {
            loudnessPos = 0;
            const double z = (loudnessSumLeft + loudnessSumRight) / loudnessLength;
            if (blockLoudness (z) >= absoluteGateLufs)
            {
                gatedSum += z;
                ++gatedCount;
            }
        }
    }
}

void LoudnessMeter::publish (LoudnessReadings& readings) const
{
    readings.truePeakDb.exchange (levelDb (peak) + 1.0f);

    const double rmsMeanSquare = std::max (0.0, (rmsSumLeft + rmsSumRight) / (2.0 * rmsLength));
    readings.rmsDb.exchange (levelDb ((float) std::sqrt (rmsMeanSquare)));

    readings.momentaryLufs.exchange (lufsOf ((loudnessSumLeft + loudnessSumRight) / loudnessLength));

    if (gatedCount > 0)
        readings.integratedLufs.exchange (lufsOf (gatedSum / (double) gatedCount));
}
