#!/usr/bin/env bash
# Runs resources/AddModulesInTarget.rb twice on Xcode projects made with the
# real xcodeproj gem, in a temporary folder, and checks what it did: an
# Xcode 16 project (objectVersion 77, the app folder synchronized) and a
# classic one (a virtual group, Endpoint.swift in two groups, a second
# Assets.xcassets, Localizable.strings in two languages, an .xcdatamodeld,
# a .gitkeep, two app targets), plus a corrupt project. One line per check;
# exits non-zero when a check fails. Exits 0 with a note when this Ruby has
# no xcodeproj gem (CI has none; this is for local use).
#
#   scripts/check-xcodeproj.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if ! ruby -e 'require "xcodeproj"' >/dev/null 2>&1; then
    echo "check-xcodeproj: skipped, the xcodeproj gem cannot be loaded by $(command -v ruby || echo ruby)"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ruby - "$root/resources/AddModulesInTarget.rb" "$work" <<'RUBY'
require 'fileutils'
require 'open3'
require 'xcodeproj'

SCRIPT, WORK = ARGV
X = Xcodeproj::Project::Object
$failures = 0

def check(label, ok, detail = nil)
  puts "#{ok ? 'ok  ' : 'FAIL'} #{label}#{ok || detail.nil? ? '' : " (#{detail})"}"
  $failures += 1 unless ok
end

def write(path, text = "// #{File.basename(path)}\n")
  FileUtils.mkdir_p(File.dirname(path))
  File.write(path, text)
end

# Runs the script; returns [status, output, pbxproj before, pbxproj after].
def add(project, mod, target, group)
  pbxproj = File.join(project, 'project.pbxproj')
  before = File.binread(pbxproj)
  output, status = Open3.capture2e('ruby', SCRIPT, '-p', project, '-d', mod, '-t', target, '-g', group)
  [status.exitstatus, output, before, File.binread(pbxproj)]
end

def twice(label, project, mod, target, group)
  status, output, before, after = add(project, mod, target, group)
  check("#{label}: exits 0 and says what it added", status.zero? && output.start_with?('Added '), output.strip)
  check("#{label}: changes the project", before != after)
  status, output, _, again = add(project, mod, target, group)
  check("#{label}: a second run exits 0 and changes no byte", status.zero? && again == after, output.strip)
  Xcodeproj::Project.open(project)
end

def app(project, name)
  project.new_target(:application, name, :ios, '16.0')
end

def phase_uuids(phase)
  phase.files.map { |build_file| build_file.file_ref&.uuid }
end

# Xcode 16: the app folder is a synchronized folder of the app target.
dir = File.join(WORK, 'Modern')
path = File.join(dir, 'Modern.xcodeproj')
project = Xcodeproj::Project.new(path, false, 77)
target = app(project, 'Modern')
tests = app(project, 'ModernKit')
{ 'Modern' => target, 'ModernKit' => tests }.each do |folder, owner|
  synced = project.new(X::PBXFileSystemSynchronizedRootGroup)
  synced.path = folder
  project.main_group.children << synced
  owner.file_system_synchronized_groups << synced
end
api = project.main_group.new_group(nil, 'Shared').new_group(nil, 'API')
write(File.join(dir, 'Shared/API/Endpoint.swift'))
target.add_file_references([api.new_reference(File.join(dir, 'Shared/API/Endpoint.swift'))])
project.save
write(File.join(dir, 'Modern/Helpers/Keychain/Keychain.swift'))
write(File.join(dir, 'ModernKit/Keychain/Keychain.swift'))
write(File.join(dir, 'Shared/Network/Client.swift'))
write(File.join(dir, 'Shared/Network/Endpoint.swift'))
write(File.join(dir, 'Shared/Network/.gitkeep'), '')

before = File.binread(File.join(path, 'project.pbxproj'))
status, output, = add(path, File.join(dir, 'Modern/Helpers/Keychain'), 'Modern', 'Modern/Helpers/Keychain')
check('synchronized folder: a module inside it needs nothing and exits 0',
      status.zero? && output.include?('nothing to add') && !output.include?('Added'), output.strip)
check('synchronized folder: the project is left byte for byte', File.binread(File.join(path, 'project.pbxproj')) == before)
status, output, = add(path, File.join(dir, 'ModernKit/Keychain'), 'Modern', 'ModernKit/Keychain')
check("synchronized folder: one the target does not build is an error", status == 1 && output.lines.size == 1, output.strip)

project = twice('Xcode 16 project, module outside the synchronized folder', path,
                File.join(dir, 'Shared/Network'), 'Modern', 'Shared/Network')
client = project.files.find { |ref| ref.path == 'Client.swift' }
network = project.main_group.find_subpath('Shared/Network')
check('Xcode 16 project: the module group resolves to its folder',
      network && network.real_path.to_s == File.join(dir, 'Shared/Network'), network&.real_path)
sources = phase_uuids(project.targets[0].source_build_phase)
endpoints = project.files.select { |ref| ref.display_name == 'Endpoint.swift' }.map(&:uuid)
check('Xcode 16 project: Client.swift is built once', client && sources.count(client.uuid) == 1)
check('Xcode 16 project: Endpoint.swift of both groups is built', endpoints.size == 2 && (endpoints - sources).empty?)
check('Xcode 16 project: .gitkeep has no reference', project.files.none? { |ref| ref.display_name.start_with?('.') })

# Classic: Classic/Helpers is a virtual group; Endpoint.swift, Assets.xcassets
# and Localizable.strings already exist elsewhere in the project.
dir = File.join(WORK, 'Classic')
path = File.join(dir, 'Classic.xcodeproj')
project = Xcodeproj::Project.new(path)
classic = app(project, 'Classic')
app(project, 'ClassicPro')
folder = project.main_group.new_group(nil, 'Classic')
folder.new_group('Helpers')
api = folder.new_group(nil, 'API')
write(File.join(dir, 'Classic/API/Endpoint.swift'))
write(File.join(dir, 'Classic/Assets.xcassets/Contents.json'), "{}\n")
write(File.join(dir, 'Classic/en.lproj/Localizable.strings'), "\"a\" = \"a\";\n")
classic.add_file_references([api.new_reference(File.join(dir, 'Classic/API/Endpoint.swift'))])
classic.add_resources([folder.new_reference(File.join(dir, 'Classic/Assets.xcassets')),
                       folder.new_group(nil, 'en.lproj').new_reference(File.join(dir, 'Classic/en.lproj/Localizable.strings'))])
project.save
mod = File.join(dir, 'Classic/Helpers/Network')
write(File.join(mod, 'Endpoint.swift'))
write(File.join(mod, 'Assets.xcassets/Contents.json'), "{}\n")
write(File.join(mod, 'en.lproj/Localizable.strings'), "\"b\" = \"b\";\n")
write(File.join(mod, 'de.lproj/Localizable.strings'), "\"b\" = \"c\";\n")
write(File.join(mod, 'Model.xcdatamodeld/Model.xcdatamodel/contents'), "<model/>\n")
write(File.join(mod, '.gitkeep'), '')

project = twice('classic project', path, mod, 'Classic', 'Classic/Helpers/Network')
network = project.main_group.find_subpath('Classic/Helpers/Network')
check('classic project: the group under the virtual group resolves to the module folder',
      network && network.real_path.to_s == mod, network && "#{network.path} -> #{network.real_path}")
new_refs = project.objects.select { |obj| obj.is_a?(X::PBXFileReference) || obj.is_a?(X::XCVersionGroup) }
                  .select { |ref| ref.real_path.to_s.start_with?("#{mod}/") }
check('classic project: every new reference resolves to an existing file',
      !new_refs.empty? && new_refs.all? { |ref| ref.real_path.exist? }, new_refs.reject { |ref| ref.real_path.exist? }.map(&:real_path).join(', '))
check('classic project: .gitkeep has no reference', project.objects.none? { |obj| obj.respond_to?(:path) && obj.path.to_s.end_with?('.gitkeep') })
sources = phase_uuids(project.targets[0].source_build_phase)
resources = phase_uuids(project.targets[0].resources_build_phase)
named = ->(name) { new_refs.select { |ref| File.basename(ref.path) == name }.map(&:uuid) }
endpoints = project.files.select { |ref| ref.display_name == 'Endpoint.swift' }.map(&:uuid)
check('classic project: both Endpoint.swift are built', endpoints.size == 2 && (endpoints - sources).empty?)
check('classic project: the second Assets.xcassets is a resource', named['Assets.xcassets'].size == 1 && (named['Assets.xcassets'] - resources).empty?)
check('classic project: Localizable.strings of both languages are resources', named['Localizable.strings'].size == 2 && (named['Localizable.strings'] - resources).empty?)
model = project.objects.grep(X::XCVersionGroup)
check('classic project: the .xcdatamodeld has one reference, built once in Sources',
      model.size == 1 && sources.count(model[0].uuid) == 1 && !resources.include?(model[0].uuid))

project = twice('classic project, second app target', path, mod, 'ClassicPro', 'Classic/Helpers/Network')
pro = project.targets[1]
check('classic project, second app target: builds the same references, none new',
      project.objects.grep(X::XCVersionGroup).size == 1 && pro.source_build_phase.files.size == 2 && pro.resources_build_phase.files.size == 3 &&
      phase_uuids(project.targets[0].source_build_phase) == sources)

# A project file that is not one.
corrupt = File.join(WORK, 'Corrupt/Corrupt.xcodeproj')
write(File.join(corrupt, 'project.pbxproj'), "// !$*UTF8*$!\n{ archiveVersion = 1; objects = {\n")
status, output, = add(corrupt, mod, 'Corrupt', 'Corrupt')
check('corrupt project: one line, no backtrace, non-zero exit',
      status != 0 && output.lines.size == 1 && output.start_with?('AddModulesInTarget: cannot read'), output.strip)

puts $failures.zero? ? 'check-xcodeproj: all checks passed' : "check-xcodeproj: #{$failures} check(s) failed"
exit($failures.zero? ? 0 : 1)
RUBY
