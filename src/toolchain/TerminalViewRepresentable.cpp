#include "toolchain/TerminalViewRepresentable.h"

#include "toolchain/PtyProcess.h"
#include "toolchain/TerminalView.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>
#include <QVBoxLayout>

namespace plinth {

TerminalViewRepresentable::TerminalViewRepresentable(const QString &command, QWidget *parent)
    : QWidget(parent)
    , m_command(command)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TerminalViewRepresentable::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_terminal)
        load();
    m_terminal->setFocus();
}

void TerminalViewRepresentable::load()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_terminal = new TerminalView(this);
    m_terminal->setGeometry(rect());
    layout->addWidget(m_terminal);
    setFocusProxy(m_terminal);
    // The terminal's size, title and process-ended notifications are left
    // unconnected on purpose: the element reports nothing to its screen, and
    // an ended shell leaves its last output on view.

    // Login shell: argument zero is a hyphen and the shell's name ("-zsh").
    const QString shell = PtyProcess::loginShell();
    const QString argumentZero = QLatin1Char('-') + QFileInfo(shell).fileName();

    // The whole application moves to the home directory, so relative paths
    // of later toolchain commands resolve there too.
    QDir::setCurrent(QDir::homePath());
    m_terminal->startProcess(shell, {}, {}, argumentZero);
    QTimer::singleShot(commandDelayMilliseconds, Qt::PreciseTimer, this, &TerminalViewRepresentable::sendCommand);
}

void TerminalViewRepresentable::sendCommand()
{
    if (!m_terminal)
        return;
    if (m_terminal->isVisible())
        m_terminal->setFocus();
    // The command stays on the clipboard afterwards, replacing what the user
    // had there.
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_command);
    m_terminal->paste();
}

} // namespace plinth
