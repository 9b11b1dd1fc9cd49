#pragma once

#include "cli/CliContext.h"
#include "toolchain/PreProjectSetupViewModel.h"

#include <QObject>
#include <QStringList>

namespace plinth {

/// `plinth-cli doctor`: the prerequisite screen's check, once, printed as a
/// table of the six tools in the screen's order. The check runs on a worker;
/// its result goes through the screen's own view model on the main thread.
class DoctorCommand : public QObject
{
    Q_OBJECT

public:
    enum ExitCode { allPresent = 0, toolMissing = 1 };

    explicit DoctorCommand(const CliContext &context, QObject *parent = nullptr);

    /// Starts the check and returns at once; finished() tells the exit code.
    void start();

    /// The table for `rows` (in their order) with what `check` found.
    static QStringList table(const QList<PreRequisiteSetUpModel> &rows, const DependencyCheck &check);

signals:
    void finished(int exitCode);

private:
    void checked(const DependencyCheck &check);

    CliContext m_context;
    PreProjectSetupViewModel m_viewModel;
};

} // namespace plinth
