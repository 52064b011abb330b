#include "editor/OrvalenEditor.h"

#include "processor/OrvalenProcessor.h"

OrvalenEditor::OrvalenEditor (OrvalenProcessor& p) : juce::AudioProcessorEditor (p), audioProcessor (p)
{
    setSize (800, 580);
    startTimer (16);
}

OrvalenEditor::~OrvalenEditor() { stopTimer(); }

void OrvalenEditor::paint (juce::Graphics& g) { g.fillAll (juce::Colour (0xFF0C0E14)); }

void OrvalenEditor::resized() {}

void OrvalenEditor::timerCallback() { repaint(); }
