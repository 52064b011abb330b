# The state fuzzer needs clang's libFuzzer and only makes sense with
# AddressSanitizer, so it exists only in the asan build tree.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND LUMASPAN_SANITIZE MATCHES "address")
    add_executable(lumaspan_state_fuzzer "${CMAKE_CURRENT_LIST_DIR}/StateFuzzer.cpp")
    target_link_libraries(lumaspan_state_fuzzer PRIVATE lumaspan_shared)
    target_compile_options(lumaspan_state_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(lumaspan_state_fuzzer PRIVATE -fsanitize=fuzzer)
    # Coverage feedback from the code that parses the state block.
    set_source_files_properties("${CMAKE_SOURCE_DIR}/source/processor/StateFormat.cpp"
        DIRECTORY "${CMAKE_SOURCE_DIR}"
        PROPERTIES COMPILE_OPTIONS "-fsanitize=fuzzer-no-link")

    set(LUMASPAN_FUZZ_SECONDS 60 CACHE STRING "How long ctest runs the state fuzzer")
    add_test(NAME state_fuzzer
        COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:lumaspan_state_fuzzer>
            -max_total_time=${LUMASPAN_FUZZ_SECONDS} -max_len=4096 -timeout=5 -print_final_stats=1
            "${CMAKE_BINARY_DIR}/fuzz-corpus" "${CMAKE_CURRENT_LIST_DIR}/corpus")
    set_tests_properties(state_fuzzer PROPERTIES LABELS fuzz TIMEOUT 600)
    file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz-corpus")
endif()
