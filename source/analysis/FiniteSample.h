#pragma once

#include <cmath>

// Measurements treat a NaN or infinite input sample as silence: one such sample
// would otherwise poison every running sum and filter state until a reset. The
// audio itself still passes through untouched.
inline float finiteOrSilence (float sample) noexcept { return std::isfinite (sample) ? sample : 0.0f; }
