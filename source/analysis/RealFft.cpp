#include "analysis/RealFft.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double pi = 3.14159265358979323846;

uint32_t reversedBits (uint32_t value, int bits)
{
    uint32_t result = 0;
    for (int b = 0; b < bits; ++b)
        result |= ((value >> b) & 1u) << (bits - 1 - b);
    return result;
}
} // namespace

RealFft::RealFft (int order)
{
    order = std::clamp (order, 0, 24);
    size = 1 << order;
    half = size / 2;

    for (uint32_t i = 0; i < (uint32_t) half; ++i)
    {
        const uint32_t j = reversedBits (i, order - 1);
        if (i < j)
        {
            swapPairs.push_back (i);
            swapPairs.push_back (j);
        }
    }

    // Stage with butterfly span h uses exp(-i pi j / h), j < h; the stages
    // are stored one after the other (1 + 2 + ... entries).
    for (int h = 1; h < half; h *= 2)
        for (int j = 0; j < h; ++j)
        {
            stageTwiddles.push_back ((float) std::cos (pi * j / h));
            stageTwiddles.push_back ((float) -std::sin (pi * j / h));
        }

    for (int k = 0; k <= half / 2; ++k)
    {
        splitTwiddles.push_back ((float) std::cos (2.0 * pi * k / size));
        splitTwiddles.push_back ((float) -std::sin (2.0 * pi * k / size));
    }
}

void RealFft::performRealOnlyForwardTransform (float* data, bool onlyCalculateNonNegativeFrequencies) const noexcept
{
    if (size == 1)
    {
        data[1] = 0.0f;
        return;
    }

    complexTransform (data);
    splitHalves (data);

    if (onlyCalculateNonNegativeFrequencies)
        return;

    // The upper bins mirror the lower ones as complex conjugates.
    for (int k = 1; k < half; ++k)
    {
        data[2 * (size - k)] = data[2 * k];
        data[2 * (size - k) + 1] = -data[2 * k + 1];
    }
}

// In-place radix-2 transform of the samples read as half complex values.
void RealFft::complexTransform (float* data) const noexcept
{
    for (size_t p = 0; p < swapPairs.size(); p += 2)
    {
        const size_t a = 2 * (size_t) swapPairs[p], b = 2 * (size_t) swapPairs[p + 1];
        std::swap (data[a], data[b]);
        std::swap (data[a + 1], data[b + 1]);
    }

    for (int a = 0; a + 1 < half; a += 2)
    {
        float* x = data + 2 * a;
        const float r = x[2], i = x[3];
        x[2] = x[0] - r;
        x[3] = x[1] - i;
        x[0] += r;
        x[1] += i;
    }

    for (int h = 2; h < half; h *= 2)
    {
        // Stage h starts after the 1 + 2 + ... + h/2 = h - 1 entries before it.
        const float* twiddles = stageTwiddles.data() + 2 * (h - 1);
        for (int base = 0; base < half; base += 2 * h)
        {
            float* x = data + 2 * base;
            float* y = x + 2 * h;
            for (int j = 0; j < h; ++j)
            {
                const float wr = twiddles[2 * j], wi = twiddles[2 * j + 1];
                const float r = y[2 * j] * wr - y[2 * j + 1] * wi;
                const float i = y[2 * j] * wi + y[2 * j + 1] * wr;
                y[2 * j] = x[2 * j] - r;
                y[2 * j + 1] = x[2 * j + 1] - i;
                x[2 * j] += r;
                x[2 * j + 1] += i;
            }
        }
    }
}

// Turns the transform Z of the packed pairs into bins 0 .. half of the real
// signal: X[k] = E[k] + W^k O[k], with E and O the transforms of the even and
// odd samples, read from Z[k] and conj(Z[half - k]).
void RealFft::splitHalves (float* data) const noexcept
{
    const float z0r = data[0], z0i = data[1];
    data[0] = z0r + z0i;
    data[1] = 0.0f;
    data[2 * half] = z0r - z0i;
    data[2 * half + 1] = 0.0f;

    for (int k = 1; k <= half / 2; ++k)
    {
        float* lower = data + 2 * k;
        float* upper = data + 2 * (half - k);
        const float er = 0.5f * (lower[0] + upper[0]), ei = 0.5f * (lower[1] - upper[1]);
        const float orr = 0.5f * (lower[1] + upper[1]), oi = -0.5f * (lower[0] - upper[0]);
        const float wr = splitTwiddles[2 * (size_t) k], wi = splitTwiddles[2 * (size_t) k + 1];
        const float tr = wr * orr - wi * oi, ti = wr * oi + wi * orr;
        lower[0] = er + tr;
        lower[1] = ei + ti;
        upper[0] = er - tr;
        upper[1] = ti - ei;
    }
}
