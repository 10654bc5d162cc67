// Measured runs of the real program (offscreen) against the virtual receiver on a
// pseudo-terminal, a private session bus and a private MQTT broker; not part of the suite.
// ORVANE_BUILD_DIR names the build whose orvane, orvane-ctl and orvane-receiver run.
//
//   bench_soak latency [count] [idle s]   a report typed into the receiver until
//       `orvane-ctl watch` prints it; then the program's CPU while connected and idle
//   bench_soak soak [minutes] [seed]      reports every 50-500 ms, `orvane-ctl send`
//       every second, an MQTT command every 1.5 s, `orvane-ctl watch` all along; each
//       report carries the next volume value, so a lost one shows as a gap

#include "BrokerProcess.h"
#include "mqtt/MosquittoClient.h"
#include "tests/support/EndToEndHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLowest = 0x27;
constexpr int kSteps = 0xE8 - kLowest + 1;

int fail(const QString &text)
{
    std::fprintf(stderr, "bench_soak: %s\n", qPrintable(text));
    return 1;
}

void report(const char *what, std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    if (!v.empty())
        std::printf("%s ms: median %.1f, p95 %.1f, max %.1f (%zu samples)\n", what, v[v.size() / 2],
                    v[v.size() * 95 / 100], v.back(), v.size());
}

// Runs events until `done` holds or `limitMs` passed.
template<typename Done> bool runUntil(Done done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs) {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// A number of the process's /proc files: CPU seconds, or the resident size in KiB.
double cpuSeconds(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

long long rssKiB(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmRSS:");
    return at < 0 ? -1 : text.mid(at + 6, 20).trimmed().split(' ').value(0).toLongLong();
}

int volumeOf(int sequence)
{
    return kLowest + sequence % kSteps;
}

QByteArray volumeReport(int sequence)
{
    return "0026" + QByteArray::number(volumeOf(sequence), 16).toUpper();
}

// The program with its receiver, bus, broker and a watching bus client, connected.
struct Rig
{
    EndToEndHarness e2e;
    BrokerProcess broker;
    QProcess watch;
    QElapsedTimer clock;
    // The volume of each main-volume line the watch printed, and when it came.
    std::vector<std::pair<int, qint64>> seen;

    QString start()
    {
        if (const QString missing = EndToEndHarness::missing(); !missing.isEmpty())
            return missing;
        if (!BrokerProcess::isInstalled() || !broker.start())
            return QStringLiteral("no MQTT broker: ") + broker.errorString();
        if (!e2e.startBus() || !e2e.startReceiver({QStringLiteral("--log")})
            || !e2e.writeSettings(
                "[MQTT]\nBroker=mqtt://127.0.0.1:" + QByteArray::number(broker.port()) + "\n")
            || !e2e.startProgram({QStringLiteral("-C1")}))
            return e2e.errorString();
        if (!runUntil([&] { return e2e.receiver().log().contains(u"20100"); }, 20000))
            return QStringLiteral("the program did not connect");
        clock.start();
        watch.setProcessEnvironment(e2e.bus().environment());
        QObject::connect(&watch, &QProcess::readyReadStandardOutput, [this] {
            while (watch.canReadLine()) {
                const QByteArray line = watch.readLine().trimmed();
                if (line.size() == 6 && line.startsWith("0026"))
                    seen.emplace_back(line.mid(4).toInt(nullptr, 16), clock.nsecsElapsed());
            }
        });
        // The watch has registered once it prints a report.
        for (int attempt = 0; attempt < 10 && seen.empty(); ++attempt) {
            if (watch.state() == QProcess::NotRunning)
                watch.start(EndToEndHarness::binary(QStringLiteral("orvane-ctl")),
                            {QStringLiteral("watch")});
            e2e.receiver().writeLine(volumeReport(0));
            runUntil([&] { return !seen.empty(); }, 1000);
        }
        if (seen.empty())
            return QStringLiteral("orvane-ctl watch printed nothing");
        runUntil([] { return false; }, 500);
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
    std::vector<double> toWatch;
    for (int i = 1; i <= count; ++i) {
        const qint64 sent = rig.clock.nsecsElapsed();
        rig.e2e.receiver().writeLine(volumeReport(i));
        if (!runUntil([&] { return rig.seen.size() == std::size_t(i); }, 3000))
            return fail(QStringLiteral("report %1 never reached the watch").arg(i));
        toWatch.push_back((rig.seen.back().second - sent) / 1e6);
        runUntil([] { return false; }, 200);
    }
    report("report on the wire -> orvane-ctl watch line", toWatch);
    const double before = cpuSeconds(rig.pid());
    runUntil([] { return false; }, idleSeconds * 1000);
    std::printf("idle CPU while connected: %.3f %% of a core over %d s\n",
                (cpuSeconds(rig.pid()) - before) * 100.0 / idleSeconds, idleSeconds);
    return 0;
}

int soak(int minutes, quint32 seed)
{
    Rig rig;
    if (const QString why = rig.start(); !why.isEmpty())
        return fail(why);
    QRandomGenerator random(seed);
    MosquittoClient mqtt;
    MosquittoClient::Options options;
    options.host = QStringLiteral("127.0.0.1");
    options.port = rig.broker.port();
    options.clientId = QStringLiteral("bench-soak");
    mqtt.start(options);
    const long long startRss = rssKiB(rig.pid());

    std::vector<qint64> sentAt;
    QTimer reports;
    reports.setSingleShot(true);
    QObject::connect(&reports, &QTimer::timeout, [&] {
        sentAt.push_back(rig.clock.nsecsElapsed());
        rig.e2e.receiver().writeLine(volumeReport(int(sentAt.size())));
        reports.start(int(random.bounded(50, 501)));
    });
    int ctlRuns = 0;
    int ctlFailed = 0;
    int ctlRunning = 0;
    QTimer busClient;
    QObject::connect(&busClient, &QTimer::timeout, [&] {
        auto *ctl = new QProcess;
        ctl->setProcessEnvironment(rig.e2e.bus().environment());
        QObject::connect(ctl, &QProcess::finished, [&, ctl](int code) {
            ctlFailed += code != 0;
            --ctlRunning;
            ctl->deleteLater();
        });
        ++ctlRunning;
        ctl->start(EndToEndHarness::binary(QStringLiteral("orvane-ctl")),
                   {QStringLiteral("send"),
                    ++ctlRuns % 2 ? QStringLiteral("07EAB") : QStringLiteral("07EAC")});
    });
    int published = 0;
    QTimer hub;
    QObject::connect(&hub, &QTimer::timeout, [&] {
        mqtt.publish(QStringLiteral("orvane/speakers_b/set"), ++published % 2 ? "ON" : "OFF",
                     false);
    });
    reports.start(100);
    busClient.start(1000);
    hub.start(1500);
    for (int minute = 1; minute <= minutes; ++minute) {
        runUntil([] { return false; }, 60000);
        std::printf("%d min: %zu reports sent, %zu seen, RSS %lld KiB\n", minute, sentAt.size(),
                    rig.seen.size(), rssKiB(rig.pid()));
        std::fflush(stdout);
    }
    reports.stop();
    busClient.stop();
    hub.stop();
    runUntil([&] { return ctlRunning == 0; }, 10000);
    runUntil([] { return false; }, 2000);

    // Each line answers the first report not yet seen whose value it carries.
    std::vector<double> toWatch;
    std::size_t next = 0; // index into sentAt of the next report expected
    int unexpected = 0;
    for (const auto &[value, when] : rig.seen) {
        std::size_t match = next;
        while (match < sentAt.size() && match < next + kSteps && volumeOf(int(match) + 1) != value)
            ++match;
        if (match >= sentAt.size() || match >= next + kSteps) {
            ++unexpected;
            continue;
        }
        toWatch.push_back((when - sentAt[match]) / 1e6);
        next = match + 1;
    }
    const long long lost = (long long)(sentAt.size() - toWatch.size());
    const QString wire = rig.e2e.receiver().log();
    const auto codes = [&](const char *a, const char *b) {
        return (long long)(wire.count(QStringLiteral("<STX>%1<ETX>").arg(QLatin1String(a)))
                           + wire.count(QStringLiteral("<STX>%1<ETX>").arg(QLatin1String(b))));
    };
    std::printf("soak of %d min, seed %u\nreports sent %zu, seen %zu, lost %lld, unexpected %d\n",
                minutes, seed, sentAt.size(), toWatch.size(), lost, unexpected);
    report("report on the wire -> orvane-ctl watch line", toWatch);
    std::printf("orvane-ctl send: %d run, %d failed, %lld codes at the receiver\n", ctlRuns,
                ctlFailed, codes("07EAB", "07EAC"));
    std::printf("MQTT commands: %d published, %lld codes at the receiver\n", published,
                codes("07EAD", "07EAE"));
    std::printf("configuration requests after connecting: %lld\n",
                (long long)wire.count(u"<DC1>000<ETX>") - 1);
    std::printf("RSS at start %lld KiB, at end %lld KiB\n", startRss, rssKiB(rig.pid()));
    mqtt.stop();
    return lost == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("latency");
    const auto number = [&](int i, int fallback) { return argc > i ? atoi(argv[i]) : fallback; };
    if (mode == "latency")
        return latency(std::max(1, number(2, 100)), std::max(1, number(3, 30)));
    if (mode == "soak")
        return soak(std::max(1, number(2, 30)), quint32(number(3, 1)));
    return fail(QStringLiteral("usage: bench_soak latency [count] [idle s] | soak [min] [seed]"));
}
