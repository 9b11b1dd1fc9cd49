#pragma once

#include "generation/GenerationStep.h"
#include "generation/LibraryRoutes.h"
#include "project/LibraryPackages.h"
#include "project/ListItem.h"
#include "project/ProjectDetailsModel.h"

#include <QString>

namespace plinth {

class CommandRunner;
class ResourceBundle;

/// Replaces whatever is at `to` with a copy of the file or folder at `from`
/// (links copied as links, never followed): the copy is made beside `to` and
/// swapped in by renames, the old item removed last. False, with `error` set
/// to the file system's description, when a step fails; the old item is then
/// as it was and no half copy is left.
bool duplicateDirectoryFromBundle(const QString &from, const QString &to, QString *error = nullptr);

/// Where a module comes from: template folder + "/" + template name + "/" +
/// its directory name.
QString moduleSourcePath(const QString &templateDirectory, const QString &templateName, const QString &directoryName);

/// Where a module goes: projectPath/projectName/projectName/directoryName.
QString moduleDestinationPath(const ProjectDetailsModel &details, const QString &directoryName);

/// projectPath/projectName/projectName.xcodeproj.
QString xcodeProjectPath(const ProjectDetailsModel &details);

/// The group a module is filed under in the Xcode project: for a single file
/// (a name with "."), the folder part of `directoryName` ("Helpers" for
/// "Helpers/KeychainManager.swift", empty for a file at the top); otherwise
/// `directoryName` itself.
QString moduleGroupPath(const QString &directoryName);

/// The line that runs AddModulesInTarget.rb at `scriptPath` for `module`:
/// "ruby SCRIPT -p PROJECT -d MODULE -t NAME -g NAME/GROUP", then for a
/// module that imports Swift packages "--podfile PODFILE" and "--package URL
/// --product NAME --version REQUIREMENT" per package; every value a shell
/// word of its own.
QString addModuleCommand(const QString &scriptPath, const ProjectDetailsModel &details, const ListItem &module);

/// The Arkana step of an existing project: when Arkana was chosen, makes the
/// template's "Gemfile", ".arkana.yml" and ".env" for the project (the
/// template walk, limited to those files, gives them the project's name and
/// variants). A file the project lacks is put into the project root; a file
/// it has is only added to, line by line: the Gemfile gets the arkana gem
/// when no line declares it, `.arkana.yml` the environments (the chosen
/// variants) and keys it lacks, `.env` an empty line for each variable the
/// secrets need and it lacks. No line of the project's changes or goes, and
/// no copy is left beside a file. Failed, naming the file, when one cannot be
/// read or written. Skipped when Arkana was not chosen.
GenerationStep copyArkanaFiles(const ProjectDetailsModel &details, const ResourceBundle &bundle);

/// The Arkana step, then a fresh copy of each chosen module from the template
/// into the project's app folder, in list order; one record per step. A
/// missing module or a failed copy is recorded and the next module is tried.
void installModules(const ProjectDetailsModel &details, const ResourceBundle &bundle, const StepRecorder &record);

/// The line that runs AddModulesInTarget.rb at `scriptPath` to link
/// `packages` and `localPackages` to an existing project's app target: "ruby
/// SCRIPT -p PROJECT -t NAME --podfile PODFILE", then per product "--package
/// URL --product NAME --version from:X.Y.Z", per build-tool plug-in
/// "--package URL --plugin NAME --version from:X.Y.Z" and per local package
/// "--local-package PATH --product NAME"; every value a shell word of its own.
QString addPackagesCommand(const QString &scriptPath, const ProjectDetailsModel &details,
                           const QList<LibraryPackage> &packages, const QList<LocalPackage> &localPackages = {});

/// Links the libraries that come as Swift packages (see libraryRoutes), and
/// the local packages of the secrets, to an existing project's app target
/// through AddModulesInTarget.rb (call on a worker thread): a package the
/// target has at any version, or whose product the Podfile brings as a pod,
/// is left as it is. No record when there is nothing to link; failed when
/// the script is missing or ends with a status other than 0.
void addLibraryPackages(const ProjectDetailsModel &details, const QList<LibraryPackage> &packages,
                        const ResourceBundle &bundle, const CommandRunner &runner, const StepRecorder &record,
                        const QList<LocalPackage> &localPackages = {});

/// Runs AddModulesInTarget.rb once per chosen module, in list order, each run
/// ending before the next starts (call on a worker thread); one record per
/// module, failed when the script ends with a status other than 0.
void addModulesToTarget(const ProjectDetailsModel &details, const ResourceBundle &bundle, const CommandRunner &runner,
                        const StepRecorder &record);

} // namespace plinth
