#include "AnalyseOptions.h"

namespace
{
struct Choice
{
    const char* option;
    juce::StringArray texts;
    std::optional<int> AnalyseOptions::*target;
};

const Choice choices[] = {
    { "--mode", { "RMS", "Peak" }, &AnalyseOptions::measureMode },
    { "--weighting", { "Flat", "A", "C", "K" }, &AnalyseOptions::weighting },
    { "--smoothing", { "Off", "1/12", "1/6", "1/3" }, &AnalyseOptions::smoothing },
    { "--response", { "Fast", "Mid", "Slow" }, &AnalyseOptions::responseMs },
};

bool parseSize (const juce::String& text, AnalyseOptions& options)
{
    const auto w = text.upToFirstOccurrenceOf ("x", false, true);
    const auto h = text.fromFirstOccurrenceOf ("x", false, true);
    if (! w.containsOnly ("0123456789") || ! h.containsOnly ("0123456789") || w.isEmpty() || h.isEmpty())
        return false;

    options.width = w.getIntValue();
    options.height = h.getIntValue();
    return options.width >= 100 && options.height >= 72 && options.width <= 4000 && options.height <= 4000;
}

ParsedOptions failure (const juce::String& message)
{
    ParsedOptions result;
    result.error = message;
    return result;
}
} // namespace

juce::String analyseUsage()
{
    return "usage: lumaspan-analyse [FILE] [--json] [--png OUT.png] [--size WxH] [--state FILE]\n"
           "                        [--mode RMS|Peak] [--weighting Flat|A|C|K] [--smoothing Off|1/12|1/6|1/3]\n"
           "                        [--response Fast|Mid|Slow] [--resolution Lo|Hi] [--quiet]\n"
           "Plays FILE (WAV, AIFF or FLAC, mono or stereo) through KLV Lumaspan, prints the read-outs\n"
           "and writes a picture of the editor. Without FILE a built-in demo signal is analysed.\n";
}

ParsedOptions parseAnalyseOptions (const juce::StringArray& args)
{
    AnalyseOptions options;
    options.pngFile = juce::File::getCurrentWorkingDirectory().getChildFile ("lumaspan-analysis.png");

    for (int i = 0; i < args.size(); ++i)
    {
        const auto& arg = args[i];
        const bool hasValue = i + 1 < args.size();

        if (arg == "--help" || arg == "-h")
        {
            ParsedOptions result;
            result.helpRequested = true;
            return result;
        }
        if (arg == "--json")
        {
            options.json = true;
            continue;
        }
        if (arg == "--quiet")
        {
            options.quiet = true;
            continue;
        }
        if (arg.startsWith ("--") && ! hasValue)
            return failure ("option " + arg + " needs a value");

        if (arg == "--png")
        {
            options.pngFile = juce::File::getCurrentWorkingDirectory().getChildFile (args[++i]);
            continue;
        }
        if (arg == "--state")
        {
            options.stateFile = juce::File::getCurrentWorkingDirectory().getChildFile (args[++i]);
            continue;
        }
        if (arg == "--size")
        {
            const auto value = args[++i];
            if (! parseSize (value, options))
                return failure ("invalid --size '" + value + "' (expected WxH, e.g. 1200x870)");
            continue;
        }
        if (arg == "--resolution")
        {
            const auto value = args[++i];
            if (value != "Lo" && value != "Hi")
                return failure ("invalid --resolution '" + value + "' (expected Lo or Hi)");
            options.fftOrder = value == "Lo" ? 12 : 13;
            continue;
        }

        bool matched = false;
        for (const auto& choice : choices)
        {
            if (arg != choice.option)
                continue;
            const auto value = args[++i];
            const int index = choice.texts.indexOf (value);
            if (index < 0)
                return failure ("invalid " + arg + " '" + value + "' (expected " + choice.texts.joinIntoString ("|")
                                + ")");
            options.*(choice.target) = index;
            matched = true;
            break;
        }
        if (matched)
            continue;

        if (arg.startsWith ("-"))
            return failure ("unknown option " + arg);
        if (options.inputFile != juce::File())
            return failure ("only one input file can be analysed at a time");
        options.inputFile = juce::File::getCurrentWorkingDirectory().getChildFile (arg);
    }

    ParsedOptions result;
    result.options = options;
    return result;
}
