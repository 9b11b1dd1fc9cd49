#pragma once

#include "app/base/ResourceBundle.h"
#include "catalogs/SupplementalPodsPage.h"
#include "toolchain/CommandRunner.h"

#include <QUrl>

#include <memory>

namespace plinth {

/// What the command-line program works with: the resource bundle (templates,
/// scripts, texts), the runner that starts the toolchain and the address of
/// the library page. The program uses the bundle beside its executable, the
/// runner's own search path and the published page.
struct CliContext
{
    ResourceBundle bundle;
    std::shared_ptr<const CommandRunner> runner;
    /// The library page that `pods` reads.
    QUrl supplementalPodsListURL{QString(::plinth::supplementalPodsListURL)};
};

} // namespace plinth
