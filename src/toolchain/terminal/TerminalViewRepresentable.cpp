#include "toolchain/terminal/TerminalViewRepresentable.h"

#include "app/base/TextCatalog.h"
#include "toolchain/terminal/PtyProcess.h"
#include "toolchain/terminal/TerminalView.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>
#include <QVBoxLayout>

namespace plinth {

TerminalViewRepresentable::TerminalViewRepresentable(const QString &command, QWidget *parent, const QString &shell)
    : QWidget(parent)
    , m_command(command)
    , m_shell(shell)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(text(key::terminal));
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
    m_terminal->setAccessibleName(accessibleName());
    m_terminal->viewport()->setAccessibleName(accessibleName());
    m_terminal->setGeometry(rect());
    layout->addWidget(m_terminal);
    setFocusProxy(m_terminal);
    // The terminal's size and title notifications are left unconnected on
    // purpose: the element reports nothing to its screen. An ended shell
    // leaves its last output on view, followed by a line that says so (a
    // shell that ends at once, with a broken start-up file, would otherwise
    // leave a blank terminal and a command typed into nothing).
    connect(m_terminal, &TerminalView::processTerminated, this, [this](int exitCode) {
        if (m_terminal)
            m_terminal->surface().write(
                QStringLiteral("\r\n[The shell has ended with status %1.]\r\n").arg(exitCode).toUtf8());
    });

    // Login shell: argument zero is a hyphen and the shell's name ("-zsh").
    const QString shell = m_shell.isEmpty() ? PtyProcess::loginShell() : m_shell;
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
