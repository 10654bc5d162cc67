// The real program ended from outside: by a signal during the one-second start-up
// wait, while a "-C" connection waits on a receiver that does not answer, while a modal
// box waits, and while a bus client refuses the unload; by orvane-ctl quit during the
// start-up wait. Each time it must end on its own (exit code 0) within a few seconds and
// keep the configuration.

#include "tests/support/PrivateBus.h"
#include "tests/support/ReceiverProcess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <vector>

namespace {
const QString kService = QStringLiteral("org.orvane.Orvane");

// Whether the process catches `signal` yet (its handler is installed).
bool catches(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const quint64 mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask & (quint64(1) << (signal - 1)));
        }
    }
    return false;
}
} // namespace

// A bus client that answers every unload vote with "cancel".
class RefusingClient : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvane.Orvane.AddInClient")
public slots:
    int Unload(const QDBusObjectPath &) { return 1; }
};

class tst_E2eSignals : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void endedFromOutside_data();
    void endedFromOutside();

private:
    bool programOnBus();
    bool registerRefusingClient();

    QString m_buildDir;
    PrivateBus m_bus;
    bool m_busRunning = false;
    ReceiverProcess m_receiver;
    QProcess m_program;
    RefusingClient m_client;
};

void tst_E2eSignals::initTestCase()
{
    m_buildDir = qEnvironmentVariable("ORVANE_BUILD_DIR");
    if (!QFile::exists(m_buildDir + QStringLiteral("/orvane")) || !ReceiverProcess::isBuilt())
        QSKIP("orvane or orvane-receiver not built (ORVANE_BUILD_DIR)");
    m_busRunning = m_bus.start();
}

void tst_E2eSignals::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(3000);
    }
    m_receiver.kill();
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
}

bool tst_E2eSignals::programOnBus()
{
    QDBusConnection bus = QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("client"));
    return bus.isConnected() && bus.interface()->isServiceRegistered(kService);
}

bool tst_E2eSignals::registerRefusingClient()
{
    QDBusConnection bus = QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("client"));
    bus.registerObject(QStringLiteral("/org/orvane/Orvane/AddInClient"), &m_client,
                       QDBusConnection::ExportAllSlots);
    const QDBusReply<QDBusObjectPath> path = bus.call(QDBusMessage::createMethodCall(
        kService, QStringLiteral("/"), kService, QStringLiteral("CreateAddIn")));
    if (!path.isValid())
        return false;
    const QDBusMessage registered = bus.call(QDBusMessage::createMethodCall(
        kService, path.value().path(), QStringLiteral("org.orvane.Orvane.AddIn"),
        QStringLiteral("AddInRegister")));
    return registered.type() == QDBusMessage::ReplyMessage;
}

void tst_E2eSignals::endedFromOutside_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signal"); // 0: the orvane-ctl commands below end it
    QTest::addColumn<QStringList>("ctl");
    QTest::addColumn<bool>("savesAll");

    const QStringList none;
    const QStringList connect {QStringLiteral("-C1")};
    QTest::newRow("SIGTERM during the start-up wait")
        << "wait" << none << int(SIGTERM) << none << false;
    QTest::newRow("SIGINT during the start-up wait")
        << "wait" << none << int(SIGINT) << none << false;
    QTest::newRow("SIGTERM while -C connects")
        << "connecting" << connect << int(SIGTERM) << none << true;
    QTest::newRow("SIGHUP while -C connects")
        << "connecting" << connect << int(SIGHUP) << none << true;
    QTest::newRow("SIGTERM while the options box waits")
        << "box" << QStringList {QStringLiteral("-?")} << int(SIGTERM) << none << false;
    QTest::newRow("SIGINT while the cannot-connect box waits")
        << "no port" << connect << int(SIGINT) << none << true;
    QTest::newRow("SIGTERM while a client refuses the unload")
        << "refusing client" << none << int(SIGTERM) << none << true;
    QTest::newRow("quit during the start-up wait")
        << "wait" << none << 0 << QStringList {QStringLiteral("quit")} << false;
    QTest::newRow("display, then quit during the start-up wait")
        << "wait" << none << 0 << QStringList {QStringLiteral("display"), QStringLiteral("quit")}
        << true;
}

void tst_E2eSignals::endedFromOutside()
{
    QFETCH(QString, when);
    QFETCH(QStringList, arguments);
    QFETCH(int, signal);
    QFETCH(QStringList, ctl);
    QFETCH(bool, savesAll);
    const bool needsBus = !ctl.isEmpty() || when == QLatin1String("refusing client");
    if (needsBus && !m_busRunning)
        QSKIP(qPrintable(QStringLiteral("no private session bus: ") + m_bus.errorString()));

    // A receiver that never answers the configuration request keeps "-C" connecting for
    // four attempts of 0.8 s.
    QVERIFY2(m_receiver.start({QStringLiteral("--log"), QStringLiteral("--answer-from"),
                               QStringLiteral("99")}),
             qPrintable(m_receiver.errorString()));
    const QString device = when == QLatin1String("no port")
        ? QStringLiteral("/dev/orvane-test-no-such-port")
        : m_receiver.device();
    QTemporaryDir config;
    QVERIFY(config.isValid());
    QDir(config.path()).mkpath(QStringLiteral("Orvane"));
    const QString settingsPath = config.path() + QStringLiteral("/Orvane/Orvane.conf");
    {
        QFile file(settingsPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Config]\nReportTime=3\n\n[Ports]\nCom1=" + device.toLocal8Bit() + "\n");
    }

    QProcessEnvironment environment
        = m_busRunning ? m_bus.environment() : QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_program.setProcessEnvironment(environment);
    m_program.setProgram(m_buildDir + QStringLiteral("/orvane"));
    m_program.setArguments(arguments);
    QElapsedTimer clock;
    clock.start();
    m_program.start();
    QVERIFY(m_program.waitForStarted(5000));

    // orvane-ctl quit waits for the program to end; it lives as long as the row.
    std::vector<std::unique_ptr<QProcess>> clients;
    if (!ctl.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(programOnBus(), 5000);
        for (const QString &command : std::as_const(ctl)) {
            if (clock.elapsed() > 900)
                QSKIP("the program was not on the bus before its start-up wait was over");
            auto &process = clients.emplace_back(std::make_unique<QProcess>());
            process->setProcessEnvironment(m_bus.environment());
            process->start(m_buildDir + QStringLiteral("/orvane-ctl"), {command});
            QVERIFY(process->waitForStarted(5000));
            if (command != QLatin1String("quit"))
                QVERIFY(process->waitForFinished(5000));
        }
    } else if (when == QLatin1String("connecting")) {
        QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("<DC1>000<ETX>")), 10000);
    } else if (when == QLatin1String("wait")) {
        QTRY_VERIFY_WITH_TIMEOUT(catches(m_program.processId(), signal), 5000);
        if (clock.elapsed() > 800)
            QSKIP("the program caught no signal before its start-up wait was over");
    } else if (when == QLatin1String("refusing client")) {
        QTRY_VERIFY_WITH_TIMEOUT(programOnBus(), 5000);
        QVERIFY(registerRefusingClient());
        // After the start-up wait, with the main window running.
        QTest::qWait(1500);
    } else {
        // The box is open once the start-up wait and the load are over.
        QTRY_VERIFY_WITH_TIMEOUT(catches(m_program.processId(), signal), 5000);
        QTest::qWait(2000);
    }
    if (signal != 0) {
        QVERIFY(m_program.state() == QProcess::Running);
        QCOMPARE(::kill(pid_t(m_program.processId()), signal), 0);
    }

    // Events run meanwhile, so a client of this test can answer the vote.
    QElapsedTimer ending;
    ending.start();
    QTRY_VERIFY_WITH_TIMEOUT(m_program.state() == QProcess::NotRunning, 10000);
    QVERIFY2(ending.elapsed() < 8000, qPrintable(QString::number(ending.elapsed())));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);

    QFile file(settingsPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString saved = QString::fromLocal8Bit(file.readAll());
    QVERIFY2(saved.contains(QStringLiteral("ReportTime=3")), qPrintable(saved));
    QVERIFY2(saved.contains(QStringLiteral("Com1=") + device), qPrintable(saved));
    // Once the configuration was loaded, the ending saved it whole.
    if (savesAll)
        QVERIFY2(saved.contains(QStringLiteral("Mode=")), qPrintable(saved));
}

QTEST_GUILESS_MAIN(tst_E2eSignals)
#include "tst_e2e_signals.moc"
