#!/usr/bin/env bash
# Makes the packages: a .tar.gz and a .deb on Linux, a .dmg with Plinth.app
# on macOS. Installs what is missing, configures a Release build in
# build/package, builds what the packages hold, runs cpack and prints the
# paths of the packages.
#
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=build/package
targets=(plinth plinth-cli plinth_bundle)
if [ "$(uname -s)" = Darwin ]; then
    export CMAKE_PREFIX_PATH="${CMAKE_PREFIX_PATH:-$(brew --prefix qt)}"
    targets+=(plinth_app_resources)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target "${targets[@]}"
rm -rf "$build/packages"
(cd "$build" && cpack)

echo "package: made"
find "$PWD/$build/packages" -maxdepth 1 -type f \( -name '*.tar.gz' -o -name '*.deb' -o -name '*.dmg' \) -print | sort
