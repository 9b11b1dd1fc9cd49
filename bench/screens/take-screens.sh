#!/bin/sh
# Takes the pictures of docs/screens: the screen tour, light and dark, run as
# on a Mac, from /Applications/Plinth.app (the resources in its
# Contents/Resources) with the home folder /Users/ada, so that no folder of
# the machine that takes them shows in a field or in the terminal.
#
#   bench/screens/take-screens.sh [BUILD_DIR] [OUTPUT_DIR]
#
# BUILD_DIR (build/default) is configured with -DPLINTH_BUILD_BENCH=ON and
# has plinth-screen-tour built; OUTPUT_DIR (docs/screens) loses its old
# pictures. Needs root: it makes /Applications/Plinth.app and /Users/ada
# (neither may exist yet) and removes them, and the folders above them that
# it made, when it ends. Uses optipng where there is one.
set -eu

build=$(cd "${1:-build/default}" && pwd)
output=${2:-docs/screens}
mkdir -p "$output"
output=$(cd "$output" && pwd)
app=/Applications/Plinth.app
home=/Users/ada

for taken in "$app" "$home"; do
    if [ -e "$taken" ]; then
        echo "take-screens: $taken exists; it is made for the pictures and removed afterwards" >&2
        exit 1
    fi
done
made=""
for parent in /Applications /Users; do
    [ -e "$parent" ] || made="$made $parent"
done
cleanUp() {
    rm -rf "$app" "$home"
    for parent in $made; do
        rmdir "$parent" 2>/dev/null || true
    done
}
trap cleanUp EXIT INT TERM

mkdir -p "$app/Contents/MacOS" "$(dirname "$home")"
cp "$build/bin/plinth-screen-tour" "$app/Contents/MacOS/"
cp -R "$build/share/plinth" "$app/Contents/Resources"

rm -f "$output"/*.png
for scheme in "" --dark; do
    # Exit status 1: a screen change missed its time goal; the pictures stand.
    status=0
    xvfb-run -a -s "-screen 0 1280x1024x24" "$app/Contents/MacOS/plinth-screen-tour" $scheme \
        --home "$home" --screenshots "$output" || status=$?
    [ "$status" -le 1 ] || exit "$status"
done
if command -v optipng >/dev/null; then
    optipng -quiet -o2 "$output"/*.png
fi
ls "$output"
