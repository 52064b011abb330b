#pragma once

#include <cstdint>
#include <vector>

// Forward transform of real samples, with the data layout of the framework's
// performRealOnlyForwardTransform: the first getSize() floats hold the samples
// on entry; on return the 2 x getSize() floats hold bins 0 .. getSize()-1 as
// interleaved (re, im) pairs. It runs the half-size complex transform of the
// even and odd samples and splits the result, about four times faster than
// the framework's fallback, which transforms the full size. It keeps no state
// between calls, so one object can serve one thread without a lock.
class RealFft
{
public:
    explicit RealFft (int order);

    int getSize() const noexcept { return size; }

    void performRealOnlyForwardTransform (float* data, bool onlyCalculateNonNegativeFrequencies = false) const noexcept;

private:
    int size = 1, half = 0;
    std::vector<uint32_t> swapPairs;
    std::vector<float> stageTwiddles, splitTwiddles;

    void complexTransform (float* data) const noexcept;
    void splitHalves (float* data) const noexcept;
};
