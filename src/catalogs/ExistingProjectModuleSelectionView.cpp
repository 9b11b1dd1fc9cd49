#include "catalogs/ExistingProjectModuleSelectionView.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/FrameButton.h"
#include "app/widgets/ToggleButton.h"
#include "catalogs/ExistingProjectModuleSelectionViewModel.h"
#include "catalogs/ExpandableItemsView.h"

#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QVBoxLayout>

namespace plinth {

ExistingProjectModuleSelectionView::ExistingProjectModuleSelectionView(
    std::unique_ptr<ExistingProjectModuleSelectionViewModel> viewModel, FlagBinding shouldGoToPrevious,
    QWidget *parent)
    : QWidget(parent)
    , m_viewModel(std::move(viewModel))
    , m_shouldGoToPrevious(std::move(shouldGoToPrevious))
{
    setObjectName(QStringLiteral("existingProjectModuleSelectionView"));
    auto *content = new QWidget;
    auto *outerColumn = new QVBoxLayout(content);
    outerColumn->setContentsMargins(20, 0, 20, 0);
    auto *box = new OutlinedBox(content, 2);
    outerColumn->addWidget(box);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(20);

    // While the project is searched for its UI kind.
    m_detecting = new QWidget(box);
    m_detecting->setObjectName(QStringLiteral("detectingIndicator"));
    auto *detectingLine = new QHBoxLayout(m_detecting);
    detectingLine->setContentsMargins(0, 0, 0, 0);
    detectingLine->setSpacing(10);
    auto *progress = new QProgressBar(m_detecting);
    progress->setRange(0, 0);
    progress->setTextVisible(false);
    progress->setFixedSize(160, 6);
    progress->setAccessibleName(QStringLiteral("Loading..."));
    QPalette tint = progress->palette();
    tint.setColor(QPalette::Highlight, QColor(0x0A, 0x84, 0xFF));
    progress->setPalette(tint);
    detectingLine->addWidget(progress);
    detectingLine->addWidget(new QLabel(QStringLiteral("Loading..."), m_detecting));
    detectingLine->addStretch(1);
    column->addWidget(m_detecting);

    // When the UI kind is not found the user chooses it; an Objective-C
    // project learns first that the modules are Swift.
    m_uiKindQuestion = new QWidget(box);
    m_uiKindQuestion->setObjectName(QStringLiteral("uiKindQuestion"));
    auto *question = new QVBoxLayout(m_uiKindQuestion);
    question->setContentsMargins(0, 0, 0, 0);
    m_uiKindNotice = new QLabel(m_uiKindQuestion);
    m_uiKindNotice->setObjectName(QStringLiteral("uiKindNotice"));
    m_uiKindNotice->setWordWrap(true);
    m_uiKindNotice->setTextFormat(Qt::PlainText);
    question->addWidget(m_uiKindNotice);
    auto *choices = new QHBoxLayout;
    choices->setSpacing(20);
    m_chooseUIKit = new QRadioButton(text(key::uiKit), m_uiKindQuestion);
    m_chooseUIKit->setObjectName(QStringLiteral("chooseUIKit"));
    m_chooseSwiftUI = new QRadioButton(text(key::swiftUi), m_uiKindQuestion);
    m_chooseSwiftUI->setObjectName(QStringLiteral("chooseSwiftUI"));
    choices->addWidget(m_chooseUIKit);
    choices->addWidget(m_chooseSwiftUI);
    choices->addStretch(1);
    question->addLayout(choices);
    column->addWidget(m_uiKindQuestion);
    connect(m_chooseUIKit, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_viewModel->chooseUIKind(true);
    });
    connect(m_chooseSwiftUI, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_viewModel->chooseUIKind(false);
    });

    m_supplementalList = new ExpandableItemsView(text(key::supplementalModulesTitle), true, box);
    m_supplementalList->setObjectName(QStringLiteral("supplementalModulesList"));
    column->addWidget(m_supplementalList, 1);
    m_selectedList = new ExpandableItemsView(text(key::selectedModulesTitle), true, box);
    m_selectedList->setObjectName(QStringLiteral("selectedModulesList"));
    column->addWidget(m_selectedList, 1);

    // The toggle shows what the project description holds.
    m_shouldIncludeArkana = m_viewModel->doesIncludeArkana();
    m_arkanaToggle = new ToggleButton(0, text(key::askForArkanaIntegration), m_shouldIncludeArkana, box);
    m_arkanaToggle->setObjectName(QStringLiteral("arkanaToggle"));
    column->addWidget(m_arkanaToggle, 0, Qt::AlignLeft);
    m_environments = new QLabel(box);
    m_environments->setObjectName(QStringLiteral("arkanaEnvironments"));
    m_environments->setWordWrap(true);
    m_environments->setTextFormat(Qt::PlainText);
    m_environments->setIndent(28);
    column->addWidget(m_environments);
    column->addStretch(0);

    connect(m_supplementalList, &ExpandableItemsView::actionTriggered, m_viewModel.get(),
            &ExistingProjectModuleSelectionViewModel::selectSupplementalModule);
    connect(m_selectedList, &ExpandableItemsView::actionTriggered, m_viewModel.get(),
            &ExistingProjectModuleSelectionViewModel::deselectModule);
    connect(m_arkanaToggle, &QAbstractButton::clicked, this, &ExistingProjectModuleSelectionView::toggleArkana);

    m_frame = new BaseView(content, this);
    m_frame->setNextButton(text(key::next), [this] { goToNext(); });
    m_frame->setPreviousButton(text(key::previous), [this] { m_shouldGoToPrevious.toggle(); });
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);

    ExistingProjectModuleSelectionViewModel *model = m_viewModel.get();
    connect(model, &ExistingProjectModuleSelectionViewModel::supplementalModulesChanged, this,
            &ExistingProjectModuleSelectionView::render);
    connect(model, &ExistingProjectModuleSelectionViewModel::selectedModulesChanged, this,
            &ExistingProjectModuleSelectionView::render);
    connect(model, &ExistingProjectModuleSelectionViewModel::isDetectingChanged, this,
            &ExistingProjectModuleSelectionView::render);
    connect(model, &ExistingProjectModuleSelectionViewModel::projectFactsChanged, this,
            &ExistingProjectModuleSelectionView::render);
    render();
}

ExistingProjectModuleSelectionView::~ExistingProjectModuleSelectionView() = default;

void ExistingProjectModuleSelectionView::setShouldGoToNext(bool value)
{
    if (m_shouldGoToNext == value)
        return;
    m_shouldGoToNext = value;
    Q_EMIT shouldGoToNextChanged(value);
}

void ExistingProjectModuleSelectionView::setShouldIncludeArkana(bool value)
{
    if (m_shouldIncludeArkana == value)
        return;
    m_shouldIncludeArkana = value;
    m_arkanaToggle->setChecked(value);
    Q_EMIT shouldIncludeArkanaChanged(value);
}

void ExistingProjectModuleSelectionView::render()
{
    const bool detecting = m_viewModel->isDetecting();
    m_detecting->setVisible(detecting);
    // The first list goes when none of its modules is left to show (in a
    // SwiftUI project the UIKit-only module stays in the list unshown);
    // an empty list would otherwise read "Loading..." for good.
    const QList<ListItem> offered = m_viewModel->supplementalModulesForSelectedUI();
    m_supplementalList->setItems(offered);
    m_supplementalList->setVisible(!detecting && !offered.isEmpty());
    const QList<ListItem> selected = m_viewModel->selectedModules();
    m_selectedList->setItems(selected);
    m_selectedList->setVisible(!detecting && !selected.isEmpty());
    m_uiKindQuestion->setVisible(!detecting && m_viewModel->isUIKindUndetected());
    m_uiKindNotice->setText(text(m_viewModel->isObjectiveCProject() ? key::objectiveCProject : key::uiKindNotDetected));
    m_uiKindNotice->setAccessibleName(m_uiKindNotice->text());
    const QStringList environments = m_viewModel->environments();
    m_environments->setText(text(key::arkanaEnvironments, environments.join(QStringLiteral(", "))));
    m_environments->setAccessibleName(m_environments->text());
    m_environments->setVisible(!detecting && m_shouldIncludeArkana && !environments.isEmpty());
    // Going on before the catalog is there would store no modules unasked.
    m_frame->setShouldDisableNextButton(detecting);
}

void ExistingProjectModuleSelectionView::goToNext()
{
    setShouldGoToNext(true);
    m_viewModel->saveSelectedModules();
}

void ExistingProjectModuleSelectionView::toggleArkana()
{
    setShouldIncludeArkana(!m_shouldIncludeArkana);
    m_viewModel->setDoesIncludeArkana(m_shouldIncludeArkana);
    render();
}

} // namespace plinth
