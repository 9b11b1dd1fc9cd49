#pragma once

#include "app/base/ResourceBundle.h"
#include "toolchain/PreRequisite.h"

#include <QList>
#include <QObject>

#include <array>
#include <memory>

class QTimer;

namespace plinth {

class CommandRunner;
enum class ResourceScript;

enum class PreProjectSetupStates { checkingDependencies = 0, dependenciesExistAndReadyToProceed = 1, dependenciesNotFound = 2 };

/// What one full check found, per tool (indexed by PreRequisite): the
/// validation script's verdict and the probe's output.
struct DependencyCheck
{
    std::array<bool, allPreRequisites.size()> scriptVerdicts{};
    std::array<QString, allPreRequisites.size()> probeOutputs;

    /// A tool is present when its script says so or its probe printed anything.
    bool isPresent(PreRequisite tool) const;
};

/// The prerequisite screen's model: checks the six tools when the screen is
/// shown and then every 5 seconds while it is, publishes one row per tool
/// and the screen's state, and starts the installation of missing tools.
/// Checks run on the thread pool, one at a time; a check asked for while one
/// runs starts when that one has ended, so results are applied in the order
/// the checks started, each in one go, on this object's thread (and dropped
/// when the model is gone).
class PreProjectSetupViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(PreProjectSetupStates preProjectSetupState READ preProjectSetupState NOTIFY preProjectSetupStateChanged)
    Q_PROPERTY(bool isNextDisabled READ isNextDisabled NOTIFY preProjectSetupStateChanged)

public:
    static constexpr int checkIntervalMilliseconds = 5000;

    explicit PreProjectSetupViewModel(std::shared_ptr<const CommandRunner> runner,
                                      const ResourceBundle &bundle = ResourceBundle::main(), QObject *parent = nullptr);
    ~PreProjectSetupViewModel() override;

    PreProjectSetupStates preProjectSetupState() const { return m_state; }
    QList<PreRequisiteSetUpModel> preRequisiteList() const { return m_rows; }
    bool isNextDisabled() const;

    /// The repeating check timer: started when the screen is shown, with a
    /// first check at once, and stopped when it is hidden. A check already
    /// running still completes.
    void startTimer();
    void stopTimer();
    bool isTimerRunning() const;

    /// Starts one full check on the thread pool and returns at once; while a
    /// check runs, schedules one (only one) to start after it.
    void startCheck();
    bool isCheckRunning() const { return m_checkRunning; }

    /// True when the script says its tool is installed: it printed the tag
    /// pair around exactly "0" and exited with 0. Blocks; runs on a worker.
    static bool isDependencyExist(const CommandRunner &runner, const ResourceBundle &bundle, ResourceScript script,
                                  const QString &outputTagName);
    /// One full check: the six scripts, then the six probes, one after
    /// another. Blocks; runs on a worker.
    static DependencyCheck verifyDependencies(const CommandRunner &runner, const ResourceBundle &bundle);

    /// Applies a finished check to the rows (matched by display name).
    void updatePreRequisiteList(const DependencyCheck &check);
    /// Applies a finished check to the state.
    void updatePreProjectSetupState(const DependencyCheck &check);

    /// What the embedded terminal types to install the missing tools:
    /// "bash <script>" and a carriage return.
    QString installationCommand() const;
    /// Runs the installation script in a Terminal window (systems without
    /// the embedded terminal); returns at once.
    void runPreProjectSetup();

Q_SIGNALS:
    void preProjectSetupStateChanged(PreProjectSetupStates state);
    void preRequisiteListChanged();

private:
    void checkEnded(const DependencyCheck &check);

    std::shared_ptr<const CommandRunner> m_runner;
    ResourceBundle m_bundle;
    QTimer *m_timer = nullptr;
    PreProjectSetupStates m_state = PreProjectSetupStates::checkingDependencies;
    QList<PreRequisiteSetUpModel> m_rows;
    bool m_checkRunning = false;
    bool m_checkPending = false;
};

} // namespace plinth
