#pragma once

#include "app/base/FlagBinding.h"

#include <QWidget>

#include <memory>

class QLabel;
class QRadioButton;

namespace plinth {

class BaseView;
class ExpandableItemsView;
class ExistingProjectModuleSelectionViewModel;
class ToggleButton;

/// The module screen of the existing-project flow: the modules still offered
/// and those chosen, as two collapsible lists, and the question whether the
/// Arkana secrets integration is wanted, with the environments its secrets
/// are made for. While the project's UI kind is being found it shows a busy
/// indicator instead of the lists; when none is found it asks for it. Next stores
/// the chosen modules; Previous returns to the home screen.
class ExistingProjectModuleSelectionView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool shouldGoToNext READ shouldGoToNext WRITE setShouldGoToNext NOTIFY shouldGoToNextChanged)
    Q_PROPERTY(bool shouldIncludeArkana READ shouldIncludeArkana WRITE setShouldIncludeArkana NOTIFY
                   shouldIncludeArkanaChanged)

public:
    /// `shouldGoToPrevious` is the home screen's flag for this flow.
    ExistingProjectModuleSelectionView(std::unique_ptr<ExistingProjectModuleSelectionViewModel> viewModel,
                                       FlagBinding shouldGoToPrevious, QWidget *parent = nullptr);
    ~ExistingProjectModuleSelectionView() override;

    ExistingProjectModuleSelectionViewModel *viewModel() const { return m_viewModel.get(); }
    BaseView *frame() const { return m_frame; }

    bool shouldGoToNext() const { return m_shouldGoToNext; }
    void setShouldGoToNext(bool value);
    /// The Arkana control's mark. Setting it does not write the project
    /// description; only pressing the control does.
    bool shouldIncludeArkana() const { return m_shouldIncludeArkana; }
    void setShouldIncludeArkana(bool value);

Q_SIGNALS:
    void shouldGoToNextChanged(bool value);
    void shouldIncludeArkanaChanged(bool value);

private:
    void render();
    void goToNext();
    void toggleArkana();

    std::unique_ptr<ExistingProjectModuleSelectionViewModel> m_viewModel;
    FlagBinding m_shouldGoToPrevious;
    BaseView *m_frame = nullptr;
    QWidget *m_detecting = nullptr;
    ExpandableItemsView *m_supplementalList = nullptr;
    ExpandableItemsView *m_selectedList = nullptr;
    ToggleButton *m_arkanaToggle = nullptr;
    QWidget *m_uiKindQuestion = nullptr;
    QLabel *m_uiKindNotice = nullptr;
    QRadioButton *m_chooseUIKit = nullptr;
    QRadioButton *m_chooseSwiftUI = nullptr;
    QLabel *m_environments = nullptr;
    bool m_shouldGoToNext = false;
    bool m_shouldIncludeArkana = true;
};

} // namespace plinth
