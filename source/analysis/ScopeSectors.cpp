#include "analysis/ScopeSectors.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void ScopeSectors::analyseCapture (const float* captureLeft,
                                   const float* captureRight,
                                   float* fftLeft,
                                   float* fftRight,
                                   const RealFft& fft,
                                   juce::dsp::WindowingFunction<float>& window,
                                   float* sectors)
{
    std::fill (fftLeft, fftLeft + 2 * captureSize, 0.0f);
    std::fill (fftRight, fftRight + 2 * captureSize, 0.0f);
    std::memcpy (fftLeft, captureLeft, sizeof (float) * captureSize);
    std::memcpy (fftRight, captureRight, sizeof (float) * captureSize);

    window.multiplyWithWindowingTable (fftLeft, (size_t) captureSize);
    window.multiplyWithWindowingTable (fftRight, (size_t) captureSize);
    fft.performRealOnlyForwardTransform (fftLeft, false);
    fft.performRealOnlyForwardTransform (fftRight, false);

    sortBins (fftLeft, fftRight, sectors);
}

int ScopeSectors::sectorOf (float direction)
{
    const float degrees = direction * 57.295776f;
    if ((degrees >= -50.0f && degrees <= -46.0f) || (degrees >= 46.0f && degrees <= 50.0f))
        return -1;

    const int sector = (int) ((direction + 1.5707964f) / 3.1415927f * (float) numSectors);
    return std::clamp (sector, 0, numSectors - 1);
}

void ScopeSectors::sortBins (const float* spectrumLeft, const float* spectrumRight, float* sectors)
{
    constexpr float binScale = 1.0f / 512.0f;
    std::fill (sectors, sectors + numSectors, 0.0f);

    for (int k = 1; k < captureSize / 2; ++k)
    {
        const float lr = spectrumLeft[2 * k] * binScale, li = spectrumLeft[2 * k + 1] * binScale;
        const float rr = spectrumRight[2 * k] * binScale, ri = spectrumRight[2 * k + 1] * binScale;
        const float powerLeft = lr * lr + li * li;
        const float powerRight = rr * rr + ri * ri;
        const float power = powerLeft + powerRight;
        if (power < 1e-6f)
            continue;

        const float mid = (lr + rr) * (lr + rr) + (li + ri) * (li + ri);
        float side = (rr - lr) * (rr - lr) + (ri - li) * (ri - li);
        if (side < 1e-9f)
            side = 0.0f;

        const float theta = std::atan2 (std::sqrt (side), std::sqrt (mid));
        const int sector = sectorOf (powerRight > powerLeft ? theta : -theta);
        if (sector >= 0)
            sectors[sector] = std::max (sectors[sector], power);
    }
}
