#pragma once

#include "project/ProjectEnums.h"
#include "project/SwiftPackage.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace plinth {

/// A catalog entry: a pod or a module. Identified by `id`, fresh for every
/// entry made.
struct ListItem
{
    QUuid id = QUuid::createUuid();
    QString title;         ///< display name; for a pod, the pod name
    QString description;   ///< short description shown with the entry
    QString directoryName; ///< for a module, the folder copied from the template ("Helpers/UserDefaults")
    PodType podType = PodType::preset;
    QString spmGitHubURL;      ///< for a module that brings a Swift package, its repository
    QStringList requiredPods;  ///< pods a module needs
    QList<SwiftPackage> requiredPackages; ///< Swift packages a module's code imports
    UIInterface interface = UIInterface::none;

    friend bool operator==(const ListItem &, const ListItem &) = default;
};

} // namespace plinth
