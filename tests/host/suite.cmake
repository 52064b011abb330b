# Tests through the built module as real hosts see it: our host tool on the
# framework's VST3 hosting, Ardour's VST3 scanner, and a headless Ardour session.

# The module must report the version string of the SDK it is built with.
set(LUMASPAN_VST_TYPES_HEADER "${JUCE_MODULES_DIR}/juce_audio_processors/format_types/VST3_SDK/pluginterfaces/vst/vsttypes.h")
file(STRINGS "${LUMASPAN_VST_TYPES_HEADER}" LUMASPAN_SDK_VERSION_LINE REGEX "^#define[ \t]+kVstVersionString")
string(REGEX REPLACE ".*kVstVersionString[ \t]+\"([^\"]*)\".*" "\\1" LUMASPAN_EXPECTED_SDK_VERSION "${LUMASPAN_SDK_VERSION_LINE}")
if(NOT LUMASPAN_EXPECTED_SDK_VERSION MATCHES "^VST ")
    message(FATAL_ERROR "kVstVersionString not found in ${LUMASPAN_VST_TYPES_HEADER}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${LUMASPAN_VST_TYPES_HEADER}")

set(host_checks "${CMAKE_CURRENT_LIST_DIR}/host-checks.sh")
set(host_tool "$<TARGET_FILE:lumaspan_host>")

# ctest does not build; this first test brings the module and the tool up to date.
add_test(NAME host.build
    COMMAND "${CMAKE_COMMAND}" --build "${CMAKE_BINARY_DIR}" --target Lumaspan_VST3 lumaspan_host)
set_tests_properties(host.build PROPERTIES FIXTURES_SETUP lumaspan_host_built LABELS host TIMEOUT 1800)

foreach(check identity layouts parameters programs fresh_state restore_state pass_through command_line ardour_scan)
    add_test(NAME host.${check}
        COMMAND bash "${host_checks}" ${check} "${host_tool}" "${LUMASPAN_VST3_BUNDLE}" "${LUMASPAN_EXPECTED_SDK_VERSION}")
    set_tests_properties(host.${check} PROPERTIES FIXTURES_REQUIRED lumaspan_host_built LABELS host TIMEOUT 120)
endforeach()

# Headless Ardour: the plug-in by name on a stereo track, audio checked sample
# by sample behind it, state saved and reopened in a second process.
add_test(NAME host.ardour_session
    COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/ardour-session.sh" "${LUMASPAN_VST3_BUNDLE}")
set_tests_properties(host.ardour_session PROPERTIES FIXTURES_REQUIRED lumaspan_host_built LABELS host TIMEOUT 300)

# The hosted editor on a virtual display: opened and closed a hundred times while
# audio plays, then kept open for a screenshot.
add_test(NAME host.editor_screenshot
    COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/editor-screenshot.sh" "${host_tool}" "${LUMASPAN_VST3_BUNDLE}"
        "${CMAKE_BINARY_DIR}/test-artefacts/host-editor.png")
set_tests_properties(host.editor_screenshot PROPERTIES FIXTURES_REQUIRED lumaspan_host_built LABELS host TIMEOUT 180)
