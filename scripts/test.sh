#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
# Usage: scripts/test.sh [preset]   (default: "default"; "asan" for the
# AddressSanitizer + UndefinedBehaviorSanitizer build; "tsan" for the
# concurrency tests under ThreadSanitizer)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

scripts/setup.sh
if [ "$(uname -s)" = Darwin ]; then
    export CMAKE_PREFIX_PATH="${CMAKE_PREFIX_PATH:-$(brew --prefix qt)}"
fi
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
