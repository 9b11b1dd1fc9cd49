// Start-up benchmark: one process start of either the real start-up of
// Plinth ("plinth") or a minimal Qt Widgets program showing a 1000 by 600
// window ("minimal"). It prints, at the first paint of its window, the
// resident memory in kB, then quits. bench/startup/run.py starts both many
// times and compares the wall time to exit and the memory.
#include "app/AppDelegate.h"
#include "app/Startup.h"
#include "app/widgets/AlertPanelController.h"
#include "app/widgets/CustomNSPanel.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, qApp, [] {
                std::printf("first-frame rss_kb=%ld\n", residentKilobytes());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
    const bool minimal = argc > 1 && QByteArray(argv[1]) == "minimal";
    QApplication application(argc, argv);
    FirstPaint firstPaint;
    if (minimal) {
        QWidget window;
        window.resize(1000, 600);
        window.installEventFilter(&firstPaint);
        window.show();
        return application.exec();
    }
    plinth::AppDelegate delegate;
    plinth::prepareApplication(delegate);
    QTimer::singleShot(0, [&firstPaint] {
        plinth::AlertPanelController::shared().applicationWindow()->installEventFilter(&firstPaint);
    });
    return application.exec();
}
