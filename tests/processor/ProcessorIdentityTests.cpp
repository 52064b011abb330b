#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

namespace
{
using Set = juce::AudioChannelSet;

juce::AudioProcessor::BusesLayout layoutOf (const Set& input, const Set& output)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (input);
    layout.outputBuses.add (output);
    return layout;
}

juce::MemoryBlock stateOf (OrvalenProcessor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation (block);
    return block;
}
} // namespace

TEST (ProcessorIdentity, NameMidiEditorAndTail)
{
    OrvalenProcessor p;
    EXPECT_EQ (p.getName(), "KLV Lumaspan");
    EXPECT_FALSE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_FALSE (p.isMidiEffect());
    EXPECT_FALSE (p.supportsDoublePrecisionProcessing());
    EXPECT_TRUE (p.hasEditor());
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
}

TEST (ProcessorIdentity, EditorOpensAtItsDefaultSize)
{
    OrvalenProcessor p;
    std::unique_ptr<juce::AudioProcessorEditor> editor (p.createEditor());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 800);
    EXPECT_EQ (editor->getHeight(), 580);
    EXPECT_EQ (&editor->processor, &p);
}

TEST (ProcessorIdentity, HasNoParametersOfItsOwn)
{
    OrvalenProcessor p;
    EXPECT_TRUE (p.getParameters().isEmpty());
    EXPECT_EQ (p.getBypassParameter(), nullptr);
}

TEST (ProcessorIdentity, BusesAreStereoInputAndOutput)
{
    OrvalenProcessor p;
    ASSERT_EQ (p.getBusCount (true), 1);
    ASSERT_EQ (p.getBusCount (false), 1);
    EXPECT_EQ (p.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (p.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (p.getBus (true, 0)->getCurrentLayout(), Set::stereo());
    EXPECT_EQ (p.getBus (false, 0)->getCurrentLayout(), Set::stereo());
    EXPECT_TRUE (p.getBus (true, 0)->isEnabledByDefault());
    EXPECT_TRUE (p.getBus (false, 0)->isEnabledByDefault());
}

struct LayoutCase
{
    const char* name;
    Set input, output;
    bool accepted;
};

TEST (ProcessorIdentity, AcceptsOnlyMatchingMonoOrStereoLayouts)
{
    const LayoutCase cases[] = {
        { "mono/mono", Set::mono(), Set::mono(), true },
        { "stereo/stereo", Set::stereo(), Set::stereo(), true },
        { "mono/stereo", Set::mono(), Set::stereo(), false },
        { "stereo/mono", Set::stereo(), Set::mono(), false },
        { "stereo/no output", Set::stereo(), Set::disabled(), false },
        { "no input/stereo", Set::disabled(), Set::stereo(), false },
        { "no input/no output", Set::disabled(), Set::disabled(), false },
        { "5.1/5.1", Set::create5point1(), Set::create5point1(), false },
        { "quad/quad", Set::quadraphonic(), Set::quadraphonic(), false },
        { "discrete 2/discrete 2", Set::discreteChannels (2), Set::discreteChannels (2), false },
    };

    OrvalenProcessor p;
    for (const auto& c : cases)
        EXPECT_EQ (p.checkBusesLayoutSupported (layoutOf (c.input, c.output)), c.accepted) << c.name;
}

TEST (ProcessorIdentity, SwitchesBetweenMonoAndStereo)
{
    OrvalenProcessor p;
    ASSERT_TRUE (p.setBusesLayout (layoutOf (Set::mono(), Set::mono())));
    EXPECT_EQ (p.getTotalNumInputChannels(), 1);
    EXPECT_EQ (p.getTotalNumOutputChannels(), 1);
    EXPECT_FALSE (p.setBusesLayout (layoutOf (Set::mono(), Set::stereo())));
    EXPECT_EQ (p.getTotalNumOutputChannels(), 1);
    ASSERT_TRUE (p.setBusesLayout (layoutOf (Set::stereo(), Set::stereo())));
    EXPECT_EQ (p.getTotalNumInputChannels(), 2);
}

TEST (ProcessorIdentity, HasOneProgramNamedDefault)
{
    OrvalenProcessor p;
    EXPECT_EQ (p.getNumPrograms(), 1);
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_EQ (p.getProgramName (0), "Default");
    EXPECT_EQ (p.getProgramName (1), juce::String());
    EXPECT_EQ (p.getProgramName (-1), juce::String());
}

TEST (ProcessorIdentity, ProgramCallsChangeNothing)
{
    OrvalenProcessor p;
    p.weighting.exchange (1);
    const auto before = stateOf (p);

    for (const int index : { 0, 1, -1, 42 })
    {
        p.setCurrentProgram (index);
        p.changeProgramName (index, "Renamed");
    }

    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_EQ (p.getProgramName (0), "Default");
    EXPECT_EQ (p.getNumPrograms(), 1);
    EXPECT_EQ (stateOf (p), before);
}

TEST (ProcessorIdentity, DefaultSettings)
{
    OrvalenProcessor p;
    EXPECT_EQ (p.measureMode.load(), 0);
    EXPECT_EQ (p.weighting.load(), 3);
    EXPECT_EQ (p.smoothing.load(), 1);
    EXPECT_EQ (p.responseMs.load(), 1);
}
