// Measured run on a headless Wayland session with the portal stand-in: from a shortcut's
// activation to the volume command on the receiver's wire (median and maximum of 20
// presses), then the program's CPU use over 30 s of idling with both media-key options on.
//
//   bench_wayland_keys

#include "tests/support/WaylandSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

// User and system time of a process so far, in clock ticks.
long long cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // The fields after the command name, which is in parentheses: utime is the 12th.
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const QString missing = WaylandSession::missing(); !missing.isEmpty()) {
        std::printf("skipped: %s\n", qPrintable(missing));
        return 0;
    }
    WaylandSession session;
    if (!session.start(true)) {
        std::fprintf(stderr, "bench_wayland_keys: %s\n", qPrintable(session.errorString()));
        return 1;
    }
    QTimer wake; // lets the waits below look at the receiver's log every millisecond
    wake.start(1);
    auto waitFor = [](auto condition, int ms) {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return condition();
    };
    QString up;
    QString down;
    waitFor(
        [&] {
            up = session.boundShortcut(QStringLiteral("XF86AudioRaiseVolume"));
            down = session.boundShortcut(QStringLiteral("XF86AudioLowerVolume"));
            return !up.isEmpty() && !down.isEmpty();
        },
        10000);

    std::vector<double> latencies;
    for (int i = 0; i < 20; ++i) {
        const QString code = i % 2 ? QStringLiteral("07A1B") : QStringLiteral("07A1A");
        const int before = session.receiver().log().count(code);
        QElapsedTimer timer;
        timer.start();
        session.activate(i % 2 ? down : up, true);
        if (!waitFor([&] { return session.receiver().log().count(code) > before; }, 3000)) {
            std::fprintf(stderr, "bench_wayland_keys: press %d never reached the wire\n", i);
            return 1;
        }
        latencies.push_back(timer.nsecsElapsed() / 1e6);
        session.activate(i % 2 ? down : up, false);
        waitFor([] { return false; }, 150);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("activation to wire over %zu presses: median %.1f ms, max %.1f ms\n",
                latencies.size(), (latencies[9] + latencies[10]) / 2, latencies.back());

    std::fflush(stdout);
    wake.start(100); // the bench's own wake-ups do not touch the program
    const qint64 pid = session.program().processId();
    waitFor([] { return false; }, 2000);
    const long long start = cpuTicks(pid);
    waitFor([] { return false; }, 30000);
    const long long used = cpuTicks(pid) - start;
    std::printf("idle CPU over 30 s: %.2f%% of a core (%lld ticks of 1/%ld s)\n",
                100.0 * used / sysconf(_SC_CLK_TCK) / 30, used, sysconf(_SC_CLK_TCK));
    return 0;
}
