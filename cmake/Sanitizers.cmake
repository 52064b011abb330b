# Sanitizers apply to every target, JUCE included, so that instrumented and
# uninstrumented copies of the framework never meet in one process.
if(LUMASPAN_SANITIZE)
    add_compile_options(-fsanitize=${LUMASPAN_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=${LUMASPAN_SANITIZE})
    if(LUMASPAN_SANITIZE MATCHES "undefined")
        # Relative to the build tree, where the compiler runs, so that ccache can
        # share objects between clones.
        file(RELATIVE_PATH ignorelist "${CMAKE_BINARY_DIR}" "${CMAKE_SOURCE_DIR}/cmake/ubsan-ignorelist.txt")
        add_compile_options("-fsanitize-ignorelist=${ignorelist}")
    endif()
endif()
