#!/usr/bin/env bash
# Installs what is missing, builds, and starts Plinth.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
if [ "$(uname -s)" = Darwin ]; then
    export CMAKE_PREFIX_PATH="${CMAKE_PREFIX_PATH:-$(brew --prefix qt)}"
fi
cmake --preset default >/dev/null
cmake --build --preset default --target plinth plinth_bundle
if [ "$(uname -s)" = Darwin ]; then
    # On macOS the build makes Plinth.app; its resources are copied into it.
    cmake --build --preset default --target plinth_app_resources
    exec build/default/bin/Plinth.app/Contents/MacOS/Plinth "$@"
fi

if [ "$(uname -s)" = Linux ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display found; starting Plinth on a virtual X display (xvfb-run)" >&2
    exec xvfb-run -a -s "-screen 0 1280x800x24" build/default/bin/plinth "$@"
fi
exec build/default/bin/plinth "$@"
