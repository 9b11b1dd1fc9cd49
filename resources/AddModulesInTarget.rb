# Adds a module that has been copied into an Xcode project's folder to the
# project: its files under a group, and its sources and resources to a
# target's build phases.
#
#   ruby AddModulesInTarget.rb -p PROJECT.xcodeproj -d MODULE_PATH -t TARGET -g GROUP/PATH
#
# MODULE_PATH is a folder (its files go into GROUP/PATH, its subfolders
# become subgroups) or a single file (it goes into GROUP/PATH). GROUP/PATH
# mirrors the module's folder below the project's folder: missing groups are
# created with paths that resolve to those folders; "Helpers/" and "Helpers"
# name the same group. Names starting with "." are left out. A module inside
# a folder that Xcode keeps in sync with the target (Xcode 16) is built by
# the target already and needs no references. Running the script again
# changes nothing. Exits non-zero with a one-line message when the project
# is missing or unreadable, or the target or the module is missing.
require 'optparse'
require 'pathname'

module AddModulesInTarget
  SOURCE_EXTENSIONS = %w[.swift .m .mm .c .cc .cpp .metal].freeze
  RESOURCE_EXTENSIONS = %w[
    .xcassets .storyboard .xib .strings .stringsdict .json .plist .png .jpg .jpeg .pdf .svg
    .ttf .otf .woff .mp3 .wav .mp4 .xcprivacy .lottie .gif .html .txt
  ].freeze
  # Core Data models are compiled, so they belong to Sources as in Xcode.
  COMPILED_BUNDLE_EXTENSIONS = %w[.xcdatamodeld].freeze
  # Folders Xcode treats as one item rather than descending into them.
  BUNDLE_EXTENSIONS = (%w[.xcassets .bundle .framework .xcframework] + COMPILED_BUNDLE_EXTENSIONS).freeze

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
    project = open_project(project_path)
    target = project.native_targets.find { |candidate| candidate.name == options[:target] }
    unless target
      names = project.native_targets.map(&:name)
      raise Failure, "no target named #{options[:target]} in #{project_path} (targets: #{names.empty? ? 'none' : names.join(', ')})"
    end

    folder = synchronized_folder(project, module_path)
    if folder
      linked = target.respond_to?(:file_system_synchronized_groups) ? target.file_system_synchronized_groups : []
      unless linked.any? { |candidate| candidate.equal?(folder) }
        raise Failure, "#{module_path} lies in the synchronized folder #{folder.display_name}, which #{target.name} " \
                       "does not build; add the folder to #{target.name} in Xcode"
      end

      puts "#{module_path} lies in the synchronized folder #{folder.display_name} that #{target.name} " \
           'builds as a whole; nothing to add.'
      return
    end

    adder = Adder.new(project, target)
    components = group_components(options[:group])
    group = adder.group_for(components, group_folders(project_path, module_path, components))
    if module_path.directory? && !bundle?(module_path)
      adder.add_directory(module_path, group)
    else
      adder.add_file(module_path, group)
    end

    if adder.changed?
      save_project(project, project_path)
      puts "Added #{module_path.basename} to #{target.name} under #{options[:group]} (#{adder.summary})."
    else
      puts "#{module_path.basename} is already part of #{target.name}; nothing changed."
    end
  end

  def open_project(project_path)
    Xcodeproj::Project.open(project_path)
  rescue StandardError => e
    raise Failure, "cannot read #{File.join(project_path, 'project.pbxproj')}: #{first_line(e.message)}"
  end

  def save_project(project, project_path)
    project.save
  rescue StandardError => e
    raise Failure, "cannot write #{File.join(project_path, 'project.pbxproj')}: #{first_line(e.message)}"
  end

  def first_line(message)
    message.to_s.lines.map(&:strip).reject(&:empty?).first || 'unknown error'
  end

  def group_components(group_path)
    group_path.split('/').map(&:strip).reject(&:empty?)
  end

  # The folder each group of GROUP/PATH stands for. The last group holds the
  # module (a folder) or its file, so the folders are read off the module's
  # place when its trailing folder names match the groups; otherwise the
  # groups are taken as folders below the project's folder.
  def group_folders(project_path, module_path, components)
    anchor = module_path.directory? && !bundle?(module_path) ? module_path : module_path.dirname
    folders = components.each_index.map do |index|
      (components.size - 1 - index).times.reduce(anchor) { |folder, _| folder.dirname }
    end
    return folders if folders.zip(components).all? { |folder, name| folder.basename.to_s == name }

    root = Pathname(File.dirname(project_path))
    components.each_index.map { |index| root.join(*components[0..index]) }
  end

  def bundle?(path)
    BUNDLE_EXTENSIONS.include?(path.extname)
  end

  # The Xcode 16 folder (PBXFileSystemSynchronizedRootGroup) that holds
  # module_path, if any. The targets linked to such a folder build every file
  # in it; references as well would build the files twice.
  def synchronized_folder(project, module_path)
    return nil unless defined?(Xcodeproj::Project::Object::PBXFileSystemSynchronizedRootGroup)

    path = canonical(module_path)
    project.objects.grep(Xcodeproj::Project::Object::PBXFileSystemSynchronizedRootGroup).find do |folder|
      root = canonical(Xcodeproj::Project::Object::GroupableHelper.real_path(folder))
      path == root || path.start_with?("#{root}/")
    end
  end

  # The absolute path with symbolic links resolved where the file exists.
  def canonical(path)
    File.realpath(path.to_s)
  rescue SystemCallError
    File.expand_path(path.to_s)
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

    def group_for(components, folders)
      components.zip(folders).reduce(@project.main_group) { |parent, (name, folder)| child_group(parent, name, folder) }
    end

    def add_directory(directory, group)
      directory.children.sort.each do |child|
        next if child.basename.to_s.start_with?('.')

        if child.directory? && !AddModulesInTarget.bundle?(child)
          add_directory(child, child_group(group, child.basename.to_s, child))
        else
          add_file(child, group)
        end
      end
    end

    def add_file(path, group)
      reference = group.children.find do |existing|
        file_reference?(existing) && same_path?(existing.real_path, path)
      end
      unless reference
        reference = group.new_reference(path.to_s)
        @added_references += 1
      end

      extension = path.extname.downcase
      if SOURCE_EXTENSIONS.include?(extension) || COMPILED_BUNDLE_EXTENSIONS.include?(extension)
        add_to_phase(@target.source_build_phase, reference)
      elsif RESOURCE_EXTENSIONS.include?(extension) || AddModulesInTarget.bundle?(path)
        add_to_phase(@target.resources_build_phase, reference) unless extension == '.plist' && path.basename.to_s == 'Info.plist'
      end
    end

    private

    # A reference to one file or bundle: a PBXFileReference, or the
    # XCVersionGroup of an .xcdatamodeld (which PBXGroup#files leaves out).
    def file_reference?(object)
      object.instance_of?(Xcodeproj::Project::Object::PBXFileReference) ||
        object.instance_of?(Xcodeproj::Project::Object::XCVersionGroup)
    end

    # Membership is by identity: the gem's == compares contents, so a file
    # that merely looks like one already in the phase (Endpoint.swift in
    # another group) would count as present.
    def add_to_phase(phase, reference)
      return if phase.files.any? { |build_file| build_file.file_ref&.uuid == reference.uuid }

      phase.add_file_reference(reference, false)
      @added_build_files += 1
    end

    # The child group called `name`, preferring one whose folder is
    # `directory`; created when missing, with a path (relative to its parent,
    # whose own folder may differ when the parent has no path) that resolves
    # to `directory`.
    def child_group(parent, name, directory)
      groups = parent.groups
      found = groups.find { |group| same_path?(group.real_path, directory) }
      found ||= groups.find { |group| group.display_name == name }
      return found if found

      @added_groups += 1
      group = parent.new_group(nil, directory.to_s)
      group.name = name unless group.path == name
      group
    end

    def same_path?(left, right)
      AddModulesInTarget.canonical(left) == AddModulesInTarget.canonical(right)
    end
  end
end

if $PROGRAM_NAME == __FILE__
  begin
    AddModulesInTarget.run(AddModulesInTarget.parse(ARGV.dup))
  rescue AddModulesInTarget::Failure => e
    warn "AddModulesInTarget: #{e.message}"
    exit 1
  rescue StandardError => e
    warn "AddModulesInTarget: #{e.class}: #{AddModulesInTarget.first_line(e.message)}"
    exit 1
  end
end
