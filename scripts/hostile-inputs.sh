#!/usr/bin/env bash
# Runs the hostile-input checks at full size: UI detection over an existing
# project of 50,000 files (links, pipes, binary files, a locked folder), the
# plinth-cli input matrix and the file-system fault tests, from the build
# folder given (default build/default, configured with the default preset
# when it is not yet). Prints the timing lines.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/default}
files=${PLINTH_HOSTILE_FILES:-50000}

if [ ! -f "$build/CMakeCache.txt" ]; then
    scripts/setup.sh
    cmake --preset default
fi
cmake --build "$build" -j2 --target TestHostileInputs TestFaults
export QT_QPA_PLATFORM=offscreen
PLINTH_HOSTILE_FILES=$files "$build/bin/TestHostileInputs" largeProjectDetection
"$build/bin/TestHostileInputs" generate
"$build/bin/TestFaults"
