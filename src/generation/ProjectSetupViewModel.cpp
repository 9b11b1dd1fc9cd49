#include "generation/ProjectSetupViewModel.h"

#include "app/base/AlertPresenter.h"
#include "app/base/Desktop.h"
#include "app/base/TextCatalog.h"
#include "generation/GenerationRun.h"
#include "generation/PodInstallation.h"
#include "toolchain/CommandRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>

namespace plinth {

namespace {

/// The threads of generation runs and Terminal installations: each task
/// blocks for as long as its child processes run, so they do not take the
/// global pool's few threads away from the short pod checks.
QThreadPool &longTaskPool()
{
    static QThreadPool *const pool = [] {
        static QThreadPool threads;
        threads.setMaxThreadCount(std::max(4, QThread::idealThreadCount()));
        return &threads;
    }();
    return *pool;
}

/// Queues `work` on the main thread; it runs only if the view model still
/// exists by then.
template <typename Work>
void onMainThread(const QPointer<ProjectSetupViewModel> &viewModel, Work work)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    QMetaObject::invokeMethod(
        application,
        [viewModel, work = std::move(work)]() mutable {
            if (viewModel)
                work(viewModel.data());
        },
        Qt::QueuedConnection);
}

} // namespace

ProjectSetupViewModel::ProjectSetupViewModel(std::shared_ptr<const CommandRunner> runner,
                                             const ResourceBundle &bundle, AlertPresenter *alerts, Desktop *desktop,
                                             ProjectDetailsModel &details, QObject *parent)
    : QObject(parent)
    , m_runner(std::move(runner))
    , m_bundle(bundle)
    , m_alerts(alerts)
    , m_desktop(desktop)
    , m_details(details)
{
    qRegisterMetaType<GenerationStep>();
    m_timer.setInterval(podPollingIntervalMilliseconds);
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &ProjectSetupViewModel::checkPods);
}

ProjectSetupViewModel::~ProjectSetupViewModel() = default;

bool ProjectSetupViewModel::hasFailedSteps() const
{
    return firstFailedStep().has_value();
}

std::optional<GenerationStep> ProjectSetupViewModel::firstFailedStep() const
{
    const auto failed = std::find_if(m_steps.cbegin(), m_steps.cend(), [](const GenerationStep &step) {
        return step.outcome == GenerationStep::Outcome::failed;
    });
    if (failed == m_steps.cend())
        return std::nullopt;
    return *failed;
}

bool ProjectSetupViewModel::generate()
{
    if (m_started)
        return false;
    m_started = true;
    m_isGenerating = true;
    emit isGeneratingChanged(true);

    const QPointer<ProjectSetupViewModel> self(this);
    longTaskPool().start([self, runner = m_runner, bundle = m_bundle, details = m_details] {
        GenerationRun run(details, bundle, *runner, [self](const GenerationStep &step) {
            onMainThread(self, [step](ProjectSetupViewModel *viewModel) { viewModel->appendStep(step); });
        });
        run.generate();
        onMainThread(self, [](ProjectSetupViewModel *viewModel) { viewModel->runEnded(); });
    });
    return true;
}

void ProjectSetupViewModel::appendStep(const GenerationStep &step)
{
    m_steps.append(step);
    emit stepRecorded(step);
    emit stepsChanged();
}

void ProjectSetupViewModel::runEnded()
{
    m_isGenerating = false;
    emit isGeneratingChanged(false);
    if (!m_isProjectCreationDone) {
        m_isProjectCreationDone = true;
        emit isProjectCreationDoneChanged(true);
    }
}

void ProjectSetupViewModel::startPodPolling()
{
    m_timer.start();
}

void ProjectSetupViewModel::stopPodPolling()
{
    m_timer.stop();
}

void ProjectSetupViewModel::checkPods()
{
    const QPointer<ProjectSetupViewModel> self(this);
    const quint64 check = ++m_podChecksStarted;
    QThreadPool::globalInstance()->start(
        [self, check, details = m_details, bundle = m_bundle] {
            const bool installed = isProjectReady(details, libraryRoutes(details, LibraryPackages::load(bundle)));
            onMainThread(self, [check, installed](ProjectSetupViewModel *viewModel) {
                // Checks run side by side on the pool and may end in any
                // order; an older one that ends last saw an older folder.
                if (check < viewModel->m_podCheckApplied)
                    return;
                viewModel->m_podCheckApplied = check;
                viewModel->setShouldGoToNext(installed);
            });
        });
}

void ProjectSetupViewModel::setShouldGoToNext(bool value)
{
    if (m_shouldGoToNext == value)
        return;
    m_shouldGoToNext = value;
    emit shouldGoToNextChanged(value);
}

QString ProjectSetupViewModel::podInstallCommand() const
{
    return plinth::podInstallCommand(m_details, m_bundle);
}

void ProjectSetupViewModel::installPods()
{
    const QPointer<ProjectSetupViewModel> self(this);
    longTaskPool().start([self, runner = m_runner, bundle = m_bundle, details = m_details] {
        const bool succeeded = plinth::installPods(details, bundle, *runner);
        onMainThread(self, [succeeded](ProjectSetupViewModel *viewModel) {
            emit viewModel->podInstallationFinished(succeeded);
        });
    });
}

bool ProjectSetupViewModel::openWorkspace(const QString &path, std::function<void()> afterAlert)
{
    const bool exists = QFileInfo::exists(path);
    if (exists && m_desktop && m_desktop->openFile(path)) {
        stopPodPolling();
        return true;
    }
    if (!m_alerts) {
        if (afterAlert)
            afterAlert();
        return false;
    }
    // A project that is there but that no application took (no Xcode, as on
    // Linux) is not a failed setup: the user is told where it is.
    const QString shownPath = QDir::toNativeSeparators(path);
    const QString title = exists ? text(key::projectCouldNotBeOpened) : text(key::projectCreationFailed);
    const QString message = exists ? text(key::projectCouldNotBeOpenedMessage, shownPath)
                                   : text(key::projectCreationFailedErrorMessage, shownPath);
    m_alerts->showAlert(title, message, {},
                        [afterAlert = std::move(afterAlert)](const QString &) {
                            if (afterAlert)
                                afterAlert();
                        });
    return false;
}

void ProjectSetupViewModel::finish()
{
    Desktop *desktop = m_desktop;
    const auto quit = [desktop] {
        if (desktop)
            desktop->quit();
    };
    if (openWorkspace(openPath(), quit))
        quit();
}

bool ProjectSetupViewModel::waitForBackgroundTasks(int milliseconds)
{
    return longTaskPool().waitForDone(milliseconds);
}

QString ProjectSetupViewModel::projectRoot() const
{
    return m_details.projectRoot();
}

QString ProjectSetupViewModel::openPath() const
{
    return projectOpenPath(m_details, libraryRoutes(m_details, LibraryPackages::load(m_bundle)));
}

} // namespace plinth
