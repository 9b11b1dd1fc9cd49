#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QProgressBar;
class QScrollArea;
class QVBoxLayout;

namespace plinth {

class BaseView;
class ProjectSetupViewModel;

/// The generation screen, last of both flows. It starts the run by itself
/// when first shown and shows a progress bar while the run lasts; then the
/// logo, one row per step with its outcome, and the pod installation (the
/// embedded terminal, or a Terminal window where there is none). Finish
/// opens the workspace and quits; it is enabled once every selected pod is
/// installed. When a step failed the pods are not installed: the screen
/// says which step failed and Finish is enabled at once, so the user can
/// leave.
class ProjectSetupView : public QWidget
{
    Q_OBJECT

public:
    explicit ProjectSetupView(std::unique_ptr<ProjectSetupViewModel> viewModel, QWidget *parent = nullptr);
    ~ProjectSetupView() override;

    ProjectSetupViewModel *viewModel() const { return m_viewModel.get(); }
    BaseView *frame() const { return m_frame; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void render();
    void showOutcome();
    QWidget *makeStepRow(int index, QWidget *parent) const;
    void showInstallElement();

    std::unique_ptr<ProjectSetupViewModel> m_viewModel;
    BaseView *m_frame = nullptr;
    QWidget *m_runningPart = nullptr;
    QProgressBar *m_progress = nullptr;
    QWidget *m_donePart = nullptr;
    QVBoxLayout *m_doneLayout = nullptr;
    QScrollArea *m_steps = nullptr;
    QVBoxLayout *m_stepRows = nullptr;
    QLabel *m_failedNotice = nullptr;
    QWidget *m_installElement = nullptr;
    bool m_outcomeShown = false;
    bool m_finishFocused = false; ///< Finish has taken the focus once

};

} // namespace plinth
