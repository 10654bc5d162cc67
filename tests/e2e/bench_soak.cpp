// Measured runs of the real program (offscreen) against the virtual receiver on a
// pseudo-terminal, a private session bus and a private MQTT broker; not part of the suite.
//
//   bench_soak latency [count] [idle seconds]
//       a main-volume report typed into the receiver until `orvane-ctl watch` prints it
//       (median, maximum), then the program's CPU while connected and idle
//   bench_soak soak [minutes] [seed]
//       reports every 50 to 500 ms, a bus client sending a code every second, an MQTT
//       command every 1.5 s, `orvane-ctl watch` all along: reports sent and seen (each
//       report carries the next volume value, so a lost one shows as a gap), codes that
//       reached the receiver, the program's memory at start and end
//
// ORVANE_BUILD_DIR names the build whose orvane, orvane-ctl and orvane-receiver run.

#include "BrokerProcess.h"
#include "mqtt/MosquittoClient.h"
#include "tests/support/EndToEndHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLowestVolume = 0x27;
constexpr int kVolumeSteps = 0xE8 - kLowestVolume + 1;

int fail(const QString &text)
{
    std::fprintf(stderr, "bench_soak: %s\n", qPrintable(text));
    return 1;
}

void report(const char *what, std::vector<double> values)
{
    if (values.empty()) {
        std::printf("%s: no samples\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    std::printf("%s ms: median %.1f, p95 %.1f, max %.1f (%zu samples)\n", what,
                values[values.size() / 2], values[values.size() * 95 / 100], values.back(),
                values.size());
}

template<typename Predicate> bool waitFor(Predicate done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

qint64 rssKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

QByteArray volumeBody(int sequence)
{
    const int value = kLowestVolume + sequence % kVolumeSteps;
    return "0026" + QByteArray::number(value, 16).toUpper().rightJustified(2, '0');
}

// The program with its receiver, bus, broker and a watching bus client.
struct Rig
{
    EndToEndHarness e2e;
    BrokerProcess broker;
    QProcess watch;
    QElapsedTimer clock;
    // Each main-volume line the watch printed: its value and when it came.
    std::vector<std::pair<int, qint64>> seen;
    QByteArray pending;

    QString start()
    {
        if (const QString missing = EndToEndHarness::missing(); !missing.isEmpty())
            return missing;
        if (!BrokerProcess::isInstalled())
            return QStringLiteral("mosquitto is not installed");
        if (!broker.start())
            return broker.errorString();
        if (!e2e.startBus() || !e2e.startReceiver({QStringLiteral("--log")})
            || !e2e.writeSettings(
                "[MQTT]\nBroker=mqtt://127.0.0.1:" + QByteArray::number(broker.port()) + "\n")
            || !e2e.startProgram({QStringLiteral("-C1")}))
            return e2e.errorString();
        ReceiverProcess &receiver = e2e.receiver();
        if (!waitFor([&] { return receiver.log().contains(QStringLiteral("20100")); }, 20000))
            return QStringLiteral("the program did not connect");
        clock.start();
        watch.setProcessEnvironment(e2e.bus().environment());
        QObject::connect(&watch, &QProcess::readyReadStandardOutput, [this] {
            pending += watch.readAllStandardOutput();
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                const QByteArray line = pending.left(end).trimmed();
                pending.remove(0, end + 1);
                if (line.size() == 6 && line.startsWith("0026"))
                    seen.emplace_back(line.mid(4).toInt(nullptr, 16), clock.nsecsElapsed());
            }
        });
        for (int attempt = 0; attempt < 20 && watch.state() != QProcess::Running; ++attempt) {
            watch.start(EndToEndHarness::binary(QStringLiteral("orvane-ctl")),
                        {QStringLiteral("watch")});
            watch.waitForStarted(5000);
        }
        // The watch is registered once it prints a report of its own.
        const std::size_t before = seen.size();
        if (!waitFor(
                [&] {
                    receiver.writeLine(volumeBody(0));
                    runFor(200);
                    return seen.size() > before;
                },
                20000))
            return QStringLiteral("orvane-ctl watch printed nothing");
        runFor(500);
        seen.clear();
        return {};
    }

    qint64 pid() { return e2e.program().processId(); }

    ~Rig()
    {
        watch.kill();
        watch.waitForFinished(3000);
        e2e.program().terminate();
        e2e.program().waitForFinished(10000);
    }
};

int latency(int count, int idleSeconds)
{
    Rig rig;
    if (const QString why = rig.start(); !why.isEmpty())
        return fail(why);
    ReceiverProcess &receiver = rig.e2e.receiver();
    std::vector<double> toWatch;
    for (int i = 1; i <= count; ++i) {
        const std::size_t before = rig.seen.size();
        const qint64 sent = rig.clock.nsecsElapsed();
        receiver.writeLine(volumeBody(i));
        if (!waitFor([&] { return rig.seen.size() > before; }, 3000))
            return fail(QStringLiteral("report %1 never reached the watch").arg(i));
        toWatch.push_back((rig.seen.back().second - sent) / 1e6);
        runFor(200);
    }
    report("report on the wire -> orvane-ctl watch line", toWatch);
    runFor(2000);
    const double before = cpuSeconds(rig.pid());
    runFor(idleSeconds * 1000);
    std::printf("idle CPU while connected: %.3f %% of a core over %d s\n",
                (cpuSeconds(rig.pid()) - before) * 100.0 / idleSeconds, idleSeconds);
    return 0;
}

int soak(int minutes, quint32 seed)
{
    Rig rig;
    if (const QString why = rig.start(); !why.isEmpty())
        return fail(why);
    ReceiverProcess &receiver = rig.e2e.receiver();
    QRandomGenerator random(seed);

    MosquittoClient mqtt;
    MosquittoClient::Options options;
    options.host = QStringLiteral("127.0.0.1");
    options.port = rig.broker.port();
    options.clientId = QStringLiteral("bench-soak");
    mqtt.start(options);

    const qint64 startRss = rssKiB(rig.pid());
    const double startCpu = cpuSeconds(rig.pid());
    std::printf("RSS at start: %lld KiB\n", static_cast<long long>(startRss));
    std::fflush(stdout);

    int reportsSent = 0;
    std::vector<qint64> sentAt;
    QTimer reports;
    reports.setSingleShot(true);
    QObject::connect(&reports, &QTimer::timeout, [&] {
        ++reportsSent;
        sentAt.push_back(rig.clock.nsecsElapsed());
        receiver.writeLine(volumeBody(reportsSent));
        reports.start(int(random.bounded(50, 501)));
    });
    reports.start(100);

    int ctlSent = 0;
    int ctlFailed = 0;
    QList<QProcess *> running;
    QTimer busClient;
    QObject::connect(&busClient, &QTimer::timeout, [&] {
        auto *ctl = new QProcess;
        ctl->setProcessEnvironment(rig.e2e.bus().environment());
        ++ctlSent;
        QObject::connect(ctl, &QProcess::finished, [&, ctl](int code, QProcess::ExitStatus) {
            if (code != 0)
                ++ctlFailed;
            running.removeOne(ctl);
            ctl->deleteLater();
        });
        running.append(ctl);
        ctl->start(EndToEndHarness::binary(QStringLiteral("orvane-ctl")),
                   {QStringLiteral("send"),
                    ctlSent % 2 ? QStringLiteral("07EAB") : QStringLiteral("07EAC")});
    });
    busClient.start(1000);

    int mqttSent = 0;
    QTimer hub;
    QObject::connect(&hub, &QTimer::timeout, [&] {
        ++mqttSent;
        mqtt.publish(QStringLiteral("orvane/speakers_b/set"), mqttSent % 2 ? "ON" : "OFF", false);
    });
    hub.start(1500);

    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < qint64(minutes) * 60000) {
        runFor(60000);
        std::printf("%lld min: %d reports sent, %zu seen, RSS %lld KiB\n",
                    static_cast<long long>(elapsed.elapsed() / 60000), reportsSent, rig.seen.size(),
                    static_cast<long long>(rssKiB(rig.pid())));
        std::fflush(stdout);
    }
    reports.stop();
    busClient.stop();
    hub.stop();
    runFor(3000);
    waitFor([&] { return running.isEmpty(); }, 10000);

    // Match each line to the report it came from: the values run on in sequence, so a
    // jump is the number of reports lost in between.
    std::vector<double> toWatch;
    int lost = 0;
    int extra = 0;
    std::size_t next = 1;
    for (const auto &[value, when] : rig.seen) {
        std::size_t match = next;
        while (match <= sentAt.size() && volumeBody(int(match)).mid(4).toInt(nullptr, 16) != value
               && match < next + kVolumeSteps)
            ++match;
        if (match > sentAt.size() || match >= next + kVolumeSteps) {
            ++extra;
            continue;
        }
        lost += int(match - next);
        toWatch.push_back((when - sentAt[match - 1]) / 1e6);
        next = match + 1;
    }
    lost += int(sentAt.size() + 1 - next);

    const QString wire = receiver.log();
    const auto codes = [&](const char *code) {
        return wire.count(QStringLiteral("<STX>%1<ETX>").arg(QLatin1String(code)));
    };
    std::printf("soak of %d min, seed %u\n", minutes, seed);
    std::printf("reports sent %d, seen by orvane-ctl watch %zu, lost %d, unexpected %d\n",
                reportsSent, toWatch.size(), lost, extra);
    report("report on the wire -> orvane-ctl watch line", toWatch);
    std::printf("orvane-ctl send: %d run, %d failed; codes at the receiver %lld\n", ctlSent,
                ctlFailed, static_cast<long long>(codes("07EAB") + codes("07EAC")));
    std::printf("MQTT commands published %d; codes at the receiver %lld\n", mqttSent,
                static_cast<long long>(codes("07EAD") + codes("07EAE")));
    std::printf("configuration requests after the connect: %lld\n",
                static_cast<long long>(wire.count(QStringLiteral("<DC1>000<ETX>")) - 1));
    std::printf("RSS at start %lld KiB, at end %lld KiB; CPU %.1f s\n",
                static_cast<long long>(startRss), static_cast<long long>(rssKiB(rig.pid())),
                cpuSeconds(rig.pid()) - startCpu);
    mqtt.stop();
    return lost == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("latency");
    if (mode == QLatin1String("latency"))
        return latency(argc > 2 ? std::max(1, atoi(argv[2])) : 100,
                       argc > 3 ? std::max(1, atoi(argv[3])) : 30);
    if (mode == QLatin1String("soak"))
        return soak(argc > 2 ? std::max(1, atoi(argv[2])) : 30,
                    argc > 3 ? quint32(strtoul(argv[3], nullptr, 10)) : 1);
    return fail(QStringLiteral("usage: bench_soak latency [count] [idle s] | soak [min] [seed]"));
}
