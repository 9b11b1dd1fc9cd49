#include "app/DebugConsole.h"

#include <QDebug>
#include <QMutex>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace plinth {

namespace {

QMutex &consoleMutex()
{
    static QMutex mutex;
    return mutex;
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

void debugConsole(const QString &text)
{
    const QByteArray line = debugForm(text).toUtf8() + '\n';
    QMutexLocker lock(&consoleMutex());
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
    for (ConsoleCapture *capture : captures())
        capture->append(text);
}

ConsoleCapture::ConsoleCapture()
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
