#include "catalogs/ExpandableItemsView.h"

#include "app/widgets/FrameButton.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include <algorithm>

namespace plinth {

namespace {

constexpr int symbolSide = 14;
constexpr int chevronSide = 14;
const QColor secondaryGrey(0x8E, 0x8E, 0x93);

/// A borderless button for the header and the rows: Tab reaches it and
/// Space presses it; Return stays the frame's, for Next.
class ItemButton : public QToolButton
{
public:
    explicit ItemButton(QWidget *parent)
        : QToolButton(parent)
    {
        setAutoRaise(true);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        setIconSize({symbolSide, symbolSide});
    }
};

/// The circular indeterminate progress indicator: an arc that turns while
/// the indicator is on screen.
class BusyIndicator : public QWidget
{
public:
    explicit BusyIndicator(QWidget *parent)
        : QWidget(parent)
    {
        setFixedSize(20, 20);
        m_timer.setInterval(80);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            m_angle = (m_angle + 30) % 360;
            update();
        });
    }

protected:
    void showEvent(QShowEvent *) override { m_timer.start(); }
    void hideEvent(QHideEvent *) override { m_timer.stop(); }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF circle = QRectF(rect()).adjusted(2, 2, -2, -2);
        QColor track = secondaryGrey;
        track.setAlphaF(0.3f);
        painter.setPen(QPen(track, 2.5));
        painter.drawEllipse(circle);
        painter.setPen(QPen(secondaryGrey, 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(circle, -m_angle * 16, 100 * 16);
    }

private:
    QTimer m_timer;
    int m_angle = 0;
};

/// The scroll area of the rows: as tall as its rows when they fit, and down
/// to a few rows' height when the screen has less room.
class RowsArea : public QScrollArea
{
public:
    explicit RowsArea(QWidget *parent)
        : QScrollArea(parent)
    {
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        setFocusPolicy(Qt::NoFocus); // Tab goes to the rows' buttons, which scroll into view
        viewport()->setAutoFillBackground(false);
    }

    QSize sizeHint() const override
    {
        const QWidget *rows = widget();
        if (!rows)
            return QScrollArea::sizeHint();
        const int width = viewport()->width() > 0 ? viewport()->width() : rows->sizeHint().width();
        const int height = rows->hasHeightForWidth() ? rows->heightForWidth(width) : rows->sizeHint().height();
        return {rows->sizeHint().width(), height + 2 * frameWidth()};
    }

    QSize minimumSizeHint() const override
    {
        return {0, std::min(sizeHint().height(), 130)};
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        const int before = viewport()->width();
        QScrollArea::resizeEvent(event);
        if (viewport()->width() != before)
            updateGeometry(); // word-wrapped descriptions change height with the width
    }
};

QFont rowFont(const char *name, qreal size)
{
    return Artwork::font(QString::fromLatin1(name), size);
}

} // namespace

/// One row: the title over the description, and the plus or minus button.
class ExpandableItemsView::Row : public QWidget
{
public:
    explicit Row(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("itemRow"));
        auto *line = new QHBoxLayout(this);
        line->setContentsMargins(10, 6, 6, 6);
        line->setSpacing(8);
        auto *texts = new QVBoxLayout;
        texts->setContentsMargins(0, 0, 0, 0);
        texts->setSpacing(1);
        title = new QLabel(this);
        title->setObjectName(QStringLiteral("itemTitle"));
        title->setTextFormat(Qt::PlainText);
        title->setFont(rowFont("Heebo-Regular", 14));
        title->setWordWrap(true);
        description = new QLabel(this);
        description->setObjectName(QStringLiteral("itemDescription"));
        description->setTextFormat(Qt::PlainText);
        description->setFont(rowFont("Heebo-Thin", 12));
        description->setWordWrap(true);
        texts->addWidget(title);
        texts->addWidget(description);
        line->addLayout(texts, 1);
        button = new ItemButton(this);
        button->setObjectName(QStringLiteral("itemButton"));
        line->addWidget(button, 0, Qt::AlignVCenter);
    }

    void fill(const ListItem &item, const QIcon &plus, const QIcon &minus, const QColor &titleColor)
    {
        id = item.id;
        title->setText(item.title);
        // A page's entry keeps its markup's character references ("&amp;")
        // and may end in a line break; the row shows the text they stand for.
        description->setText(QTextDocumentFragment::fromHtml(item.description).toPlainText().trimmed());
        QPalette titlePalette = title->palette();
        titlePalette.setColor(QPalette::WindowText, titleColor);
        title->setPalette(titlePalette);
        QPalette descriptionPalette = description->palette();
        descriptionPalette.setColor(QPalette::WindowText, secondaryGrey);
        description->setPalette(descriptionPalette);
        const bool offered = item.podType == PodType::supplemental;
        button->setIcon(offered ? plus : minus);
        if (button->icon().isNull())
            button->setText(offered ? QStringLiteral("+") : QStringLiteral("\u2212"));
        button->setProperty("symbolName", offered ? QStringLiteral("plus") : QStringLiteral("minus"));
        const QString name = text(offered ? key::addItem : key::removeItem, item.title);
        button->setAccessibleName(name);
        button->setToolTip(name);
        // Read with the button: whether the entry is in, and what it is.
        const QString state = text(offered ? key::itemNotAdded : key::itemAdded);
        button->setAccessibleDescription(description->text().isEmpty()
                                             ? state
                                             : state + QStringLiteral(". ") + description->text());
    }

    QUuid id;
    QLabel *title = nullptr;
    QLabel *description = nullptr;
    QToolButton *button = nullptr;
};

ExpandableItemsView::ExpandableItemsView(const QString &title, bool isExpanded, QWidget *parent)
    : QWidget(parent)
    , m_isExpanded(isExpanded)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(2);

    auto *header = new QWidget(this);
    header->setObjectName(QStringLiteral("header"));
    auto *headerLine = new QHBoxLayout(header);
    headerLine->setContentsMargins(10, 6, 6, 6);
    m_title = new QLabel(title, header);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(Artwork::font(QStringLiteral("Heebo-Bold"), 16));
    headerLine->addWidget(m_title);
    headerLine->addStretch(1);
    m_chevron = new ItemButton(header);
    m_chevron->setObjectName(QStringLiteral("chevronButton"));
    m_chevron->setIconSize({chevronSide, chevronSide});
    headerLine->addWidget(m_chevron);
    column->addWidget(header);

    m_scroll = new RowsArea(this);
    m_scroll->setObjectName(QStringLiteral("rows"));
    auto *rows = new QWidget;
    rows->setAutoFillBackground(false);
    m_rows = new QVBoxLayout(rows);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(2);
    m_rows->addStretch(1);
    m_scroll->setWidget(rows);
    column->addWidget(m_scroll, 1);

    m_placeholder = new QWidget(this);
    m_placeholder->setObjectName(QStringLiteral("placeholder"));
    auto *placeholderLine = new QHBoxLayout(m_placeholder);
    placeholderLine->setContentsMargins(10, 20, 10, 20);
    placeholderLine->setSpacing(8);
    m_loading = new QWidget(m_placeholder);
    m_loading->setObjectName(QStringLiteral("loadingIndicator"));
    auto *loadingLine = new QHBoxLayout(m_loading);
    loadingLine->setContentsMargins(0, 0, 0, 0);
    loadingLine->setSpacing(8);
    loadingLine->addWidget(new BusyIndicator(m_loading));
    auto *loadingText = new QLabel(QStringLiteral("Loading..."), m_loading);
    loadingText->setObjectName(QStringLiteral("loadingText"));
    loadingLine->addWidget(loadingText);
    placeholderLine->addStretch(1);
    placeholderLine->addWidget(m_loading);
    m_emptyLabel = new QLabel(m_placeholder);
    m_emptyLabel->setObjectName(QStringLiteral("emptyText"));
    m_emptyLabel->setTextFormat(Qt::PlainText);
    m_emptyLabel->setWordWrap(true);
    m_emptyLabel->setAlignment(Qt::AlignCenter);
    placeholderLine->addWidget(m_emptyLabel, 4);
    placeholderLine->addStretch(1);
    column->addWidget(m_placeholder);

    connect(m_chevron, &QToolButton::clicked, this, [this] { setExpanded(!m_isExpanded); });
    refreshArtwork();
    rebuildRows();
}

QString ExpandableItemsView::title() const
{
    return m_title->text();
}

void ExpandableItemsView::setExpanded(bool expanded)
{
    if (m_isExpanded == expanded)
        return;
    m_isExpanded = expanded;
    refreshArtwork();
    updateVisibility();
    Q_EMIT expandedChanged(expanded);
}

void ExpandableItemsView::setItems(const QList<ListItem> &items)
{
    if (items == m_items)
        return;
    // Which entry has the keyboard focus, so that it keeps it wherever it
    // moves; when it has left the list, the row now in its place takes it.
    QWidget *focused = window()->focusWidget();
    int focusedRow = -1;
    for (int i = 0; i < m_rowWidgets.size(); ++i) {
        if (m_rowWidgets.at(i)->button == focused)
            focusedRow = i;
    }
    const QUuid focusedId = focusedRow >= 0 ? m_rowWidgets.at(focusedRow)->id : QUuid();

    m_items = items;
    rebuildRows();

    if (focusedRow < 0)
        return;
    const auto kept = std::find_if(m_items.cbegin(), m_items.cend(),
                                   [&focusedId](const ListItem &item) { return item.id == focusedId; });
    QWidget *next = m_chevron;
    if (kept != m_items.cend())
        next = m_rowWidgets.at(kept - m_items.cbegin())->button;
    else if (!m_rowWidgets.isEmpty())
        next = m_rowWidgets.at(std::min<int>(focusedRow, m_rowWidgets.size() - 1))->button;
    next->setFocus(Qt::OtherFocusReason);
}

void ExpandableItemsView::setEmptyText(const QString &text)
{
    if (m_emptyText == text)
        return;
    m_emptyText = text;
    m_emptyLabel->setText(text);
    updateVisibility();
}

// Rows are kept and refilled in place: the button whose press led here may
// still be on the stack, and a row keeps its place in the Tab order.
void ExpandableItemsView::rebuildRows()
{
    const QColor titleColor = Artwork::color(QStringLiteral("AccentColor"), Artwork::isDarkMode());
    while (m_rowWidgets.size() > m_items.size()) {
        Row *row = m_rowWidgets.takeLast();
        m_rows->removeWidget(row);
        row->hide();
        row->setParent(nullptr);
        row->deleteLater();
    }
    while (m_rowWidgets.size() < m_items.size()) {
        auto *row = new Row(m_rows->parentWidget());
        const int index = static_cast<int>(m_rowWidgets.size());
        connect(row->button, &QToolButton::clicked, this, [this, index] { Q_EMIT actionTriggered(index); });
        row->button->installEventFilter(this);
        m_rows->insertWidget(index, row);
        // Rows that arrive later follow the list's header in the Tab order,
        // not the end of the window's.
        setTabOrder(index == 0 ? static_cast<QWidget *>(m_chevron) : m_rowWidgets.last()->button, row->button);
        m_rowWidgets.append(row);
    }
    for (int i = 0; i < m_items.size(); ++i)
        m_rowWidgets.at(i)->fill(m_items.at(i), m_plusIcon, m_minusIcon, titleColor);
    updateVisibility();
}

void ExpandableItemsView::updateVisibility()
{
    const bool hasRows = !m_items.isEmpty();
    m_scroll->setVisible(m_isExpanded && hasRows);
    m_placeholder->setVisible(m_isExpanded && !hasRows);
    m_loading->setVisible(m_emptyText.isEmpty());
    m_emptyLabel->setVisible(!m_emptyText.isEmpty());
    m_scroll->updateGeometry();
}

void ExpandableItemsView::refreshArtwork()
{
    const QColor text = palette().color(QPalette::WindowText);
    const QString chevron = m_isExpanded ? QStringLiteral("chevron.up") : QStringLiteral("chevron.down");
    const QPixmap chevronSymbol = Artwork::symbol(chevron, text, {chevronSide, chevronSide});
    m_chevron->setIcon(QIcon(chevronSymbol));
    if (chevronSymbol.isNull())
        m_chevron->setText(m_isExpanded ? QStringLiteral("\u2303") : QStringLiteral("\u2304"));
    m_chevron->setProperty("symbolName", chevron);
    const QString name = plinth::text(m_isExpanded ? key::hideItems : key::showItems, m_title->text());
    m_chevron->setAccessibleName(name);
    m_chevron->setToolTip(name);

    const QColor accent = Artwork::color(QStringLiteral("AccentColor"), Artwork::isDarkMode());
    m_plusIcon = QIcon(Artwork::symbol(QStringLiteral("plus"), accent, {symbolSide, symbolSide}));
    m_minusIcon = QIcon(Artwork::symbol(QStringLiteral("minus"), accent, {symbolSide, symbolSide}));
    QPalette emptyPalette = m_emptyLabel->palette();
    emptyPalette.setColor(QPalette::WindowText, secondaryGrey);
    m_emptyLabel->setPalette(emptyPalette);
}

bool ExpandableItemsView::eventFilter(QObject *watched, QEvent *event)
{
    // A row reached with Tab scrolls into view, once the layout has placed
    // rows that have just been added.
    if (event->type() == QEvent::FocusIn) {
        for (Row *row : std::as_const(m_rowWidgets)) {
            if (row->button != watched)
                continue;
            const QPointer<Row> focused(row);
            QTimer::singleShot(0, this, [this, focused] {
                if (focused)
                    m_scroll->ensureWidgetVisible(focused, 0, 4);
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ExpandableItemsView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_chevron) {
        refreshArtwork();
        rebuildRows();
    }
}

void ExpandableItemsView::paintEvent(QPaintEvent *)
{
    OutlinedBox::paintOutline(this, 2);
}

} // namespace plinth
