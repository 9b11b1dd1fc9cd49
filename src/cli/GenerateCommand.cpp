#include "cli/GenerateCommand.h"

#include "cli/CliOutput.h"
#include "generation/PodInstallation.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>

namespace plinth {

GenerateCommand::GenerateCommand(const CliContext &context, const ProjectDetailsModel &details, bool installPods,
                                 QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_details(details)
    , m_installPods(installPods)
    , m_viewModel(context.runner, context.bundle, nullptr, nullptr, m_details)
{
    connect(&m_viewModel, &ProjectSetupViewModel::stepRecorded, this, &GenerateCommand::printStep);
    connect(&m_viewModel, &ProjectSetupViewModel::isProjectCreationDoneChanged, this, [this](bool done) {
        if (done)
            generationEnded();
    });
}

void GenerateCommand::start()
{
    printLine((m_details.projectType == ProjectType::new_ ? QStringLiteral("Generating ")
                                                          : QStringLiteral("Adding to "))
              + m_details.projectRoot());
    m_viewModel.generate();
}

QStringList GenerateCommand::stepLines(const GenerationStep &step)
{
    QString outcome;
    switch (step.outcome) {
    case GenerationStep::Outcome::done: outcome = QStringLiteral("done"); break;
    case GenerationStep::Outcome::failed: outcome = QStringLiteral("failed"); break;
    case GenerationStep::Outcome::skipped: outcome = QStringLiteral("skipped"); break;
    }
    QStringList lines{step.title() + QStringLiteral(": ") + outcome};
    const QStringList details = step.detail.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : details)
        lines << QStringLiteral("    ") + line;
    return lines;
}

void GenerateCommand::printStep(const GenerationStep &step)
{
    for (const QString &line : stepLines(step))
        printLine(line);
}

void GenerateCommand::generationEnded()
{
    if (m_viewModel.hasFailedSteps()) {
        const auto steps = m_viewModel.steps();
        const auto failures = std::count_if(steps.cbegin(), steps.cend(), [](const GenerationStep &step) {
            return step.outcome == GenerationStep::Outcome::failed;
        });
        printLine(QStringLiteral("%1 of %2 steps failed; the pods were not installed.").arg(failures).arg(steps.size()));
        emit finished(stepFailed);
        return;
    }
    if (!m_installPods) {
        printLine(QStringLiteral("Done: ") + m_details.projectRoot());
        QString command = podInstallCommand(m_details, m_context.bundle);
        if (!command.isEmpty()) {
            command.chop(1);
            printLine(QStringLiteral("The pods were not installed (--no-install); to install them:"));
            printLine(QStringLiteral("    ") + command);
        }
        emit finished(succeeded);
        return;
    }
    installPods();
}

void GenerateCommand::installPods()
{
    printLine(GenerationStep{GenerationStepKind::podInstallation, {}, {}, {}}.title() + QStringLiteral(": running"));
    const QPointer<GenerateCommand> self(this);
    QThreadPool::globalInstance()->start([self, context = m_context, details = m_details] {
        const GenerationStep step = installPodsInForeground(details, context.bundle, *context.runner);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [self, step] { if (self) self->installationEnded(step); },
            Qt::QueuedConnection);
    });
}

void GenerateCommand::installationEnded(const GenerationStep &step)
{
    printStep(step);
    if (step.outcome != GenerationStep::Outcome::done) {
        emit finished(stepFailed);
        return;
    }
    printLine(QStringLiteral("Done: ") + m_viewModel.openPath());
    emit finished(succeeded);
}

} // namespace plinth
