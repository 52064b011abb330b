#include "EditorSession.h"
#include "FactoryReader.h"
#include "HostedModule.h"
#include "InfoReport.h"
#include "PassThroughCheck.h"

#include <iostream>

namespace
{
constexpr int exitCheckFailed = 1;
constexpr int exitUsage = 2;

const char* usageText = R"(usage: lumaspan-host <command> <bundle> [options]

commands:
  info <bundle>               what a host sees: class info, SDK version, bus layouts,
                              parameters, programs and the state block (hex)
  process <bundle>            plays a test signal through the module with the transport
                              rolling, mono/mono and stereo/stereo, and checks that the
                              output equals the input bit for bit
      --rate <hz>             sample rate (default 48000)
      --block <samples>       largest block size (default 512)
      --seconds <s>           length of the signal per layout (default 3)
  restore <bundle> <hex>      restores a state block given as hex bytes the way a host
                              restores a project, then prints the state the module saves
  screenshot <bundle> [png]   opens the editor in a window while audio plays with the
                              transport rolling, and saves the X screen as a PNG (needs a
                              display and a window manager, e.g. xvfb-run with twm)
      --seconds <s>           how long the editor stays open (default 3)
      --cycles <n>            first open and close the editor n times

exit status: 0 success, 1 a check failed, 2 usage or loading error
)";

int usageError (const juce::String& message)
{
    std::cerr << "lumaspan-host: " << message << "\n\n" << usageText;
    return exitUsage;
}

bool parseProcessOptions (const juce::StringArray& args, PassThroughCheck::Options& options, juce::String& error)
{
    for (int i = 2; i < args.size(); i += 2)
    {
        if (i + 1 >= args.size())
        {
            error = "option " + args[i] + " needs a value";
            return false;
        }
        const auto value = args[i + 1];
        if (args[i] == "--rate" && value.getDoubleValue() > 0.0)
            options.sampleRate = value.getDoubleValue();
        else if (args[i] == "--block" && value.getIntValue() > 0)
            options.blockSize = value.getIntValue();
        else if (args[i] == "--seconds" && value.getDoubleValue() > 0.0)
            options.seconds = value.getDoubleValue();
        else
        {
            error = "unknown option or bad value: " + args[i] + " " + value;
            return false;
        }
    }
    return true;
}

int runInfo (HostedModule& module, const juce::File& bundle)
{
    FactoryClassInfo info;
    juce::String error;
    if (! FactoryReader::read (bundle, info, error))
    {
        std::cerr << "lumaspan-host: " << error << std::endl;
        return exitUsage;
    }

    std::cout << "bundle: " << bundle.getFullPathName() << std::endl;
    InfoReport::printFactory (info);
    InfoReport::printLayouts (module.getInstance());
    InfoReport::printParameters (module.getInstance());
    InfoReport::printPrograms (module.getInstance());
    InfoReport::printState (module.getComponentState());
    return 0;
}

int runProcess (HostedModule& module, const PassThroughCheck::Options& options)
{
    const bool stereo = PassThroughCheck::run (module.getInstance(), 2, options);
    const bool mono = PassThroughCheck::run (module.getInstance(), 1, options);
    return stereo && mono ? 0 : exitCheckFailed;
}

int runRestore (HostedModule& module, const juce::String& hex)
{
    juce::MemoryBlock block;
    block.loadFromHexString (hex);
    if (! module.setComponentState (block))
    {
        std::cerr << "lumaspan-host: the hosted instance gave no state to restore into" << std::endl;
        return exitCheckFailed;
    }
    InfoReport::printState (module.getComponentState());
    return 0;
}

bool parseEditorOptions (const juce::StringArray& args, EditorSession::Options& options, juce::String& error)
{
    int i = 2;
    if (i < args.size() && ! args[i].startsWith ("--"))
        options.screenshot = juce::File::getCurrentWorkingDirectory().getChildFile (args[i++]);

    for (; i < args.size(); i += 2)
    {
        const auto value = i + 1 < args.size() ? args[i + 1] : juce::String();
        if (args[i] == "--seconds" && value.getDoubleValue() > 0.0)
            options.seconds = value.getDoubleValue();
        else if (args[i] == "--cycles" && value.containsOnly ("0123456789") && value.isNotEmpty())
            options.openCloseCycles = value.getIntValue();
        else
        {
            error = "unknown option or bad value: " + args[i] + " " + value;
            return false;
        }
    }
    return true;
}

int runCommand (const juce::StringArray& args)
{
    if (args.size() < 2)
        return usageError ("a command and a bundle are needed");

    const auto& command = args[0];
    if (command != "info" && command != "process" && command != "restore" && command != "screenshot")
        return usageError ("unknown command " + command);

    PassThroughCheck::Options options;
    juce::String error;
    if (command == "process" && ! parseProcessOptions (args, options, error))
        return usageError (error);
    if (command == "restore" && args.size() != 3)
        return usageError ("restore needs a bundle and the block as hex");
    if (command == "info" && args.size() != 2)
        return usageError ("info takes only a bundle");
    EditorSession::Options editorOptions;
    if (command == "screenshot" && ! parseEditorOptions (args, editorOptions, error))
        return usageError (error);

    const juce::File bundle (juce::File::getCurrentWorkingDirectory().getChildFile (args[1]));
    auto module = HostedModule::load (bundle, options.sampleRate, options.blockSize, error);
    if (module == nullptr)
    {
        std::cerr << "lumaspan-host: " << error << std::endl;
        return exitUsage;
    }

    if (command == "info")
        return runInfo (*module, bundle);
    if (command == "process")
        return runProcess (*module, options);
    if (command == "screenshot")
        return EditorSession::run (module->getInstance(), editorOptions);
    return runRestore (*module, args[2]);
}
} // namespace

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    if (args.contains ("--help") || args.contains ("-h"))
    {
        std::cout << usageText;
        return 0;
    }
    return runCommand (args);
}
