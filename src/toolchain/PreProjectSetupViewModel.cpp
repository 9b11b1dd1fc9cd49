#include "toolchain/PreProjectSetupViewModel.h"

#include "app/base/DebugConsole.h"
#include "app/base/TextCatalog.h"
#include "toolchain/AppleScripts.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/ResourceScript.h"
#include "toolchain/ShellQuote.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace plinth {

namespace {

size_t indexOf(PreRequisite tool)
{
    return static_cast<size_t>(tool);
}

// Scripts and probes run in these orders; each waits for the one before.
constexpr std::array scriptOrder{PreRequisite::homeBrew,  PreRequisite::xcodeBuild, PreRequisite::commandLineTool,
                                 PreRequisite::cocoaPods, PreRequisite::xcodegen,   PreRequisite::xcodeProj};
constexpr std::array probeOrder{PreRequisite::cocoaPods,       PreRequisite::homeBrew, PreRequisite::xcodeBuild,
                                PreRequisite::commandLineTool, PreRequisite::xcodegen, PreRequisite::xcodeProj};
// Rows are shown, and results applied, in this order.
constexpr std::array rowOrder{PreRequisite::xcodeBuild,      PreRequisite::cocoaPods, PreRequisite::homeBrew,
                              PreRequisite::commandLineTool, PreRequisite::xcodegen,  PreRequisite::xcodeProj};

} // namespace

bool DependencyCheck::isPresent(PreRequisite tool) const
{
    return scriptVerdicts[indexOf(tool)] || !probeOutputs[indexOf(tool)].isEmpty();
}

PreProjectSetupViewModel::PreProjectSetupViewModel(std::shared_ptr<const CommandRunner> runner,
                                                   const ResourceBundle &bundle, QObject *parent)
    : QObject(parent)
    , m_runner(std::move(runner))
    , m_bundle(bundle)
{
    for (PreRequisite tool : rowOrder)
        m_rows.append(PreRequisiteSetUpModel{QUuid::createUuid(), tool, false});
}

PreProjectSetupViewModel::~PreProjectSetupViewModel() = default;

bool PreProjectSetupViewModel::isNextDisabled() const
{
    return m_state != PreProjectSetupStates::dependenciesExistAndReadyToProceed;
}

void PreProjectSetupViewModel::startTimer()
{
    stopTimer();
    m_timer = new QTimer(this);
    m_timer->setInterval(checkIntervalMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &PreProjectSetupViewModel::startCheck);
    m_timer->start();
    // The first check runs at once, so a machine that has every tool shows
    // it as soon as the screen is up rather than a tick later.
    startCheck();
}

void PreProjectSetupViewModel::stopTimer()
{
    if (!m_timer)
        return;
    m_timer->stop();
    m_timer->deleteLater();
    m_timer = nullptr;
}

bool PreProjectSetupViewModel::isTimerRunning() const
{
    return m_timer && m_timer->isActive();
}

bool PreProjectSetupViewModel::isDependencyExist(const CommandRunner &runner, const ResourceBundle &bundle,
                                                 ResourceScript script, const QString &outputTagName)
{
    const QString path = scriptPath(bundle, script);
    if (path.isEmpty()) {
        debugConsole(text(key::brewExistenceCheckScriptNotFound));
        return false;
    }
    const ScriptResult result = runner.executeScripts(QStringLiteral("ruby ") + shellArgument(path), TimeLimit::probe);

    const QString open = QLatin1Char('<') + outputTagName + QLatin1Char('>');
    const QString close = QStringLiteral("</") + outputTagName + QLatin1Char('>');
    const qsizetype start = result.output.indexOf(open);
    if (start < 0)
        return false;
    const qsizetype verdictStart = start + open.size();
    const qsizetype end = result.output.indexOf(close, verdictStart);
    if (end < 0)
        return false;
    return result.output.mid(verdictStart, end - verdictStart) == QLatin1String("0") && result.exitCode == 0;
}

DependencyCheck PreProjectSetupViewModel::verifyDependencies(const CommandRunner &runner, const ResourceBundle &bundle)
{
    DependencyCheck check;
    for (PreRequisite tool : scriptOrder)
        check.scriptVerdicts[indexOf(tool)] = isDependencyExist(runner, bundle, validationScript(tool), text(key::output));
    for (PreRequisite tool : probeOrder)
        check.probeOutputs[indexOf(tool)] = runner.executeCommand(probeCommand(tool));
    return check;
}

void PreProjectSetupViewModel::startCheck()
{
    // A check can take longer than the timer's interval (a slow Ruby, a
    // busy disk); running the next one beside it would let the older result
    // land last and overwrite the newer one.
    if (m_checkRunning) {
        m_checkPending = true;
        return;
    }
    m_checkRunning = true;
    QPointer<PreProjectSetupViewModel> self(this);
    std::shared_ptr<const CommandRunner> runner = m_runner;
    const ResourceBundle bundle = m_bundle;
    (void)QtConcurrent::run([self, runner, bundle] {
        const DependencyCheck check = verifyDependencies(*runner, bundle);
        // A model that is gone by then drops the result.
        QMetaObject::invokeMethod(
            qApp, [self, check] { if (self) self->checkEnded(check); }, Qt::QueuedConnection);
    });
}

void PreProjectSetupViewModel::checkEnded(const DependencyCheck &check)
{
    m_checkRunning = false;
    updatePreRequisiteList(check);
    updatePreProjectSetupState(check);
    if (m_checkPending) {
        m_checkPending = false;
        startCheck();
    }
}

void PreProjectSetupViewModel::updatePreRequisiteList(const DependencyCheck &check)
{
    bool changed = false;
    for (PreRequisite tool : rowOrder) {
        const QString name = displayName(tool);
        for (PreRequisiteSetUpModel &row : m_rows) {
            if (displayName(row.preRequisite) != name)
                continue;
            const bool present = check.isPresent(tool);
            changed = changed || row.dependencyExists != present;
            row.dependencyExists = present;
            break;
        }
    }
    if (changed)
        Q_EMIT preRequisiteListChanged();
}

void PreProjectSetupViewModel::updatePreProjectSetupState(const DependencyCheck &check)
{
    const bool allPresent = std::all_of(allPreRequisites.begin(), allPreRequisites.end(),
                                        [&](PreRequisite tool) { return check.isPresent(tool); });
    const PreProjectSetupStates state = allPresent ? PreProjectSetupStates::dependenciesExistAndReadyToProceed
                                                   : PreProjectSetupStates::dependenciesNotFound;
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT preProjectSetupStateChanged(state);
}

QString PreProjectSetupViewModel::installationCommand() const
{
    const QString path = m_bundle.path(QStringLiteral("PreProjectSetupCommands"), QStringLiteral("sh"));
    return QStringLiteral("bash ") + (path.isEmpty() ? QString() : shellArgument(path)) + QLatin1Char('\r');
}

void PreProjectSetupViewModel::runPreProjectSetup()
{
    const QString path = m_bundle.path(QStringLiteral("PreProjectSetupCommands.sh"));
    if (path.isEmpty())
        return;
    std::shared_ptr<const CommandRunner> runner = m_runner;
    (void)QtConcurrent::run([runner, path] { runner->executeAppleScript(AppleScripts::preProjectSetup(path)); });
}

} // namespace plinth
