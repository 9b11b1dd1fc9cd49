#include "toolchain/PreProjectSetupView.h"

#include "app/base/Platform.h"
#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/FrameButton.h"
#include "toolchain/PreProjectSetupViewModel.h"
#include "toolchain/terminal/TerminalViewRepresentable.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <utility>

namespace plinth {

namespace {

constexpr int symbolSide = 15;

QLabel *makeText(const QString &text, qreal pointSize, bool bold, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

// The status symbol of a row: grey minus while checking, then a green tick
// or a red cross.
QPixmap rowSymbol(PreProjectSetupStates state, bool exists)
{
    if (state == PreProjectSetupStates::checkingDependencies)
        return Artwork::symbol(QStringLiteral("minus.circle.fill"), QColor(0x8E, 0x8E, 0x93), {symbolSide, symbolSide});
    if (exists)
        return Artwork::symbol(QStringLiteral("checkmark"), QColor(0x30, 0xB0, 0x50), {symbolSide, symbolSide});
    return Artwork::symbol(QStringLiteral("xmark"), QColor(0xE0, 0x35, 0x35), {symbolSide, symbolSide});
}

QString rowSymbolName(PreProjectSetupStates state, bool exists)
{
    if (state == PreProjectSetupStates::checkingDependencies)
        return QStringLiteral("minus.circle.fill");
    return exists ? QStringLiteral("checkmark") : QStringLiteral("xmark");
}

} // namespace

PreProjectSetupView::PreProjectSetupView(std::unique_ptr<PreProjectSetupViewModel> viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(std::move(viewModel))
{
    setObjectName(QStringLiteral("preProjectSetupView"));
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(20, 0, 20, 0);
    column->setSpacing(12);

    m_header = makeText(QString(), 15, true, content);
    m_header->setObjectName(QStringLiteral("header"));
    column->addWidget(m_header);
    m_progress = new QProgressBar(content);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(6);
    column->addWidget(m_progress);
    m_readyText = makeText(text(key::dependenciesExistAndReadyToProceed), 13, false, content);
    m_readyText->setObjectName(QStringLiteral("readyText"));
    column->addWidget(m_readyText);

    m_rows = new QWidget(content);
    auto *grid = new QGridLayout(m_rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(10);
    const QList<PreRequisiteSetUpModel> rows = m_viewModel->preRequisiteList();
    for (int i = 0; i < rows.size(); ++i) {
        auto *box = new OutlinedBox(m_rows);
        box->setObjectName(QStringLiteral("preRequisiteRow"));
        box->setProperty("toolName", displayName(rows.at(i).preRequisite));
        auto *line = new QHBoxLayout(box);
        line->setContentsMargins(12, 8, 12, 8);
        auto *symbol = new QLabel(box);
        symbol->setObjectName(QStringLiteral("symbol"));
        symbol->setFixedSize(symbolSide, symbolSide);
        line->addWidget(symbol);
        auto *name = new QLabel(displayName(rows.at(i).preRequisite), box);
        line->addWidget(name, 1);
        grid->addWidget(box, i / 2, i % 2);
    }
    column->addWidget(m_rows);

    m_notFoundPart = new QWidget(content);
    m_notFoundLayout = new QVBoxLayout(m_notFoundPart);
    m_notFoundLayout->setContentsMargins(0, 0, 0, 0);
    auto *notFoundText = makeText(text(key::dependenciesNotFound), 13, false, m_notFoundPart);
    notFoundText->setObjectName(QStringLiteral("notFoundText"));
    m_notFoundLayout->addWidget(notFoundText);
    column->addWidget(m_notFoundPart, 1);
    column->addStretch(0);

    m_frame = new BaseView(content, this);
    m_frame->setNextButton(text(key::next), [this] { setShouldGoToNext(true); });
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);

    connect(m_viewModel.get(), &PreProjectSetupViewModel::preProjectSetupStateChanged, this,
            &PreProjectSetupView::render);
    connect(m_viewModel.get(), &PreProjectSetupViewModel::preRequisiteListChanged, this, &PreProjectSetupView::render);
    render();
}

PreProjectSetupView::~PreProjectSetupView() = default;

void PreProjectSetupView::setShouldGoToNext(bool value)
{
    if (m_shouldGoToNext == value)
        return;
    m_shouldGoToNext = value;
    Q_EMIT shouldGoToNextChanged(value);
}

void PreProjectSetupView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_viewModel->startTimer();
}

void PreProjectSetupView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_viewModel->stopTimer();
}

void PreProjectSetupView::render()
{
    const PreProjectSetupStates state = m_viewModel->preProjectSetupState();
    const bool ready = state == PreProjectSetupStates::dependenciesExistAndReadyToProceed;
    const bool notFound = state == PreProjectSetupStates::dependenciesNotFound;

    m_header->setText(notFound ? text(key::installingDependencies) : text(key::checkForDependencies));
    m_header->setVisible(!ready);
    m_progress->setVisible(!ready);
    m_readyText->setVisible(ready);
    m_frame->setShouldDisableNextButton(m_viewModel->isNextDisabled());

    const QList<PreRequisiteSetUpModel> rows = m_viewModel->preRequisiteList();
    const QList<OutlinedBox *> boxes = m_rows->findChildren<OutlinedBox *>(QStringLiteral("preRequisiteRow"));
    for (const PreRequisiteSetUpModel &row : rows) {
        const auto box = std::find_if(boxes.begin(), boxes.end(), [&](OutlinedBox *frame) {
            return frame->property("toolName").toString() == displayName(row.preRequisite);
        });
        if (box == boxes.end())
            continue;
        auto *symbol = (*box)->findChild<QLabel *>(QStringLiteral("symbol"));
        symbol->setPixmap(rowSymbol(state, row.dependencyExists));
        symbol->setProperty("symbolName", rowSymbolName(state, row.dependencyExists));
    }
    showInstallElement(notFound);
    // Whatever the state brought (Next, the install element) is where the
    // keyboard starts, unless the user is on a control already.
    m_frame->focusFirstControlIfIdle();
}

// The install element belongs to the not-found part: it is made, and so the
// installation starts, each time that part appears.
void PreProjectSetupView::showInstallElement(bool shown)
{
    m_notFoundPart->setVisible(shown);
    if (!shown) {
        retireInstallElement();
        return;
    }
    if (m_installElement)
        return;
    if (hasEmbeddedTerminal()) {
        auto *terminal = new TerminalViewRepresentable(m_viewModel->installationCommand(), m_notFoundPart);
        m_installElement = terminal;
        m_notFoundLayout->insertWidget(0, terminal, 1);
        terminal->setFocus();
    } else {
        auto *element = new QLabel(QStringLiteral(" "), m_notFoundPart);
        element->setFont(Artwork::font(QStringLiteral("Heebo-Regular"), 14));
        m_installElement = element;
        m_notFoundLayout->insertWidget(0, element);
        m_viewModel->runPreProjectSetup();
    }
    m_installElement->setObjectName(QStringLiteral("installElement"));
}

// The tools turn up while the installation still has work to do (a gem still
// building, a `pod setup`), so the terminal is only taken off the screen: its
// shell and what runs in it go on, hidden, and end with the screen when
// Plinth quits, or earlier when the shell ends by itself. Plinth never hangs
// up on them.
void PreProjectSetupView::retireInstallElement()
{
    QWidget *element = std::exchange(m_installElement, nullptr);
    if (!element)
        return;
    auto *terminal = qobject_cast<TerminalViewRepresentable *>(element);
    TerminalView *view = terminal ? terminal->terminal() : nullptr;
    if (!view || !view->process().isRunning()) {
        delete element;
        return;
    }
    m_notFoundLayout->removeWidget(terminal);
    terminal->hide();
    terminal->setObjectName(QStringLiteral("finishingInstallation"));
    connect(view, &TerminalView::processTerminated, terminal, &QObject::deleteLater);
}

} // namespace plinth
