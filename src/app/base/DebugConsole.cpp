#include "app/base/DebugConsole.h"

#include <QDebug>
#include <QMutex>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace plinth {

namespace {

QMutex &consoleMutex()
{
    static QMutex mutex;
    return mutex;
}

std::atomic<ConsoleForm> &consoleForm()
{
    static std::atomic<ConsoleForm> form{ConsoleForm::debug};
    return form;
}

std::vector<ConsoleCapture *> &captures()
{
    static std::vector<ConsoleCapture *> active;
    return active;
}

} // namespace

QString debugForm(const QString &text)
{
    QString form;
    QDebug(&form).nospace() << text;
    return form;
}

void setConsoleForm(ConsoleForm form)
{
    consoleForm().store(form);
}

void debugConsole(const QString &text)
{
    QByteArray line;
    if (consoleForm().load() == ConsoleForm::plain) {
        // Script output usually ends in a line break of its own.
        line = text.toUtf8();
        if (!line.endsWith('\n'))
            line += '\n';
    } else {
        line = debugForm(text).toUtf8() + '\n';
    }
    QMutexLocker lock(&consoleMutex());
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
    const void *thread = QThread::currentThread();
    for (ConsoleCapture *capture : captures()) {
        if (!capture->m_thread || capture->m_thread == thread)
            capture->append(text);
    }
}

ConsoleCapture::ConsoleCapture(Threads threads)
    : m_thread(threads == Threads::creatingThreadOnly ? QThread::currentThread() : nullptr)
{
    QMutexLocker lock(&consoleMutex());
    captures().push_back(this);
}

ConsoleCapture::~ConsoleCapture()
{
    QMutexLocker lock(&consoleMutex());
    auto &active = captures();
    active.erase(std::remove(active.begin(), active.end(), this), active.end());
}

QStringList ConsoleCapture::lines() const
{
    QMutexLocker lock(&consoleMutex());
    return m_lines;
}

void ConsoleCapture::append(const QString &line)
{
    m_lines.append(line);
}

} // namespace plinth
