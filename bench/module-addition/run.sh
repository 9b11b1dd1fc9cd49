#!/usr/bin/env bash
# Times resources/AddModulesInTarget.rb adding the network module and its two
# Swift packages to a project whose app target builds 20,000 Swift files,
# against the xcodeproj gem's own open and save of that project (median of
# 5 each); the goal is a ratio of 1.1 or less. Local only: needs a Ruby
# that loads the xcodeproj gem (or RUBYLIB pointing at it) and skips with a
# note otherwise.
#
#   bench/module-addition/run.sh [FILES] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ! ruby -e 'require "xcodeproj"' >/dev/null 2>&1; then
    echo "module-addition: skipped, the xcodeproj gem cannot be loaded by $(command -v ruby || echo ruby)"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ruby "$here/bench.rb" "$work" "${1:-20000}" "${2:-5}"
