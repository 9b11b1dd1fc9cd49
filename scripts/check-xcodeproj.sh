#!/usr/bin/env bash
# Runs resources/AddModulesInTarget.rb twice on Xcode projects made with the
# real xcodeproj gem, in a temporary folder, and checks what it did: an
# Xcode 16 project (objectVersion 77, the app folder synchronized) and a
# classic one (a virtual group, Endpoint.swift in two groups, a second
# Assets.xcassets, Localizable.strings in two languages, an .xcdatamodeld,
# a .gitkeep, two app targets), plus a corrupt project. Then the network
# module with its Swift packages (Alamofire, swift-log's Logging), in a
# classic and an Xcode 16 project with two app targets each: one project
# already on another Alamofire version, one whose target links Logging from
# a local package, a Podfile that brings Alamofire, malformed package
# options. One line per check; exits non-zero when a check fails. Exits 0 with a note when this Ruby has
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
def add(project, mod, target, group, *options)
  pbxproj = File.join(project, 'project.pbxproj')
  before = File.binread(pbxproj)
  output, status = Open3.capture2e('ruby', SCRIPT, '-p', project, '-d', mod, '-t', target, '-g', group, *options)
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

# The network module imports Alamofire and Logging.
ALAMOFIRE = 'https://github.com/Alamofire/Alamofire.git'
SWIFT_LOG = 'https://github.com/apple/swift-log.git'
EXACT = { 'kind' => 'exactVersion', 'version' => '5.9.1' }
FROM = { 'kind' => 'upToNextMajorVersion', 'minimumVersion' => '1.0.0' }
PACKAGES = ['--package', ALAMOFIRE, '--product', 'Alamofire', '--version', 'exact:5.9.1',
            '--package', SWIFT_LOG, '--product', 'Logging', '--version', 'from:1.0.0'].freeze

# A project with the app targets `name` and `name`Pro, their folders
# synchronized in an Xcode 16 project and plain groups otherwise, and the
# network module in the first app's folder.
def network_project(name, object_version)
  dir = File.join(WORK, name)
  path = File.join(dir, "#{name}.xcodeproj")
  project = Xcodeproj::Project.new(path, false, object_version)
  [name, "#{name}Pro"].each do |folder|
    owner = app(project, folder)
    if object_version >= 77
      synced = project.new(X::PBXFileSystemSynchronizedRootGroup)
      synced.path = folder
      project.main_group.children << synced
      owner.file_system_synchronized_groups << synced
    else
      project.main_group.new_group(nil, folder)
    end
  end
  write(File.join(dir, name, 'Network/APIClient.swift'), "import Alamofire\nimport Foundation\nimport Logging\n")
  write(File.join(dir, name, 'Network/Endpoint.swift'))
  yield project if block_given?
  project.save
  [path, File.join(dir, name, 'Network')]
end

# What links `target` to Swift packages, one row per product:
# [product, repository URL, requirement, build files in Frameworks].
def links(target)
  frameworks = target.frameworks_build_phase.files.map(&:product_ref).compact
  target.package_product_dependencies.map do |dependency|
    package = dependency.package
    [dependency.product_name, package.respond_to?(:repositoryURL) ? package.repositoryURL : package&.display_name,
     package.respond_to?(:requirement) ? package.requirement : nil, frameworks.count { |ref| ref.equal?(dependency) }]
  end
end

def remotes(project)
  project.root_object.package_references.grep(X::XCRemoteSwiftPackageReference).map { |ref| [ref.repositoryURL, ref.requirement] }
end

BOTH = [['Alamofire', ALAMOFIRE, EXACT, 1], ['Logging', SWIFT_LOG, FROM, 1]].freeze

# Adds the module with PACKAGES (and `options`) twice; returns the first
# run's output and the project as saved.
def twice_with_packages(label, path, mod, target, group, *options)
  status, output, before, after = add(path, mod, target, group, *PACKAGES, *options)
  check("#{label}: exits 0 and changes the project", status.zero? && before != after, output.strip)
  status, again_output, _, again = add(path, mod, target, group, *PACKAGES, *options)
  check("#{label}: a second run exits 0 and changes no byte", status.zero? && again == after, again_output.strip)
  [output, Xcodeproj::Project.open(path)]
end

{ 'classic' => 46, 'Xcode 16' => 77 }.each do |kind, version|
  name = version >= 77 ? 'Packaged16' : 'Packaged'
  path, mod = network_project(name, version)
  label = "#{kind} project with packages"
  output, project = twice_with_packages(label, path, mod, name, "#{name}/Network")
  first, second = project.targets
  if version >= 77
    check("#{label}: the module's files need no references, the packages are added",
          output.include?('its files need no references') && output.include?('Added 2 package(s)') &&
            project.files.none? { |ref| ref.path.to_s.end_with?('.swift') }, output.strip)
  else
    check("#{label}: the summary counts the packages", output.start_with?('Added Network') && output.include?('2 package(s) added'), output.strip)
  end
  check("#{label}: one reference per repository at the requested version", remotes(project) == [[ALAMOFIRE, EXACT], [SWIFT_LOG, FROM]], remotes(project))
  check("#{label}: the named target links both products, each built once in Frameworks", links(first) == BOTH, links(first))
  check("#{label}: the other target links none", links(second).empty? && second.frameworks_build_phase.files.none?(&:product_ref), links(second))
  check("#{label}: no stray product dependencies or build files",
        project.objects.grep(X::XCSwiftPackageProductDependency).size == 2 && project.objects.grep(X::PBXBuildFile).count(&:product_ref) == 2)

  next unless version < 77

  _, project = twice_with_packages("#{label}, second target", path, mod, "#{name}Pro", "#{name}/Network")
  check("#{label}, second target: links both products through the same references",
        links(project.targets[1]) == BOTH && remotes(project).size == 2 && links(project.targets[0]) == BOTH)
end

# Alamofire is already in the project at 5.8.0, its URL spelled another way,
# for the second app; the first keeps to that version.
older = { 'kind' => 'exactVersion', 'version' => '5.8.0' }
path, mod = network_project('Older', 46) do |project|
  reference = project.new(X::XCRemoteSwiftPackageReference)
  reference.repositoryURL = 'https://www.github.com/alamofire/alamofire/'
  reference.requirement = older
  project.root_object.package_references << reference
  dependency = project.new(X::XCSwiftPackageProductDependency)
  dependency.package = reference
  dependency.product_name = 'Alamofire'
  project.targets[1].package_product_dependencies << dependency
  project.targets[1].frameworks_build_phase.add_file_reference(nil).tap { |build_file| build_file.product_ref = dependency }
end
output, project = twice_with_packages('project with another Alamofire version', path, mod, 'Older', 'Older/Network')
check('project with another Alamofire version: the reference keeps its URL and version',
      remotes(project) == [['https://www.github.com/alamofire/alamofire/', older], [SWIFT_LOG, FROM]], remotes(project))
check('project with another Alamofire version: the target gets the product from it',
      links(project.targets[0]) == [['Alamofire', 'https://www.github.com/alamofire/alamofire/', older, 1], ['Logging', SWIFT_LOG, FROM, 1]],
      links(project.targets[0]))
check('project with another Alamofire version: says which version stays', output.include?('5.8.0'), output.strip)

# The first app links Logging from a local package already.
path, mod = network_project('Local', 77) do |project|
  local = project.new(X::XCLocalSwiftPackageReference)
  local.relative_path = '../Logging'
  project.root_object.package_references << local
  dependency = project.new(X::XCSwiftPackageProductDependency)
  dependency.package = local
  dependency.product_name = 'Logging'
  project.targets[0].package_product_dependencies << dependency
end
_, project = twice_with_packages('target with a local Logging', path, mod, 'Local', 'Local/Network')
check('target with a local Logging: only Alamofire is added',
      remotes(project) == [[ALAMOFIRE, EXACT]] && links(project.targets[0]).map(&:first) == %w[Logging Alamofire],
      [remotes(project), links(project.targets[0])])

# Pods: a Podfile that declares Alamofire for the target, one that cannot be read.
path, mod = network_project('Pods', 46)
podfile = File.join(WORK, 'Pods/Podfile')
write(podfile, "platform :ios, '16.0'\n\ntarget 'Pods' do\n  use_frameworks!\n  pod 'Alamofire', '~> 5.9'\nend\n")
output, project = twice_with_packages('Podfile with Alamofire', path, mod, 'Pods', 'Pods/Network', '--podfile', podfile)
check('Podfile with Alamofire: says so', output.include?('Alamofire comes from the Podfile; no package added.'), output.strip)
check('Podfile with Alamofire: only Logging is added',
      remotes(project) == [[SWIFT_LOG, FROM]] && links(project.targets[0]) == [['Logging', SWIFT_LOG, FROM, 1]],
      [remotes(project), links(project.targets[0])])
status, output, = add(path, mod, 'PodsPro', 'Pods/Network', *PACKAGES, '--podfile', File.join(WORK, 'Pods/Missing/Podfile'))
project = Xcodeproj::Project.open(path)
check('a Podfile that cannot be read declares nothing',
      status.zero? && links(project.targets[1]) == BOTH && remotes(project).size == 2, output.strip)

# Malformed package options: one line, exit 1, the project as it was.
{ 'no --version' => ['--package', ALAMOFIRE, '--product', 'Alamofire'],
  'no --product' => ['--package', ALAMOFIRE, '--version', 'exact:5.9.1'],
  'a requirement without a kind' => ['--package', ALAMOFIRE, '--product', 'Alamofire', '--version', '5.9.1'],
  'a short version' => ['--package', ALAMOFIRE, '--product', 'Alamofire', '--version', 'from:5.9'],
  '--product before --package' => ['--product', 'Alamofire', '--package', ALAMOFIRE, '--version', 'exact:5.9.1'] }.each do |label, options|
  path, mod = network_project('Malformed', 46)
  status, output, before, after = add(path, mod, 'Malformed', 'Malformed/Network', *options)
  check("package options with #{label}: one line, exit 1, project untouched",
        status == 1 && output.lines.size == 1 && before == after, output.strip)
  FileUtils.rm_rf(File.join(WORK, 'Malformed'))
end

puts $failures.zero? ? 'check-xcodeproj: all checks passed' : "check-xcodeproj: #{$failures} check(s) failed"
exit($failures.zero? ? 0 : 1)
RUBY
