#pragma once

#include "project/ListItem.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace plinth {

/// The pod names of a Podfile's default block: every `pod '<name>'` between
/// the first "# Default pods" and the first "post_install", in order,
/// duplicates kept. Empty when either marker is missing.
QStringList podNames(const QString &podfileText);

/// The pods an existing project's Podfile gives the pod screen: the default
/// block's names without those that contain "Secrets" (the secrets pod is
/// the project's own), first the entries of `catalog` that are named, in
/// catalog order, then one entry per other name, in Podfile order, with the
/// "no description" text, podType preset and the project's UI kind. A name
/// the block declares twice gives one entry.
QList<ListItem> podfilePods(const QString &podfileText, const QList<ListItem> &catalog, bool isUIKitProject);

} // namespace plinth
