# Is XcodeGen installed? Prints <output>0</output> and exits 0 when it is.
require_relative 'ToolchainCheck'

xcodegen = ToolchainCheck.executable('xcodegen')
ToolchainCheck.report(!xcodegen.nil? && ToolchainCheck.succeeds?(xcodegen, '--version'), 'XcodeGen')
