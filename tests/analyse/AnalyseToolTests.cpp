#include "AnalyseOptions.h"
#include "FileAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>

// The command-line tool as a user runs it: real files in every accepted format,
// the read-outs it prints, the picture it writes, and a clear failure for bad
// input that leaves nothing behind.
namespace
{
struct ToolRun
{
    int exitCode = -1;
    juce::String output;
};

ToolRun runTool (const juce::StringArray& args)
{
    juce::StringArray command { LUMASPAN_ANALYSE_TOOL };
    command.addArray (args);
    juce::ChildProcess child;
    ToolRun run;
    if (! child.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return run;
    run.output = child.readAllProcessOutput();
    child.waitForProcessToFinish (120000);
    run.exitCode = (int) child.getExitCode();
    return run;
}

class AnalyseTool : public testing::Test
{
protected:
    juce::File dir = juce::File::createTempFile ("lumaspan-analyse");

    void SetUp() override { ASSERT_TRUE (dir.createDirectory()); }
    void TearDown() override { dir.deleteRecursively(); }

    // A stereo 997 Hz sine of the given amplitude in both channels.
    juce::File writeSine (juce::AudioFormat& format,
                          const juce::String& name,
                          double rate,
                          int channels,
                          double seconds,
                          float amplitude = 0.5f)
    {
        const auto file = dir.getChildFile (name);
        const int n = (int) (seconds * rate);
        juce::AudioBuffer<float> buffer (channels, n);
        for (int i = 0; i < n; ++i)
            for (int ch = 0; ch < channels; ++ch)
                buffer.setSample (
                    ch, i, amplitude * (float) std::sin (juce::MathConstants<double>::twoPi * 997.0 * i / rate));

        std::unique_ptr<juce::OutputStream> out (file.createOutputStream().release());
        std::unique_ptr<juce::AudioFormatWriter> writer (
            format.createWriterFor (out.get(), rate, (unsigned) channels, 24, {}, 0));
        if (writer == nullptr)
            return {};
        out.release();
        writer->writeFromAudioSampleBuffer (buffer, 0, n);
        return file;
    }
};
} // namespace

TEST_F (AnalyseTool, ReadsWavAiffAndFlacAndPrintsTheReadouts)
{
    juce::WavAudioFormat wav;
    juce::AiffAudioFormat aiff;
    juce::FlacAudioFormat flac;
    const std::pair<juce::AudioFormat*, const char*> formats[] = { { &wav, "sine.wav" },
                                                                   { &aiff, "sine.aiff" },
                                                                   { &flac, "sine.flac" } };

    for (auto [format, name] : formats)
    {
        SCOPED_TRACE (name);
        const auto input = writeSine (*format, name, 48000.0, 2, 2.5);
        ASSERT_TRUE (input.existsAsFile());
        const auto png = dir.getChildFile (juce::String (name) + ".png");
        const auto run = runTool ({ input.getFullPathName(), "--json", "--png", png.getFullPathName() });
        ASSERT_EQ (run.exitCode, 0) << run.output;

        const auto json = juce::JSON::parse (run.output);
        // 0.5 amplitude in both channels: peak -6.02 dB + 1, RMS -9.03 dB,
        // M = -0.26 - 6.02 LUFS for this K-weighted 997 Hz tone.
        EXPECT_NEAR ((double) json["truePeakDb"], -5.02, 0.05);
        EXPECT_NEAR ((double) json["rmsDb"], -9.03, 0.05);
        EXPECT_NEAR ((double) json["momentaryLufs"], -6.28, 0.1);
        EXPECT_NEAR ((double) json["integratedLufs"], -6.28, 0.1);
        EXPECT_EQ (json["readouts"]["TP"].toString(), "-5.0");

        const auto image = juce::ImageFileFormat::loadFrom (png);
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), 800);
        EXPECT_EQ (image.getHeight(), 580);
    }
}

TEST_F (AnalyseTool, MonoFileCountsItsChannelTwiceInLoudness)
{
    juce::WavAudioFormat wav;
    const auto input = writeSine (wav, "mono.wav", 44100.0, 1, 2.0);
    const auto run =
        runTool ({ input.getFullPathName(), "--json", "--png", dir.getChildFile ("m.png").getFullPathName() });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    const auto json = juce::JSON::parse (run.output);
    EXPECT_EQ ((int) json["channels"], 1);
    EXPECT_NEAR ((double) json["momentaryLufs"], -6.28, 0.1);
    EXPECT_NEAR ((double) json["rmsDb"], -9.03, 0.05);
}

TEST_F (AnalyseTool, SizeOptionAndTextOutput)
{
    juce::WavAudioFormat wav;
    const auto input = writeSine (wav, "s.wav", 48000.0, 2, 1.5);
    const auto png = dir.getChildFile ("big.png");
    const auto run = runTool ({ input.getFullPathName(),
                                "--size",
                                "1200x870",
                                "--png",
                                png.getFullPathName(),
                                "--weighting",
                                "A",
                                "--smoothing",
                                "1/3",
                                "--mode",
                                "Peak",
                                "--response",
                                "Fast",
                                "--resolution",
                                "Lo" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("TP:    -5.0 dB")) << run.output;
    EXPECT_TRUE (run.output.contains ("Editor picture: " + png.getFullPathName()));
    const auto image = juce::ImageFileFormat::loadFrom (png);
    EXPECT_EQ (image.getWidth(), 1200);
    EXPECT_EQ (image.getHeight(), 870);
}

TEST_F (AnalyseTool, DemoSignalWithoutAFile)
{
    const auto png = dir.getChildFile ("demo.png");
    const auto run = runTool ({ "--json", "--png", png.getFullPathName() });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    const auto json = juce::JSON::parse (run.output);
    EXPECT_GT ((double) json["seconds"], 3.0);
    EXPECT_GT ((double) json["momentaryLufs"], -40.0);
    EXPECT_TRUE (png.existsAsFile());
}

TEST_F (AnalyseTool, BadInputFailsWithOneLineAndWritesNothing)
{
    juce::WavAudioFormat wav;
    const auto threeChannels = writeSine (wav, "three.wav", 48000.0, 3, 0.5);
    const auto text = dir.getChildFile ("notes.txt");
    text.replaceWithText ("not audio at all");
    const auto unreadable = dir.getChildFile ("secret.wav");
    writeSine (wav, "secret.wav", 48000.0, 2, 0.2);
    unreadable.setReadOnly (true);
    ::chmod (unreadable.getFullPathName().toRawUTF8(), 0);
    const auto good = writeSine (wav, "good.wav", 48000.0, 2, 0.2);

    const std::pair<juce::StringArray, const char*> cases[] = {
        { { dir.getChildFile ("missing.wav").getFullPathName() }, "no such file" },
        { { text.getFullPathName() }, "unsupported format" },
        { { threeChannels.getFullPathName() }, "3 channels" },
        { { good.getFullPathName(), "--weighting", "B" }, "invalid --weighting 'B'" },
        { { good.getFullPathName(), "--resolution", "Mid" }, "invalid --resolution" },
        { { good.getFullPathName(), "--size", "12x" }, "invalid --size" },
        { { good.getFullPathName(), "--frobnicate" }, "unknown option" },
        { { good.getFullPathName(), "--state", dir.getChildFile ("none.bin").getFullPathName() },
          "cannot read state file" },
    };

    for (const auto& [args, message] : cases)
    {
        SCOPED_TRACE (args.joinIntoString (" "));
        const auto png = dir.getChildFile ("out.png");
        auto fullArgs = args;
        fullArgs.addArray ({ "--png", png.getFullPathName() });
        const auto run = runTool (fullArgs);
        EXPECT_NE (run.exitCode, 0);
        EXPECT_TRUE (run.output.contains (message)) << run.output;
        EXPECT_EQ (run.output.trim().indexOfChar ('\n'), -1) << "one line only";
        EXPECT_FALSE (png.exists());
    }
    if (::geteuid() != 0)
    {
        const auto run = runTool ({ unreadable.getFullPathName() });
        EXPECT_NE (run.exitCode, 0);
    }
}

TEST_F (AnalyseTool, SavedStateIsAppliedBeforeOptions)
{
    const juce::String xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <KLALumaspanState measureMode=\"1\" "
                             "weighting=\"0\" smoothing=\"0\" responseMs=\"2\"/>";
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt (xml.getNumBytesAsUTF8());
    out << xml;
    out.writeByte (0);
    out.flush();
    const auto stateFile = dir.getChildFile ("state.bin");
    ASSERT_TRUE (stateFile.replaceWithData (block.getData(), block.getSize()));

    AnalyseOptions options;
    options.stateFile = stateFile;
    options.weighting = 2;
    juce::WavAudioFormat wav;
    options.inputFile = writeSine (wav, "st.wav", 48000.0, 2, 0.5);
    auto input = openAnalysisInput (options);
    ASSERT_NE (input.reader, nullptr) << input.error;
    const auto report = analyseInput (*input.reader, options, &block, {});
    EXPECT_TRUE (report.editorImage.isValid());
    EXPECT_EQ (report.measureMode, 1);
    EXPECT_EQ (report.weighting, 2) << "an option on the command line wins over the saved state";
    EXPECT_EQ (report.smoothing, 0);
    EXPECT_EQ (report.responseMs, 2);
    EXPECT_EQ (report.fftOrder, 13);
}

TEST (AnalyseOptionsParsing, OptionTextsMapToSettingIndices)
{
    const auto parsed = parseAnalyseOptions (
        { "--mode", "Peak", "--weighting", "C", "--smoothing", "1/6", "--response", "Slow", "--resolution", "Lo" });
    ASSERT_TRUE (parsed.options.has_value()) << parsed.error;
    EXPECT_EQ (*parsed.options->measureMode, 1);
    EXPECT_EQ (*parsed.options->weighting, 2);
    EXPECT_EQ (*parsed.options->smoothing, 2);
    EXPECT_EQ (*parsed.options->responseMs, 2);
    EXPECT_EQ (*parsed.options->fftOrder, 12);
    EXPECT_FALSE (parseAnalyseOptions ({ "--mode" }).options.has_value());
    EXPECT_FALSE (parseAnalyseOptions ({ "a.wav", "b.wav" }).options.has_value());
}
