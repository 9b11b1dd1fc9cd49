#include "app/base/Platform.h"

#include <QOperatingSystemVersion>

namespace plinth {

bool hasEmbeddedTerminal()
{
    const QOperatingSystemVersion system = QOperatingSystemVersion::current();
    if (system.type() != QOperatingSystemVersion::MacOS)
        return true;
    return system >= QOperatingSystemVersion(QOperatingSystemVersion::MacOS, 14);
}

} // namespace plinth
