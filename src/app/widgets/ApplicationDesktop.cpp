#include "app/widgets/ApplicationDesktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace plinth {

bool ApplicationDesktop::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ApplicationDesktop::quit()
{
    QCoreApplication::quit();
}

} // namespace plinth
