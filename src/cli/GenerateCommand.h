#pragma once

#include "cli/CliContext.h"
#include "generation/GenerationStep.h"
#include "generation/ProjectSetupViewModel.h"
#include "project/ProjectDetailsModel.h"

#include <QObject>

namespace plinth {

/// `plinth-cli generate`: the generation screen's run over a checked
/// description, each step printed with its outcome as it ends, then the pod
/// installation script in the foreground (unless told not to). The run goes
/// through the wizard's own view model, on its worker threads; this object
/// lives on the main thread.
class GenerateCommand : public QObject
{
    Q_OBJECT

public:
    enum ExitCode { succeeded = 0, stepFailed = 1 };

    GenerateCommand(const CliContext &context, const ProjectDetailsModel &details, bool installPods,
                    QObject *parent = nullptr);

    /// Starts the run and returns at once; finished() tells the exit code.
    void start();

    /// "Title: done", "Title: failed" or "Title: skipped", then the step's
    /// detail lines indented by four spaces.
    static QStringList stepLines(const GenerationStep &step);

signals:
    void finished(int exitCode);

private:
    void printStep(const GenerationStep &step);
    void generationEnded();
    void installPods();
    void installationEnded(const GenerationStep &step);

    CliContext m_context;
    ProjectDetailsModel m_details; // before m_viewModel, which refers to it
    bool m_installPods;
    ProjectSetupViewModel m_viewModel;
};

} // namespace plinth
