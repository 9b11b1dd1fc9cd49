# Times AddModulesInTarget.rb against the xcodeproj gem's own open and save
# of the same large project: builds a project whose app target builds
# FILES Swift files (folders of 100), then runs, alternately and each in a
# fresh Ruby, (a) Xcodeproj::Project.open + save and (b) the script adding
# the network module with Alamofire and Logging, each on a fresh copy of the
# project file; prints the medians and their ratio, in wall-clock and in
# CPU time.
#
#   ruby bench.rb WORK_FOLDER [FILES] [RUNS]
require 'fileutils'
require 'xcodeproj'

root = File.expand_path('../..', __dir__)
work = File.expand_path(ARGV[0] || abort('usage: ruby bench.rb WORK_FOLDER [FILES] [RUNS]'))
files = Integer(ARGV[1] || 20_000)
runs = Integer(ARGV[2] || 5)
per_folder = 100

dir = File.join(work, 'Bench')
path = File.join(dir, 'Bench.xcodeproj')
FileUtils.rm_rf(dir)
started = Process.clock_gettime(Process::CLOCK_MONOTONIC)
project = Xcodeproj::Project.new(path, false, 60)
target = project.new_target(:application, 'Bench', :ios, '16.0')
project.new_target(:application, 'BenchPro', :ios, '16.0')
app = project.main_group.new_group(nil, 'Bench')
references = (0...(files + per_folder - 1) / per_folder).flat_map do |folder|
  name = format('Feature%03d', folder)
  group = app.new_group(nil, File.join(dir, 'Bench', name))
  FileUtils.mkdir_p(File.join(dir, 'Bench', name))
  (0...[per_folder, files - folder * per_folder].min).map do |index|
    file = File.join(dir, 'Bench', name, format('%sView%03d.swift', name, index))
    File.write(file, "struct #{name}View#{index} {}\n")
    group.new_reference(file)
  end
end
target.add_file_references(references)
project.save
FileUtils.cp_r(File.join(root, 'resources/UIKitBaseSetup/UIKitBaseSetup/Network'), File.join(dir, 'Bench/Network'))
pbxproj = File.join(path, 'project.pbxproj')
original = File.binread(pbxproj)
printf("project: %d Swift files, %.1f MB project.pbxproj, made in %.1f s\n", files, original.bytesize / 1e6,
       Process.clock_gettime(Process::CLOCK_MONOTONIC) - started)

commands = {
  open_save: ['ruby', '-e', 'require "xcodeproj"; Xcodeproj::Project.open(ARGV[0]).save', path],
  script: ['ruby', File.join(root, 'resources/AddModulesInTarget.rb'), '-p', path, '-d', File.join(dir, 'Bench/Network'),
           '-t', 'Bench', '-g', 'Bench/Network',
           '--package', 'https://github.com/Alamofire/Alamofire.git', '--product', 'Alamofire', '--version', 'exact:5.9.1',
           '--package', 'https://github.com/apple/swift-log.git', '--product', 'Logging', '--version', 'from:1.0.0']
}
# Wall-clock time, and the CPU time of the child (user + system), which
# other work on the machine disturbs less.
wall = Hash.new { |hash, key| hash[key] = [] }
cpu = Hash.new { |hash, key| hash[key] = [] }
runs.times do
  commands.each do |name, command|
    File.binwrite(pbxproj, original)
    started = Process.clock_gettime(Process::CLOCK_MONOTONIC)
    before = Process.times
    system(*command, out: File::NULL) || abort("#{name} failed: #{command.join(' ')}")
    after = Process.times
    wall[name] << Process.clock_gettime(Process::CLOCK_MONOTONIC) - started
    cpu[name] << (after.cutime + after.cstime) - (before.cutime + before.cstime)
  end
end
abort('the script left the project unchanged') if File.binread(pbxproj) == original

median = ->(values) { values.sort[values.size / 2] }
seconds = ->(values) { values.map { |value| format('%.2f', value) }.join(' ') }
{ 'wall' => wall, 'CPU' => cpu }.each do |kind, times|
  a = median[times[:open_save]]
  b = median[times[:script]]
  printf("%-4s (a) Xcodeproj::Project.open + save: %.2f s (median of %d: %s)\n", kind, a, runs, seconds[times[:open_save]])
  printf("%-4s (b) AddModulesInTarget.rb, network: %.2f s (median of %d: %s)\n", kind, b, runs, seconds[times[:script]])
  printf("%-4s ratio (b)/(a): %.2f (goal: 1.10 or less)\n", kind, b / a)
end
