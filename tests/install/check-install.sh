#!/usr/bin/env bash
# Installs a build into a temporary prefix (cmake --install) and runs the
# installed programs from there, to show that they find the resource bundle
# at its installed place (share/plinth):
#
#   check-install.sh BUILD_DIR VERSION [CMAKE]
#
# plinth --version and plinth-cli --version name VERSION; plinth-cli doctor
# lists the six tools (exit 1 where the macOS tools are missing);
# plinth-cli generate --no-install writes project.yml, copies the template and
# adapts it to the product name, steps that need the bundle (the step titles
# come from its text catalog); the XcodeGen step fails where there is no
# XcodeGen. One line per check; exits 1 when one fails.
set -euo pipefail

build=$1
version=$2
cmake=${3:-cmake}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

check() { # check LABEL DETAIL COMMAND...: COMMAND succeeds; DETAIL is shown when not
    local label=$1 detail=$2
    shift 2
    if "$@"; then
        echo "ok   $label"
    else
        echo "FAIL $label${detail:+: $detail}"
        failures=$((failures + 1))
    fi
}

contains() { # contains TEXT LINE: TEXT has LINE as a whole line
    grep -qxF -- "$2" <<<"$1"
}

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log"

for file in bin/plinth bin/plinth-cli share/plinth/PodInstall.sh share/plinth/post_gen.sh \
    share/plinth/translations/plinth_en.qm share/plinth/SwiftUIBaseSetup share/plinth/UIKitBaseSetup; do
    check "installed $file" "" test -e "$prefix/$file"
done
check "PodInstall.sh stays executable" "" test -x "$prefix/share/plinth/PodInstall.sh"

cli=$prefix/bin/plinth-cli
out=$("$cli" --version 2>&1) || true
check "plinth-cli --version" "$out" test "$out" = "plinth-cli $version"

out=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/plinth" --version 2>&1) || true
check "plinth --version" "$out" test "$out" = "Plinth $version"

status=0
out=$(cd "$work" && "$cli" doctor 2>&1) || status=$?
check "plinth-cli doctor ends with 0 or 1" "exit $status" test "$status" -le 1
missing=()
for tool in "Xcode build" Cocoapods Homebrew "Command line tools" Xcodegen XcodeProj; do
    grep -qF -- "$tool" <<<"$out" || missing+=("$tool")
done
check "plinth-cli doctor names the tools" "without ${missing[*]-}: $out" test "${#missing[@]}" -eq 0

mkdir -p "$work/Projects"
cat >"$work/orbit.json" <<'JSON'
{
  "projectType": "new",
  "projectName": "Orbit",
  "authorName": "Ada Lovelace",
  "selectedUI": "SwiftUI",
  "projectPath": "Projects",
  "configVariant": ["Development", "Production"]
}
JSON
status=0
out=$(cd "$work" && "$cli" generate orbit.json --no-install 2>/dev/null) || status=$?
check "plinth-cli generate ends with 0 or 1" "exit $status: $out" test "$status" -le 1
for step in "Write project.yml: done" "Copy the template: done" "Adapt the files to the product name: done"; do
    check "plinth-cli generate: $step" "$out" contains "$out" "$step"
done
check "the template's app file is in the project, renamed" "" test -f "$work/Projects/Orbit/Orbit/OrbitApp.swift"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed; cmake --install said:"
    cat "$work/install.log"
    exit 1
fi
