#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

TEST (ProcessorIdentity, NameProgramsAndMidi)
{
    OrvalenProcessor p;
    EXPECT_EQ (p.getName(), "KLV Lumaspan");
    EXPECT_EQ (p.getNumPrograms(), 1);
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_EQ (p.getProgramName (0), "Default");
    EXPECT_FALSE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_TRUE (p.hasEditor());
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
}

TEST (ProcessorIdentity, DefaultSettings)
{
    OrvalenProcessor p;
    EXPECT_EQ (p.measureMode.load(), 0);
    EXPECT_EQ (p.weighting.load(), 3);
    EXPECT_EQ (p.smoothing.load(), 1);
    EXPECT_EQ (p.responseMs.load(), 1);
    EXPECT_TRUE (p.isThreadRunning());
    EXPECT_EQ (p.getThreadName(), "KLA_FFT_Thread");
}
