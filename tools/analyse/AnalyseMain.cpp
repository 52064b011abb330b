#include "FileAnalysis.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>
#include <unistd.h>

namespace
{
int fail (const juce::String& message)
{
    std::cerr << "lumaspan-analyse: " << message << std::endl;
    return 1;
}

// A bar on the terminal for inputs long enough to wait for.
class ProgressBar
{
public:
    explicit ProgressBar (bool enabled)
        : shown (enabled)
    {
    }

    void update (double fraction)
    {
        if (! shown)
            return;
        const int percent = (int) (fraction * 100.0);
        if (percent == lastPercent)
            return;
        lastPercent = percent;
        const int filled = percent * width / 100;
        std::cerr << "\r[" << std::string ((size_t) filled, '#') << std::string ((size_t) (width - filled), '-') << "] "
                  << percent << "%" << std::flush;
    }

    void finish()
    {
        if (shown && lastPercent >= 0)
            std::cerr << "\r" << std::string ((size_t) width + 8, ' ') << "\r" << std::flush;
    }

private:
    static constexpr int width = 40;
    bool shown;
    int lastPercent = -1;
};

// Writes next to the destination first, so a failed run never leaves half a file.
bool writePngAtomically (const juce::Image& image, const juce::File& destination)
{
    if (! destination.getParentDirectory().createDirectory())
        return false;

    const juce::TemporaryFile temp (destination);
    {
        juce::FileOutputStream out (temp.getFile());
        juce::PNGImageFormat png;
        if (! out.openedOk() || ! png.writeImageToStream (image, out))
            return false;
        out.flush();
        if (out.getStatus().failed())
            return false;
    }
    return temp.overwriteTargetFileWithTemporary();
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    const auto parsed = parseAnalyseOptions (args);
    if (parsed.helpRequested)
    {
        std::cout << analyseUsage();
        return 0;
    }
    if (! parsed.options)
        return fail (parsed.error + " (see --help)");
    const auto& options = *parsed.options;

    const juce::ScopedJuceInitialiser_GUI gui;

    juce::MemoryBlock state;
    if (options.stateFile != juce::File() && ! options.stateFile.loadFileAsData (state))
        return fail ("cannot read state file '" + options.stateFile.getFullPathName() + "'");

    auto input = openAnalysisInput (options);
    if (input.reader == nullptr)
        return fail (input.error);

    const bool longInput = input.reader->lengthInSamples > (juce::int64) (5.0 * input.reader->sampleRate);
    ProgressBar bar (longInput && ! options.quiet && isatty (STDERR_FILENO));
    const auto report = analyseInput (*input.reader,
                                      options,
                                      options.stateFile != juce::File() ? &state : nullptr,
                                      [&bar] (double f) { bar.update (f); });
    bar.finish();

    if (! writePngAtomically (report.editorImage, options.pngFile))
        return fail ("cannot write '" + options.pngFile.getFullPathName() + "'");

    std::cout << formatReport (report, input.description, options.json) << std::endl;
    if (! options.json)
        std::cout << "Editor picture: " << options.pngFile.getFullPathName() << std::endl;
    return 0;
}
