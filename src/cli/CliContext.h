#pragma once

#include "app/ResourceBundle.h"
#include "toolchain/CommandRunner.h"

#include <memory>

namespace plinth {

/// What the command-line program works with: the resource bundle (templates,
/// scripts, texts) and the runner that starts the toolchain. The program
/// uses the bundle beside its executable and the runner's own search path.
struct CliContext
{
    ResourceBundle bundle;
    std::shared_ptr<const CommandRunner> runner;
};

} // namespace plinth
