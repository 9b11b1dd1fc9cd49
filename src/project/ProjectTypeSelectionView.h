#pragma once

#include "app/base/FlagBinding.h"
#include "app/base/FolderChooser.h"

#include <QWidget>

#include <memory>

namespace plinth {

class BaseView;
class CustomButtonView;
class ProjectTypeSelectionViewModel;

/// The home screen: the logo and the question, then two large buttons, one
/// for a new project and one for an existing project (which asks for the
/// project's folder). The frame shows no buttons of its own.
class ProjectTypeSelectionView : public QWidget
{
    Q_OBJECT

public:
    /// `shouldGoToPrevious` is the flag that presented the screen; the home
    /// screen has no back button and keeps it only for the screen flow.
    /// `chooseFolder` shows the folder panel.
    ProjectTypeSelectionView(std::unique_ptr<ProjectTypeSelectionViewModel> viewModel, FlagBinding shouldGoToPrevious,
                             FolderChooser chooseFolder, QWidget *parent = nullptr);
    ~ProjectTypeSelectionView() override;

    ProjectTypeSelectionViewModel *viewModel() const { return m_viewModel.get(); }
    BaseView *frame() const { return m_frame; }
    FlagBinding shouldGoToPrevious() const { return m_shouldGoToPrevious; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void chooseExistingProject();
    void applyColorScheme();

    std::unique_ptr<ProjectTypeSelectionViewModel> m_viewModel;
    FlagBinding m_shouldGoToPrevious;
    FolderChooser m_chooseFolder;
    BaseView *m_frame = nullptr;
    CustomButtonView *m_newProjectButton = nullptr;
    CustomButtonView *m_existingProjectButton = nullptr;
};

} // namespace plinth
