#include "analysis/LoudnessMeter.h"

void LoudnessMeter::prepare (double newSampleRate)
{
    sampleRate = newSampleRate;
}

void LoudnessMeter::reset (LoudnessReadings*)
{
}

void LoudnessMeter::processBlock (bool, const float*, const float*, int, LoudnessReadings&)
{
}
