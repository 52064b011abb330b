#include "EditorSession.h"

#include "AudioFeeder.h"

#include <iostream>

namespace
{
constexpr int exitCheckFailed = 1;

class EditorWindow : public juce::DocumentWindow
{
public:
    explicit EditorWindow (juce::AudioProcessorEditor* editor)
        : juce::DocumentWindow ("KLV Lumaspan", juce::Colours::darkgrey, juce::DocumentWindow::closeButton)
    {
        setUsingNativeTitleBar (true);
        setContentOwned (editor, true);
        setTopLeftPosition (20, 20);
        setVisible (true);
    }

    // The hosted editor goes first, while its window is still on the desktop.
    ~EditorWindow() override { clearContentComponent(); }

    void closeButtonPressed() override {}
};

void pumpMessages (double seconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil ((int) (seconds * 1000.0));
}

std::unique_ptr<EditorWindow> openEditor (juce::AudioPluginInstance& instance)
{
    auto* editor = instance.createEditor();
    if (editor == nullptr)
        return nullptr;
    return std::make_unique<EditorWindow> (editor);
}

bool saveScreenshot (const juce::File& target)
{
    target.getParentDirectory().createDirectory();
    target.deleteFile();
    juce::ChildProcess process;
    const auto command = "xwd -root -silent | convert xwd:- png:" + target.getFullPathName().quoted ('\'');
    if (! process.start (juce::StringArray { "sh", "-c", command }))
        return false;
    process.waitForProcessToFinish (30000);
    return process.getExitCode() == 0 && target.getSize() > 0;
}
} // namespace

int EditorSession::run (juce::AudioPluginInstance& instance, const Options& options)
{
    if (! instance.hasEditor())
    {
        std::cout << "editor: none" << std::endl;
        return exitCheckFailed;
    }

    AudioFeeder feeder (instance, 48000.0, 512);
    feeder.start();

    for (int i = 0; i < options.openCloseCycles; ++i)
    {
        auto window = openEditor (instance);
        if (window == nullptr)
        {
            std::cout << "editor: FAILED to open on cycle " << i + 1 << std::endl;
            return exitCheckFailed;
        }
        pumpMessages (0.03);
    }
    if (options.openCloseCycles > 0)
        std::cout << "editor: opened and closed " << options.openCloseCycles << " times while audio played"
                  << std::endl;

    auto window = openEditor (instance);
    if (window == nullptr)
    {
        std::cout << "editor: FAILED to open" << std::endl;
        return exitCheckFailed;
    }
    pumpMessages (options.seconds);
    const auto* content = window->getContentComponent();
    const auto origin = content->getScreenPosition();
    std::cout << "editor: " << content->getWidth() << " x " << content->getHeight() << " at " << origin.x << ","
              << origin.y << std::endl;

    int status = 0;
    if (options.screenshot != juce::File())
    {
        const bool saved = saveScreenshot (options.screenshot);
        std::cout << "screenshot: " << (saved ? options.screenshot.getFullPathName() : juce::String ("FAILED"))
                  << std::endl;
        status = saved ? 0 : exitCheckFailed;
    }

    window.reset();
    feeder.stop();
    std::cout << "audio: " << feeder.getSamplesPlayed() << " samples played with the transport rolling" << std::endl;
    return status;
}
