#include "app/ScreenFlow.h"

#include "app/widgets/ScreenStack.h"
#include "catalogs/ExistingProjectModuleSelectionView.h"
#include "catalogs/ExistingProjectModuleSelectionViewModel.h"
#include "catalogs/PodSelectionView.h"
#include "catalogs/PodSelectionViewModel.h"
#include "generation/ProjectSetupView.h"
#include "generation/ProjectSetupViewModel.h"
#include "generation/ReviewView.h"
#include "generation/ReviewViewModel.h"
#include "project/ProjectDetailsInitialView.h"
#include "project/ProjectDetailsInitialViewModel.h"
#include "project/ProjectDetailsSubsequentView.h"
#include "project/ProjectDetailsSubsequentViewModel.h"
#include "project/ProjectTypeSelectionView.h"
#include "project/ProjectTypeSelectionViewModel.h"
#include "toolchain/PreProjectSetupView.h"
#include "toolchain/PreProjectSetupViewModel.h"

#include <QPointer>

namespace plinth {

ScreenFlow::ScreenFlow(WizardContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context))
{
    Q_ASSERT(m_context.details && m_context.runner);
}

template <typename Owner>
void ScreenFlow::bind(Owner *owner, bool (Owner::*get)() const, void (Owner::*set)(bool),
                      void (Owner::*changed)(bool), QWidget *presenter,
                      std::function<QWidget *(const FlagBinding &)> makeScreen)
{
    const QPointer<Owner> guardedOwner(owner);
    const FlagBinding binding{[guardedOwner, get] { return guardedOwner && (guardedOwner->*get)(); },
                              [guardedOwner, set](bool value) {
                                  if (guardedOwner)
                                      (guardedOwner->*set)(value);
                              }};
    const QPointer<QWidget> guardedPresenter(presenter);
    // Queued: the push or pop happens once the action that changed the flag
    // has run to its end. The presenter is the receiver, so a presenter that
    // is gone by then takes the reaction with it.
    connect(
        owner, changed, presenter,
        [guardedPresenter, binding, makeScreen = std::move(makeScreen)] {
            ScreenStack *stack = ScreenStack::of(guardedPresenter);
            if (!stack || stack->indexOf(guardedPresenter) < 0)
                return;
            const bool presenting = stack->top() != guardedPresenter.data();
            if (binding.value() && !presenting)
                stack->push(makeScreen(binding));
            else if (!binding.value() && presenting)
                stack->popTo(guardedPresenter);
        },
        Qt::QueuedConnection);
}

QWidget *ScreenFlow::makeFirstScreen()
{
    auto *screen = new PreProjectSetupView(std::make_unique<PreProjectSetupViewModel>(m_context.runner, m_context.bundle));
    bind(screen, &PreProjectSetupView::shouldGoToNext, &PreProjectSetupView::setShouldGoToNext,
         &PreProjectSetupView::shouldGoToNextChanged, screen,
         [this](const FlagBinding &back) { return makeHome(back); });
    return screen;
}

QWidget *ScreenFlow::makeHome(const FlagBinding &shouldGoToPrevious)
{
    auto model = std::make_unique<ProjectTypeSelectionViewModel>(*m_context.details, m_context.alerts);
    ProjectTypeSelectionViewModel *owner = model.get();
    auto *screen = new ProjectTypeSelectionView(std::move(model), shouldGoToPrevious, m_context.chooseFolder);
    bind(owner, &ProjectTypeSelectionViewModel::shouldContinueNewProjectFlow,
         &ProjectTypeSelectionViewModel::setShouldContinueNewProjectFlow,
         &ProjectTypeSelectionViewModel::shouldContinueNewProjectFlowChanged, screen,
         [this](const FlagBinding &back) { return makeIdentity(back); });
    bind(owner, &ProjectTypeSelectionViewModel::shouldContinueExistingProjectFlow,
         &ProjectTypeSelectionViewModel::setShouldContinueExistingProjectFlow,
         &ProjectTypeSelectionViewModel::shouldContinueExistingProjectFlowChanged, screen,
         [this](const FlagBinding &back) { return makeModuleSelection(back); });
    return screen;
}

QWidget *ScreenFlow::makeIdentity(const FlagBinding &shouldGoToPrevious)
{
    auto model = std::make_unique<ProjectDetailsInitialViewModel>(*m_context.details, m_context.runner);
    ProjectDetailsInitialViewModel *owner = model.get();
    auto *screen = new ProjectDetailsInitialView(std::move(model), shouldGoToPrevious);
    bind(owner, &ProjectDetailsInitialViewModel::shouldGoToNext, &ProjectDetailsInitialViewModel::setShouldGoToNext,
         &ProjectDetailsInitialViewModel::shouldGoToNextChanged, screen,
         [this](const FlagBinding &back) { return makeBuildSettings(back); });
    return screen;
}

QWidget *ScreenFlow::makeBuildSettings(const FlagBinding &shouldGoToPreviousScreen)
{
    auto model = std::make_unique<ProjectDetailsSubsequentViewModel>(*m_context.details, m_context.alerts);
    ProjectDetailsSubsequentViewModel *owner = model.get();
    auto *screen = new ProjectDetailsSubsequentView(std::move(model), shouldGoToPreviousScreen, m_context.chooseFolder);
    bind(owner, &ProjectDetailsSubsequentViewModel::shouldGoToNext,
         &ProjectDetailsSubsequentViewModel::setShouldGoToNext,
         &ProjectDetailsSubsequentViewModel::shouldGoToNextChanged, screen,
         [this](const FlagBinding &back) { return makePodSelection(back); });
    return screen;
}

QWidget *ScreenFlow::makeModuleSelection(const FlagBinding &shouldGoToPrevious)
{
    auto *screen = new ExistingProjectModuleSelectionView(
        std::make_unique<ExistingProjectModuleSelectionViewModel>(*m_context.details), shouldGoToPrevious);
    bind(screen, &ExistingProjectModuleSelectionView::shouldGoToNext,
         &ExistingProjectModuleSelectionView::setShouldGoToNext,
         &ExistingProjectModuleSelectionView::shouldGoToNextChanged, screen,
         [this](const FlagBinding &back) { return makePodSelection(back); });
    return screen;
}

QWidget *ScreenFlow::makePodSelection(const FlagBinding &shouldGoToPreviousView)
{
    auto *screen = new PodSelectionView(
        std::make_unique<PodSelectionViewModel>(*m_context.details, m_context.supplementalPodsListURL,
                                                m_context.runner, m_context.bundle, m_context.alerts),
        shouldGoToPreviousView);
    // An existing project's changes are reviewed before the run.
    bind(screen, &PodSelectionView::shouldGoToNextView, &PodSelectionView::setShouldGoToNextView,
         &PodSelectionView::shouldGoToNextViewChanged, screen, [this](const FlagBinding &back) {
             return m_context.details->projectType == ProjectType::existing ? makeReview(back) : makeGeneration();
         });
    return screen;
}

QWidget *ScreenFlow::makeReview(const FlagBinding &shouldGoToPrevious)
{
    auto *screen = new ReviewView(
        std::make_unique<ReviewViewModel>(m_context.runner, m_context.bundle, *m_context.details), shouldGoToPrevious);
    bind(screen, &ReviewView::shouldGoToNext, &ReviewView::setShouldGoToNext, &ReviewView::shouldGoToNextChanged,
         screen, [this](const FlagBinding &) { return makeGeneration(); });
    return screen;
}

QWidget *ScreenFlow::makeGeneration()
{
    return new ProjectSetupView(std::make_unique<ProjectSetupViewModel>(
        m_context.runner, m_context.bundle, m_context.alerts, m_context.desktop, *m_context.details));
}

} // namespace plinth
