#pragma once

#include "app/ResourceBundle.h"
#include "project/ProjectDetailsModel.h"
#include "toolchain/CommandRunner.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;

namespace plinth {

class AlertPresenter;
class Desktop;

/// What the folder panel of a screen asks for.
struct FolderPanelOptions
{
    QString title;               ///< the panel's title ("Choose Project Folder")
    QString acceptLabel;         ///< the confirm button's title; the platform's own when empty
    bool canCreateDirectories = false;
};

/// Shows a modal folder panel over `parent` and returns the chosen folder's
/// absolute path, or an empty text when the user cancelled.
using FolderChooser = std::function<QString(QWidget *parent, const FolderPanelOptions &options)>;

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
