#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
source scripts/ccache-env.sh

cmake --preset release
cmake --build --preset release
ctest --preset release

# The concurrency tests once more under ThreadSanitizer; only that target is
# built in the tsan tree.
cmake --preset tsan
cmake --build --preset tsan --target lumaspan_concurrency_tests
ctest --preset tsan -L concurrency
