#include "FileAnalysis.h"

#include "DemoSignal.h"
#include "editor/ReadoutBar.h"
#include "processor/OrvalenProcessor.h"

#include <thread>

namespace
{
constexpr int blockSize = 512;
constexpr double demoSampleRate = 48000.0;
constexpr double demoSeconds = 6.0;
constexpr double frameSeconds = 0.016;
constexpr double sparseFrameSeconds = 0.16;
constexpr double denseTailSeconds = 3.0;

class PlayingHead final : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying (true);
        info.setTimeInSamples (position);
        return info;
    }

    juce::int64 position = 0;
};

int samplesWaiting (const OrvalenProcessor& p)
{
    const int r = p.analysisFifoRead.load();
    const int w = p.analysisFifoWrite.load();
    return w >= r ? w - r : p.analysisFifoSize - r + w;
}

// A host's audio thread is paced by the sound card; here the analysis thread
// must keep up with a faster-than-real-time feed, so wait while it catches up.
void waitForAnalysis (const OrvalenProcessor& p, int maxWaiting)
{
    for (int tries = 0; tries < 20000 && samplesWaiting (p) > maxWaiting; ++tries)
        std::this_thread::sleep_for (std::chrono::microseconds (250));
}

void applySettings (OrvalenProcessor& p, const AnalyseOptions& options, const juce::MemoryBlock* savedState)
{
    if (savedState != nullptr)
        p.setStateInformation (savedState->getData(), (int) savedState->getSize());

    const std::pair<const std::optional<int>&, std::atomic<int>&> settings[] = {
        { options.measureMode, p.measureMode },    { options.weighting, p.weighting },
        { options.smoothing, p.smoothing },        { options.responseMs, p.responseMs },
        { options.fftOrder, p.requestedFftOrder },
    };
    for (auto& [value, setting] : settings)
        if (value.has_value())
            setting.exchange (*value);
}

juce::Image paintEditor (juce::Component& editor)
{
    juce::Image image (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true);
    juce::Graphics g (image);
    editor.paintEntireComponent (g, true);
    return image;
}

std::unique_ptr<juce::AudioFormatReader> makeDemoReader()
{
    const auto demo = makeDemoSignal (demoSampleRate, demoSeconds);
    auto block = std::make_unique<juce::MemoryBlock>();
    {
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (
            wav.createWriterFor (new juce::MemoryOutputStream (*block, false), demoSampleRate, 2, 24, {}, 0));
        writer->writeFromAudioSampleBuffer (demo, 0, demo.getNumSamples());
    }
    juce::WavAudioFormat wav;
    auto* stream = new juce::MemoryInputStream (block->getData(), block->getSize(), true);
    return std::unique_ptr<juce::AudioFormatReader> (wav.createReaderFor (stream, true));
}

juce::String jsonNumber (float value) { return value <= -90.0f ? juce::String ("null") : juce::String (value, 2); }
} // namespace

OpenedInput openAnalysisInput (const AnalyseOptions& options)
{
    OpenedInput input;
    if (options.inputFile == juce::File())
    {
        input.reader = makeDemoReader();
        input.description = "demo signal (pink noise with a panned 1 kHz tone)";
        return input;
    }

    const auto& file = options.inputFile;
    input.description = file.getFileName();
    if (! file.existsAsFile())
    {
        input.error = "cannot open '" + file.getFullPathName() + "': no such file";
        return input;
    }

    auto stream = file.createInputStream();
    if (stream == nullptr)
    {
        input.error = "cannot read '" + file.getFullPathName() + "'";
        return input;
    }

    juce::WavAudioFormat wav;
    juce::AiffAudioFormat aiff;
    juce::FlacAudioFormat flac;
    for (juce::AudioFormat* format : std::initializer_list<juce::AudioFormat*> { &wav, &aiff, &flac })
    {
        stream->setPosition (0);
        if (auto* reader = format->createReaderFor (stream.get(), false))
        {
            stream.release();
            input.reader.reset (reader);
            break;
        }
    }

    if (input.reader == nullptr)
        input.error = "unsupported format: '" + file.getFileName() + "' is not a readable WAV, AIFF or FLAC file";
    else if (input.reader->numChannels < 1 || input.reader->numChannels > 2)
        input.error = "'" + file.getFileName() + "' has " + juce::String (input.reader->numChannels)
                      + " channels; only mono and stereo files can be analysed";
    else if (! (input.reader->sampleRate >= 8000.0 && input.reader->sampleRate <= 384000.0))
        input.error = "'" + file.getFileName() + "' has an unsupported sample rate of "
                      + juce::String (input.reader->sampleRate) + " Hz";
    else if (input.reader->lengthInSamples <= 0)
        input.error = "'" + file.getFileName() + "' holds no audio";

    if (input.error.isNotEmpty())
        input.reader.reset();
    return input;
}

AnalysisReport analyseInput (juce::AudioFormatReader& reader,
                             const AnalyseOptions& options,
                             const juce::MemoryBlock* savedState,
                             const std::function<void (double)>& progress)
{
    const auto started = juce::Time::getMillisecondCounterHiRes();
    AnalysisReport report;
    report.sampleRate = reader.sampleRate;
    report.numChannels = (int) reader.numChannels;
    report.seconds = (double) reader.lengthInSamples / reader.sampleRate;

    OrvalenProcessor processor;
    if (report.numChannels == 1)
    {
        juce::AudioProcessor::BusesLayout mono;
        mono.inputBuses.add (juce::AudioChannelSet::mono());
        mono.outputBuses.add (juce::AudioChannelSet::mono());
        processor.setBusesLayout (mono);
    }
    applySettings (processor, options, savedState);

    PlayingHead head;
    processor.setPlayHead (&head);
    processor.setRateAndBufferSizeDetails (reader.sampleRate, blockSize);
    processor.prepareToPlay (reader.sampleRate, blockSize);

    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    editor->setSize (options.width, options.height);

    juce::AudioBuffer<float> buffer (report.numChannels, blockSize);
    juce::MidiBuffer midi;
    const auto total = reader.lengthInSamples;
    const auto denseFrom = total - (juce::int64) (denseTailSeconds * reader.sampleRate);
    double nextFrame = 0.0;

    for (juce::int64 pos = 0; pos < total; pos += blockSize)
    {
        const int n = (int) juce::jmin ((juce::int64) blockSize, total - pos);
        buffer.setSize (report.numChannels, n, false, false, true);
        reader.read (&buffer, 0, n, pos, true, report.numChannels > 1);

        waitForAnalysis (processor, 4 * OrvalenProcessor::analysisBatchSize);
        head.position = pos;
        processor.processBlock (buffer, midi);
        report.maxMomentaryLufs = juce::jmax (report.maxMomentaryLufs, processor.momentaryLufs.load());

        const double now = (double) (pos + n) / reader.sampleRate;
        if (now >= nextFrame)
        {
            paintEditor (*editor);
            nextFrame = now + (pos + n >= denseFrom ? frameSeconds : sparseFrameSeconds);
        }
        if (progress)
            progress ((double) (pos + n) / (double) total);
    }

    waitForAnalysis (processor, OrvalenProcessor::analysisBatchSize - 1);
    std::this_thread::sleep_for (std::chrono::milliseconds (5));

    report.editorImage = paintEditor (*editor);
    report.truePeakDb = processor.truePeakDb.load();
    report.rmsDb = processor.rmsDb.load();
    report.momentaryLufs = processor.momentaryLufs.load();
    report.integratedLufs = processor.integratedLufs.load();
    report.measureMode = processor.measureMode.load();
    report.weighting = processor.weighting.load();
    report.smoothing = processor.smoothing.load();
    report.responseMs = processor.responseMs.load();
    report.fftOrder = processor.requestedFftOrder.load();

    editor.reset();
    processor.setPlayHead (nullptr);
    report.elapsedSeconds = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;
    return report;
}

juce::String formatReport (const AnalysisReport& report, const juce::String& description, bool json)
{
    if (json)
    {
        juce::String s;
        s << "{\n"
          << "  \"input\": " << juce::JSON::toString (description) << ",\n"
          << "  \"sampleRate\": " << report.sampleRate << ",\n"
          << "  \"channels\": " << report.numChannels << ",\n"
          << "  \"seconds\": " << juce::String (report.seconds, 3) << ",\n"
          << "  \"truePeakDb\": " << jsonNumber (report.truePeakDb) << ",\n"
          << "  \"rmsDb\": " << jsonNumber (report.rmsDb) << ",\n"
          << "  \"momentaryLufs\": " << jsonNumber (report.momentaryLufs) << ",\n"
          << "  \"integratedLufs\": " << jsonNumber (report.integratedLufs) << ",\n"
          << "  \"maxMomentaryLufs\": " << jsonNumber (report.maxMomentaryLufs) << ",\n"
          << "  \"settings\": { \"measureMode\": " << report.measureMode << ", \"weighting\": " << report.weighting
          << ", \"smoothing\": " << report.smoothing << ", \"responseMs\": " << report.responseMs
          << ", \"fftOrder\": " << report.fftOrder << " },\n"
          << "  \"readouts\": { \"TP\": " << juce::JSON::toString (formatReadout (report.truePeakDb).trim())
          << ", \"RMS\": " << juce::JSON::toString (formatReadout (report.rmsDb).trim())
          << ", \"M\": " << juce::JSON::toString (formatReadout (report.momentaryLufs).trim())
          << ", \"I\": " << juce::JSON::toString (formatReadout (report.integratedLufs).trim()) << " },\n"
          << "  \"speedFactor\": " << juce::String (report.seconds / juce::jmax (1e-6, report.elapsedSeconds), 1)
          << "\n}";
        return s;
    }

    juce::String s;
    s << "Input: " << description << " (" << juce::String (report.seconds, 2) << " s, "
      << juce::String (report.sampleRate, 0) << " Hz, " << (report.numChannels == 1 ? "mono" : "stereo") << ")\n"
      << "TP:  " << formatReadout (report.truePeakDb) << " dB\n"
      << "RMS: " << formatReadout (report.rmsDb) << " dB\n"
      << "M:   " << formatReadout (report.momentaryLufs) << " LUFS\n"
      << "I:   " << formatReadout (report.integratedLufs) << " LUFS\n"
      << "Highest M: " << formatReadout (report.maxMomentaryLufs) << " LUFS\n"
      << "Analysed at " << juce::String (report.seconds / juce::jmax (1e-6, report.elapsedSeconds), 1)
      << " x real time";
    return s;
}
