# Adds a module that has been copied into an Xcode project's folder to the
# project: its files under a group, and its sources and resources to a
# target's build phases. Links Swift packages to the target as well, or only
# them: a library needs no module.
#
#   ruby AddModulesInTarget.rb -p PROJECT.xcodeproj -t TARGET [-d MODULE_PATH -g GROUP/PATH]
#        [--package URL (--product NAME | --plugin NAME) --version exact:X.Y.Z|from:X.Y.Z]...
#        [--local-package PATH --product NAME]... [--podfile PATH]
#
# -d and -g go together; they may be left out when at least one --package is
# given, and then only the packages are linked.
#
# MODULE_PATH is a folder (its files go into GROUP/PATH, its subfolders
# become subgroups) or a single file (it goes into GROUP/PATH). GROUP/PATH
# mirrors the module's folder below the project's folder: missing groups are
# created with paths that resolve to those folders; "Helpers/" and "Helpers"
# name the same group. Names starting with "." are left out. A module inside
# a folder that Xcode keeps in sync with the target (Xcode 16) is built by
# the target already and needs no references.
#
# Each --package names a Swift package: the repository, then either the
# --product the target links or the build-tool --plugin it runs, and the
# --version. Several products or plug-ins of one package are given as
# repeated --package options with the same URL. Everything goes in the way
# Xcode does it: one remote package reference per repository in the project
# (an existing one for the same repository is used as it is, whatever
# version it asks for); for a product, a product dependency on the target and
# a build file in its Frameworks phase; for a plug-in, a product dependency
# named "plugin:NAME" that a target dependency points at, and nothing in the
# build phases. Nothing is added when the target already links a product of
# that name or already runs the plug-in, nor for a product when the Podfile
# given with --podfile declares a pod of that name for the target. Pods are
# libraries, so they never stand in for a plug-in. Each --local-package
# names a Swift package in a folder of the project's own (PATH relative to
# the folder that holds the .xcodeproj, which need not exist yet) and the
# --product the target links: one local package reference per folder, and
# a product dependency, named only, as Xcode writes a local package's
# product, with its build file. Files and packages go in with one save.
#
# Running the script again changes nothing. Exits non-zero with a one-line
# message when an option is missing or malformed, the project is missing or
# unreadable, or the target or the module is missing; the project is then
# left as it was.
# Project files are UTF-8 whatever the locale the script runs in (a machine
# without the locale the caller asks for makes Ruby read US-ASCII and fail
# on the first non-ASCII name).
Encoding.default_external = Encoding::UTF_8
require 'optparse'
require 'pathname'
require 'set'

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

  # exact:5.9.1 or from:1.0.0, with an optional pre-release and build part.
  REQUIREMENT = /\A(exact|from):(\d+\.\d+\.\d+(?:-[0-9A-Za-z.-]+)?(?:\+[0-9A-Za-z.-]+)?)\z/.freeze

  class Failure < StandardError; end

  # A Swift package product to link, or with `plugin` a build-tool plug-in
  # to run: the repository, the product's or the plug-in's name and the
  # requirement as the project file spells it.
  Package = Struct.new(:url, :product, :requirement, :plugin) do
    # The productName of its XCSwiftPackageProductDependency.
    def product_name
      plugin ? "plugin:#{product}" : product
    end

  # A Swift package in a folder of the project's own and the product to link.
  LocalPackage = Struct.new(:path, :product) do
    def plugin
      nil
    end
  end
  end

  module_function

  def parse(arguments)
    options = { packages: [] }
    parser = OptionParser.new do |opts|
      opts.banner = 'Usage: ruby AddModulesInTarget.rb -p PROJECT.xcodeproj -t TARGET [-d MODULE_PATH -g GROUP/PATH] ' \
                    '[--package URL (--product NAME | --plugin NAME) --version REQUIREMENT]... [--podfile PATH]'
      opts.on('-p', '--project PATH', 'the .xcodeproj to change') { |value| options[:project] = value }
      opts.on('-d', '--directory PATH', 'the copied module (folder or file)') { |value| options[:module] = value }
      opts.on('-t', '--target NAME', 'the target that builds the module') { |value| options[:target] = value }
      opts.on('-g', '--group PATH', 'the group path for the module, e.g. App/Helpers') { |value| options[:group] = value }
      opts.on('--package URL', 'a Swift package the target needs (repeatable)') do |value|
        options[:packages] << { url: value }
      end
      opts.on('--local-package PATH', 'a Swift package in a folder of the project (repeatable)') do |value|
        options[:packages] << { local: value }
      end
      opts.on('--product NAME', 'the product of the last --package') do |value|
        package_detail(options[:packages], :product, '--product', value)
      end
      opts.on('--plugin NAME', 'the build-tool plug-in of the last --package') do |value|
        package_detail(options[:packages], :plugin, '--plugin', value)
      end
      opts.on('--version REQUIREMENT', 'exact:X.Y.Z or from:X.Y.Z, for the last --package') do |value|
        package_detail(options[:packages], :version, '--version', value)
      end
      opts.on('--podfile PATH', 'the Podfile whose pods need no package') { |value| options[:podfile] = value }
    end
    parser.parse!(arguments)
    # Without a module (neither -d nor -g) the packages are all there is to add.
    required = %i[project target]
    required += %i[module group] if options[:packages].empty? || options.key?(:module) || options.key?(:group)
    missing = required.reject { |key| options[key] && !options[key].empty? }
    raise Failure, "missing option(s) #{missing.map { |key| option_letter(key) }.join(', ')}\n#{parser.banner}" unless missing.empty?
    raise Failure, "unexpected argument(s): #{arguments.join(' ')}\n#{parser.banner}" unless arguments.empty?

    options[:packages] = options[:packages].map { |given| package(given) }
    options
  rescue OptionParser::ParseError => e
    raise Failure, "#{e.message}\n#{parser.banner}"
  end

  # Records --product, --plugin or --version for the --package before it.
  def package_detail(packages, key, option, value)
    raise Failure, "#{option} #{value} comes before any --package" if packages.empty?

    last = packages.last
    raise Failure, "#{option} given twice for --package #{last[:url]}" if last.key?(key)

    last[key] = value
  end

  def package(given)
    return local_package(given) if given.key?(:local)

    url = given[:url].to_s.strip
    raise Failure, '--package needs a repository URL' if url.empty?
    names = given.values_at(:product, :plugin).compact.map(&:strip)
    raise Failure, "--package #{url} takes --product or --plugin, not both" if names.size > 1
    raise Failure, "--package #{url} needs --product or --plugin" if names.empty? || names.first.empty?
    raise Failure, "--package #{url} needs --version" unless given[:version]

    match = REQUIREMENT.match(given[:version].strip)
    raise Failure, "--version #{given[:version]} for #{url} is neither exact:X.Y.Z nor from:X.Y.Z" unless match

    requirement = if match[1] == 'exact'
                    { 'kind' => 'exactVersion', 'version' => match[2] }
                  else
                    { 'kind' => 'upToNextMajorVersion', 'minimumVersion' => match[2] }
                  end
    Package.new(url, names.first, requirement, given.key?(:plugin))
  end

  def local_package(given)
    path = given[:local].to_s.strip
    raise Failure, '--local-package needs a folder' if path.empty?
    raise Failure, "--local-package #{path} takes --product, not --plugin or --version" if given.key?(:plugin) || given.key?(:version)
    raise Failure, "--local-package #{path} needs --product" if given[:product].to_s.strip.empty?

    LocalPackage.new(path, given[:product].strip)
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
    module_path = options[:module] && Pathname(File.expand_path(options[:module]))
    unless File.directory?(project_path) && File.file?(File.join(project_path, 'project.pbxproj'))
      raise Failure, "no Xcode project at #{project_path}"
    end
    raise Failure, "nothing to add: #{module_path} does not exist" if module_path && !module_path.exist?

    packages = options[:packages] || []
    pods = options[:podfile] && !packages.empty? ? podfile_pods(options[:podfile], options[:target]) : []
    load_xcodeproj
    check_package_support(packages)
    project = open_project(project_path)
    target = project.native_targets.find { |candidate| candidate.name == options[:target] }
    unless target
      names = project.native_targets.map(&:name)
      raise Failure, "no target named #{options[:target]} in #{project_path} (targets: #{names.empty? ? 'none' : names.join(', ')})"
    end

    adder = Adder.new(project, target)
    folder = module_path && add_module(adder, project_path, module_path, options[:group])
    packages.each { |package| adder.add_package(package, pods) }

    save_project(project, project_path) if adder.changed?
    adder.notes.each { |note| puts note }
    if module_path.nil?
      puts adder.changed? ? "Added #{adder.package_summary} to #{target.name}." : \
             "#{target.name} links every package already; nothing changed."
    elsif folder
      puts "#{module_path} lies in the synchronized folder #{folder.display_name} that #{target.name} " \
           "builds as a whole; #{adder.changed? ? 'its files need no references' : 'nothing to add'}."
      puts "Added #{adder.package_summary} to #{target.name}." if adder.changed?
    elsif adder.changed?
      puts "Added #{module_path.basename} to #{target.name} under #{options[:group]} (#{adder.summary(!packages.empty?)})."
    else
      puts "#{module_path.basename} is already part of #{target.name}; nothing changed."
    end
  end

  # Refuses packages the loaded gem cannot write: older versions of it know
  # no Swift packages, or no target dependencies on a package's plug-in.
  def check_package_support(packages)
    return if packages.empty?

    unless defined?(Xcodeproj::Project::Object::XCRemoteSwiftPackageReference)
      raise Failure, "the xcodeproj gem #{Xcodeproj::VERSION} cannot add Swift packages (gem update xcodeproj)"
    end
    if packages.any?(LocalPackage) && !defined?(Xcodeproj::Project::Object::XCLocalSwiftPackageReference)
      raise Failure, "the xcodeproj gem #{Xcodeproj::VERSION} cannot add local Swift packages (gem update xcodeproj)"
    end
    return if packages.none?(&:plugin) || Xcodeproj::Project::Object::PBXTargetDependency.method_defined?(:product_ref)

    raise Failure, "the xcodeproj gem #{Xcodeproj::VERSION} cannot add package plug-ins (gem update xcodeproj)"
  end

  # Puts the module's files under GROUP/PATH and into the target's phases.
  # Returns the synchronized folder that holds the module, if any: the
  # target builds that folder as a whole, so nothing is added for the files.
  def add_module(adder, project_path, module_path, group_path)
    folder = synchronized_folder(adder.project, module_path)
    if folder
      target = adder.target
      linked = target.respond_to?(:file_system_synchronized_groups) ? target.file_system_synchronized_groups : []
      unless linked.any? { |candidate| candidate.equal?(folder) }
        raise Failure, "#{module_path} lies in the synchronized folder #{folder.display_name}, which #{target.name} " \
                       "does not build; add the folder to #{target.name} in Xcode"
      end
      return folder
    end

    components = group_components(group_path)
    group = adder.group_for(components, group_folders(project_path, module_path, components))
    if module_path.directory? && !bundle?(module_path)
      adder.add_directory(module_path, group)
    else
      adder.add_file(module_path, group)
    end
    nil
  end

  # The names of the pods the Podfile at `path` declares for `target`, its
  # own and those it inherits. A Podfile that cannot be read or understood
  # declares none.
  def podfile_pods(path, target)
    text = File.read(File.expand_path(path))
    require_relative 'PodfileEditor'
    PodfileEditor.pods_for(text, target).map { |pod| pod.name.to_s }
  rescue LoadError => e
    raise Failure, "cannot read Podfiles: #{first_line(e.message)}"
  rescue StandardError, SyntaxError
    []
  end

  # A repository URL reduced to what tells repositories apart:
  # "https://www.GitHub.com/Alamofire/Alamofire.git/" and
  # "github.com/alamofire/alamofire" are the same repository.
  def repository_key(url)
    key = url.to_s.strip.downcase.sub(%r{\Ahttps?://}, '').sub(/\Awww\./, '')
    key.sub(%r{/+\z}, '').sub(/\.git\z/, '').sub(%r{/+\z}, '')
  end

  # Whether the pod `name` (maybe a subspec, "Firebase/Analytics") provides
  # the product `product`.
  def pod_provides?(name, product)
    [name, name.split('/').first.to_s].any? { |candidate| candidate.casecmp?(product) }
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
      @added_packages = []
      @notes = []
    end

    # What the run should tell beyond the summary, one line each.
    attr_reader :notes

    attr_reader :project, :target

    def changed?
      (@added_references + @added_build_files + @added_groups + @added_packages.size).positive?
    end

    def summary(with_packages = false)
      counts = "#{@added_groups} group(s), #{@added_references} file reference(s), #{@added_build_files} build file(s)"
      counts += ", #{@added_packages.size} package(s)" if with_packages
      "#{counts} added"
    end

    def package_summary
      "#{@added_packages.size} package(s) (#{@added_packages.join(', ')})"
    end

    # Links the target to `package`'s product unless it is linked already
    # (through any package, remote or local) or one of `pods` provides it;
    # a plug-in goes to add_plugin.
    def add_package(package, pods)
      return add_local_package(package) if package.is_a?(LocalPackage)
      return add_plugin(package) if package.plugin
      return if @target.package_product_dependencies.any? { |dependency| dependency.product_name == package.product }

      if pods.any? { |pod| AddModulesInTarget.pod_provides?(pod, package.product) }
        @notes << "#{package.product} comes from the Podfile; no package added."
        return
      end

      link_product(package.product, package_reference(package))
    end

    # Links the product of a package in a folder of the project's own unless
    # the target links a product of that name already. Xcode names a local
    # package's product without its reference.
    def add_local_package(package)
      return if @target.package_product_dependencies.any? { |dependency| dependency.product_name == package.product }

      local_package_reference(package.path)
      link_product(package.product, nil)
    end

    # A product dependency of the target on `product` (of the package
    # `reference`, when given) and its build file in the Frameworks phase.
    def link_product(product, reference)
      dependency = @project.new(Xcodeproj::Project::Object::XCSwiftPackageProductDependency)
      dependency.package = reference if reference
      dependency.product_name = product
      @target.package_product_dependencies << dependency
      build_file = @project.new(Xcodeproj::Project::Object::PBXBuildFile)
      build_file.product_ref = dependency
      @target.frameworks_build_phase.files << build_file
      @added_packages << product
    end

    # The project's reference to the package folder `path`, as it is, or a
    # new one.
    def local_package_reference(path)
      local = Xcodeproj::Project::Object::XCLocalSwiftPackageReference
      references = @project.root_object.package_references
      wanted = Pathname(path).cleanpath
      found = references.find do |reference|
        reference.is_a?(local) && Pathname(reference.relative_path.to_s).cleanpath == wanted
      end
      return found if found

      reference = @project.new(local)
      reference.relative_path = path
      references << reference
      reference
    end

    # Makes the target run `package`'s build-tool plug-in unless it does
    # already. Xcode and XcodeGen write a plug-in as a target dependency on a
    # "plugin:NAME" product dependency, which stays out of the target's
    # packageProductDependencies and its build phases.
    def add_plugin(package)
      name = package.product_name
      return if @target.dependencies.any? { |dependency| dependency.product_ref&.product_name == name }

      product = @project.new(Xcodeproj::Project::Object::XCSwiftPackageProductDependency)
      product.package = package_reference(package)
      product.product_name = name
      dependency = @project.new(Xcodeproj::Project::Object::PBXTargetDependency)
      dependency.product_ref = product
      @target.dependencies << dependency
      @added_packages << package.product
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

    # The project's reference to the package's repository, as it is, or a
    # new one asking for the package's version.
    def package_reference(package)
      key = AddModulesInTarget.repository_key(package.url)
      remote = Xcodeproj::Project::Object::XCRemoteSwiftPackageReference
      references = @project.root_object.package_references
      existing = references.find { |reference| reference.is_a?(remote) && AddModulesInTarget.repository_key(reference.repositoryURL) == key }
      if existing
        if existing.requirement != package.requirement
          @notes << "#{package.product}: #{existing.repositoryURL} stays at the project's #{describe(existing.requirement)}."
        end
        return existing
      end

      reference = @project.new(remote)
      reference.repositoryURL = package.url
      reference.requirement = package.requirement
      references << reference
      reference
    end

    # "exactVersion 5.8.0", "upToNextMajorVersion 5.0.0", "branch main".
    def describe(requirement)
      return 'requirement' unless requirement.is_a?(Hash)

      value = requirement.reject { |key, _| key == 'kind' }.values.join('-')
      [requirement['kind'], value].compact.reject(&:empty?).join(' ')
    end

    # A reference to one file or bundle: a PBXFileReference, or the
    # XCVersionGroup of an .xcdatamodeld (which PBXGroup#files leaves out).
    def file_reference?(object)
      object.instance_of?(Xcodeproj::Project::Object::PBXFileReference) ||
        object.instance_of?(Xcodeproj::Project::Object::XCVersionGroup)
    end

    # Membership is by identity: the gem's == compares contents, so a file
    # that merely looks like one already in the phase (Endpoint.swift in
    # another group) would count as present. The phase's references are
    # gathered once: an app's Sources phase can hold tens of thousands.
    def add_to_phase(phase, reference)
      built = built_references(phase)
      return if built.include?(reference.uuid)

      phase.add_file_reference(reference, false)
      built << reference.uuid
      @added_build_files += 1
    end

    # The UUIDs of the references `phase` builds.
    def built_references(phase)
      @built_references ||= {}
      @built_references[phase.uuid] ||= Set.new(phase.files.map { |build_file| build_file.file_ref&.uuid }.compact)
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
