#include "catalogs/PodSelectionView.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/DropDownMenu.h"
#include "catalogs/ExpandableItemsView.h"
#include "catalogs/PodSelectionViewModel.h"
#include "project/BuildSettingsRules.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

namespace plinth {

namespace {

constexpr int listSpacing = 20;

} // namespace

PodSelectionView::PodSelectionView(std::unique_ptr<PodSelectionViewModel> viewModel,
                                   FlagBinding shouldGoToPreviousView, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(std::move(viewModel))
    , m_shouldGoToPreviousView(std::move(shouldGoToPreviousView))
{
    setObjectName(QStringLiteral("podSelectionView"));
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("podLists"));
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(20, 0, 20, 0);
    column->setSpacing(listSpacing);
    // Made first, so that Tab reaches the menu before the lists.
    if (m_viewModel->choosesDependencyManager())
        makeDependencyManagerRow(content, column);

    // An existing project's Podfile that cannot be read says so above the
    // lists: its pods are missing from them, and the run will not touch it.
    m_podfileProblem = new QLabel(content);
    m_podfileProblem->setObjectName(QStringLiteral("podfileProblem"));
    m_podfileProblem->setWordWrap(true);
    m_podfileProblem->setTextFormat(Qt::PlainText);
    m_podfileProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_podfileProblem);

    m_supplementalList = new ExpandableItemsView(text(key::supplementalPodsTitle), true, content);
    m_supplementalList->setObjectName(QStringLiteral("supplementalPodsList"));
    column->addWidget(m_supplementalList);
    m_chosenList = new ExpandableItemsView(text(key::presetAndSelectedPodsTitle), true, content);
    m_chosenList->setObjectName(QStringLiteral("presetAndSelectedPodsList"));
    column->addWidget(m_chosenList);
    column->addStretch(1);

    m_frame = new BaseView(content, this);
    m_frame->setNextButton(text(key::next), [this] {
        m_viewModel->proceed([self = QPointer<PodSelectionView>(this)] {
            if (self)
                self->setShouldGoToNextView(true);
        });
    });
    m_frame->setPreviousButton(text(key::previous), [this] { m_shouldGoToPreviousView.toggle(); });
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);

    connect(m_supplementalList, &ExpandableItemsView::actionTriggered, m_viewModel.get(),
            &PodSelectionViewModel::selectSupplementalPod);
    connect(m_chosenList, &ExpandableItemsView::actionTriggered, m_viewModel.get(),
            &PodSelectionViewModel::deselectPod);
    connect(m_viewModel.get(), &PodSelectionViewModel::supplementalPodsChanged, this,
            &PodSelectionView::renderSupplementalPods);
    connect(m_viewModel.get(), &PodSelectionViewModel::supplementalPodsUnavailableChanged, this,
            &PodSelectionView::renderSupplementalPods);
    connect(m_viewModel.get(), &PodSelectionViewModel::hasLoadedSupplementalPodsChanged, this,
            &PodSelectionView::renderSupplementalPods);
    connect(m_viewModel.get(), &PodSelectionViewModel::presetAndSelectedPodsChanged, this,
            &PodSelectionView::renderPresetAndSelectedPods);
    connect(m_viewModel.get(), &PodSelectionViewModel::podfileProblemChanged, this,
            &PodSelectionView::renderPodfileProblem);
    connect(m_supplementalList, &ExpandableItemsView::expandedChanged, this, &PodSelectionView::balanceLists);
    renderPodfileProblem();
    renderSupplementalPods();
    renderPresetAndSelectedPods();
}

PodSelectionView::~PodSelectionView() = default;

// "Libraries through [menu]", and under it what Swift Package Manager means
// here, in the palette's secondary text colour.
void PodSelectionView::makeDependencyManagerRow(QWidget *content, QLayout *column)
{
    auto *block = new QWidget(content);
    auto *lines = new QVBoxLayout(block);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(4);
    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    auto *label = new QLabel(text(key::librariesThrough), block);
    label->setFont(Artwork::font(QStringLiteral("Heebo-Regular"), 15));
    m_dependencyManagerMenu = new DropDownMenu(text(key::librariesThrough), dependencyManagerOptions(),
                                               dependencyManagerText(m_viewModel->dependencyManager()), block);
    m_dependencyManagerMenu->setObjectName(QStringLiteral("dependencyManagerMenu"));
    label->setBuddy(m_dependencyManagerMenu);
    row->addWidget(label);
    row->addWidget(m_dependencyManagerMenu);
    row->addStretch(1);
    lines->addLayout(row);
    auto *hint = new QLabel(text(key::dependencyManagerHint), block);
    hint->setObjectName(QStringLiteral("dependencyManagerHint"));
    hint->setWordWrap(true);
    hint->setForegroundRole(QPalette::PlaceholderText);
    QFont font = hint->font();
    font.setPointSizeF(12);
    hint->setFont(font);
    lines->addWidget(hint);
    column->addWidget(block);
    m_dependencyManagerBlock = block;

    PodSelectionViewModel *model = m_viewModel.get();
    connect(m_dependencyManagerMenu, &DropDownMenu::selectedOptionChanged, model,
            [model](const QString &option) { model->setDependencyManager(dependencyManagerOf(option)); });
    connect(model, &PodSelectionViewModel::dependencyManagerChanged, m_dependencyManagerMenu,
            [menu = m_dependencyManagerMenu](DependencyManager manager) {
                menu->setSelectedOption(dependencyManagerText(manager));
            });
}

void PodSelectionView::setShouldGoToNextView(bool value)
{
    if (m_shouldGoToNextView == value)
        return;
    m_shouldGoToNextView = value;
    Q_EMIT shouldGoToNextViewChanged(value);
}

void PodSelectionView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    balanceLists();
}

void PodSelectionView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_hasAppeared)
        return;
    m_hasAppeared = true;
    m_viewModel->appear();
}

// While the page is on its way the empty first list shows "Loading...";
// afterwards it says why it is empty.
void PodSelectionView::renderSupplementalPods()
{
    QString emptyText;
    if (m_viewModel->supplementalPodsUnavailable())
        emptyText = text(key::supplementalPodsUnavailable);
    else if (m_viewModel->hasLoadedSupplementalPods())
        emptyText = text(key::noFurtherSupplementalPods);
    m_supplementalList->setEmptyText(emptyText);
    m_supplementalList->setItems(m_viewModel->supplementalPodsForSelectedUI());
    balanceLists();
}

void PodSelectionView::renderPresetAndSelectedPods()
{
    const QList<ListItem> pods = m_viewModel->presetAndSelectedPods();
    m_chosenList->setItems(pods);
    // The last pod given back hides the list; the keyboard focus goes with
    // that pod to the top of the first list.
    const bool hadFocus = m_chosenList->isAncestorOf(window()->focusWidget());
    m_chosenList->setVisible(!pods.isEmpty());
    balanceLists();
    if (pods.isEmpty() && hadFocus) {
        const auto buttons = m_supplementalList->findChildren<QAbstractButton *>(QStringLiteral("itemButton"));
        if (!buttons.isEmpty())
            buttons.first()->setFocus(Qt::OtherFocusReason);
    }
}

void PodSelectionView::renderPodfileProblem()
{
    const QString problem = m_viewModel->podfileProblem();
    m_podfileProblem->setText(problem.isEmpty() ? QString() : text(key::podfileUnreadable, problem));
    m_podfileProblem->setAccessibleName(m_podfileProblem->text());
    m_podfileProblem->setVisible(!problem.isEmpty());
    balanceLists();
}

// When both lists do not fit, a layout shrinks them alike; the offer (a few
// rows) would then scroll as much as the long list of the project's pods.
// It keeps its own height instead, as far as the second list keeps room for
// a few rows of its own.
void PodSelectionView::balanceLists()
{
    // What stands above the lists takes its share of the room first.
    int room = m_frame->mainContent()->height();
    const int width = m_frame->mainContent()->width() - 40; // the column's side margins
    for (QWidget *above : {m_dependencyManagerBlock, static_cast<QWidget *>(m_podfileProblem)}) {
        if (above && above->isVisibleTo(this))
            room -= (above->hasHeightForWidth() ? above->heightForWidth(width) : above->sizeHint().height())
                    + listSpacing;
    }
    const int chosen =
        m_chosenList->isVisibleTo(this) ? m_chosenList->minimumSizeHint().height() + listSpacing : 0;
    m_supplementalList->setMinimumHeight(
        std::max(0, std::min(m_supplementalList->sizeHint().height(), room - chosen)));
}

} // namespace plinth
