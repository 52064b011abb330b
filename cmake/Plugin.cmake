# The plug-in target. Its shared-code library (target Lumaspan) holds JUCE and
# all of our sources; tests, benchmarks and tools link it through
# lumaspan_shared so that JUCE is compiled once per build tree.

juce_add_plugin(Lumaspan
    PRODUCT_NAME "KLV Lumaspan"
    COMPANY_NAME "Orvalen"
    COMPANY_WEBSITE ""
    COMPANY_EMAIL ""
    VERSION 1.0.0
    PLUGIN_MANUFACTURER_CODE Orvl
    PLUGIN_CODE Klvl
    FORMATS VST3
    IS_SYNTH FALSE
    NEEDS_MIDI_INPUT FALSE
    NEEDS_MIDI_OUTPUT FALSE
    IS_MIDI_EFFECT FALSE
    EDITOR_WANTS_KEYBOARD_FOCUS TRUE
    VST3_CATEGORIES Fx Analyzer
    COPY_PLUGIN_AFTER_BUILD FALSE)

file(GLOB_RECURSE LUMASPAN_SOURCES CONFIGURE_DEPENDS
    "${CMAKE_SOURCE_DIR}/source/*.cpp"
    "${CMAKE_SOURCE_DIR}/source/*.h")
target_sources(Lumaspan PRIVATE ${LUMASPAN_SOURCES})
target_include_directories(Lumaspan PUBLIC "${CMAKE_SOURCE_DIR}/source")

target_compile_definitions(Lumaspan PUBLIC
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_VST3_CAN_REPLACE_VST2=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_MODAL_LOOPS_PERMITTED=0)

# juce_dsp needs juce_audio_formats, whose FLAC and Ogg readers Debian links
# against the system codecs.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMASPAN_CODECS REQUIRED IMPORTED_TARGET flac vorbis vorbisenc vorbisfile ogg)

target_link_libraries(Lumaspan
    PRIVATE
        PkgConfig::LUMASPAN_CODECS
        LumaspanResources
        juce::juce_audio_utils
        juce::juce_dsp
    PUBLIC
        juce::juce_recommended_config_flags
        juce::juce_recommended_warning_flags)

# A module with unresolved symbols would link and then fail inside a host, so
# it links with --no-undefined (JUCE adds it too). Sanitizer builds are the
# exception: their runtime comes from the executable that loads the module.
target_link_options(Lumaspan_VST3 PRIVATE
    -Wl,--no-undefined
    "-Wl,--version-script=${CMAKE_SOURCE_DIR}/cmake/vst3-exports.map")
if(LUMASPAN_SANITIZE)
    target_link_options(Lumaspan_VST3 PRIVATE -Wl,-z,undefs)
endif()
set_target_properties(Lumaspan_VST3 PROPERTIES LINK_DEPENDS "${CMAKE_SOURCE_DIR}/cmake/vst3-exports.map")

# Everything an executable needs to use the plug-in's shared code in-process:
# the same include paths and definitions, the archive, and the system
# libraries JUCE's module targets would otherwise bring in.
add_library(lumaspan_shared INTERFACE)
target_include_directories(lumaspan_shared INTERFACE
    $<TARGET_PROPERTY:Lumaspan,INCLUDE_DIRECTORIES>)
target_compile_definitions(lumaspan_shared INTERFACE
    $<TARGET_PROPERTY:Lumaspan,COMPILE_DEFINITIONS>)
pkg_check_modules(LUMASPAN_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(LUMASPAN_ALSA REQUIRED IMPORTED_TARGET alsa)
target_link_libraries(lumaspan_shared INTERFACE
    Lumaspan
    LumaspanResources
    juce::pkgconfig_JUCE_IMG_LINUX_DEPS
    PkgConfig::LUMASPAN_CODECS
    PkgConfig::LUMASPAN_FREETYPE
    PkgConfig::LUMASPAN_ALSA
    juce::juce_recommended_config_flags
    ${CMAKE_DL_LIBS} pthread rt)

# Where the built module lives; tests and tools load it from here.
set(LUMASPAN_VST3_BUNDLE "${CMAKE_BINARY_DIR}/Lumaspan_artefacts/$<CONFIG>/VST3/KLV Lumaspan.vst3")
