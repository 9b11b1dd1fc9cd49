#pragma once

#include "app/base/FlagBinding.h"
#include "app/base/FolderChooser.h"

#include <QList>
#include <QWidget>

#include <memory>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace plinth {

class AddVariantPopover;
class BaseView;
class DropDownMenu;
class ProjectDetailsSubsequentViewModel;
class ToggleButton;
struct CheckBoxItem;

/// The build settings screen: UI kind and deployment target menus, the
/// destination folder (typed, or chosen with the folder panel), the
/// configuration variants with the popover that adds one, and the AWS S3 /
/// BLE options, in the common frame with Previous and Next.
class ProjectDetailsSubsequentView : public QWidget
{
    Q_OBJECT

public:
    /// `shouldGoToPreviousScreen` is the flag that presented the screen;
    /// Previous toggles it. `chooseFolder` shows the folder panel.
    ProjectDetailsSubsequentView(std::unique_ptr<ProjectDetailsSubsequentViewModel> viewModel,
                                 FlagBinding shouldGoToPreviousScreen, FolderChooser chooseFolder,
                                 QWidget *parent = nullptr);
    ~ProjectDetailsSubsequentView() override;

    ProjectDetailsSubsequentViewModel *viewModel() const { return m_viewModel.get(); }
    BaseView *frame() const { return m_frame; }
    AddVariantPopover *addVariantPopover() const { return m_popover; }

protected:
    void changeEvent(QEvent *event) override;

private:
    QHBoxLayout *makeDestinationRow(QWidget *parent);
    QWidget *makeVariantRow(QWidget *parent);
    void chooseDestination();
    void syncToggles(QList<ToggleButton *> &buttons, const QList<CheckBoxItem> &items, QHBoxLayout *row,
                     const QString &namePrefix, void (ProjectDetailsSubsequentViewModel::*toggle)(int));
    void syncConfigVariants();
    void syncOtherConfiguration();
    void showPopover(bool shown);
    void updateTabOrder();
    void paintSymbols();

    std::unique_ptr<ProjectDetailsSubsequentViewModel> m_viewModel;
    FlagBinding m_shouldGoToPreviousScreen;
    FolderChooser m_chooseFolder;
    BaseView *m_frame = nullptr;
    DropDownMenu *m_interfaceMenu = nullptr;
    DropDownMenu *m_librariesMenu = nullptr;
    DropDownMenu *m_deploymentTargetMenu = nullptr;
    QLineEdit *m_destinationField = nullptr;
    QToolButton *m_chooseButton = nullptr;
    QLabel *m_pathMessage = nullptr;
    QScrollArea *m_variantScroll = nullptr;
    QHBoxLayout *m_variantLayout = nullptr;
    QToolButton *m_addVariantButton = nullptr;
    QHBoxLayout *m_otherLayout = nullptr;
    QList<ToggleButton *> m_variantButtons;
    QList<ToggleButton *> m_otherButtons;
    AddVariantPopover *m_popover = nullptr;
};

} // namespace plinth
