#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QProgressBar;
class QVBoxLayout;

namespace plinth {

class BaseView;
class PreProjectSetupViewModel;

/// The first screen: one row per developer tool with its state, a header
/// while tools are checked or missing, the installation of missing tools in
/// the embedded terminal, and Next once every tool is there.
class PreProjectSetupView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool shouldGoToNext READ shouldGoToNext WRITE setShouldGoToNext NOTIFY shouldGoToNextChanged)

public:
    explicit PreProjectSetupView(std::unique_ptr<PreProjectSetupViewModel> viewModel, QWidget *parent = nullptr);
    ~PreProjectSetupView() override;

    PreProjectSetupViewModel *viewModel() const { return m_viewModel.get(); }
    BaseView *frame() const { return m_frame; }

    bool shouldGoToNext() const { return m_shouldGoToNext; }
    void setShouldGoToNext(bool value);

Q_SIGNALS:
    void shouldGoToNextChanged(bool value);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void render();
    void showInstallElement(bool shown);
    void retireInstallElement();

    std::unique_ptr<PreProjectSetupViewModel> m_viewModel;
    BaseView *m_frame = nullptr;
    QLabel *m_header = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_readyText = nullptr;
    QWidget *m_rows = nullptr;
    QWidget *m_notFoundPart = nullptr;
    QVBoxLayout *m_notFoundLayout = nullptr;
    QWidget *m_installElement = nullptr;
    bool m_shouldGoToNext = false;
};

} // namespace plinth
