#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the release build with every
# test, the suite again under AddressSanitizer + UBSan, the state fuzzer, and
# the concurrency tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
source scripts/ccache-env.sh

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

stage() { echo; echo "==== $* ===="; }

stage "release: build"
cmake --preset release
cmake --build --preset release
stage "release: tests"
ctest --preset release -j2

stage "address + undefined sanitizers: build"
cmake --preset asan
cmake --build --preset asan
stage "address + undefined sanitizers: tests"
ctest --preset asan -j2 -LE "host|fuzz"
stage "state fuzzer"
ctest --preset asan -L fuzz

stage "thread sanitizer: concurrency tests"
cmake --preset tsan
cmake --build --preset tsan --target lumaspan_concurrency_tests
ctest --preset tsan -L concurrency
