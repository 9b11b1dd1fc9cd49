#pragma once

#include "app/base/ResourceBundle.h"
#include "generation/GenerationStep.h"
#include "project/ProjectDetailsModel.h"

#include <QString>

namespace plinth {

class CommandRunner;

/// One generation run over one project description: the new-project run, or
/// the post-generation script and module installation of an existing
/// project. Every operation blocks until its files are written and its child
/// processes have ended, so the run is made on a worker thread; steps run one
/// after another and never stop the run (a failure is written to the debug
/// console). Each step's outcome goes to the recorder as the step ends.
class GenerationRun
{
public:
    GenerationRun(const ProjectDetailsModel &details, const ResourceBundle &bundle, const CommandRunner &runner,
                  StepRecorder record = {});

    /// The run for the project kind: createNewProject() for a new project;
    /// otherwise the post-generation script, installModules() and
    /// addModulesToTarget() for each module that was copied (the target step
    /// of one that was not is recorded as skipped).
    void generate();

    /// The eight steps of a new project: project root, the three target
    /// folders, project.yml, the template copy, XcodeGen, the post-generation
    /// script and the template walk. When the project root cannot be made the
    /// run ends there and the later steps are recorded as skipped.
    void createNewProject();

    /// Runs "xcodegen generate" in `projectRoot` and writes its output to the
    /// console. Failed when XcodeGen ends with a status other than 0 or leaves
    /// no <product name>.xcodeproj.
    GenerationStep runXcodeGen(const QString &projectRoot);

    /// The command line runXcodeGen runs.
    static QString xcodeGenCommand(const QString &projectRoot);

    const ProjectDetailsModel &details() const { return m_details; }

private:
    void record(const GenerationStep &step) const;

    ProjectDetailsModel m_details;
    ResourceBundle m_bundle;
    const CommandRunner &m_runner;
    StepRecorder m_record;
};

} // namespace plinth
