#include "ArtPictures.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <iostream>

namespace
{
bool writePicture (const juce::Image& image, const juce::File& file)
{
    const bool jpeg = file.hasFileExtension ("jpg");
    juce::PNGImageFormat png;
    juce::JPEGImageFormat jpg;
    jpg.setQuality (0.85f);
    juce::ImageFileFormat& format = jpeg ? static_cast<juce::ImageFileFormat&> (jpg) : png;

    file.deleteFile();
    juce::FileOutputStream out (file);
    if (! out.openedOk())
        return false;
    const juce::Image toWrite = jpeg ? image.convertedToFormat (juce::Image::RGB) : image;
    return format.writeImageToStream (toWrite, out);
}

juce::Typeface::Ptr loadDisplayFace()
{
    juce::MemoryBlock data;
    juce::File (LUMASPAN_SOURCE_DIR).getChildFile ("resources/fonts/LeagueSpartan-Bold.otf").loadFileAsData (data);
    if (data.isEmpty())
        return nullptr;
    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}
} // namespace

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    const juce::File outDir =
        argc > 1 ? juce::File (argv[1]) : juce::File (LUMASPAN_SOURCE_DIR).getChildFile ("resources");
    juce::StringArray wanted;
    for (int i = 2; i < argc; ++i)
        wanted.add (argv[i]);

    const auto face = loadDisplayFace();
    const std::pair<const char*, std::function<juce::Image()>> pictures[] = {
        { "placa_acrilica.png", [] { return drawGlassPlate(); } },
        { "fondo_placa_metalica.jpg", [] { return drawMetalBackground(); } },
        { "logo_orvalen.png", [face] { return drawMakerLogo (face); } },
        { "panel_trasero_kla.jpg", [face] { return drawRearPanel (face); } },
    };

    int failures = 0;
    for (const auto& [name, draw] : pictures)
    {
        if (! wanted.isEmpty() && ! wanted.contains (name))
            continue;
        const auto file = outDir.getChildFile (name);
        const bool ok = writePicture (draw(), file);
        std::cout << (ok ? "wrote " : "FAILED ") << file.getFullPathName() << " (" << file.getSize() << " bytes)\n";
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
