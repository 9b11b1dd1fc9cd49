#include "app/widgets/FolderPanel.h"

#include <QDir>
#include <QFileDialog>

namespace plinth {

QString chooseFolderWithPanel(QWidget *parent, const FolderPanelOptions &options)
{
    QFileDialog panel(parent, options.title, QDir::homePath());
    panel.setObjectName(QStringLiteral("folderPanel"));
    panel.setFileMode(QFileDialog::Directory);
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    QFileDialog::Options flags = QFileDialog::ShowDirsOnly;
    if (!options.canCreateDirectories)
        flags |= QFileDialog::ReadOnly;
    panel.setOptions(flags);
    panel.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    panel.setSizeGripEnabled(true);
    if (!options.acceptLabel.isEmpty())
        panel.setLabelText(QFileDialog::Accept, options.acceptLabel);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return {};
    return QDir::cleanPath(panel.selectedFiles().constFirst());
}

} // namespace plinth
