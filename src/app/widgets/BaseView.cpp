#include "app/widgets/BaseView.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/FrameButton.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWindow>

namespace plinth {

namespace {

constexpr int padding = 20;

QPushButton *makeButton(const QString &objectName, bool primary, QWidget *parent)
{
    auto *button = new FrameButton(primary, parent);
    button->setObjectName(objectName);
    button->hide();
    return button;
}

} // namespace

BaseView::BaseView(QWidget *mainContent, QWidget *parent)
    : QWidget(parent)
    , m_mainContent(mainContent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, padding);
    layout->setSpacing(padding);
    layout->addWidget(makeHeader());
    layout->addWidget(m_mainContent, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(padding, 0, padding, 0);
    m_cancel = makeButton(QStringLiteral("cancelButton"), false, this);
    m_previous = makeButton(QStringLiteral("previousButton"), false, this);
    m_next = makeButton(QStringLiteral("nextButton"), true, this);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    layout->addLayout(buttons);

    setAccessibleName(QStringLiteral("Plinth"));
    connect(m_cancel, &QPushButton::clicked, this, [this] { setShouldGoToHomeScreen(true); });
    connect(m_previous, &QPushButton::clicked, this, [this] {
        if (m_previousAction)
            m_previousAction();
    });
    connect(m_next, &QPushButton::clicked, this, [this] {
        if (m_nextAction)
            m_nextAction();
    });

    keepFrameButtonsLast();
}

QWidget *BaseView::makeHeader()
{
    m_header = new QWidget(this);
    m_header->setObjectName(QStringLiteral("header"));
    m_header->installEventFilter(this);
    auto *row = new QHBoxLayout(m_header);
    row->setContentsMargins(padding, padding, padding, 0);
    row->setSpacing(10);

    auto *logo = new QLabel(m_header);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setFixedSize(40, 40);
    logo->setPixmap(Artwork::logo({40, 40}));
    row->addWidget(logo);

    auto *name = new QLabel(QStringLiteral("Plinth"), m_header);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(15);
    nameFont.setBold(true);
    name->setFont(nameFont);
    row->addWidget(name);
    row->addStretch(1);

    auto *close = new QPushButton(m_header);
    m_close = close;
    close->setObjectName(QStringLiteral("closeButton"));
    close->setFlat(true);
    close->setFocusPolicy(Qt::TabFocus);
    close->setAccessibleName(text(key::close));
    close->setToolTip(text(key::close));
    close->setCursor(Qt::PointingHandCursor);
    close->setFixedSize(22, 22);
    const QPixmap cross = Artwork::symbol(QStringLiteral("xmark"), palette().color(QPalette::WindowText), {10, 10});
    if (cross.isNull())
        close->setText(QStringLiteral("\u2715"));
    else
        close->setIcon(QIcon(cross));
    close->setIconSize({10, 10});
    connect(close, &QPushButton::clicked, qApp, &QCoreApplication::quit);
    row->addWidget(close, 0, Qt::AlignTop);
    return m_header;
}

void BaseView::setNextButton(const QString &title, std::function<void()> action)
{
    m_next->setText(title);
    m_nextAction = std::move(action);
    m_next->setVisible(!title.isNull());
}

void BaseView::setShouldDisableNextButton(bool disabled)
{
    m_next->setEnabled(!disabled);
    // A screen with nothing else to use (the prerequisite check) starts on
    // Next as soon as Next can be pressed.
    if (!disabled)
        focusFirstControlIfIdle();
}

void BaseView::setPreviousButton(const QString &title, std::function<void()> action)
{
    m_previous->setText(title);
    m_previousAction = std::move(action);
    m_previous->setVisible(!title.isNull());
}

void BaseView::setShouldDisablePreviousButton(bool disabled)
{
    m_previous->setEnabled(!disabled);
}

void BaseView::setCancelButtonTitle(const QString &title)
{
    m_cancel->setText(text(key::cancel));
    m_cancel->setVisible(!title.isNull());
}

void BaseView::setShouldGoToHomeScreen(bool value)
{
    if (m_shouldGoToHomeScreen == value)
        return;
    m_shouldGoToHomeScreen = value;
    Q_EMIT shouldGoToHomeScreenChanged(value);
}

// Return and Enter that reach the frame press the screen's default button,
// Next: no control of a screen keeps them (a text field passes them on, as
// in a dialog), apart from a multi-line text and the terminal. Key events
// stay inside their window, so an alert on the panel keeps its own Return.
void BaseView::keyPressEvent(QKeyEvent *event)
{
    const bool plain = event->modifiers() == Qt::NoModifier
                       || (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        pressDefaultButton();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// A screen without Next (the home screen) lets Return press the focused
// button of its content, as Space does.
void BaseView::pressDefaultButton()
{
    if (m_next->isVisible()) {
        if (m_next->isEnabled())
            m_next->click();
        return;
    }
    auto *focused = qobject_cast<QAbstractButton *>(window()->focusWidget());
    if (focused && m_mainContent->isAncestorOf(focused) && focused->isEnabled())
        focused->click();
}

void BaseView::focusFirstControl()
{
    if (QWidget *first = firstControl())
        first->setFocus(Qt::TabFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void BaseView::focusFirstControlIfIdle()
{
    QWidget *focused = window()->focusWidget();
    const bool idle = !focused || focused == this || focused->isAncestorOf(this) || !focused->isVisible()
                      || !focused->isEnabled();
    if (idle && isVisible())
        focusFirstControl();
}

QWidget *BaseView::firstControl() const
{
    for (QWidget *next = m_mainContent->nextInFocusChain(); next && next != m_mainContent;
         next = next->nextInFocusChain()) {
        if (m_mainContent->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) && next->isEnabled()
            && next->isVisibleTo(m_mainContent))
            return next;
        if (next == window())
            break;
    }
    if (m_next->isVisibleTo(this) && m_next->isEnabled())
        return m_next;
    return nullptr;
}

// Controls made after the frame (rows that arrive later) join the end of
// the window's Tab order; Cancel, Previous, Next and then the close button
// are put back behind the last of them before the focus moves on.
void BaseView::keepFrameButtonsLast()
{
    QWidget *last = nullptr;
    for (QWidget *next = m_mainContent->nextInFocusChain(); next && next != m_mainContent;
         next = next->nextInFocusChain()) {
        if (m_mainContent->isAncestorOf(next))
            last = next;
        if (next == window())
            break;
    }
    QWidget *previous = last;
    for (QPushButton *button : {m_cancel, m_previous, m_next, m_close}) {
        if (previous && previous->nextInFocusChain() != button)
            setTabOrder(previous, button);
        previous = button;
    }
}

bool BaseView::focusNextPrevChild(bool next)
{
    keepFrameButtonsLast();
    return QWidget::focusNextPrevChild(next);
}

// A borderless window has no title bar to drag: the header takes its place.
bool BaseView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_header)
        return QWidget::eventFilter(watched, event);
    const auto mouse = [event] { return static_cast<QMouseEvent *>(event); };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse()->button() == Qt::LeftButton) {
            QWindow *handle = window()->windowHandle();
            if (handle && handle->startSystemMove())
                return true;
            m_dragging = true;
            m_dragOffset = mouse()->globalPosition().toPoint() - window()->frameGeometry().topLeft();
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (m_dragging) {
            window()->move(mouse()->globalPosition().toPoint() - m_dragOffset);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plinth
