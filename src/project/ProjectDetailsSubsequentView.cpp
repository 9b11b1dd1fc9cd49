#include "project/ProjectDetailsSubsequentView.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/DropDownMenu.h"
#include "app/widgets/FocusRing.h"
#include "app/widgets/ToggleButton.h"
#include "project/AddVariantPopover.h"
#include "project/BuildSettingsRules.h"
#include "project/FormRows.h"
#include "project/ProjectDetailsSubsequentViewModel.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace plinth {

namespace {

const QColor blue(0x0A, 0x84, 0xFF);
constexpr int itemSpacing = 20;
constexpr int plusSide = 24;
// Room around the check boxes for the focus ring, which their rows would clip.
constexpr int ringRoom = FocusRing::gap + FocusRing::width;

// A menu in its row, as wide as its options need.
QHBoxLayout *leftAligned(QWidget *control)
{
    auto *cell = new QHBoxLayout;
    cell->setContentsMargins(0, 0, 0, 0);
    cell->addWidget(control);
    cell->addStretch(1);
    return cell;
}

// The blue plus-in-circle. The symbol is tinted as a whole, so its plus
// would vanish in the fill; it is drawn again in white on top.
QPixmap plusCircleFill()
{
    QPixmap pixmap = Artwork::symbol(QStringLiteral("plus.circle.fill"), blue, {plusSide, plusSide});
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = plusSide / 24.0;
    painter.setPen(QPen(Qt::white, 2 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12 * unit, 7.5 * unit), QPointF(12 * unit, 16.5 * unit));
    painter.drawLine(QPointF(7.5 * unit, 12 * unit), QPointF(16.5 * unit, 12 * unit));
    return pixmap;
}

QToolButton *makeSymbolButton(const QString &objectName, const QString &accessibleName, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

ProjectDetailsSubsequentView::ProjectDetailsSubsequentView(std::unique_ptr<ProjectDetailsSubsequentViewModel> viewModel,
                                                           FlagBinding shouldGoToPreviousScreen,
                                                           FolderChooser chooseFolder, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(std::move(viewModel))
    , m_shouldGoToPreviousScreen(std::move(shouldGoToPreviousScreen))
    , m_chooseFolder(std::move(chooseFolder))
{
    setObjectName(QStringLiteral("projectDetailsSubsequentView"));
    ProjectDetailsSubsequentViewModel *model = m_viewModel.get();

    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(formMargin, 0, formMargin, 0);
    auto *grid = makeFormGrid(column);

    m_interfaceMenu = new DropDownMenu(text(key::interface), uiKindOptions(), model->selectedUI(), content);
    m_interfaceMenu->setObjectName(QStringLiteral("interfaceMenu"));
    addFormRow(grid, 0, text(key::interface), m_interfaceMenu, leftAligned(m_interfaceMenu));
    m_deploymentTargetMenu = new DropDownMenu(text(key::deploymentTarget), deploymentTargetOptions(),
                                              model->minDeploymentTarget(), content);
    m_deploymentTargetMenu->setObjectName(QStringLiteral("deploymentTargetMenu"));
    addFormRow(grid, 1, text(key::deploymentTarget), m_deploymentTargetMenu, leftAligned(m_deploymentTargetMenu));
    m_librariesMenu = new DropDownMenu(text(key::librariesThrough), dependencyManagerOptions(),
                                       model->librariesThrough(), content);
    m_librariesMenu->setObjectName(QStringLiteral("librariesThroughMenu"));
    addFormRow(grid, 2, text(key::librariesThrough), m_librariesMenu, leftAligned(m_librariesMenu));

    QHBoxLayout *destination = makeDestinationRow(content);
    addFormRow(grid, 3, text(key::destinations), m_destinationField, destination);
    m_pathMessage = makeFormMessage(QStringLiteral("pathMessage"), content);
    grid->addWidget(m_pathMessage, 4, 1);

    QWidget *variants = makeVariantRow(content);
    addFormRow(grid, 5, text(key::configVariants), variants);

    auto *others = new QWidget(content);
    m_otherLayout = new QHBoxLayout(others);
    m_otherLayout->setContentsMargins(ringRoom, ringRoom, ringRoom, ringRoom);
    m_otherLayout->setSpacing(itemSpacing);
    m_otherLayout->addStretch(1);
    addFormRow(grid, 6, text(key::otherConfigurations), others);
    column->addStretch(1);

    m_popover = new AddVariantPopover(model, this);

    m_frame = new BaseView(content, this);
    m_frame->setNextButton(text(key::next), [model] { model->next(); });
    m_frame->setPreviousButton(text(key::previous), [this] { m_shouldGoToPreviousScreen.toggle(); });
    m_frame->setShouldDisableNextButton(model->isNextDisabled());
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);

    connect(m_interfaceMenu, &DropDownMenu::selectedOptionChanged, model,
            &ProjectDetailsSubsequentViewModel::setSelectedUI);
    connect(model, &ProjectDetailsSubsequentViewModel::selectedUIChanged, m_interfaceMenu,
            &DropDownMenu::setSelectedOption);
    connect(m_deploymentTargetMenu, &DropDownMenu::selectedOptionChanged, model,
            &ProjectDetailsSubsequentViewModel::setMinDeploymentTarget);
    connect(model, &ProjectDetailsSubsequentViewModel::minDeploymentTargetChanged, m_deploymentTargetMenu,
            &DropDownMenu::setSelectedOption);
    connect(m_librariesMenu, &DropDownMenu::selectedOptionChanged, model,
            &ProjectDetailsSubsequentViewModel::setLibrariesThrough);
    connect(model, &ProjectDetailsSubsequentViewModel::librariesThroughChanged, m_librariesMenu,
            &DropDownMenu::setSelectedOption);
    connect(m_destinationField, &QLineEdit::textEdited, model, &ProjectDetailsSubsequentViewModel::setProjectPath);
    connect(model, &ProjectDetailsSubsequentViewModel::projectPathChanged, this,
            [this](const QString &path) { showModelText(m_destinationField, path); });
    connect(model, &ProjectDetailsSubsequentViewModel::pathMessageChanged, this,
            [this](const QString &message) { showFormMessage(m_pathMessage, message); });
    connect(model, &ProjectDetailsSubsequentViewModel::isNextDisabledChanged, this,
            [this](bool disabled) { m_frame->setShouldDisableNextButton(disabled); });
    connect(model, &ProjectDetailsSubsequentViewModel::configVariantItemsChanged, this,
            &ProjectDetailsSubsequentView::syncConfigVariants);
    connect(model, &ProjectDetailsSubsequentViewModel::otherConfigurationChanged, this,
            &ProjectDetailsSubsequentView::syncOtherConfiguration);
    connect(model, &ProjectDetailsSubsequentViewModel::showAddConfigModalChanged, this,
            &ProjectDetailsSubsequentView::showPopover);
    connect(m_chooseButton, &QToolButton::clicked, this, &ProjectDetailsSubsequentView::chooseDestination);
    connect(m_addVariantButton, &QToolButton::clicked, model,
            [model] { model->setShowAddConfigModal(true); });

    m_destinationField->setText(model->projectPath());
    showFormMessage(m_pathMessage, model->pathMessage());
    syncConfigVariants();
    syncOtherConfiguration();
    paintSymbols();
    m_interfaceMenu->setFocus();
}

// The popover goes first: it works on the model, which the members' own
// destruction drops before the widget children go.
ProjectDetailsSubsequentView::~ProjectDetailsSubsequentView()
{
    delete m_popover;
}

QHBoxLayout *ProjectDetailsSubsequentView::makeDestinationRow(QWidget *parent)
{
    m_destinationField = makeFormField(QStringLiteral("destinationField"), parent);
    m_chooseButton = makeSymbolButton(QStringLiteral("chooseDestinationButton"), text(key::chooseDestinationFolder),
                                      parent);
    m_chooseButton->setIconSize({18, 18});
    auto *cell = new QHBoxLayout;
    cell->setContentsMargins(0, 0, 0, 0);
    cell->setSpacing(6);
    cell->addWidget(m_destinationField, 1);
    cell->addWidget(m_chooseButton);
    return cell;
}

QWidget *ProjectDetailsSubsequentView::makeVariantRow(QWidget *parent)
{
    m_variantScroll = new QScrollArea(parent);
    m_variantScroll->setObjectName(QStringLiteral("configVariantsRow"));
    m_variantScroll->setFrameShape(QFrame::NoFrame);
    m_variantScroll->setWidgetResizable(true);
    m_variantScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_variantScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_variantScroll->setFocusPolicy(Qt::NoFocus);
    m_variantScroll->viewport()->setAutoFillBackground(false);

    auto *strip = new QWidget;
    strip->setAutoFillBackground(false);
    m_variantLayout = new QHBoxLayout(strip);
    m_variantLayout->setContentsMargins(ringRoom, ringRoom, ringRoom, ringRoom);
    m_variantLayout->setSpacing(itemSpacing);
    m_addVariantButton = makeSymbolButton(QStringLiteral("addVariantButton"), text(key::addVariantTitle), strip);
    m_addVariantButton->setFixedSize(plusSide, plusSide);
    m_addVariantButton->setIconSize({plusSide, plusSide});
    m_variantLayout->addWidget(m_addVariantButton);
    m_variantLayout->addStretch(1);
    m_variantScroll->setWidget(strip);
    // Room for the scroll bar, so the row keeps its height when it appears.
    m_variantScroll->setFixedHeight(std::max(plusSide, ToggleButton(0, QStringLiteral("X"), false).sizeHint().height())
                                    + m_variantScroll->horizontalScrollBar()->sizeHint().height() + 4
                                    + 2 * ringRoom);
    return m_variantScroll;
}

void ProjectDetailsSubsequentView::chooseDestination()
{
    if (!m_chooseFolder)
        return;
    const QString chosen =
        m_chooseFolder(this, FolderPanelOptions{text(key::chooseDestinationFolder), text(key::create), true});
    if (!chosen.isEmpty())
        m_viewModel->chooseDestination(chosen);
}

// One check box per entry, in list order, before whatever follows them in
// the row. Boxes whose entry is unchanged stay (and keep the focus); from the
// first entry that differs on, the boxes are made anew.
void ProjectDetailsSubsequentView::syncToggles(QList<ToggleButton *> &buttons, const QList<CheckBoxItem> &items,
                                               QHBoxLayout *row, const QString &namePrefix,
                                               void (ProjectDetailsSubsequentViewModel::*toggle)(int))
{
    qsizetype kept = 0;
    while (kept < buttons.size() && kept < items.size() && buttons.at(kept)->label() == items.at(kept).label) {
        buttons.at(kept)->setChecked(items.at(kept).isChecked);
        ++kept;
    }
    if (kept == buttons.size() && kept == items.size())
        return;
    while (buttons.size() > kept) {
        ToggleButton *button = buttons.takeLast();
        row->removeWidget(button);
        button->setObjectName(QString());
        button->hide();
        button->deleteLater();
    }
    ProjectDetailsSubsequentViewModel *model = m_viewModel.get();
    for (qsizetype i = kept; i < items.size(); ++i) {
        const int index = static_cast<int>(i);
        auto *button = new ToggleButton(index, items.at(i).label, items.at(i).isChecked, row->parentWidget());
        button->setObjectName(namePrefix + items.at(i).label);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        connect(button, &ToggleButton::clicked, model, [model, toggle, index] { (model->*toggle)(index); });
        row->insertWidget(index, button);
        button->show(); // at once, so the row's size counts it straight away
        buttons.append(button);
    }
    updateTabOrder();
}

void ProjectDetailsSubsequentView::syncConfigVariants()
{
    const qsizetype before = m_variantButtons.size();
    syncToggles(m_variantButtons, m_viewModel->configVariantItems(), m_variantLayout, QStringLiteral("variant_"),
                &ProjectDetailsSubsequentViewModel::toggleConfigVariant);
    // A variant just added is scrolled into view, with the plus button after
    // it; the row is given its new width first.
    if (m_variantButtons.size() > before && before > 0) {
        QWidget *strip = m_variantScroll->widget();
        strip->layout()->activate();
        strip->resize(std::max(strip->minimumSizeHint().width(), m_variantScroll->viewport()->width()),
                      strip->height());
        m_variantScroll->ensureWidgetVisible(m_addVariantButton);
    }
}

void ProjectDetailsSubsequentView::syncOtherConfiguration()
{
    syncToggles(m_otherButtons, m_viewModel->otherConfiguration(), m_otherLayout,
                QStringLiteral("otherConfiguration_"), &ProjectDetailsSubsequentViewModel::toggleOtherConfiguration);
}

void ProjectDetailsSubsequentView::showPopover(bool shown)
{
    if (shown)
        m_popover->openUnder(m_addVariantButton);
    else
        m_popover->hide();
}

// Screen order: the three menus, the destination and its button, the variants
// and the plus button, the options, then the frame's buttons.
void ProjectDetailsSubsequentView::updateTabOrder()
{
    QList<QWidget *> chain{m_interfaceMenu, m_deploymentTargetMenu, m_librariesMenu, m_destinationField,
                           m_chooseButton};
    for (ToggleButton *button : std::as_const(m_variantButtons))
        chain.append(button);
    chain.append(m_addVariantButton);
    for (ToggleButton *button : std::as_const(m_otherButtons))
        chain.append(button);
    if (m_frame) {
        chain.append(m_frame->previousButton());
        chain.append(m_frame->nextButton());
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

void ProjectDetailsSubsequentView::paintSymbols()
{
    m_chooseButton->setIcon(Artwork::symbol(QStringLiteral("ellipsis"), palette().color(QPalette::ButtonText), {18, 18}));
    if (m_chooseButton->icon().isNull())
        m_chooseButton->setText(QStringLiteral("\u2026"));
    const QPixmap plus = plusCircleFill();
    m_addVariantButton->setIcon(plus);
    if (plus.isNull())
        m_addVariantButton->setText(QStringLiteral("+"));
}

void ProjectDetailsSubsequentView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_chooseButton)
        paintSymbols();
}

} // namespace plinth
