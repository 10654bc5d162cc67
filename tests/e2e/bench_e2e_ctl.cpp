// Measured run: how long `orvane-ctl send CODE` takes from its start until the code
// reaches the serial port, against the real program and the virtual receiver on a
// pseudo-terminal, on a session bus of its own.
//
//   bench_e2e_ctl [count]     prints median, 95th percentile and maximum in ms

#include "tests/support/EndToEndHarness.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int fail(const QString &text)
{
    std::fprintf(stderr, "bench_e2e_ctl: %s\n", qPrintable(text));
    return 1;
}

void report(const char *what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("%s ms: median %.1f, p95 %.1f, max %.1f\n", what, values[values.size() / 2],
                values[values.size() * 95 / 100], values.back());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    if (const QString missing = EndToEndHarness::missing(); !missing.isEmpty())
        return fail(missing);

    EndToEndHarness e2e;
    if (!e2e.startBus() || !e2e.startReceiver({QStringLiteral("--log")}) || !e2e.writeSettings()
        || !e2e.startProgram({QStringLiteral("-C1")}))
        return fail(e2e.errorString());
    PrivateBus &bus = e2e.bus();
    ReceiverProcess &receiver = e2e.receiver();
    QDBusConnection watcher = QDBusConnection::connectToBus(bus.address(), QStringLiteral("w"));
    if (!QTest::qWaitFor([&] { return receiver.log().contains(QStringLiteral("20100")); }, 15000)
        || !QTest::qWaitFor(
            [&] {
                return watcher.interface()->isServiceRegistered(
                    QStringLiteral("org.orvane.Orvane"));
            },
            5000))
        return fail(QStringLiteral("the program did not connect or take its name"));
    QTest::qWait(500);

    const QString code = QStringLiteral("07A1D");
    std::vector<double> toPort;
    std::vector<double> whole;
    for (int i = 0; i < count; ++i) {
        const qsizetype before = receiver.log().count(code);
        QProcess ctl;
        ctl.setProcessEnvironment(bus.environment());
        QElapsedTimer clock;
        clock.start();
        ctl.start(EndToEndHarness::binary(QStringLiteral("orvane-ctl")),
                  {QStringLiteral("send"), code});
        double arrived = -1;
        while (clock.elapsed() < 5000) {
            receiver.process().waitForReadyRead(1);
            if (receiver.log().count(code) > before) {
                arrived = double(clock.nsecsElapsed()) / 1e6;
                break;
            }
        }
        ctl.waitForFinished(5000);
        const double finished = double(clock.nsecsElapsed()) / 1e6;
        if (arrived < 0 || ctl.exitCode() != 0)
            return fail(QStringLiteral("run %1: code did not arrive (exit %2): %3")
                            .arg(i)
                            .arg(ctl.exitCode())
                            .arg(QString::fromLocal8Bit(ctl.readAllStandardError())));
        toPort.push_back(arrived);
        whole.push_back(finished);
        QTest::qWait(50);
    }
    std::printf("runs %d\n", count);
    report("start of orvane-ctl to code on the port", toPort);
    report("whole orvane-ctl run", whole);
    e2e.program().terminate();
    e2e.program().waitForFinished(10000);
    return 0;
}
