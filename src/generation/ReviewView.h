#pragma once

#include "app/base/FlagBinding.h"

#include <QWidget>

#include <memory>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace plinth {

class BaseView;
class ReviewViewModel;

/// The review screen of the existing-project flow, between the pod screen
/// and the generation screen: the files the run will add and change, each
/// with its counts of added and removed lines, and the diff of the selected
/// one (monospace; every line marked "+" or "-" as well as coloured). It
/// starts the preview when first shown. Apply goes on to the generation
/// screen; Previous returns to the pod screen.
class ReviewView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool shouldGoToNext READ shouldGoToNext WRITE setShouldGoToNext NOTIFY shouldGoToNextChanged)

public:
    /// `shouldGoToPrevious` is the pod screen's flag.
    ReviewView(std::unique_ptr<ReviewViewModel> viewModel, FlagBinding shouldGoToPrevious, QWidget *parent = nullptr);
    ~ReviewView() override;

    ReviewViewModel *viewModel() const { return m_viewModel.get(); }
    BaseView *frame() const { return m_frame; }
    bool shouldGoToNext() const { return m_shouldGoToNext; }
    void setShouldGoToNext(bool value);

Q_SIGNALS:
    void shouldGoToNextChanged(bool value);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void render();
    void showDiff(int row);

    std::unique_ptr<ReviewViewModel> m_viewModel;
    FlagBinding m_shouldGoToPrevious;
    BaseView *m_frame = nullptr;
    QLabel *m_summary = nullptr;
    QListWidget *m_files = nullptr;
    QPlainTextEdit *m_diff = nullptr;
    bool m_shouldGoToNext = false;
};

} // namespace plinth
