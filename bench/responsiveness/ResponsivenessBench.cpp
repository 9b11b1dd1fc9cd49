// Main-thread responsiveness while prerequisite checks run: starts a full
// check (six Ruby scripts and six probes, as the screen's timer does) every
// 250 ms for ten seconds, so several overlap, while a 1 ms timer on the main
// thread records how late each of its ticks comes. Prints the longest stall
// and the 99th percentile; the goal is no stall over 16 ms.
#include "app/base/ResourceBundle.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/PreProjectSetupViewModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    plinth::PreProjectSetupViewModel model(std::make_shared<const plinth::CommandRunner>());
    int finishedChecks = 0;
    QObject::connect(&model, &plinth::PreProjectSetupViewModel::preProjectSetupStateChanged, [&] { ++finishedChecks; });

    std::vector<qint64> gaps;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last)
            gaps.push_back(now - last);
        last = now;
    });
    ticker.start();

    int started = 0;
    QTimer checks;
    checks.setInterval(250);
    QObject::connect(&checks, &QTimer::timeout, [&] {
        model.startCheck();
        ++started;
    });
    checks.start();
    QTimer::singleShot(10000, [&] {
        checks.stop();
        ticker.stop();
        QCoreApplication::quit();
    });
    application.exec();
    QThreadPool::globalInstance()->waitForDone();

    std::sort(gaps.begin(), gaps.end());
    const double longest = gaps.back() / 1e6;
    const double p99 = gaps[gaps.size() * 99 / 100] / 1e6;
    std::printf("checks started %d; main-thread ticks %zu; longest gap %.2f ms; 99th percentile %.2f ms (goal: "
                "no gap over 16 ms)\n",
                started, gaps.size(), longest, p99);
    return longest <= 16.0 ? 0 : 1;
}
