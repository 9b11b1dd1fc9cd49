#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace plinth {

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

} // namespace plinth
