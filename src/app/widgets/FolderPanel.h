#pragma once

#include "app/base/FolderChooser.h"

namespace plinth {

/// The program's folder panel: a modal directory chooser over `parent`
/// (files cannot be chosen, hidden folders are not shown, one folder at a
/// time). Returns the chosen folder's absolute path, or an empty text.
QString chooseFolderWithPanel(QWidget *parent, const FolderPanelOptions &options);

} // namespace plinth
