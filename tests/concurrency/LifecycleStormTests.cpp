#include "common/TestPlayHead.h"
#include "processor/OrvalenProcessor.h"

#include <gtest/gtest.h>

#include <thread>

// Hosts create, prepare, re-prepare and destroy plug-ins in every order, and
// open and close editors while audio runs. None of it may crash or race.
namespace
{
void playBlocks (OrvalenProcessor& p, int blocks, int size, float level)
{
    juce::AudioBuffer<float> buffer (2, size);
    juce::MidiBuffer midi;
    for (int b = 0; b < blocks; ++b)
    {
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < size; ++i)
                buffer.setSample (ch, i, level * std::sin (0.05f * (float) (i + b * size)));
        p.processBlock (buffer, midi);
    }
}
} // namespace

TEST (LifecycleStorm, DestroyRightAfterConstructionAndAfterPrepare)
{
    for (int i = 0; i < 20; ++i)
    {
        {
            OrvalenProcessor p;
        }
        {
            OrvalenProcessor p;
            p.prepareToPlay (i % 2 == 0 ? 44100.0 : 96000.0, 256);
        }
    }
}

TEST (LifecycleStorm, PrepareWithChangingRatesWhileTheAnalysisThreadRuns)
{
    OrvalenProcessor p;
    TestPlayHead head { true };
    p.setPlayHead (&head);
    const double rates[] = { 44100.0, 48000.0, 96000.0, 8000.0, 192000.0, 0.0, 384000.0 };
    for (int round = 0; round < 30; ++round)
    {
        p.requestedFftOrder.exchange (round % 3 == 0 ? 12 : 13);
        p.prepareToPlay (rates[round % 7], 512);
        head.playing = round % 4 != 3;
        playBlocks (p, 40, 1 + (round * 97) % 2048, 0.3f);
    }
    EXPECT_TRUE (p.isThreadRunning());
    p.setPlayHead (nullptr);
}

TEST (LifecycleStorm, EditorOpenedAndClosedWhileAudioRuns)
{
    OrvalenProcessor p;
    TestPlayHead head { true };
    p.setPlayHead (&head);
    p.prepareToPlay (48000.0, 512);

    std::atomic<bool> stop { false };
    std::thread audio (
        [&]
        {
            while (! stop.load())
                playBlocks (p, 1, 512, 0.25f);
        });

    juce::Image frame (juce::Image::ARGB, 800, 580, true);
    for (int i = 0; i < 100; ++i)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (p.createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        juce::Graphics g (frame);
        editor->paintEntireComponent (g, true);
    }

    stop = true;
    audio.join();
    p.setPlayHead (nullptr);
}
