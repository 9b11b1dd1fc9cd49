#!/bin/bash
# Installs whatever of Plinth's six tools is missing: the Xcode command line
# tools, Xcode, Homebrew, CocoaPods, XcodeGen and the xcodeproj gem. Every
# step says what it does; tools that are already there are left alone.
set -uo pipefail

say() { printf '\n==> %s\n' "$*"; }
fail() { printf '\nError: %s\n' "$*" >&2; exit 1; }

if [ "$(uname -s)" != "Darwin" ]; then
    fail "Xcode, the Xcode command line tools and the other tools Plinth needs exist only on macOS. Nothing was installed on this $(uname -s) system."
fi

for directory in /opt/homebrew/bin /usr/local/bin; do
    case ":$PATH:" in
        *":$directory:"*) ;;
        *) [ -d "$directory" ] && PATH="$directory:$PATH" ;;
    esac
done
export PATH

failures=0
report_failure() { printf 'Error: %s\n' "$*" >&2; failures=$((failures + 1)); }

# Xcode command line tools: the installer is a system dialog; wait for it.
if xcode-select -p >/dev/null 2>&1; then
    say "Xcode command line tools: installed at $(xcode-select -p)"
else
    say "Installing the Xcode command line tools (confirm the system dialog)..."
    xcode-select --install >/dev/null 2>&1 || true
    until xcode-select -p >/dev/null 2>&1; do
        sleep 5
    done
    say "Xcode command line tools: installed"
fi

# Xcode itself only comes from the App Store or developer.apple.com.
if xcodebuild -version >/dev/null 2>&1; then
    say "Xcode: $(xcodebuild -version | head -n 1)"
else
    say "Xcode is missing. Install it from the App Store (opening it now), then select it with:"
    echo "    sudo xcode-select --switch /Applications/Xcode.app"
    open "macappstore://apps.apple.com/app/id497799835" >/dev/null 2>&1 || true
    report_failure "Xcode has to be installed from the App Store."
fi

# Homebrew.
if command -v brew >/dev/null 2>&1; then
    say "Homebrew: $(brew --version | head -n 1)"
else
    say "Installing Homebrew (it asks for your password)..."
    if /bin/bash -c "$(curl -fsSL https://raw.githubusercontent.com/Homebrew/install/HEAD/install.sh)"; then
        for brew in /opt/homebrew/bin/brew /usr/local/bin/brew; do
            if [ -x "$brew" ]; then
                eval "$("$brew" shellenv)"
                break
            fi
        done
    fi
    command -v brew >/dev/null 2>&1 || report_failure "Homebrew could not be installed."
fi

brew_install() {
    local command_name=$1 formula=$2
    if command -v "$command_name" >/dev/null 2>&1; then
        say "$formula: installed at $(command -v "$command_name")"
    elif command -v brew >/dev/null 2>&1; then
        say "Installing $formula with Homebrew..."
        brew install "$formula" || report_failure "$formula could not be installed."
    else
        report_failure "$formula needs Homebrew, which is missing."
    fi
}

brew_install pod cocoapods
brew_install xcodegen xcodegen

# The xcodeproj gem, for the Ruby that runs Plinth's module script.
if ruby -e 'gem "xcodeproj"' >/dev/null 2>&1; then
    say "xcodeproj gem: installed"
else
    say "Installing the xcodeproj gem for $(command -v ruby)..."
    gem install --user-install --no-document xcodeproj || report_failure "The xcodeproj gem could not be installed."
fi

if [ "$failures" -gt 0 ]; then
    printf '\n%d tool(s) could not be installed; see the messages above.\n' "$failures" >&2
    exit 1
fi
say "All tools are installed."
