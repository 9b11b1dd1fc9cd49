#pragma once

#include "app/base/ResourceBundle.h"
#include "generation/GenerationStep.h"
#include "project/ProjectDetailsModel.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace plinth {

class AlertPresenter;
class CommandRunner;
class Desktop;

/// The view model of the generation screen: runs the generation (a new
/// project, or the modules of an existing one) off the main thread, records
/// each step's outcome, polls for the installed pods and finishes by opening
/// the workspace.
///
/// Lives on the main thread, like its properties and its timer. The run and
/// each pod check happen on worker threads; their results come back as
/// queued calls and are dropped when the view model is gone.
class ProjectSetupViewModel : public QObject
{
    Q_OBJECT
    /// True while the project can be opened: every pod of its Podfile has its
    /// folder in the Pods folder, or, without a Podfile, its Xcode project is
    /// there (isProjectReady).
    Q_PROPERTY(bool shouldGoToNext READ shouldGoToNext NOTIFY shouldGoToNextChanged)
    /// The run has ended, whatever became of its steps.
    Q_PROPERTY(bool isProjectCreationDone READ isProjectCreationDone NOTIFY isProjectCreationDoneChanged)
    /// The run has started and not ended yet.
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)
    /// One record per step that has ended, in order.
    Q_PROPERTY(QList<plinth::GenerationStep> steps READ steps NOTIFY stepsChanged)
    Q_PROPERTY(bool hasFailedSteps READ hasFailedSteps NOTIFY stepsChanged)

public:
    static constexpr int podPollingIntervalMilliseconds = 5000;

    /// `runner` is shared with the worker threads (it must be safe to use from
    /// several at once, as CommandRunner is); `alerts` and `desktop` must
    /// outlive the view model and any alert it shows; `details` is the project
    /// description the screens filled (read when the run starts, and for the
    /// pod checks and finish).
    ProjectSetupViewModel(std::shared_ptr<const CommandRunner> runner, const ResourceBundle &bundle,
                          AlertPresenter *alerts, Desktop *desktop,
                          ProjectDetailsModel &details, QObject *parent = nullptr);
    ~ProjectSetupViewModel() override;

    bool shouldGoToNext() const { return m_shouldGoToNext; }
    bool isProjectCreationDone() const { return m_isProjectCreationDone; }
    bool isGenerating() const { return m_isGenerating; }
    QList<GenerationStep> steps() const { return m_steps; }
    bool hasFailedSteps() const;
    /// The first step that failed, if any: the one the screen names.
    std::optional<GenerationStep> firstFailedStep() const;

    /// Starts the run for the project kind on a worker thread and returns at
    /// once; isProjectCreationDone turns true when it has ended. One run per
    /// view model: false (and nothing happens) when it has already started.
    bool generate();

    /// The 5-second pod check: started when the screen is shown, stopped when
    /// it is hidden and by a successful finish.
    void startPodPolling();
    void stopPodPolling();
    const QTimer &timer() const { return m_timer; }

    /// Starts one pod check on a worker thread; its result goes to
    /// shouldGoToNext unless a check started later has already answered
    /// (the Pods folder may have changed in between).
    void checkPods();

    /// The command the embedded terminal types to install the pods (ends with
    /// a carriage return); empty when the installation script is missing.
    QString podInstallCommand() const;

    /// Where there is no embedded terminal: runs the installation script in a
    /// Terminal window on a worker thread; podInstallationFinished tells when
    /// it has ended.
    void installPods();

    /// Opens the workspace or project at `path` with its default application
    /// and stops the pod check. When it does not exist, shows the "project
    /// creation failed" alert instead; when it exists but nothing could open
    /// it, the "could not be opened" one; both name the path and call
    /// `afterAlert` once the user has closed them. True when it was opened.
    bool openWorkspace(const QString &path, std::function<void()> afterAlert = {});

    /// The finish button: opens the project (openPath) and quits the
    /// application; when it is missing, quits only after the user has closed
    /// the alert.
    void finish();

    /// Waits up to `milliseconds` for every run and Terminal installation
    /// started by any view model to end, also those of view models already
    /// gone (tests, and a program about to exit). Blocks: not for the
    /// running screen.
    static bool waitForBackgroundTasks(int milliseconds);

    QString projectRoot() const;
    /// What Finish opens: the project's .xcworkspace, or its .xcodeproj when
    /// it has no Podfile (projectOpenPath).
    QString openPath() const;

signals:
    void shouldGoToNextChanged(bool shouldGoToNext);
    void isProjectCreationDoneChanged(bool done);
    void isGeneratingChanged(bool generating);
    /// A step has ended; `step` is also the last entry of steps().
    void stepRecorded(const plinth::GenerationStep &step);
    void stepsChanged();
    void podInstallationFinished(bool succeeded);

private:
    void setShouldGoToNext(bool value);
    void appendStep(const GenerationStep &step);
    void runEnded();

    std::shared_ptr<const CommandRunner> m_runner;
    ResourceBundle m_bundle;
    AlertPresenter *m_alerts;
    Desktop *m_desktop;
    ProjectDetailsModel &m_details;
    QTimer m_timer;
    bool m_started = false;
    bool m_shouldGoToNext = false;
    bool m_isProjectCreationDone = false;
    bool m_isGenerating = false;
    QList<GenerationStep> m_steps;
    quint64 m_podChecksStarted = 0;
    quint64 m_podCheckApplied = 0;
};

} // namespace plinth
