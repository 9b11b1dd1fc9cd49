#!/bin/bash
# Installs the pods of a generated or extended project, and what they need
# first: Arkana's secrets and Xcode's file header.
#
#   PodInstall.sh PROJECT_ROOT [AUTHOR ORGANISATION DATE NAME NEW_PROJECT ARKANA]
#
#   PROJECT_ROOT  the folder with the Podfile, as it is (one shell word)
#   AUTHOR, ORGANISATION
#                 written into Xcode's file-header template of the project
#                 (no author: Xcode's ___FULLUSERNAME___)
#   DATE          accepted for the caller's sake; the template takes
#                 Xcode's ___DATE___ and ___YEAR___, the date a file is made
#   NAME          the project's name (its NAME.xcodeproj)
#   NEW_PROJECT   "yes" for a project Plinth has just generated
#   ARKANA        "yes" runs Arkana (through Bundler) before the pods
#
# With PROJECT_ROOT alone the rest is worked out: the name from the one
# .xcodeproj in the folder, the author from the user account,
# Arkana when the folder has an .arkana.yml, and the file header only when
# the project has none yet.
#
# A project without a Podfile gets its libraries as Swift packages, which
# Xcode resolves when it opens the project: there are no pods to install.
# When a new project's .arkana.yml makes the secrets as Swift packages
# (package_manager: spm), XcodeGen makes the Xcode project once Arkana has
# made them, as project.yml refers to them.
set -euo pipefail

fail() {
    printf '\nPod installation failed: %s\n' "$*" >&2
    exit 1
}
trap 'fail "the command on line $LINENO ended with an error."' ERR

[ "$#" -eq 1 ] || [ "$#" -eq 7 ] || fail "expected the project root alone or 7 arguments, got $#"

project_root=$1
[ -d "$project_root" ] || fail "'$project_root' is not a folder."
cd "$project_root"

for directory in /opt/homebrew/bin /usr/local/bin; do
    case ":$PATH:" in
        *":$directory:"*) ;;
        *) if [ -d "$directory" ]; then PATH="$directory:$PATH"; fi ;;
    esac
done
export PATH
export LANG=${LANG:-en_US.UTF-8}

if [ "$#" -eq 7 ]; then
    author=$2 organisation=$3 project_name=$5 new_project=$6 run_arkana=$7
else
    shopt -s nullglob
    projects=(*.xcodeproj)
    shopt -u nullglob
    [ "${#projects[@]}" -eq 1 ] || fail "expected one .xcodeproj in '$project_root', found ${#projects[@]}."
    project_name=${projects[0]%.xcodeproj}
    author=$(id -F 2>/dev/null || id -un)
    organisation=""
    new_project=no
    run_arkana=no
    if [ -f .arkana.yml ]; then run_arkana=yes; fi
fi

# The names go into comment lines of every new Swift file: a line break
# (or any other control character) in them becomes a space.
author=${author//[[:cntrl:]]/ }
organisation=${organisation//[[:cntrl:]]/ }

xml_escape() {
    printf '%s' "$1" | sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'
}

# Xcode's file-header template: new files start with the author, the date
# and the organisation. An existing project's own template is kept.
write_file_header() {
    local shared_data="$project_name.xcodeproj/xcshareddata"
    local macros="$shared_data/IDETemplateMacros.plist"
    if [ ! -d "$project_name.xcodeproj" ]; then
        echo "No $project_name.xcodeproj here; the file header is left out."
        return
    fi
    if [ -f "$macros" ] && [ "$new_project" != yes ]; then
        echo "Keeping the project's own file header ($macros)."
        return
    fi
    # Xcode fills in the date (and, without a known author, the user's full
    # name) when a file is made, so the template holds its macros rather
    # than this run's values.
    local author_text=${author:-___FULLUSERNAME___}
    local copyright=""
    if [ -n "$organisation" ]; then
        copyright="
//  Copyright © ___YEAR___ $organisation. All rights reserved."
    fi
    local header="
//  ___FILENAME___
//  ___PACKAGENAME___
//
//  Created by $author_text on ___DATE___.$copyright
//"
    mkdir -p "$shared_data"
    {
        printf '<?xml version="1.0" encoding="UTF-8"?>\n'
        printf '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n'
        printf '<plist version="1.0">\n<dict>\n\t<key>FILEHEADER</key>\n\t<string>%s</string>\n</dict>\n</plist>\n' \
            "$(xml_escape "$header")"
    } > "$macros.new"
    mv -f "$macros.new" "$macros"
    echo "Wrote the file header template ($macros)."
}

if [ "$run_arkana" = yes ]; then
    echo "==> Generating the secrets with Arkana..."
    command -v bundle >/dev/null 2>&1 || fail "Bundler is missing (gem install bundler)."
    bundle config set --local path vendor/bundle
    bundle install
    bundle exec arkana
    if [ "$new_project" = yes ] && [ -f project.yml ] \
        && grep -qE '^package_manager:[[:space:]]*["'"'"']?spm' .arkana.yml 2>/dev/null; then
        echo "==> Making the Xcode project with the secrets packages (xcodegen generate)..."
        command -v xcodegen >/dev/null 2>&1 || fail "XcodeGen is missing (brew install xcodegen)."
        xcodegen generate
    fi
fi

echo "==> Writing Xcode's file header..."
write_file_header

if [ ! -f Podfile ]; then
    [ -d "$project_name.xcodeproj" ] || fail "there is neither a Podfile nor $project_name.xcodeproj in '$project_root'."
    echo "==> No Podfile: the libraries come as Swift packages, which Xcode resolves when it opens the project."
    echo "==> Done. Open $project_name.xcodeproj in Xcode."
    exit 0
fi

echo "==> Installing the pods..."
command -v pod >/dev/null 2>&1 || fail "CocoaPods is missing (brew install cocoapods)."
if ! pod install; then
    echo "==> pod install failed; updating the CocoaPods repositories and trying again..."
    pod install --repo-update
fi

[ -d Pods ] || fail "pod install ended without a Pods folder."
echo "==> Pods installed. Open $project_name.xcworkspace in Xcode."
