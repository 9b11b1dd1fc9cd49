#!/usr/bin/env bash
# Builds and runs the instantiation benchmark in an optimised build of its own
# (build/bench) and prints its tables. Needs cookiecutter for the comparison
# with it (Debian: apt-get install cookiecutter); without it that row is left
# out. Usage: bench/run.sh [work folder, default: a temporary folder]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLINTH_BUILD_BENCH=ON >/dev/null
cmake --build build/bench --target plinth_bench -j2 >/dev/null
exec build/bench/bin/plinth_bench "$@"
