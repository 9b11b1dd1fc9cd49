#!/bin/bash
# Writes the Podfile of a generated project, or edits the Podfile of an
# existing one in place.
#
#   post_gen.sh TARGET NAME AWS ARKANA BUNDLE_ID NA PROJECT_ROOT "POD POD ..." ["POD POD ..."]
#
#   TARGET        minimum iOS version, e.g. 17.0; empty for an existing project,
#                 which keeps the version its Xcode project or Podfile names
#   NAME          product name: the app target; the Arkana secrets pods are
#                 named after the Swift module name Xcode derives from it
#                 ("O'Brien" gives O_BrienSecrets), as .arkana.yml names them
#   AWS, ARKANA   "y" adds the AWSS3 pod, resp. the Arkana secrets pods
#   BUNDLE_ID, NA accepted for the caller's sake; the Podfile needs neither
#   PROJECT_ROOT  the folder that receives the Podfile, as it is (one shell
#                 word; spaces and quotes are part of the path)
#   PODS          pod names separated by spaces; a name listed twice is
#                 written once
#   REMOVED       optional: pod names separated by spaces that the user took
#                 out; only an existing Podfile loses them
#
# A pod name must consist of letters, digits and "-_.+", not of dots alone,
# or be a subspec ("Firebase/Analytics") whose every part does: the Podfile
# is Ruby that `pod install` executes, so any other name is refused and not
# written.
#
# Without a Podfile in PROJECT_ROOT a new one is written. An existing one is
# edited in place by PodfileEditor.rb (beside this script, run with `ruby`):
# each line of it stays, a `pod` line is added to NAME's target for each pod
# the target does not get yet, and the own `pod` lines of the REMOVED pods
# go. The Arkana secrets pods are those that the project's .arkana.yml names
# (pod_name, result_path), none when it uses package_manager: spm.
# Exit status: 0 written, 2 written without some refused pod names, 1 nothing
# written; when editing, PodfileEditor's failure (1, or 2 for a value it
# refuses) with its message, the Podfile left as it was.
set -euo pipefail
export LC_ALL=C

fail() { printf 'post_gen: %s\n' "$*" >&2; exit 1; }

[ "$#" -eq 8 ] || [ "$#" -eq 9 ] \
    || fail "expected 8 or 9 arguments (target, name, aws, arkana, bundle id, NA, project root, pods[, removed pods]), got $#"

deployment_target=$1
project_name=$2
include_aws=$3
include_arkana=$4
project_root=$7
requested_pods=$8
removed_pods=${9-}

# An existing project comes without a chosen target: a Podfile made for it
# takes the version its Xcode project names, else none (CocoaPods then uses
# its default). A Podfile of its own keeps its platform line.
if [ -z "$deployment_target" ]; then
    deployment_target=$(grep -ho 'IPHONEOS_DEPLOYMENT_TARGET = [0-9][0-9.]*;' \
        "$project_root"/*.xcodeproj/project.pbxproj 2>/dev/null | head -n 1 | sed 's/[^0-9.]//g' || true)
fi
[[ -z $deployment_target || $deployment_target =~ ^[0-9]+(\.[0-9]+){0,2}$ ]] \
    || fail "refusing deployment target '$deployment_target': expected a version such as 17.0"
# The name is written as a Ruby string literal without escapes, which
# PodfileEditor.rb reads back on a later run: single-quoted, or double-quoted
# when it holds a single quote (then "#" would start an interpolation).
[[ -n $project_name && $project_name != *[[:cntrl:]]* && $project_name != *\\* ]] \
    || fail "refusing project name '$project_name': it must not be empty or contain backslashes or control characters"
[[ $project_name != *\'* || $project_name != *[\"#]* ]] \
    || fail "refusing project name '$project_name': a name with a single quote must not also contain a double quote or '#'"
ruby_string() {
    if [[ $1 == *\'* ]]; then printf '"%s"' "$1"; else printf "'%s'" "$1"; fi
}
# The secrets pods' name when .arkana.yml does not give one: the module name
# Xcode derives from the product name, every character that is not an ASCII
# letter, digit or "_" (a UTF-8 sequence counting once) and a leading digit
# made "_"; Plinth's .arkana.yml names the pods so.
continuation_byte=$(printf '[\200-\277]')
secrets_module=${project_name//$continuation_byte/}
secrets_module=${secrets_module//[^A-Za-z0-9_]/_}
if [[ $secrets_module == [0-9]* ]]; then
    secrets_module=_${secrets_module#?}
fi
[ -d "$project_root" ] || fail "project root '$project_root' is not a folder"

status=0
valid_pod_name() {
    # A part made only of dots (".", "..") is a path, not a pod.
    local dots_only='/\.+/'
    [[ $1 =~ ^[A-Za-z0-9_.+-]+(/[A-Za-z0-9_.+-]+)*$ && ! /$1/ =~ $dots_only ]] && return 0
    printf "post_gen: refusing pod name '%s': %s; it was not written\n" "$1" \
        "only letters, digits and -_.+ (and / between a pod and its subspec) are allowed, not dots alone" >&2
    status=2
    return 1
}
pods=()
add_pod() {
    local name=$1 existing
    valid_pod_name "$name" || return 0
    for existing in "${pods[@]+"${pods[@]}"}"; do
        [ "$existing" = "$name" ] && return
    done
    pods+=("$name")
}

read -r -d '' -a requested <<< "$requested_pods" || true
for pod in "${requested[@]+"${requested[@]}"}"; do
    add_pod "$pod"
done
[ "$include_aws" = y ] && add_pod AWSS3

# The value of a top-level "key: value" line of a YAML file, without quotes
# or a trailing comment; empty when the key is missing.
yaml_value() {
    local line value
    line=$(grep -m 1 "^$1:" "$2" 2>/dev/null) || return 0
    value=${line#*:}
    value=${value%$'\r'}
    value=${value#"${value%%[![:space:]]*}"}
    case $value in
        \'*) value=${value#\'}; value=${value%%\'*} ;;
        \"*) value=${value#\"}; value=${value%%\"*} ;;
        *) value=${value%%[[:space:]]#*}; value=${value%"${value##*[![:space:]]}"} ;;
    esac
    printf '%s' "$value"
}

# Edits the existing Podfile in place and ends the script with the editor's
# status (or 2 when a name was refused here).
edit_existing_podfile() {
    local editor arguments=() pod removed=() secrets folder configured arkana_config editor_status=0
    editor="$(dirname "${BASH_SOURCE[0]}")/PodfileEditor.rb"
    command -v ruby >/dev/null 2>&1 \
        || fail "ruby is not on PATH; it is needed to edit the existing Podfile, which was left as it is"
    [ -f "$editor" ] || fail "$editor is missing; the existing Podfile was left as it is"

    for pod in "${pods[@]+"${pods[@]}"}"; do
        arguments+=(--add "$pod")
    done
    if [ "$include_arkana" = y ]; then
        secrets="${secrets_module}Secrets"
        folder=Dependencies
        arkana_config="$project_root/.arkana.yml"
        if [ -f "$arkana_config" ]; then
            configured=$(yaml_value pod_name "$arkana_config")
            secrets=${configured:-$secrets}
            configured=$(yaml_value result_path "$arkana_config")
            while [[ $configured == */ ]]; do configured=${configured%/}; done
            folder=${configured:-$folder}
            if [ "$(yaml_value package_manager "$arkana_config")" = spm ]; then
                secrets=''
            fi
        fi
        if [ -z "$secrets" ]; then
            :
        elif [[ $folder == *[\'\"\\]* || $folder == *[[:cntrl:]]* ]]; then
            printf "post_gen: refusing the secrets folder '%s' of .arkana.yml: it must not hold quotes, backslashes or control characters; the secrets pods were not written\n" "$folder" >&2
            status=2
        elif valid_pod_name "$secrets"; then
            arguments+=(--add-local "$secrets=$folder/$secrets"
                        --add-local "${secrets}Interfaces=$folder/${secrets}Interfaces")
        fi
    fi
    read -r -d '' -a removed <<< "$removed_pods" || true
    for pod in "${removed[@]+"${removed[@]}"}"; do
        valid_pod_name "$pod" && arguments+=(--remove "$pod")
    done

    ruby "$editor" edit "$podfile" "$project_name" "${arguments[@]+"${arguments[@]}"}" || editor_status=$?
    if [ "$editor_status" -ne 0 ]; then
        printf 'post_gen: %s was left as it was\n' "$podfile" >&2
        exit "$editor_status"
    fi
    echo "post_gen: edited $podfile in place"
    exit "$status"
}

podfile="$project_root/Podfile"
if [ -e "$podfile" ] || [ -L "$podfile" ]; then
    edit_existing_podfile
fi

# Test targets get a block only when the Xcode project has them (an existing
# project may have none); without a project file both are assumed.
project_file="$project_root/$project_name.xcodeproj/project.pbxproj"
has_target() {
    [ ! -f "$project_file" ] || grep -qF "name = $1;" "$project_file" || grep -qF "name = \"$1\";" "$project_file"
}

{
    if [ -n "$deployment_target" ]; then
        printf "platform :ios, '%s'\n\n" "$deployment_target"
    else
        printf "platform :ios\n\n"
    fi
    printf "target %s do\n" "$(ruby_string "$project_name")"
    printf "  use_frameworks!\n\n"
    printf "  # Default pods\n"
    for pod in "${pods[@]+"${pods[@]}"}"; do
        printf "  pod '%s'\n" "$pod"
    done
    if [ "$include_arkana" = y ]; then
        secrets="${secrets_module}Secrets"
        printf "\n  # Secrets generated by Arkana (bundle exec arkana)\n"
        printf "  pod '%s', :path => 'Dependencies/%s'\n" "$secrets" "$secrets"
        printf "  pod '%sInterfaces', :path => 'Dependencies/%sInterfaces'\n" "$secrets" "$secrets"
    fi
    for suffix in Tests UITests; do
        if has_target "$project_name$suffix"; then
            printf "\n  target %s do\n    inherit! :search_paths\n  end\n" "$(ruby_string "$project_name$suffix")"
        fi
    done
    printf "end\n\n"
    if [ -n "$deployment_target" ]; then
        printf "post_install do |installer|\n"
        printf "  installer.pods_project.targets.each do |target|\n"
        printf "    target.build_configurations.each do |config|\n"
        printf "      config.build_settings['IPHONEOS_DEPLOYMENT_TARGET'] = '%s'\n" "$deployment_target"
        printf "    end\n  end\nend\n"
    fi
} > "$project_root/.Podfile.new" || fail "cannot write into '$project_root'"
mv -f "$project_root/.Podfile.new" "$podfile"
echo "post_gen: wrote $podfile with ${#pods[@]} pod(s)"
exit "$status"
