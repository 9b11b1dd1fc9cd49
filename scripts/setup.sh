#!/usr/bin/env bash
# Installs everything Plinth needs to build, run and test, on Debian 12 (apt,
# as root or through sudo) and on macOS (Homebrew). Installs only what is
# missing; when everything is there it changes nothing.
set -euo pipefail

debian_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-svg-dev libgl-dev
    libvterm-dev libtree-sitter-dev
    python3 python3-yaml ruby shellcheck git patch
    clang libclang-rt-14-dev
    clang-19 libclang-rt-19-dev llvm-19
    zsh
    xvfb xauth
)

homebrew_packages=(cmake ninja pkg-config qt libvterm tree-sitter node python pyyaml ruby shellcheck)

# npm packages, installed without their install scripts into the gitignored
# .cache/npm: the Swift grammar's C sources for the syntax checks of the test
# suite, and the Heebo fonts that the build copies into the resource bundle.
npm_packages=(tree-sitter-swift@0.7.1 @fontsource/heebo@5.3.0)
npm_cache="$(cd "$(dirname "$0")/.." && pwd)/.cache/npm"

install_debian() {
    local missing=()
    for package in "${debian_packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    # npm may come with a nodejs package from another source; only ask apt
    # for it when there is no npm at all.
    if ! command -v npm >/dev/null 2>&1; then
        missing+=(nodejs npm)
    fi
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "setup: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_macos() {
    if ! command -v brew >/dev/null 2>&1; then
        echo "setup: Homebrew is required on macOS (https://brew.sh)" >&2
        exit 1
    fi
    local missing=()
    for package in "${homebrew_packages[@]}"; do
        if ! brew list --formula "$package" >/dev/null 2>&1; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "setup: installing ${missing[*]}"
        brew install "${missing[@]}"
    fi
}

case "$(uname -s)" in
    Linux)
        if ! command -v dpkg-query >/dev/null 2>&1; then
            echo "setup: only Debian-based Linux is supported; install the packages listed in this script by hand" >&2
            exit 1
        fi
        install_debian
        ;;
    Darwin)
        install_macos
        ;;
    *)
        echo "setup: unsupported system $(uname -s)" >&2
        exit 1
        ;;
esac

install_npm_packages() {
    local stamp="$npm_cache/.installed"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "${npm_packages[*]}" ]; then
        return
    fi
    echo "setup: fetching ${npm_packages[*]} into $npm_cache"
    mkdir -p "$npm_cache"
    npm install --ignore-scripts --no-audit --no-fund --silent --prefix "$npm_cache" "${npm_packages[@]}"
    printf '%s\n' "${npm_packages[*]}" > "$stamp"
}

install_npm_packages
