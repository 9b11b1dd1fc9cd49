#include "generation/ReviewView.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "generation/ReviewViewModel.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QVBoxLayout>

namespace plinth {

namespace {

/// Colours the lines of a unified diff: additions green, removals red, hunk
/// headers dimmed; the "+" and "-" marks stay, so colour is never the only
/// sign. The colours are chosen for the palette's own background.
class DiffHighlighter : public QSyntaxHighlighter
{
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString &line) override
    {
        const bool dark = qGray(document()->property("background").value<QColor>().rgb()) < 128;
        QTextCharFormat format;
        if (line.startsWith(QLatin1String("+++")) || line.startsWith(QLatin1String("---")))
            format.setFontWeight(QFont::Bold);
        else if (line.startsWith(QLatin1Char('+')))
            format.setForeground(dark ? QColor(0x7e, 0xe7, 0x87) : QColor(0x11, 0x6b, 0x2b));
        else if (line.startsWith(QLatin1Char('-')))
            format.setForeground(dark ? QColor(0xff, 0x9b, 0x95) : QColor(0xb3, 0x1d, 0x28));
        else if (line.startsWith(QLatin1String("@@")))
            format.setForeground(dark ? QColor(0x9c, 0xc3, 0xff) : QColor(0x1f, 0x4f, 0x99));
        else
            return;
        setFormat(0, int(line.size()), format);
    }
};

} // namespace

ReviewView::ReviewView(std::unique_ptr<ReviewViewModel> viewModel, FlagBinding shouldGoToPrevious, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(std::move(viewModel))
    , m_shouldGoToPrevious(std::move(shouldGoToPrevious))
{
    setObjectName(QStringLiteral("reviewView"));
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(20, 0, 20, 0);
    column->setSpacing(10);
    m_summary = new QLabel(content);
    m_summary->setObjectName(QStringLiteral("reviewSummary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    column->addWidget(m_summary);

    auto *panes = new QHBoxLayout;
    panes->setSpacing(10);
    m_files = new QListWidget(content);
    m_files->setObjectName(QStringLiteral("reviewFiles"));
    m_files->setAccessibleName(text(key::reviewFiles));
    m_files->setMinimumWidth(300);
    m_files->setMaximumWidth(360);
    panes->addWidget(m_files);
    m_diff = new QPlainTextEdit(content);
    m_diff->setObjectName(QStringLiteral("reviewDiff"));
    m_diff->setAccessibleName(text(key::reviewChanges));
    m_diff->viewport()->setAccessibleName(text(key::reviewChanges)); // where the focus lands
    m_diff->setReadOnly(true);
    m_diff->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_diff->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_diff->document()->setProperty("background", m_diff->palette().color(QPalette::Base));
    new DiffHighlighter(m_diff->document());
    panes->addWidget(m_diff, 1);
    column->addLayout(panes, 1);
    setFocusProxy(m_files);

    m_frame = new BaseView(content, this);
    m_frame->setNextButton(text(key::apply), [this] { setShouldGoToNext(true); });
    m_frame->setPreviousButton(text(key::previous), [this] { m_shouldGoToPrevious.toggle(); });
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);

    connect(m_files, &QListWidget::currentRowChanged, this, &ReviewView::showDiff);
    connect(m_viewModel.get(), &ReviewViewModel::previewChanged, this, &ReviewView::render);
    render();
}

ReviewView::~ReviewView() = default;

void ReviewView::setShouldGoToNext(bool value)
{
    if (m_shouldGoToNext == value)
        return;
    m_shouldGoToNext = value;
    Q_EMIT shouldGoToNextChanged(value);
}

void ReviewView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_viewModel->start();
}

void ReviewView::render()
{
    m_summary->setText(m_viewModel->summary());
    m_frame->setShouldDisableNextButton(m_viewModel->isLoading());
    m_files->clear();
    for (const PreviewedFile &file : m_viewModel->files()) {
        const QString name = file.added ? text(key::reviewAdded, file.path) : file.path;
        // U+2212 MINUS SIGN: a screen reader says "plus 3, minus 1" where a
        // hyphen would be read as a dash.
        const QString counts = QStringLiteral("+%1 \u2212%2").arg(file.addedLines).arg(file.removedLines);
        auto *item = new QListWidgetItem(name + QStringLiteral("   ") + counts, m_files);
        item->setData(Qt::AccessibleTextRole, name + QStringLiteral(", ") + counts);
    }
    if (m_files->count() > 0)
        m_files->setCurrentRow(0);
    else
        m_diff->clear();
}

void ReviewView::showDiff(int row)
{
    const QList<PreviewedFile> &files = m_viewModel->files();
    if (row < 0 || row >= files.size()) {
        m_diff->clear();
        return;
    }
    m_diff->setPlainText(files.at(row).diff);
    m_diff->setAccessibleDescription(files.at(row).path);
}

} // namespace plinth
