# Shared by the six validation scripts. Each of them is run as
# `ruby <script>` with only LANG and PATH set, and reports its verdict as
# one tag pair: <output>0</output> when the tool is installed, a non-zero
# verdict and exit status otherwise.
require 'open3'

module ToolchainCheck
  TAG = 'output'.freeze

  module_function

  # The full path of the first executable called `name` on PATH, or nil.
  def executable(name)
    ENV.fetch('PATH', '').split(File::PATH_SEPARATOR).each do |directory|
      next if directory.empty?

      candidate = File.join(directory, name)
      return candidate if File.file?(candidate) && File.executable?(candidate)
    end
    nil
  end

  # True when `command` (an argument list, never a shell line) runs and
  # exits with status 0. Its output is not shown.
  def succeeds?(*command)
    _output, status = Open3.capture2e(*command)
    status.success?
  rescue SystemCallError
    false
  end

  # The standard output of `command` when it succeeds, else nil.
  def output_of(*command)
    output, status = Open3.capture2(*command, err: File::NULL)
    status.success? ? output : nil
  rescue SystemCallError
    nil
  end

  # True when the gem `name` is installed for the Ruby running this script.
  def gem_installed?(name)
    !Gem::Specification.find_all_by_name(name).empty?
  rescue StandardError
    false
  end

  # Prints the verdict and ends the script.
  def report(installed, tool)
    if installed
      puts "<#{TAG}>0</#{TAG}>"
      exit 0
    end
    puts "<#{TAG}>1</#{TAG}>"
    warn "#{tool} is not installed."
    exit 1
  end
end
