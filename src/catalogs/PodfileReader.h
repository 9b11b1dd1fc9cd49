#pragma once

#include <QString>
#include <QStringList>

namespace plinth {

/// The pod names of a Podfile's default block: every `pod '<name>'` between
/// the first "# Default pods" and the first "post_install", in order,
/// duplicates kept. Empty when either marker is missing.
QStringList podNames(const QString &podfileText);

} // namespace plinth
