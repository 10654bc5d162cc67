// Measured run: how long a report takes from the program's broadcast (just before
// its evaluation) to a client on the bus. The client lives on a thread of its own, as
// it would in a process of its own, and notes the moment each report arrives.
//
//   bench_bus_report [count]     prints median, 95th percentile and maximum in ms

#include "addins/AddInBusService.h"
#include "addins/AddInRuntime.h"
#include "addins/clsAddIns.h"
#include "platform/SystemClock.h"
#include "tests/support/PrivateBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QMutex>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QElapsedTimer g_clock;

class Listener : public QObject
{
    Q_OBJECT
public:
    QMutex mutex;
    std::vector<std::pair<QString, qint64>> arrivals;

public slots:
    void onReport(const QString &body)
    {
        const qint64 now = g_clock.nsecsElapsed();
        QMutexLocker lock(&mutex);
        arrivals.emplace_back(body, now);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 500;
    g_clock.start();

    PrivateBus bus;
    if (!bus.start()) {
        std::fprintf(stderr, "bench_bus_report: %s\n", qPrintable(bus.errorString()));
        return 1;
    }
    AddInRuntime runtime;
    SystemClock clock;
    AddInBusService service(
        runtime, QDBusConnection::connectToBus(bus.address(), QStringLiteral("program")), &clock);
    if (!service.start()) {
        std::fprintf(stderr, "bench_bus_report: %s\n", qPrintable(service.errorString()));
        return 1;
    }

    QThread clientThread;
    clientThread.start();
    Listener listener;
    listener.moveToThread(&clientThread);
    QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("client"));
    auto call = [&](const QString &path, const QString &interface, const QString &member) {
        return client.call(
            QDBusMessage::createMethodCall(AddInBusService::kServiceName, path, interface, member),
            QDBus::BlockWithGui, 5000);
    };
    const QString path
        = call(QStringLiteral("/"), AddInBusService::rootInterface(), QStringLiteral("CreateAddIn"))
              .arguments()
              .value(0)
              .value<QDBusObjectPath>()
              .path();
    call(path, AddInBusService::addInInterface(), QStringLiteral("AddInRegister"));
    client.connect(AddInBusService::kServiceName, path, AddInBusService::addInInterface(),
                   QStringLiteral("ReceivedCommand"), &listener, SLOT(onReport(QString)));
    QTest::qWait(200);

    std::vector<qint64> sentAt;
    for (int i = 0; i < count; ++i) {
        const QString body = QStringLiteral("%1").arg(i, 6, 16, QLatin1Char('0')).toUpper();
        sentAt.push_back(g_clock.nsecsElapsed());
        runtime.oAddIns()->SemdIncommingCommand(body);
        // Reports come in at most every few milliseconds from the line.
        QTest::qWait(5);
    }
    QTest::qWait(500);

    std::vector<double> latencies;
    {
        QMutexLocker lock(&listener.mutex);
        for (const auto &[body, at] : listener.arrivals) {
            const int i = body.toInt(nullptr, 16);
            if (i >= 0 && i < count)
                latencies.push_back(double(at - sentAt[size_t(i)]) / 1e6);
        }
    }
    clientThread.quit();
    clientThread.wait();
    if (latencies.empty()) {
        std::fprintf(stderr, "bench_bus_report: no report arrived\n");
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("reports %d, arrived %zu; latency ms: median %.3f, p95 %.3f, max %.3f\n", count,
                latencies.size(), latencies[latencies.size() / 2],
                latencies[latencies.size() * 95 / 100], latencies.back());
    service.stop();
    return 0;
}

#include "bench_bus_report.moc"
