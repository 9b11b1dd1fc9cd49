#pragma once

#include "project/CheckBoxItem.h"
#include "project/ProjectEnums.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace plinth {

/// The UI kinds the build settings screen offers, in menu order: the catalog
/// texts of "uiKit" and "swiftUi".
QStringList uiKindOptions();

/// The deployment targets offered, in menu order: the catalog texts of
/// "deploymentTarget16_0", "deploymentTarget17_0", "deploymentTarget18_0".
QStringList deploymentTargetOptions();

/// How the project can get its libraries, in menu order: the catalog texts
/// of "dependencyManagerCocoaPods" and "dependencyManagerSwiftPackageManager".
QStringList dependencyManagerOptions();
/// The menu text of `manager`, and the manager of a menu text (CocoaPods for
/// any text that is not Swift Package Manager's).
QString dependencyManagerText(DependencyManager manager);
DependencyManager dependencyManagerOf(const QString &text);

/// The variants offered at first, all unchecked: UAT, Staging, Development,
/// Production (catalog texts).
QList<CheckBoxItem> initialConfigVariantItems();

/// What is wrong with a destination folder. The screen's path check only asks
/// whether something exists; generation also needs a folder it can write in.
enum class DestinationProblem { none, missing, notAFolder, notWritable };
DestinationProblem destinationProblem(const QString &path);

/// The screen's path check: the catalog text of "inValidPath" when nothing
/// exists at `path`, else an empty text.
QString pathCheckMessage(const QString &path);

/// The build settings screen's Next-disabled test: the UI kind, the
/// deployment target or the path is empty, or nothing exists at the path.
bool isBuildSettingsIncomplete(const QString &selectedUI, const QString &minDeploymentTarget,
                               const QString &projectPath);

/// The folder chooser's refusal: something already exists at
/// `destination`/`projectName`, where the project's own folder would go.
bool projectFolderExists(const QString &destination, const QString &projectName);

/// The checked entries of `items`, in list order (what the screen stores as
/// configVariant).
QList<CheckBoxItem> checkedVariants(const QList<CheckBoxItem> &items);
QStringList variantLabels(const QList<CheckBoxItem> &variants);

/// What Next does with the checked variants: nothing checked is refused
/// ("noConfigVariantSelection" alert); with the Development variant among
/// them the development scheme stays as it is; otherwise the user is asked
/// which of them serves as the development scheme.
enum class DevelopmentSchemeChoice { noVariant, keepDevelopment, ask };
DevelopmentSchemeChoice developmentSchemeChoice(const QList<CheckBoxItem> &variants);

/// Whether `label` can name a variant that `existingLabels` does not name
/// yet. A label becomes a build configuration, a Swift compilation condition
/// (`#if UAT`), a `Secrets.UAT()` call and an Arkana environment, so it must
/// be an ASCII identifier (letter or "_" first, then letters, digits, "_")
/// that YAML reads as text (readsAsYamlValue: "On" and "True" would both be
/// true) and that is no Swift keyword (isSwiftKeyword: `#elseif true`), and
/// two variants of one name would give the project duplicate
/// configurations.
enum class VariantLabelProblem { none, empty, notIdentifier, readsAsYamlValue, swiftKeyword, duplicate };
VariantLabelProblem variantLabelProblem(const QString &label, const QStringList &existingLabels);

} // namespace plinth
