#include "project/AddVariantPopover.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"
#include "project/FormRows.h"
#include "project/ProjectDetailsSubsequentViewModel.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace plinth {

namespace {

const QColor blue(0x0A, 0x84, 0xFF);
const QColor red(0xE0, 0x35, 0x35);
constexpr int padding = 16;

// A button on a rounded rectangle of one colour with a white title.
class TintedButton : public QPushButton
{
public:
    TintedButton(const QString &title, const QColor &color, QWidget *parent)
        : QPushButton(title, parent)
        , m_color(color)
    {
        setFlat(true);
        setAutoDefault(true); // Return presses the focused button, as Space does
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(title);
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return {std::max(80, metrics.horizontalAdvance(text()) + 32), metrics.height() + 12};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 5, 5);
        painter.fillPath(shape, isDown() ? m_color.darker(120) : m_color);
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, text()); // the focus ring marks the focused one
    }

private:
    QColor m_color;
};

} // namespace

AddVariantPopover::AddVariantPopover(ProjectDetailsSubsequentViewModel *model, QWidget *parent)
    : QFrame(parent, Qt::Popup)
    , m_model(model)
{
    setObjectName(QStringLiteral("addVariantPopover"));
    setAttribute(Qt::WA_NoMouseReplay); // the click that closes it does not reopen it
    setFixedWidth(popoverWidth);
    setAccessibleName(text(key::addVariantTitle));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(10);

    auto *title = new QLabel(text(key::addVariantTitle), this);
    title->setFont(Artwork::font(QStringLiteral("Heebo-Bold"), 18));
    title->setWordWrap(true);
    column->addWidget(title);

    m_field = makeFormField(QStringLiteral("newConfigLabelField"), this);
    m_field->setPlaceholderText(text(key::addVariantPlaceHolder));
    m_field->setAccessibleName(text(key::addVariantPlaceHolder));
    m_field->setText(model->newConfigLabel());
    column->addWidget(m_field);

    m_message = makeFormMessage(QStringLiteral("newConfigLabelMessage"), this);
    column->addWidget(m_message);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    auto *cancel = new TintedButton(text(key::cancel), red, this);
    cancel->setObjectName(QStringLiteral("cancelAddVariantButton"));
    auto *add = new TintedButton(text(key::add), blue, this);
    add->setObjectName(QStringLiteral("addButton"));
    buttons->addWidget(cancel);
    buttons->addWidget(add);
    column->addLayout(buttons);

    connect(m_field, &QLineEdit::textEdited, model, &ProjectDetailsSubsequentViewModel::setNewConfigLabel);
    connect(m_field, &QLineEdit::returnPressed, model, &ProjectDetailsSubsequentViewModel::addVariant);
    connect(model, &ProjectDetailsSubsequentViewModel::newConfigLabelChanged, this,
            [this](const QString &value) { showModelText(m_field, value); });
    connect(model, &ProjectDetailsSubsequentViewModel::newConfigLabelMessageChanged, this, [this](const QString &message) {
        showFormMessage(m_message, message);
        fitHeight();
    });
    connect(cancel, &QPushButton::clicked, model, &ProjectDetailsSubsequentViewModel::cancelAddVariant);
    connect(add, &QPushButton::clicked, model, &ProjectDetailsSubsequentViewModel::addVariant);
    setTabOrder(m_field, cancel);
    setTabOrder(cancel, add);
}

// The wrapped title and message need the height that goes with the fixed width.
void AddVariantPopover::fitHeight()
{
    layout()->activate();
    resize(popoverWidth, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(popoverWidth)
                                                       : layout()->totalSizeHint().height());
}

void AddVariantPopover::openUnder(QWidget *anchor)
{
    showModelText(m_field, m_model->newConfigLabel());
    showFormMessage(m_message, m_model->newConfigLabelMessage());
    fitHeight();
    QPoint origin = anchor->mapToGlobal(QPoint(anchor->width() / 2 - width() / 2, anchor->height() + 6));
    if (const QScreen *screen = anchor->screen()) {
        const QRect available = screen->availableGeometry();
        origin.setX(std::clamp(origin.x(), available.left(), std::max(available.left(), available.right() - width())));
        origin.setY(std::clamp(origin.y(), available.top(), std::max(available.top(), available.bottom() - height())));
    }
    move(origin);
    show();
    activateWindow();
    m_field->setFocus(Qt::PopupFocusReason);
}

void AddVariantPopover::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_model->cancelAddVariant();
        event->accept();
        return;
    }
    QFrame::keyPressEvent(event);
}

// However it closes (Cancel, Escape, a click elsewhere), the model's popover
// state follows.
void AddVariantPopover::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    if (m_model->showAddConfigModal())
        m_model->cancelAddVariant();
}

void AddVariantPopover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QColor outline(128, 128, 128);
    outline.setAlphaF(0.6f);
    painter.setPen(QPen(outline, 1));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

} // namespace plinth
