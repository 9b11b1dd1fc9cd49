#include "cli/DoctorCommand.h"

#include "app/base/TextCatalog.h"
#include "cli/CliOutput.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>

namespace plinth {

DoctorCommand::DoctorCommand(const CliContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_viewModel(context.runner, context.bundle)
{
}

void DoctorCommand::start()
{
    printLine(text(key::checkForDependencies));
    const QPointer<DoctorCommand> self(this);
    QThreadPool::globalInstance()->start([self, context = m_context] {
        const DependencyCheck check = PreProjectSetupViewModel::verifyDependencies(*context.runner, context.bundle);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [self, check] { if (self) self->checked(check); }, Qt::QueuedConnection);
    });
}

QStringList DoctorCommand::table(const QList<PreRequisiteSetUpModel> &rows, const DependencyCheck &check)
{
    const QString toolHeading = QStringLiteral("Tool");
    qsizetype width = toolHeading.size();
    for (const PreRequisiteSetUpModel &row : rows)
        width = std::max(width, displayName(row.preRequisite).size());
    width += 2;

    QStringList lines{toolHeading.leftJustified(width) + QStringLiteral("Status   Found by")};
    for (const PreRequisiteSetUpModel &row : rows) {
        const auto index = static_cast<size_t>(row.preRequisite);
        QString foundBy;
        if (check.scriptVerdicts[index])
            foundBy = QStringLiteral("validation script");
        const QString probe = check.probeOutputs[index].trimmed().section(QLatin1Char('\n'), 0, 0);
        if (!check.probeOutputs[index].isEmpty()) {
            const QString path = probe.isEmpty() ? probeCommand(row.preRequisite) : probe;
            foundBy += (foundBy.isEmpty() ? QString() : QStringLiteral(", ")) + path;
        }
        QString line = displayName(row.preRequisite).leftJustified(width)
                       + (row.dependencyExists ? QStringLiteral("present") : QStringLiteral("missing"));
        if (!foundBy.isEmpty())
            line += QStringLiteral("  ") + foundBy;
        lines << line;
    }
    return lines;
}

void DoctorCommand::checked(const DependencyCheck &check)
{
    m_viewModel.updatePreRequisiteList(check);
    m_viewModel.updatePreProjectSetupState(check);
    for (const QString &line : table(m_viewModel.preRequisiteList(), check))
        printLine(line);
    const bool ready =
        m_viewModel.preProjectSetupState() == PreProjectSetupStates::dependenciesExistAndReadyToProceed;
    printLine(text(ready ? key::dependenciesExistAndReadyToProceed : key::dependenciesNotFound));
    emit finished(ready ? allPresent : toolMissing);
}

} // namespace plinth
