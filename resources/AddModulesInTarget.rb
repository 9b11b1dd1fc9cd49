# Adds a module that has been copied into an Xcode project's folder to the
# project: its files under a group, and its sources and resources to a
# target's build phases.
#
#   ruby AddModulesInTarget.rb -p PROJECT.xcodeproj -d MODULE_PATH -t TARGET -g GROUP/PATH
#
# MODULE_PATH is a folder (its files go into GROUP/PATH, its subfolders
# become subgroups) or a single file (it goes into GROUP/PATH). Missing
# groups are created; "Helpers/" and "Helpers" name the same group. Running
# the script again changes nothing. Exits non-zero with a message when the
# project, the target or the module is missing.
require 'optparse'
require 'pathname'

module AddModulesInTarget
  SOURCE_EXTENSIONS = %w[.swift .m .mm .c .cc .cpp .metal].freeze
  RESOURCE_EXTENSIONS = %w[
    .xcassets .storyboard .xib .strings .stringsdict .json .plist .png .jpg .jpeg .pdf .svg
    .ttf .otf .woff .mp3 .wav .mp4 .xcprivacy .lottie .gif .html .txt
  ].freeze
  IGNORED_NAMES = %w[.DS_Store .git .svn].freeze
  # Folders Xcode treats as one item rather than descending into them.
  BUNDLE_EXTENSIONS = %w[.xcassets .bundle .framework .xcframework .xcdatamodeld].freeze

  class Failure < StandardError; end

  module_function

  def parse(arguments)
    options = {}
    parser = OptionParser.new do |opts|
      opts.banner = 'Usage: ruby AddModulesInTarget.rb -p PROJECT.xcodeproj -d MODULE_PATH -t TARGET -g GROUP/PATH'
      opts.on('-p', '--project PATH', 'the .xcodeproj to change') { |value| options[:project] = value }
      opts.on('-d', '--directory PATH', 'the copied module (folder or file)') { |value| options[:module] = value }
      opts.on('-t', '--target NAME', 'the target that builds the module') { |value| options[:target] = value }
      opts.on('-g', '--group PATH', 'the group path for the module, e.g. App/Helpers') { |value| options[:group] = value }
    end
    parser.parse!(arguments)
    missing = %i[project module target group].reject { |key| options[key] && !options[key].empty? }
    raise Failure, "missing option(s) #{missing.map { |key| option_letter(key) }.join(', ')}\n#{parser.banner}" unless missing.empty?
    raise Failure, "unexpected argument(s): #{arguments.join(' ')}\n#{parser.banner}" unless arguments.empty?

    options
  rescue OptionParser::ParseError => e
    raise Failure, "#{e.message}\n#{parser.banner}"
  end

  def option_letter(key)
    { project: '-p', module: '-d', target: '-t', group: '-g' }.fetch(key)
  end

  def load_xcodeproj
    require 'xcodeproj'
  rescue LoadError
    raise Failure, 'the xcodeproj gem is not installed (gem install xcodeproj)'
  end

  def run(options)
    project_path = File.expand_path(options[:project])
    module_path = Pathname(File.expand_path(options[:module]))
    unless File.directory?(project_path) && File.file?(File.join(project_path, 'project.pbxproj'))
      raise Failure, "no Xcode project at #{project_path}"
    end
    raise Failure, "nothing to add: #{module_path} does not exist" unless module_path.exist?

    load_xcodeproj
    project = Xcodeproj::Project.open(project_path)
    target = project.native_targets.find { |candidate| candidate.name == options[:target] }
    unless target
      names = project.native_targets.map(&:name)
      raise Failure, "no target named #{options[:target]} in #{project_path} (targets: #{names.empty? ? 'none' : names.join(', ')})"
    end

    if synchronized_folder?(target, module_path)
      puts "#{module_path} lies in a folder that Xcode keeps in sync with #{target.name}; nothing to add."
      return
    end

    adder = Adder.new(project, target)
    group = adder.group_for(group_components(options[:group]))
    if module_path.directory? && !bundle?(module_path)
      adder.add_directory(module_path, group)
    else
      adder.add_file(module_path, group)
    end

    if adder.changed?
      project.save
      puts "Added #{module_path.basename} to #{target.name} under #{options[:group]} (#{adder.summary})."
    else
      puts "#{module_path.basename} is already part of #{target.name}; nothing changed."
    end
  end

  def group_components(group_path)
    group_path.split('/').map(&:strip).reject(&:empty?)
  end

  def bundle?(path)
    BUNDLE_EXTENSIONS.include?(path.extname)
  end

  # Xcode 16 folders (PBXFileSystemSynchronizedRootGroup) build every file in
  # them; adding references as well would compile the files twice.
  def synchronized_folder?(target, module_path)
    return false unless target.respond_to?(:file_system_synchronized_groups)

    target.file_system_synchronized_groups.any? do |folder|
      root = folder.real_path.to_s
      module_path.to_s == root || module_path.to_s.start_with?("#{root}/")
    end
  end

  # Finds or creates groups and file references and puts files into the
  # target's build phases, counting what it really changed.
  class Adder
    def initialize(project, target)
      @project = project
      @target = target
      @added_references = 0
      @added_build_files = 0
      @added_groups = 0
    end

    def changed?
      (@added_references + @added_build_files + @added_groups).positive?
    end

    def summary
      "#{@added_groups} group(s), #{@added_references} file reference(s), #{@added_build_files} build file(s) added"
    end

    def group_for(components)
      components.reduce(@project.main_group) { |parent, name| child_group(parent, name) }
    end

    def add_directory(directory, group)
      directory.children.sort.each do |child|
        next if IGNORED_NAMES.include?(child.basename.to_s)

        if child.directory? && !AddModulesInTarget.bundle?(child)
          add_directory(child, child_group(group, child.basename.to_s, child))
        else
          add_file(child, group)
        end
      end
    end

    def add_file(path, group)
      reference = group.files.find { |existing| same_path?(existing.real_path, path) }
      unless reference
        reference = group.new_reference(path.to_s)
        @added_references += 1
      end

      extension = path.extname.downcase
      if SOURCE_EXTENSIONS.include?(extension)
        add_to_phase(@target.source_build_phase, reference)
      elsif RESOURCE_EXTENSIONS.include?(extension) || AddModulesInTarget.bundle?(path)
        add_to_phase(@target.resources_build_phase, reference) unless extension == '.plist' && path.basename.to_s == 'Info.plist'
      end
    end

    private

    def add_to_phase(phase, reference)
      return if phase.files_references.include?(reference)

      phase.add_file_reference(reference, true)
      @added_build_files += 1
    end

    # The child group called `name`, preferring one whose folder is
    # `directory`; created (with that folder as its path) when missing.
    def child_group(parent, name, directory = nil)
      groups = parent.groups
      found = directory && groups.find { |group| same_path?(group.real_path, directory) }
      found ||= groups.find { |group| group.display_name == name }
      return found if found

      @added_groups += 1
      group = parent.new_group(nil, directory ? directory.to_s : name)
      group.name = nil
      group
    end

    def same_path?(left, right)
      File.expand_path(left.to_s) == File.expand_path(right.to_s)
    end
  end
end

if $PROGRAM_NAME == __FILE__
  begin
    AddModulesInTarget.run(AddModulesInTarget.parse(ARGV.dup))
  rescue AddModulesInTarget::Failure => e
    warn "AddModulesInTarget: #{e.message}"
    exit 1
  end
end
