// Measured run of the MQTT bridge in the real program (offscreen) against a private broker
// and the virtual receiver on a pseudo-terminal:
//   - a front-panel report of the receiver until its state topic reaches a subscriber,
//   - a command topic until its code reaches the receiver,
//   - the display sensors' messages a second during a 40-step volume run from the hub, and
//     whether switch commands sent during the run reach the receiver,
//   - the program's CPU while idle with the bridge connected, and while the broker is down,
//   - this process's CPU while a client tries a TLS broker that is not there.
//
//   bench_mqtt [count] [idle seconds]

#include "BrokerProcess.h"
#include "mqtt/MosquittoClient.h"
#include "state/VolumeText.h"
#include "tests/support/ReceiverProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

int fail(const QString &text)
{
    std::fprintf(stderr, "bench_mqtt: %s\n", qPrintable(text));
    return 1;
}

void report(const char *what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("%s ms: median %.1f, p95 %.1f, max %.1f (%zu samples)\n", what,
                values[values.size() / 2], values[values.size() * 95 / 100], values.back(),
                values.size());
}

// Waits until `done` holds, letting events run; false after `limitMs`.
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

// CPU seconds a process has used so far.
double cpuOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // Fields 14 and 15 of the file (utime, stime) are 11 and 12 after the name.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

double idlePercent(qint64 pid, int seconds)
{
    const double before = cpuOf(pid);
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    return (cpuOf(pid) - before) * 100.0 / seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const int idleSeconds = argc > 2 ? std::max(1, atoi(argv[2])) : 30;
    const QString buildDir = qEnvironmentVariable("ORVANE_BUILD_DIR");
    if (buildDir.isEmpty())
        return fail(QStringLiteral("ORVANE_BUILD_DIR is not set"));
    if (!BrokerProcess::isInstalled())
        return fail(QStringLiteral("mosquitto is not installed"));

    BrokerProcess broker;
    if (!broker.start())
        return fail(broker.errorString());
    ReceiverProcess receiver;
    if (!receiver.start({QStringLiteral("--log")}))
        return fail(receiver.errorString());
    QString wire;
    QObject::connect(&receiver.process(), &QProcess::readyReadStandardError, &app, [&] {
        wire += QString::fromLatin1(receiver.process().readAllStandardError());
    });

    QTemporaryDir config;
    QDir(config.path()).mkpath(QStringLiteral("Orvane"));
    QFile file(config.path() + QStringLiteral("/Orvane/Orvane.conf"));
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write the configuration"));
    file.write("[Ports]\nCom1=" + receiver.device().toLocal8Bit()
               + "\n[MQTT]\nInstallation=b0b0b0b0b0b0\nBroker=mqtt://127.0.0.1:"
               + QByteArray::number(broker.port()) + "\n");
    file.close();

    const QString base = QStringLiteral("orvane/b0b0b0b0b0b0");
    const auto topic = [&](const char *object, const char *leaf) {
        return base + QLatin1Char('/') + QLatin1String(object) + QLatin1Char('/')
            + QLatin1String(leaf);
    };
    MosquittoClient watcher;
    QHash<QString, QByteArray> last;
    QElapsedTimer clock;
    clock.start();
    qint64 arrivedAt = 0;
    QObject::connect(&watcher, &MosquittoClient::connected, &app,
                     [&] { watcher.subscribe(base + QStringLiteral("/#")); });
    int displayMessages = 0;
    QObject::connect(&watcher, &MosquittoClient::messageReceived, &app,
                     [&](const QString &topic, const QByteArray &payload) {
                         last.insert(topic, payload);
                         arrivedAt = clock.nsecsElapsed();
                         if (topic.contains(QLatin1String("/display_line")))
                             ++displayMessages;
                     });
    MosquittoClient::Options options;
    options.host = QStringLiteral("127.0.0.1");
    options.port = broker.port();
    options.clientId = QStringLiteral("bench-watcher");
    watcher.start(options);

    QProcess orvane;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=/nonexistent"));
    orvane.setProcessEnvironment(environment);
    orvane.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    orvane.start(buildDir + QStringLiteral("/orvane"), {QStringLiteral("-C1")});
    if (!waitFor([&] { return last.value(base + QStringLiteral("/receiver")) == "online"; }, 20000))
        return fail(QStringLiteral("the program did not come online at the broker"));
    waitFor([] { return false; }, 1000);

    // Report → state topic: main volume values -16 dB and -15.5 dB in turn.
    std::vector<double> reportToState;
    for (int i = 0; i < count; ++i) {
        const int value = 0xA7 + i % 2;
        const QByteArray expected = QByteArray::number(VolumeText::mainDecibels(value), 'f', 1);
        const qint64 sent = clock.nsecsElapsed();
        receiver.writeLine("0026" + QByteArray::number(value, 16).toUpper());
        if (!waitFor([&] { return last.value(topic("volume", "state")) == expected; }, 3000))
            return fail(QStringLiteral("no volume state %1").arg(QString::fromLatin1(expected)));
        reportToState.push_back((arrivedAt - sent) / 1e6);
        waitFor([] { return false; }, 50);
    }

    // Command topic → code on the wire: speakers A on and off in turn.
    std::vector<double> commandToWire;
    for (int i = 0; i < count; ++i) {
        const bool on = i % 2 == 0;
        const QString code = QStringLiteral("<STX>%1<ETX>").arg(on ? "07EAB" : "07EAC");
        const int before = wire.count(code);
        const qint64 sent = clock.nsecsElapsed();
        watcher.publish(topic("speakers_a", "set"), on ? "ON" : "OFF", false);
        if (!waitFor([&] { return wire.count(code) > before; }, 3000))
            return fail(QStringLiteral("command %1 did not reach the receiver").arg(code));
        commandToWire.push_back((clock.nsecsElapsed() - sent) / 1e6);
        waitFor([] { return false; }, 50);
    }

    // A volume run of 40 steps from the hub (-15.5 dB to +4.5 dB), with switch commands
    // sent while it runs.
    waitFor([] { return false; }, 500);
    const int sideBefore = wire.count(QStringLiteral("<STX>07EAB<ETX>"));
    displayMessages = 0;
    const qint64 runStart = clock.nsecsElapsed();
    watcher.publish(topic("volume", "set"), "4.5", false);
    for (int i = 0; i < 5; ++i) {
        waitFor([] { return false; }, 100);
        watcher.publish(topic("speakers_a", "set"), "ON", false);
    }
    if (!waitFor([&] { return last.value(topic("volume", "state")) == "4.5"; }, 20000))
        return fail(QStringLiteral("the volume run did not arrive"));
    const double runSeconds = (clock.nsecsElapsed() - runStart) / 1e9;
    waitFor([] { return false; }, 500); // the display's last text
    std::printf("40-step volume run: %.2f s, %d display sensor messages (%.1f a second), "
                "%d of 5 switch commands sent during it reached the receiver\n",
                runSeconds, displayMessages, displayMessages / (runSeconds + 0.5),
                int(wire.count(QStringLiteral("<STX>07EAB<ETX>")) - sideBefore));

    report("receiver report -> state topic", reportToState);
    report("command topic -> code on the wire", commandToWire);
    std::printf("idle CPU, bridge connected: %.3f %% of a core over %d s\n",
                idlePercent(orvane.processId(), idleSeconds), idleSeconds);
    broker.stop();
    std::printf("idle CPU, broker down: %.3f %% of a core over %d s\n",
                idlePercent(orvane.processId(), idleSeconds), idleSeconds);

    orvane.terminate();
    orvane.waitForFinished(10000);
    watcher.stop();
    receiver.stop();

    // A TLS client against a port where nothing listens.
    MosquittoClient tls;
    MosquittoClient::Options unreachable;
    unreachable.host = QStringLiteral("127.0.0.1");
    unreachable.port = broker.port();
    unreachable.tls = true;
    unreachable.clientId = QStringLiteral("bench-tls");
    int failures = 0;
    QObject::connect(&tls, &MosquittoClient::disconnected, &app, [&] { ++failures; });
    tls.start(unreachable);
    const double tlsIdle = idlePercent(QCoreApplication::applicationPid(), idleSeconds);
    std::printf("idle CPU, TLS broker away: %.3f %% of a core over %d s (%d attempts)\n", tlsIdle,
                idleSeconds, failures);
    tls.stop();
    return 0;
}
