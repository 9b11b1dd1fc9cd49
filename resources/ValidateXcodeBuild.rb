# Is Xcode installed (not only the command line tools)? `xcodebuild -version`
# succeeds only with a full Xcode selected. Prints <output>0</output> and
# exits 0 when it is.
require_relative 'ToolchainCheck'

xcodebuild = ToolchainCheck.executable('xcodebuild')
ToolchainCheck.report(!xcodebuild.nil? && ToolchainCheck.succeeds?(xcodebuild, '-version'), 'Xcode')
