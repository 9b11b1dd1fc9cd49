# Are the Xcode command line tools installed? `xcode-select -p` names the
# developer directory when they are. Prints <output>0</output> and exits 0
# when they are.
require_relative 'ToolchainCheck'

xcode_select = ToolchainCheck.executable('xcode-select')
developer_directory = xcode_select && ToolchainCheck.output_of(xcode_select, '-p')
installed = !developer_directory.nil? && File.directory?(developer_directory.strip)
ToolchainCheck.report(installed, 'The Xcode command line tools')
