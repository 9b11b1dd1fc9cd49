# Is CocoaPods installed? Prints <output>0</output> and exits 0 when it is.
require_relative 'ToolchainCheck'

pod = ToolchainCheck.executable('pod')
ToolchainCheck.report(!pod.nil? || ToolchainCheck.gem_installed?('cocoapods'), 'CocoaPods')
