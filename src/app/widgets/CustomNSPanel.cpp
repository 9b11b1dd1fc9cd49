#include "app/widgets/CustomNSPanel.h"

#include "app/widgets/FocusRing.h"
#include "app/widgets/ScreenStack.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace plinth {

CustomNSPanel::CustomNSPanel(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("applicationPanel"));
    setWindowTitle(QStringLiteral("Plinth"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(width, height);
    FocusRing::followFocus();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void CustomNSPanel::setScreenStack(ScreenStack *stack)
{
    m_stack = stack;
    layout()->addWidget(stack);
}

void CustomNSPanel::centreOnPrimaryScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        move(0, 0);
        return;
    }
    const QRect available = screen->availableGeometry();
    move(available.x() + (available.width() - width) / 2, available.y() + (available.height() - height) / 2);
}

void CustomNSPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, palette().color(QPalette::Window));
}

} // namespace plinth
