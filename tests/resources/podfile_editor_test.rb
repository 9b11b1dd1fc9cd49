# PodfileEditor.rb over Podfiles as teams write them, and post_gen.sh over an
# existing Podfile and without one.
#
#   ruby tests/resources/podfile_editor_test.rb
require 'minitest/autorun'
require 'open3'
require 'tmpdir'
require 'fileutils'

class PodfileEditorTest < Minitest::Test
  ROOT = File.expand_path('../..', __dir__)
  EDITOR = File.join(ROOT, 'resources', 'PodfileEditor.rb')
  POST_GEN = File.join(ROOT, 'resources', 'post_gen.sh')
  FIXTURES = File.join(ROOT, 'tests', 'fixtures', 'podfiles')
  HOSTILE = %q{x'; system("touch CANARY"); '}.freeze

  # A project folder whose path has a space and a non-ASCII letter.
  def setup
    @temporary = Dir.mktmpdir
    @dir = File.join(@temporary, 'My Wörk')
    Dir.mkdir(@dir)
    @podfile = File.join(@dir, 'Podfile')
  end

  def teardown
    FileUtils.remove_entry(@temporary)
  end

  def fixture(name)
    File.binread(File.join(FIXTURES, name))
  end

  # [output, error output, status] of the command run in the test's folder;
  # a command still running after 30 seconds is killed and fails the test.
  def capture(environment, *command)
    Open3.popen3(environment, *command, chdir: @dir) do |input, output, error, waiter|
      input.close
      readers = [output, error].map { |stream| Thread.new { stream.read } }
      unless waiter.join(30)
        Process.kill('KILL', waiter.pid)
        flunk "#{command.join(' ')} did not finish"
      end
      readers.map(&:value) + [waiter.value]
    end
  end

  def run_editor(*arguments)
    capture({}, 'ruby', EDITOR, *arguments.map { |argument| argument == :podfile ? @podfile : argument })
  end

  def run_post_gen(*arguments, path: ENV.fetch('PATH'))
    capture({ 'PATH' => path }, '/bin/bash', POST_GEN, *arguments)
  end

  def assert_parses(path)
    output, status = Open3.capture2e('ruby', '-c', path)
    assert status.success?, output
  end

  # The fixture without the removed lines and with the added ones after the
  # given line, each ending as that line does.
  def expected_text(original, removed, after, added)
    lines = original.lines
    ending = lines[after - 1][/\r?\n\z/]
    lines.each_with_index.map do |line, index|
      kept = removed.include?(index + 1) ? '' : line
      index + 1 == after ? kept + added.map { |each| each + ending }.join : kept
    end.join
  end

  LISTS = [
    ['orbit.Podfile', 'Orbit', 'Alamofire own, SnapKit own, Firebase/Analytics own'],
    ['orbit.Podfile', 'OrbitTests', 'Alamofire inherited, SnapKit inherited, Firebase/Analytics inherited, Quick own'],
    ['fleet.Podfile', 'Fleet', 'Alamofire inherited, CocoaLumberjack/Swift inherited, Mixpanel-swift inherited, ' \
                               'SwiftLint inherited, KeychainAccess inherited, ' \
                               'FleetUI own, Firebase own, Lottie-ios own, Reveal-SDK own'],
    ['fleet.Podfile', 'FleetDriver', 'Alamofire inherited, CocoaLumberjack/Swift inherited, Mixpanel-swift inherited, ' \
                                     'SwiftLint inherited, KeychainAccess inherited, GoogleMaps own'],
    ['fleet.Podfile', 'FleetWidget', 'SwiftLint inherited, SwiftDate own'],
    ['crlf.Podfile', 'Ledger', 'Charts own, RealmSwift own'],
    ['no-final-newline.Podfile', 'Notes', ''],
    ['fresh/arkana.Podfile', 'Shop', 'R.swift own, SwiftLint own, ShopSecrets own, ShopSecretsInterfaces own'],
    ["def a\n  pod 'A'\n  b if false\nend\n\ndef b\n  pod 'B'\n  a if false\nend\n\ntarget 'T' do\n  a\nend\n", 'T',
     'A inherited, B inherited']
  ].freeze

  DECLARATIONS = {
    'SnapKit' => "pod 'SnapKit', '5.7.1'",
    'CocoaLumberjack/Swift' => 'pod "CocoaLumberjack/Swift"',
    'FleetUI' => "pod 'FleetUI', :git => 'https://github.com/fleetco/FleetUI.git', :branch => 'main'",
    'Firebase' => "pod 'Firebase', :subspecs => ['Analytics', 'Crashlytics']",
    'RealmSwift' => "pod 'RealmSwift', '~> 10.0'"
  }.freeze

  def test_list_names_the_pods_a_target_gets
    LISTS.each do |name, target, expected|
      File.binwrite(@podfile, name.end_with?('.Podfile') ? fixture(name) : name)
      output, error, status = run_editor('list', :podfile, target)
      assert_equal 0, status.exitstatus, "#{name} #{target}: #{error}"
      rows = output.lines.map { |line| line.chomp.split("\t") }
      assert_equal expected, rows.map { |pod, scope, _| "#{pod} #{scope}" }.join(', '), "#{name} #{target}"
      rows.each do |pod, _, declaration|
        assert_equal DECLARATIONS[pod], declaration, "#{name} #{target} #{pod}" if DECLARATIONS.key?(pod)
      end
    end
  end

  # fixture, target, edit options, the fixture's lines that go, the line
  # after which the new ones come, the new lines, what is said.
  EDITS = [
    ['orbit.Podfile', 'Orbit',
     ['--add', 'Kingfisher', '--add', 'SnapKit', '--add-local', 'OrbitKeys=Keys/OrbitKeys', '--remove', 'Firebase/Analytics'],
     [15], 12, ["  pod 'Kingfisher'", "  pod 'OrbitKeys', :path => 'Keys/OrbitKeys'"], ['removed Firebase/Analytics']],
    ['orbit.Podfile', 'OrbitTests', %w[--add Nimble --add Alamofire --remove Alamofire], [], 19, ["    pod 'Nimble'"],
     ["added Nimble\n"]],
    ['fleet.Podfile', 'Fleet', %w[--add Kingfisher --add Kingfisher --add Alamofire], [], 35, ["    pod 'Kingfisher'"], []],
    ['fleet.Podfile', 'Fleet',
     %w[--add Kingfisher --remove Firebase --remove Reveal-SDK --remove KeychainAccess --remove Mixpanel-swift --remove Nope],
     [31, 32, 35], 33, ["\tpod 'Kingfisher'"],
     ["left KeychainAccess: it is declared outside Fleet's own block (line 25)", 'removed Firebase',
      "left Mixpanel-swift: it is declared outside Fleet's own block (line 19)"]],
    ['fleet.Podfile', 'FleetWidget', %w[--add Kingfisher --remove SwiftDate], [50], 49, ["  pod 'Kingfisher'"], []],
    ['crlf.Podfile', 'Ledger', %w[--add Kingfisher --remove Charts], [5], 6, ["  pod 'Kingfisher'"], []],
    ['no-final-newline.Podfile', 'Notes', %w[--add Kingfisher --add Firebase/Analytics], [], 5,
     ["  pod 'Kingfisher'", "  pod 'Firebase/Analytics'"], []],
    ['fresh/arkana.Podfile', 'Shop', %w[--add Kingfisher --remove SwiftLint], [8], 12, ["  pod 'Kingfisher'"], []],
    ['fresh/bare.Podfile', 'Shop', %w[--add Kingfisher --add AWSS3], [], 6, ["  pod 'Kingfisher'", "  pod 'AWSS3'"], []]
  ].freeze

  def test_edit_changes_only_the_pod_lines
    EDITS.each do |name, target, options, removed, after, added, said|
      row = "#{name} #{target} #{options.join(' ')}"
      original = fixture(name)
      File.binwrite(@podfile, original)
      output, error, status = run_editor('edit', :podfile, target, *options)
      assert_equal 0, status.exitstatus, "#{row}: #{error}"
      assert_equal expected_text(original, removed, after, added), File.binread(@podfile), row
      said.each { |message| assert_includes output, "PodfileEditor: #{message}", row }
      assert_parses(@podfile)

      edited = File.binread(@podfile)
      output, _, status = run_editor('edit', :podfile, target, *options)
      assert_equal 0, status.exitstatus, row
      assert_includes output, 'PodfileEditor: nothing to change', row
      assert_equal edited, File.binread(@podfile), row
      assert_equal ['Podfile'], Dir.children(@dir), row
    end
  end

  REFUSALS = [
    ['no block for the target', 'orbit.Podfile', ['edit', :podfile, 'Orbiter', '--add', 'Kingfisher'], 1,
     "PodfileEditor: the Podfile has no block for target 'Orbiter' (its targets: Orbit, OrbitTests)"],
    ['not Ruby', "target 'Orbit' do\n  pod 'Alamofire'\n", ['list', :podfile, 'Orbit'], 1,
     'PodfileEditor: the Podfile does not parse as Ruby: line 2: syntax error'], # the line ruby -c names
    ['not UTF-8', "target 'Orbit' do\n  pod 'Caf\xE9'\nend\n", ['edit', :podfile, 'Orbit', '--add', 'A'], 1,
     'is not UTF-8 text (line 2)'],
    ['hostile pod name', 'orbit.Podfile', ['edit', :podfile, 'Orbit', '--add', 'Kingfisher', '--add', HOSTILE], 2,
     'PodfileEditor: refusing pod name'],
    ['hostile removal', 'orbit.Podfile', ['edit', :podfile, 'Orbit', '--remove', HOSTILE], 2, 'refusing pod name'],
    ['dots alone', 'orbit.Podfile', ['edit', :podfile, 'Orbit', '--add', 'Kingfisher/..'], 2, 'refusing pod name'],
    ['hostile local path', 'orbit.Podfile', ['edit', :podfile, 'Orbit', '--add-local', "Keys=#{HOSTILE}"], 2,
     'PodfileEditor: refusing path'],
    ['shared line', "target 'Orbit' do\n  pod 'A'; pod 'B'\nend\n", ['edit', :podfile, 'Orbit', '--remove', 'A', '--add', 'C'], 1,
     'PodfileEditor: cannot remove A: line 2 holds other code as well'],
    ['unknown option', 'orbit.Podfile', ['edit', :podfile, 'Orbit', '--add', 'A', '--drop', 'B'], 64, 'usage: '],
    ['missing target', 'orbit.Podfile', ['list', :podfile], 64, 'usage: ']
  ].freeze

  def test_refusals_leave_the_podfile_as_it_was
    REFUSALS.each do |description, content, arguments, code, message|
      original = content.end_with?('.Podfile') ? fixture(content) : content.b
      File.binwrite(@podfile, original)
      _, error, status = run_editor(*arguments)
      assert_equal code, status.exitstatus, "#{description}: #{error}"
      assert_includes error, message, description
      assert_equal original, File.binread(@podfile), description
      assert_equal ['Podfile'], Dir.children(@dir), description
    end
  end

  # The Orbit fixture without Firebase/Analytics and with the pods after
  # SnapKit's line.
  def orbit_edited(*added)
    expected_text(fixture('orbit.Podfile'), [15], 12, ["  pod 'Kingfisher'"] + added)
  end

  def test_post_gen_edits_an_existing_podfile
    [
      [nil, orbit_edited("  pod 'OrbitSecrets', :path => 'Dependencies/OrbitSecrets'",
                         "  pod 'OrbitSecretsInterfaces', :path => 'Dependencies/OrbitSecretsInterfaces'")],
      ["import_name: 'OrbitKeys'\npod_name: 'OrbitKeys'\nresult_path: 'ArkanaKeys/' # generated\n",
       orbit_edited("  pod 'OrbitKeys', :path => 'ArkanaKeys/OrbitKeys'",
                    "  pod 'OrbitKeysInterfaces', :path => 'ArkanaKeys/OrbitKeysInterfaces'")],
      ["pod_name: 'OrbitKeys'\npackage_manager: spm\n", orbit_edited]
    ].each do |arkana, expected|
      File.binwrite(@podfile, fixture('orbit.Podfile'))
      File.write(File.join(@dir, '.arkana.yml'), arkana) if arkana
      output, error, status = run_post_gen('', 'Orbit', 'n', 'y', 'com.example.orbit', 'NA', @dir, 'Kingfisher SnapKit',
                                           'Firebase/Analytics')
      assert_equal 0, status.exitstatus, "#{arkana}: #{output}#{error}"
      assert_equal expected, File.binread(@podfile), arkana.to_s
      assert_empty Dir.children(@dir) - %w[.arkana.yml Podfile], arkana.to_s
    end
  end

  def test_post_gen_failures_leave_the_podfile_as_it_was
    without_ruby = File.join(@dir, 'bin')
    Dir.mkdir(without_ruby)
    %w[grep sed head dirname].each { |tool| File.symlink("/usr/bin/#{tool}", File.join(without_ruby, tool)) }
    [
      ['no ruby', 'Orbit', 'Kingfisher', without_ruby, 1, 'post_gen: ruby is not on PATH'],
      ['no block for the target', 'Orbiter', 'Kingfisher', ENV.fetch('PATH'), 1, "no block for target 'Orbiter'"]
    ].each do |description, target, pods, path, code, message|
      File.binwrite(@podfile, fixture('orbit.Podfile'))
      _, error, status = run_post_gen('', target, 'n', 'n', 'x', 'NA', @dir, pods, '', path: path)
      assert_equal code, status.exitstatus, "#{description}: #{error}"
      assert_includes error, message, description
      assert_equal fixture('orbit.Podfile'), File.binread(@podfile), description
    end
  end

  # The Podfiles the script wrote before it learnt to edit are its output
  # without a Podfile still, with 8 arguments and with 9.
  def test_post_gen_without_a_podfile_writes_it_as_before
    [
      ['fresh/arkana.Podfile', ['17.0', 'Shop', 'n', 'y'], 'R.swift SwiftLint', nil],
      ['fresh/aws-ui-tests.Podfile', ['', 'Shop', 'y', 'n'], 'Kingfisher Kingfisher',
       "buildSettings = { IPHONEOS_DEPLOYMENT_TARGET = 15.4; };\n/* ShopUITests */ = { name = ShopUITests; };\n"],
      ['fresh/bare.Podfile', ['', 'Shop', 'n', 'n'], '', nil]
    ].each do |expected, first, pods, project|
      [[], ['SnapKit']].each do |removed|
        FileUtils.rm_rf(Dir.glob(File.join(@dir, '*')))
        if project
          FileUtils.mkdir_p(File.join(@dir, 'Shop.xcodeproj'))
          File.write(File.join(@dir, 'Shop.xcodeproj', 'project.pbxproj'), project)
        end
        output, status = Open3.capture2e('/bin/bash', POST_GEN, *first, 'com.example.shop', 'NA', @dir, pods, *removed)
        assert_equal 0, status.exitstatus, output
        assert_equal fixture(expected), File.binread(@podfile), "#{expected} #{removed}"
      end
    end
  end
end
