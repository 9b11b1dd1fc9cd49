#pragma once

#include "app/base/FlagBinding.h"

#include <QWidget>

#include <memory>

class QLabel;

namespace plinth {

class BaseView;
class DropDownMenu;
class ExpandableItemsView;
class PodSelectionViewModel;

/// The pod screen: the supplemental pods that can still be added, and the
/// pods the project will get; a row's plus or minus button moves its pod to
/// the other list. Next stores the second list in the project description.
/// The screen fetches the library page and fills its lists the first time it
/// is shown (each visit is a new screen with a new view model). Above the
/// lists, an existing project chooses how its libraries come: through
/// CocoaPods or as Swift packages.
class PodSelectionView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool shouldGoToNextView READ shouldGoToNextView WRITE setShouldGoToNextView NOTIFY
                   shouldGoToNextViewChanged)

public:
    PodSelectionView(std::unique_ptr<PodSelectionViewModel> viewModel, FlagBinding shouldGoToPreviousView,
                     QWidget *parent = nullptr);
    ~PodSelectionView() override;

    PodSelectionViewModel *viewModel() const { return m_viewModel.get(); }
    BaseView *frame() const { return m_frame; }

    bool shouldGoToNextView() const { return m_shouldGoToNextView; }
    void setShouldGoToNextView(bool value);

Q_SIGNALS:
    void shouldGoToNextViewChanged(bool value);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void renderSupplementalPods();
    void renderPresetAndSelectedPods();
    void renderPodfileProblem();
    void makeDependencyManagerRow(QWidget *content, QLayout *column);
    void balanceLists();

    std::unique_ptr<PodSelectionViewModel> m_viewModel;
    FlagBinding m_shouldGoToPreviousView;
    BaseView *m_frame = nullptr;
    ExpandableItemsView *m_supplementalList = nullptr;
    ExpandableItemsView *m_chosenList = nullptr;
    QLabel *m_podfileProblem = nullptr;
    DropDownMenu *m_dependencyManagerMenu = nullptr; ///< only for an existing project
    QWidget *m_dependencyManagerBlock = nullptr;      ///< the menu's row and its hint
    bool m_shouldGoToNextView = false;
    bool m_hasAppeared = false;
};

} // namespace plinth
