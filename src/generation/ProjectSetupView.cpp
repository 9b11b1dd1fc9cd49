#include "generation/ProjectSetupView.h"

#include "app/base/Platform.h"
#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/BaseView.h"
#include "generation/ProjectSetupViewModel.h"
#include "toolchain/terminal/TerminalViewRepresentable.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QProgressBar>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <utility>

namespace plinth {

namespace {

constexpr int logoSide = 100;
constexpr int symbolSide = 14;
constexpr int stepListHeightBesideTerminal = 200;
const QColor blue(0x0A, 0x84, 0xFF);
const QColor green(0x30, 0xB0, 0x50);
const QColor red(0xE0, 0x35, 0x35);
const QColor grey(0x8E, 0x8E, 0x93);

struct OutcomeLook
{
    QString symbol;
    QColor color;
    const char *name;
};

OutcomeLook lookOf(GenerationStep::Outcome outcome)
{
    switch (outcome) {
    case GenerationStep::Outcome::done: return {QStringLiteral("checkmark"), green, key::generationStepDone};
    case GenerationStep::Outcome::failed: return {QStringLiteral("xmark"), red, key::generationStepFailed};
    case GenerationStep::Outcome::skipped: return {QStringLiteral("minus"), grey, key::generationStepSkipped};
    }
    return {QStringLiteral("minus"), grey, key::generationStepSkipped};
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

/// The element that stands for the pod installation where there is no
/// embedded terminal: one blank, whose first showing starts the Terminal
/// installation.
class InstallationStarter : public QLabel
{
public:
    InstallationStarter(std::function<void()> start, QWidget *parent)
        : QLabel(QStringLiteral(" "), parent)
        , m_start(std::move(start))
    {
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QLabel::showEvent(event);
        if (auto start = std::exchange(m_start, nullptr))
            start();
    }

private:
    std::function<void()> m_start;
};

} // namespace

ProjectSetupView::ProjectSetupView(std::unique_ptr<ProjectSetupViewModel> viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(std::move(viewModel))
{
    setObjectName(QStringLiteral("projectSetupView"));
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(20, 0, 20, 0);
    column->setSpacing(20);

    // While the run works: a caption and an indeterminate bar.
    m_runningPart = new QWidget(content);
    auto *running = new QVBoxLayout(m_runningPart);
    running->setContentsMargins(0, 0, 0, 0);
    running->setSpacing(12);
    auto *caption = new QLabel(text(key::generationInProgress), m_runningPart);
    caption->setObjectName(QStringLiteral("generationCaption"));
    running->addWidget(caption);
    m_progress = new QProgressBar(m_runningPart);
    m_progress->setObjectName(QStringLiteral("generationProgress"));
    m_progress->setAccessibleName(text(key::generationInProgress));
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(6);
    QPalette tint = m_progress->palette();
    tint.setColor(QPalette::Highlight, blue);
    m_progress->setPalette(tint);
    running->addWidget(m_progress);
    running->addStretch(1);
    column->addWidget(m_runningPart, 1);

    // Once it has ended: the logo beside the steps, then the installation
    // (or, after a failure, the notice) below.
    m_donePart = new QWidget(content);
    m_donePart->hide();
    m_doneLayout = new QVBoxLayout(m_donePart);
    m_doneLayout->setContentsMargins(0, 0, 0, 0);
    m_doneLayout->setSpacing(20);
    auto *top = new QHBoxLayout;
    top->setSpacing(20);
    auto *logo = new QLabel(m_donePart);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setAccessibleName(QStringLiteral("Plinth"));
    logo->setFixedSize(logoSide, logoSide);
    logo->setPixmap(Artwork::logo({logoSide, logoSide}));
    top->addWidget(logo, 0, Qt::AlignTop);

    m_steps = new QScrollArea(m_donePart);
    m_steps->setObjectName(QStringLiteral("generationSteps"));
    m_steps->setFrameShape(QFrame::NoFrame);
    m_steps->setWidgetResizable(true);
    m_steps->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_steps->setFocusPolicy(Qt::NoFocus); // rows of text, read as such
    m_steps->setMinimumHeight(logoSide);
    m_steps->viewport()->setAutoFillBackground(false);
    auto *list = new QWidget(m_steps);
    list->setAutoFillBackground(false);
    m_stepRows = new QVBoxLayout(list);
    m_stepRows->setContentsMargins(0, 0, 0, 0);
    m_stepRows->setSpacing(6);
    m_stepRows->addStretch(1);
    m_steps->setWidget(list);
    top->addWidget(m_steps, 1);
    m_doneLayout->addLayout(top, 1);

    m_failedNotice = new QLabel(m_donePart);
    m_failedNotice->setObjectName(QStringLiteral("generationFailedNotice"));
    m_failedNotice->setTextFormat(Qt::PlainText);
    m_failedNotice->setWordWrap(true);
    m_failedNotice->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont noticeFont = m_failedNotice->font();
    noticeFont.setBold(true);
    m_failedNotice->setFont(noticeFont);
    setTextColor(m_failedNotice, red);
    m_failedNotice->hide();
    m_doneLayout->addWidget(m_failedNotice);
    column->addWidget(m_donePart, 1);

    m_frame = new BaseView(content, this);
    m_frame->setNextButton(text(key::finish), [this] { m_viewModel->finish(); });
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);

    connect(m_viewModel.get(), &ProjectSetupViewModel::isProjectCreationDoneChanged, this, &ProjectSetupView::render);
    connect(m_viewModel.get(), &ProjectSetupViewModel::shouldGoToNextChanged, this, &ProjectSetupView::render);
    render();
}

ProjectSetupView::~ProjectSetupView() = default;

void ProjectSetupView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_viewModel->generate(); // one run per screen: later calls do nothing
    m_viewModel->startPodPolling();
}

void ProjectSetupView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_viewModel->stopPodPolling();
}

void ProjectSetupView::render()
{
    const bool done = m_viewModel->isProjectCreationDone();
    m_runningPart->setVisible(!done);
    m_donePart->setVisible(done);
    if (done && !m_outcomeShown)
        showOutcome();
    // After a failed step the pods never come: Finish lets the user leave
    // (it reports the missing workspace and quits).
    const bool failed = done && m_viewModel->hasFailedSteps();
    m_frame->setShouldDisableNextButton(!m_viewModel->shouldGoToNext() && !failed);
    // Once the project can be opened, Finish takes the focus (from the
    // terminal too, whose shell has done its work): Return finishes.
    if (m_viewModel->shouldGoToNext() && !m_finishFocused && isVisible()) {
        m_finishFocused = true;
        m_frame->nextButton()->setFocus(Qt::OtherFocusReason);
    }
}

void ProjectSetupView::showOutcome()
{
    m_outcomeShown = true;
    QWidget *list = m_steps->widget();
    const int count = m_viewModel->steps().size();
    for (int i = 0; i < count; ++i) {
        QWidget *row = makeStepRow(i, list);
        m_stepRows->insertWidget(i, row);
        row->show(); // now, not on the next turn of the loop: the list's height is taken from its rows
    }

    if (const auto failed = m_viewModel->firstFailedStep()) {
        m_failedNotice->setText(text(key::generationFailedNotice, failed->title()));
        m_failedNotice->show();
        return;
    }
    showInstallElement();
}

QWidget *ProjectSetupView::makeStepRow(int index, QWidget *parent) const
{
    const GenerationStep step = m_viewModel->steps().at(index);
    const OutcomeLook look = lookOf(step.outcome);

    auto *row = new QWidget(parent);
    row->setObjectName(QStringLiteral("generationStep"));
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(10);
    auto *symbol = new QLabel(row);
    symbol->setObjectName(QStringLiteral("stepSymbol"));
    symbol->setFixedSize(symbolSide, symbolSide + 4);
    symbol->setAlignment(Qt::AlignCenter);
    symbol->setPixmap(Artwork::symbol(look.symbol, look.color, {symbolSide, symbolSide}));
    symbol->setProperty("symbolName", look.symbol);
    symbol->setAccessibleName(text(look.name));
    symbol->setToolTip(text(look.name));
    line->addWidget(symbol, 0, Qt::AlignTop);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto *title = new QLabel(step.title(), row);
    title->setObjectName(QStringLiteral("stepTitle"));
    title->setTextFormat(Qt::PlainText);
    title->setWordWrap(true);
    // The symbol alone says how the step went; read with the title, it is
    // text ("Write project.yml: Done").
    title->setAccessibleName(step.title() + QStringLiteral(": ") + text(look.name));
    texts->addWidget(title);
    if (step.outcome == GenerationStep::Outcome::failed && !step.detail.isEmpty()) {
        // The reason, as the console has it: readable, and selectable to copy.
        auto *detail = new QLabel(step.detail, row);
        detail->setObjectName(QStringLiteral("stepDetail"));
        detail->setTextFormat(Qt::PlainText);
        detail->setWordWrap(true);
        detail->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        detail->setAccessibleName(step.title() + QStringLiteral(": ") + text(look.name));
        QFont small = detail->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        detail->setFont(small);
        texts->addWidget(detail);
    } else if (!step.detail.isEmpty()) {
        title->setToolTip(step.detail);
    }
    line->addLayout(texts, 1);
    return row;
}

// The installation starts once, when the done state first shows it.
void ProjectSetupView::showInstallElement()
{
    if (hasEmbeddedTerminal()) {
        auto *terminal = new TerminalViewRepresentable(m_viewModel->podInstallCommand(), m_donePart);
        terminal->setObjectName(QStringLiteral("podInstallTerminal"));
        terminal->setMinimumHeight(160);
        m_installElement = terminal;
        // The steps take what they need (all of a new project's steps), up to
        // a few rows more; the terminal takes the rest.
        m_doneLayout->setStretch(0, 0);
        m_steps->widget()->layout()->activate();
        m_steps->setFixedHeight(std::clamp(m_steps->widget()->sizeHint().height(), logoSide,
                                           stepListHeightBesideTerminal));
        m_doneLayout->addWidget(terminal, 1);
        terminal->setFocus();
    } else {
        ProjectSetupViewModel *viewModel = m_viewModel.get();
        auto *starter = new InstallationStarter([viewModel] { viewModel->installPods(); }, m_donePart);
        starter->setObjectName(QStringLiteral("podInstallStarter"));
        m_installElement = starter;
        m_doneLayout->addWidget(starter);
    }
}

} // namespace plinth
