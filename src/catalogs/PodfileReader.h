#pragma once

#include "project/ListItem.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace plinth {

class CommandRunner;
class ResourceBundle;
struct ScriptResult;

/// One pod that a Podfile gives the app target.
struct PodfilePod
{
    QString name;        ///< as declared, subspecs included ("Firebase/Analytics")
    bool own = false;    ///< declared in the target's own block (not inherited from an enclosing block or a helper method)
    QString declaration; ///< the `pod` call as written, on one line

    friend bool operator==(const PodfilePod &, const PodfilePod &) = default;
};

/// What PodfileEditor.rb says the app target's pods are.
struct PodfileListing
{
    bool read = false; ///< false: the Podfile could not be read as Ruby, or has no block for the target
    QList<PodfilePod> pods;
    QString error; ///< why, when not read
};

/// The line that lists the pods the Podfile at `podfilePath` gives target
/// `target`: "ruby SCRIPT list PODFILE TARGET", each value a shell word.
QString podfileListCommand(const QString &scriptPath, const QString &podfilePath, const QString &target);

/// The listing in the output of that command: one "NAME<TAB>own|inherited<TAB>
/// DECLARATION" line per pod; other lines are ignored. Not read when the
/// command failed; the error is then its message.
PodfileListing parsePodfileListing(const ScriptResult &result);

/// Runs PodfileEditor.rb from `bundle` over the Podfile and waits for it
/// (call on a worker thread). Reads the Podfile as Ruby, so the pods of
/// every form are found: options, subspecs, helper methods, enclosing
/// abstract targets; the pods of other targets are not.
PodfileListing listPodfilePods(const QString &podfilePath, const QString &target, const ResourceBundle &bundle,
                               const CommandRunner &runner);

/// The pods a listing gives the pod screen, one entry per name: first the
/// entries of `catalog` that are named, in catalog order, then the others in
/// Podfile order with the "no description" text, podType preset and the
/// project's UI kind; the Arkana secrets pods (names containing "Secrets")
/// are the project's own and left out. A pod declared with options shows its
/// declaration after the description; one the target only inherits says that
/// its line stays.
QList<ListItem> podfilePods(const QList<PodfilePod> &pods, const QList<ListItem> &catalog, bool isUIKitProject);

} // namespace plinth
