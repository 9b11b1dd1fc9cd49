#pragma once

#include "app/WizardContext.h"
#include "app/base/FlagBinding.h"

#include <QObject>

#include <functional>

class QWidget;

namespace plinth {

class PodSelectionView;
class PreProjectSetupView;
class ProjectTypeSelectionViewModel;

/// The order of the wizard's screens and the flags that move between them.
///
/// Every forward move pushes a fresh screen with fresh view models onto the
/// stack that holds the screen presenting it; the presented screen gets the
/// presenting flag as its back binding and stays while that flag is true.
/// Clearing the flag pops it (with anything above it). A frame's Cancel
/// pushes a fresh first screen on top (the screen stack does that for every
/// frame it is given). Only the project description is shared between
/// screens; nothing here resets it.
///
///   prerequisites -> home -> identity -> build settings -> pods -> generation
///                         -> modules  ------------------->  pods -> review -> generation
///
/// Pushes and pops run from the event loop, after the action that changed
/// the flag has finished (a screen's Next may set its flag first and write
/// the project description afterwards, as the pod screen does).
class ScreenFlow : public QObject
{
    Q_OBJECT

public:
    explicit ScreenFlow(WizardContext context, QObject *parent = nullptr);

    /// A fresh prerequisite screen wired to the flow: the first screen of the
    /// application, and the one a frame's Cancel brings back.
    QWidget *makeFirstScreen();

    const WizardContext &context() const { return m_context; }

private:
    /// When `owner`'s flag (read by `get`, written by `set`, announced by
    /// `changed`) turns true, pushes `makeScreen(binding)` above `presenter`;
    /// when it turns false, pops back to `presenter`. The binding reads and
    /// writes the owner's flag.
    template <typename Owner>
    void bind(Owner *owner, bool (Owner::*get)() const, void (Owner::*set)(bool), void (Owner::*changed)(bool),
              QWidget *presenter, std::function<QWidget *(const FlagBinding &)> makeScreen);

    QWidget *makeHome(const FlagBinding &shouldGoToPrevious);
    QWidget *makeIdentity(const FlagBinding &shouldGoToPrevious);
    QWidget *makeBuildSettings(const FlagBinding &shouldGoToPreviousScreen);
    QWidget *makeModuleSelection(const FlagBinding &shouldGoToPrevious);
    QWidget *makePodSelection(const FlagBinding &shouldGoToPreviousView);
    QWidget *makeReview(const FlagBinding &shouldGoToPrevious);
    QWidget *makeGeneration();

    WizardContext m_context;
};

} // namespace plinth
