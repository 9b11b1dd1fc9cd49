# Is the xcodeproj gem installed (AddModulesInTarget.rb needs it)? Prints
# <output>0</output> and exits 0 when the gem or its command is there.
require_relative 'ToolchainCheck'

installed = ToolchainCheck.gem_installed?('xcodeproj') || !ToolchainCheck.executable('xcodeproj').nil?
ToolchainCheck.report(installed, 'The xcodeproj gem')
