# Is Homebrew installed? Prints <output>0</output> and exits 0 when it is.
require_relative 'ToolchainCheck'

brew = ToolchainCheck.executable('brew') ||
       %w[/opt/homebrew/bin/brew /usr/local/bin/brew].find { |path| File.executable?(path) }
ToolchainCheck.report(!brew.nil? && ToolchainCheck.succeeds?(brew, '--version'), 'Homebrew')
