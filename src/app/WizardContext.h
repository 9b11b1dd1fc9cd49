#pragma once

#include "app/base/FolderChooser.h"
#include "app/base/ResourceBundle.h"
#include "project/ProjectDetailsModel.h"
#include "toolchain/CommandRunner.h"

#include <QString>
#include <QUrl>

#include <memory>

namespace plinth {

class AlertPresenter;
class Desktop;

/// Everything the wizard's screens and view models work with, made once by
/// start-up (or a test) and shared by every screen of the flow: the toolchain
/// runner, the resource bundle, the alert presenter, the desktop services,
/// the folder panel, the library page address and the one project
/// description of the process.
struct WizardContext
{
    std::shared_ptr<const CommandRunner> runner;
    ResourceBundle bundle;
    AlertPresenter *alerts = nullptr;
    Desktop *desktop = nullptr;
    FolderChooser chooseFolder;
    /// The page of mobile libraries the pod screen reads.
    QUrl supplementalPodsListURL;
    ProjectDetailsModel *details = nullptr;
};

} // namespace plinth
