#pragma once

#include "app/base/FlagBinding.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;

namespace plinth {

class BaseView;
class ProjectDetailsInitialViewModel;

/// The identity screen: product name (with its check's message), organisation,
/// author and the bundle identifier they give, in the common frame with
/// Previous and Next.
class ProjectDetailsInitialView : public QWidget
{
    Q_OBJECT

public:
    /// `shouldGoToPrevious` is the flag that presented the screen; Previous
    /// toggles it.
    ProjectDetailsInitialView(std::unique_ptr<ProjectDetailsInitialViewModel> viewModel,
                              FlagBinding shouldGoToPrevious, QWidget *parent = nullptr);
    ~ProjectDetailsInitialView() override;

    ProjectDetailsInitialViewModel *viewModel() const { return m_viewModel.get(); }
    BaseView *frame() const { return m_frame; }

private:
    std::unique_ptr<ProjectDetailsInitialViewModel> m_viewModel;
    FlagBinding m_shouldGoToPrevious;
    BaseView *m_frame = nullptr;
    QLabel *m_productNameMessage = nullptr;
};

} // namespace plinth
