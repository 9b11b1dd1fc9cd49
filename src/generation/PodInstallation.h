#pragma once

#include "generation/GenerationStep.h"
#include "generation/LibraryRoutes.h"
#include "project/ProjectDetailsModel.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace plinth {

class CommandRunner;
class ResourceBundle;

/// The pods the Podfile gets: the user's pods in order, then the pods each
/// chosen module requires, module by module. Duplicates stay.
QStringList podList(const ProjectDetailsModel &details);

/// `date` as "dd/MM/yyyy", the form the installation script writes into the
/// file header.
QString podInstallDateText(const QDate &date = QDate::currentDate());

/// The project's Pods folder: project root + "/Pods".
QString podsDirectoryPath(const ProjectDetailsModel &details);

/// The line that runs post_gen.sh at `scriptPath`: "bash", the script, then
/// eight arguments in single quotes (deployment target, product name, "y"/"n"
/// for the AWS S3 pod and the Arkana secrets pods, bundle identifier, "NA",
/// project root, the pods of `routes`), for an existing project a ninth: the
/// pods to take out of its Podfile. Every value is shell-quoted, so it
/// reaches the script exactly as written (the project root as the real path,
/// not space-escaped).
QString postGenerationCommand(const ProjectDetailsModel &details, const LibraryRoutes &routes,
                              const QString &scriptPath);

/// Whether the project has pods to install: its routes need a Podfile, or
/// (an existing project) it has one of its own.
bool usesPodfile(const ProjectDetailsModel &details, const LibraryRoutes &routes);

/// What Finish opens: the workspace CocoaPods makes when the project uses a
/// Podfile, else the Xcode project itself.
QString projectOpenPath(const ProjectDetailsModel &details, const LibraryRoutes &routes);

/// Whether the project can be opened: with a Podfile, every pod of `routes`
/// installed (arePodsInstalled); without one, its Xcode project made.
bool isProjectReady(const ProjectDetailsModel &details, const LibraryRoutes &routes);

/// The line the embedded terminal types to install the pods: "bash", the
/// script, then the project root, the trimmed author name, the organisation,
/// `dateText`, the product name, "yes"/"no" for a new project and for Arkana,
/// each shell-quoted, ended by a carriage return (Return in the terminal).
QString podInstallCommand(const ProjectDetailsModel &details, const QString &scriptPath, const QString &dateText);

/// podInstallCommand with the bundle's PodInstall.sh and today's date; empty
/// (and a console line) when the bundle has no such script.
QString podInstallCommand(const ProjectDetailsModel &details, const ResourceBundle &bundle);

/// Whether `podsDirectory` is a folder holding an item for every name of
/// `pods` (a subspec's pod folder), or whose Manifest.lock lists the pod (a
/// pod from a folder of the project's own has no folder there); true for no
/// pods. A missing folder gives a console line.
bool arePodsInstalled(const QString &podsDirectory, const QStringList &pods);

/// Runs post_gen.sh from `bundle` for the pods of `routes` through `runner`
/// and waits for it (call on
/// a worker thread); its output goes to the console. The record says whether
/// a Podfile was written: the script must exist, end with status 0 and leave
/// a Podfile in the project root. Skipped when the project needs no Podfile
/// (every library comes as a Swift package) and has none.
GenerationStep runPostGeneration(const ProjectDetailsModel &details, const LibraryRoutes &routes,
                                 const ResourceBundle &bundle, const CommandRunner &runner);

/// Runs PodInstall.sh from `bundle` in a Terminal window (the AppleScript
/// program) and waits until it has ended (call on a worker thread). False
/// when the script is missing or the program did not end successfully.
bool installPods(const ProjectDetailsModel &details, const ResourceBundle &bundle, const CommandRunner &runner);

/// The pod installation as a step of its own where the program's own output
/// takes the embedded terminal's place: runs podInstallCommand (without its
/// carriage return) through the runner in the foreground and waits for it
/// (call on a worker thread). Done when the script ends with 0 and the
/// project is ready (isProjectReady); failed when the script is missing,
/// fails or leaves a pod out.
GenerationStep installPodsInForeground(const ProjectDetailsModel &details, const ResourceBundle &bundle,
                                       const CommandRunner &runner);

/// Whether post_gen.sh writes a pod of this name into the Podfile (which is
/// Ruby): one or more ASCII letters, digits and "-_.+", or a subspec
/// "Name/Sub" (any depth) whose every part is such a name.
bool isValidPodName(const QString &name);

} // namespace plinth
