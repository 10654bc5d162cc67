// orvane-ctl as a shell script uses it: against the real program, connected to the
// virtual receiver on a pseudo-terminal, on a session bus of the test's own.

#include "tests/support/PrivateBus.h"
#include "tests/support/ReceiverProcess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {
const QString kService = QStringLiteral("org.orvane.Orvane");

struct Run
{
    int status = -1;
    QString out;
    QString err;
};
} // namespace

class tst_E2eCtl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void wrongUsageNeedsNoProgram_data();
    void wrongUsageNeedsNoProgram();
    void quitDuringTheStartUpWait();
    void notRunning();
    void sendReachesTheReceiver();
    void displayAndInfo();
    void watchPrintsReports();
    void notConnected();
    void connectWhileThePortRefuses();
    void quitEndsTheProgram();

private:
    Run ctl(const QStringList &arguments, int waitMs = 20000);
    void startProgram();
    bool programOnBus();

    QString m_buildDir;
    QTemporaryDir m_config;
    PrivateBus m_bus;
    ReceiverProcess m_receiver;
    QProcess m_program;
};

void tst_E2eCtl::initTestCase()
{
    m_buildDir = qEnvironmentVariable("ORVANE_BUILD_DIR");
    QVERIFY2(!m_buildDir.isEmpty(), "ORVANE_BUILD_DIR is not set");
    QVERIFY(QFile::exists(m_buildDir + QStringLiteral("/orvane-ctl")));
    QVERIFY(QFile::exists(m_buildDir + QStringLiteral("/orvane")));
    QVERIFY(ReceiverProcess::isBuilt());
    QVERIFY(m_config.isValid());
    if (!m_bus.start())
        QSKIP(qPrintable(QStringLiteral("no private session bus: ") + m_bus.errorString()));
}

void tst_E2eCtl::cleanupTestCase()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(3000);
    }
    m_receiver.kill();
    QDBusConnection::disconnectFromBus(QStringLiteral("watcher"));
}

Run tst_E2eCtl::ctl(const QStringList &arguments, int waitMs)
{
    QProcess process;
    process.setProcessEnvironment(m_bus.environment());
    process.start(m_buildDir + QStringLiteral("/orvane-ctl"), arguments);
    Run run;
    if (!process.waitForStarted(5000))
        return run;
    // Events run meanwhile: the program's window stays alive.
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, waitMs)) {
        process.kill();
        process.waitForFinished(3000);
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

bool tst_E2eCtl::programOnBus()
{
    QDBusConnection bus = QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("watcher"));
    return bus.isConnected() && bus.interface()->isServiceRegistered(kService);
}

void tst_E2eCtl::startProgram()
{
    QVERIFY2(m_receiver.start({QStringLiteral("--log")}), qPrintable(m_receiver.errorString()));
    QDir(m_config.path()).mkpath(QStringLiteral("Orvane"));
    QFile file(m_config.path() + QStringLiteral("/Orvane/Orvane.conf"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Ports]\nCom1=" + m_receiver.device().toLocal8Bit() + "\n");
    file.close();

    QProcessEnvironment environment = m_bus.environment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_program.setProcessEnvironment(environment);
    m_program.start(m_buildDir + QStringLiteral("/orvane"), {QStringLiteral("-C1")});
    QVERIFY(m_program.waitForStarted(5000));
    // Connected with the reports on, and the automation interface on the bus.
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("20100")), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(programOnBus(), 5000);
}

void tst_E2eCtl::wrongUsageNeedsNoProgram_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("code too short") << QStringList {"send", "07A1"} << "five hexadecimal";
    QTest::newRow("code not hexadecimal") << QStringList {"send", "07A1G"} << "five hexadecimal";
    QTest::newRow("unknown command") << QStringList {"volume"} << "unknown command";
}

void tst_E2eCtl::wrongUsageNeedsNoProgram()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = ctl(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
}

void tst_E2eCtl::quitDuringTheStartUpWait()
{
    for (const bool registered : {false, true}) {
        QProcessEnvironment environment = m_bus.environment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_program.setProcessEnvironment(environment);
        m_program.start(m_buildDir + QStringLiteral("/orvane"), {});
        QTRY_VERIFY_WITH_TIMEOUT(programOnBus(), 5000);
        if (registered)
            QCOMPARE(ctl({QStringLiteral("display")}).status, 0);
        QCOMPARE(ctl({QStringLiteral("quit")}).status, 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_program.state() == QProcess::NotRunning, 5000);
        QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    }
}

void tst_E2eCtl::notRunning()
{
    const Run run = ctl({QStringLiteral("display")});
    QCOMPARE(run.status, 3);
    QVERIFY2(run.err.contains(QStringLiteral("not running")), qPrintable(run.err));
    startProgram();
}

void tst_E2eCtl::sendReachesTheReceiver()
{
    // Lower case is taken too; the receiver sees the code in upper case.
    const Run run = ctl({QStringLiteral("send"), QStringLiteral("07a1d")});
    QCOMPARE(run.status, 0);
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("07A1D")), 3000);
}

void tst_E2eCtl::displayAndInfo()
{
    const Run display = ctl({QStringLiteral("display")});
    QCOMPARE(display.status, 0);
    QCOMPARE(display.out.count(QLatin1Char('\n')), 2);
    const Run info = ctl({QStringLiteral("info")});
    QCOMPARE(info.status, 0);
    QVERIFY2(info.out.startsWith(QStringLiteral("R0161\n")), qPrintable(info.out));
}

void tst_E2eCtl::watchPrintsReports()
{
    QProcess watch;
    watch.setProcessEnvironment(m_bus.environment());
    watch.start(m_buildDir + QStringLiteral("/orvane-ctl"), {QStringLiteral("watch")});
    QVERIFY(watch.waitForStarted(5000));
    // Registered once the program lists it; reports from the front panel follow.
    QTest::qWait(500);
    m_receiver.writeLine("002401");
    QString lines;
    QTRY_VERIFY_WITH_TIMEOUT(
        (lines += QString::fromLocal8Bit(watch.readAllStandardOutput())).contains("002401\n"),
        5000);
    // Interrupted, it unregisters and ends normally.
    watch.terminate();
    QTRY_VERIFY_WITH_TIMEOUT(watch.state() == QProcess::NotRunning, 5000);
    QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
    QCOMPARE(watch.exitCode(), 0);
}

void tst_E2eCtl::notConnected()
{
    QCOMPARE(ctl({QStringLiteral("disconnect")}).status, 0);
    const Run send = ctl({QStringLiteral("send"), QStringLiteral("07A1D")});
    QCOMPARE(send.status, 4);
    QVERIFY2(send.err.contains(QStringLiteral("not connected")), qPrintable(send.err));
    QCOMPARE(ctl({QStringLiteral("connect")}).status, 0);
    QCOMPARE(ctl({QStringLiteral("send"), QStringLiteral("07A1D")}).status, 0);
}

void tst_E2eCtl::connectWhileThePortRefuses()
{
    QCOMPARE(ctl({QStringLiteral("disconnect")}).status, 0);
    m_receiver.kill();
    for (int i = 0; i < 10; ++i)
        QCOMPARE(ctl({QStringLiteral("connect")}, 5000).status, 4);
    QCOMPARE(ctl({QStringLiteral("display")}).status, 0);
}

void tst_E2eCtl::quitEndsTheProgram()
{
    QCOMPARE(ctl({QStringLiteral("hide")}).status, 0);

    // A registered client that hangs (stopped) is asked for its vote and not waited
    // for beyond the bound.
    QProcess hanging;
    hanging.setProcessEnvironment(m_bus.environment());
    hanging.start(m_buildDir + QStringLiteral("/orvane-ctl"), {QStringLiteral("watch")});
    QVERIFY(hanging.waitForStarted(5000));
    QTest::qWait(500);
    ::kill(pid_t(hanging.processId()), SIGSTOP);

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ctl({QStringLiteral("quit")}).status, 0);
    QTRY_VERIFY_WITH_TIMEOUT(m_program.state() == QProcess::NotRunning, 10000);
    QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_program.exitCode(), 0);
    QCOMPARE(ctl({QStringLiteral("show")}).status, 3);

    // Woken, the watcher hears it was told to terminate and ends normally.
    ::kill(pid_t(hanging.processId()), SIGCONT);
    QTRY_VERIFY_WITH_TIMEOUT(hanging.state() == QProcess::NotRunning, 15000);
    QCOMPARE(hanging.exitCode(), 0);
}

QTEST_GUILESS_MAIN(tst_E2eCtl)
#include "tst_e2e_ctl.moc"
