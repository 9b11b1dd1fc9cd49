#pragma once

#include "project/CheckBoxItem.h"
#include "project/ListItem.h"
#include "project/ProjectEnums.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace plinth {

/// The one record that describes the project being made or extended. The
/// screens fill it field by field; generation reads it. Choices from fixed
/// lists are held as their display texts, never as keys.
struct ProjectDetailsModel
{
    /// Builds the defaults: the preset pod catalog and the Development
    /// variant as development scheme.
    ProjectDetailsModel();

    QString projectName;
    QString organizationName;
    QString bundleIdentifier;
    QString authorName;
    QString authorURL; ///< no screen sets it; it stays empty
    QString selectedUI;
    QString minimumDeploymentTarget;
    QString projectPath;
    /// An existing project's own folder, the one that holds its .xcodeproj,
    /// whatever the folder's name (a repository "orbit-ios" holding
    /// Orbit.xcodeproj); empty for a new project. When set, it is the project
    /// root.
    QString projectFolder;
    bool doesIncludeAWS = false;
    bool doesIncludeBLE = false;
    bool doesIncludeArkana = true;
    ProjectType projectType = ProjectType::none;
    DependencyManager dependencyManager = DependencyManager::cocoaPods;
    QString developmentSchemeName;
    QStringList userSelectedPods;
    /// Pods the user took out of an existing project's Podfile on the pod
    /// screen; the run removes their lines and nothing else.
    QStringList removedPods;
    QList<CheckBoxItem> configVariant; ///< only the checked variants, in screen order
    QList<ListItem> userSelectedModules;
    QList<ListItem> presetAndSelectedPods;

    /// The folder every generated or installed file goes below: an existing
    /// project's own folder, else projectPath with projectName appended as one
    /// path component.
    QString projectRoot() const;
    /// True exactly when selectedUI is the UIKit display text.
    bool isUIKitProject() const;
};

/// Owns the seed of the process-wide project description.
class ProjectDetailsManager
{
public:
    static ProjectDetailsManager &shared();

    ProjectDetailsModel projectDetails;

private:
    ProjectDetailsManager() = default;
};

/// The process-wide current project description: a copy of the shared
/// manager's record, taken on first use. Every screen and generation step
/// reads and writes this one record; nothing resets it.
ProjectDetailsModel &currentProjectDetails();

} // namespace plinth
