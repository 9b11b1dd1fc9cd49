#!/usr/bin/env bash
# The macOS workflow's check of generated projects: makes a SwiftUI and a
# UIKit project with plinth-cli from the descriptions in .github/ci/ (one of
# them with its libraries as Swift packages), installs their secrets (Arkana,
# unless the description turns it off) and pods, builds each workspace (or,
# without pods, each Xcode project) for the iOS simulator, then runs
# scripts/check-xcodeproj.sh. Needs XcodeGen, CocoaPods, Bundler, Xcode and
# the xcodeproj gem.
#
#   scripts/ci-macos-projects.sh [BUILD_DIR]          (default build/default)
#   scripts/ci-macos-projects.sh --fake-toolchain BUILD_DIR
#
# --fake-toolchain runs the same steps on a machine without those tools
# (Linux): plinth-cli-under-test with tests/fixtures/fake-toolchain, whose
# xcodegen, pod, bundle and xcodebuild stand in for the real ones.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fake=no
if [ "${1:-}" = --fake-toolchain ]; then
    fake=yes
    shift
fi
build=$(cd "${1:-$root/build/default}" && pwd)
system_path=$PATH

cli=$build/bin/plinth-cli
if [ "$fake" = yes ]; then
    toolchain=$root/tests/fixtures/fake-toolchain
    cli=$build/bin/plinth-cli-under-test
    export PLINTH_CLI_TEST_TOOLCHAIN="$toolchain:/usr/bin:/bin"
    export PLINTH_CLI_TEST_SCRIPT_SHELL="$toolchain/script-shell"
    export PATH="$toolchain:$PATH"
fi
[ -x "$cli" ] || { echo "ci-macos-projects: $cli is not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/Projects"

for description in "$root"/.github/ci/*.json; do
    cp "$description" "$work/"
    file=$(basename "$description")
    name=$(sed -n 's/^ *"projectName": *"\([A-Za-z0-9]*\)".*/\1/p' "$description")
    project=$work/Projects/$name
    echo "::group::$file: plinth-cli generate"
    (cd "$work" && "$cli" generate "$file" --no-install)
    echo "::endgroup::"

    echo "::group::$file: secrets and pods"
    (
        cd "$project"
        if ! grep -q '"doesIncludeArkana": *false' "$description"; then
            bundle config set --local path vendor/bundle
            bundle install
            bundle exec arkana
            # Secrets as Swift packages: project.yml names them, so XcodeGen
            # makes the project once Arkana has made them.
            if grep -q '^package_manager: spm' .arkana.yml; then
                xcodegen generate
            fi
        fi
        if [ -f Podfile ]; then
            pod install
        fi
    )
    echo "::endgroup::"

    # XcodeGen names a scheme per configuration variant: "<target> <variant>".
    # Package plug-ins (SwiftLint, R.swift) run without Xcode's trust prompt.
    echo "::group::$file: xcodebuild $name Development"
    if [ -f "$project/Podfile" ]; then
        opened=(-workspace "$project/$name.xcworkspace")
    else
        opened=(-project "$project/$name.xcodeproj")
    fi
    xcodebuild "${opened[@]}" -scheme "$name Development" \
        -sdk iphonesimulator -destination 'generic/platform=iOS Simulator' \
        -skipPackagePluginValidation -skipMacroValidation CODE_SIGNING_ALLOWED=NO build
    echo "::endgroup::"
done

# With the system's Ruby: the fake one would pass for a Ruby with the gem.
PATH=$system_path "$root/scripts/check-xcodeproj.sh"
echo "ci-macos-projects: every project generated, installed and built"
