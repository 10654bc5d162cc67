// orvane-ctl as a shell script uses it: against the real program, connected to the
// virtual receiver on a pseudo-terminal, on a session bus of the test's own.

#include "tests/support/EndToEndHarness.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
const QString kService = QStringLiteral("org.orvane.Orvane");

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

QDBusMessage call(QDBusConnection &bus, const QString &path, const QString &interface,
                  const QString &member, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, member);
    message.setArguments(arguments);
    return bus.call(message, QDBus::BlockWithGui, 5000);
}

// An outside add-in on `bus`, registered under `name`; returns its object path.
QString registerAddIn(QDBusConnection &bus, const QString &name = {})
{
    const QString path = call(bus, QStringLiteral("/"), kService, QStringLiteral("CreateAddIn"))
                             .arguments()
                             .value(0)
                             .value<QDBusObjectPath>()
                             .path();
    const QString addIn = kService + QStringLiteral(".AddIn");
    if (!name.isEmpty())
        call(bus, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
             {addIn, QStringLiteral("AddInName"), QVariant::fromValue(QDBusVariant(name))});
    call(bus, path, addIn, QStringLiteral("AddInRegister"));
    return path;
}

// An outside add-in that answers every unload vote with a refusal.
class Refuser : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvane.Orvane.AddInClient")
public slots:
    int Unload(const QDBusObjectPath &) { return 1; }
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
    void quitRefusedByAnAddIn();
    void quitEndsTheProgram();

private:
    Run ctl(const QStringList &arguments, int waitMs = 20000, const QString &output = {});
    void startProgram();
    bool programOnBus();

    EndToEndHarness m_e2e;
    int m_heldDevice = -1;
    QString m_ctl = EndToEndHarness::binary(QStringLiteral("orvane-ctl"));
};

void tst_E2eCtl::initTestCase()
{
    QVERIFY2(EndToEndHarness::missing().isEmpty(), qPrintable(EndToEndHarness::missing()));
    QVERIFY(QFile::exists(m_ctl));
    if (!m_e2e.startBus())
        QSKIP(qPrintable(m_e2e.errorString()));
}

void tst_E2eCtl::cleanupTestCase()
{
    m_e2e.stop();
    if (m_heldDevice >= 0)
        ::close(m_heldDevice);
    QDBusConnection::disconnectFromBus(QStringLiteral("watcher"));
}

Run tst_E2eCtl::ctl(const QStringList &arguments, int waitMs, const QString &output)
{
    QProcess process;
    process.setProcessEnvironment(m_e2e.bus().environment());
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(m_ctl, arguments);
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
    QDBusConnection bus
        = QDBusConnection::connectToBus(m_e2e.bus().address(), QStringLiteral("watcher"));
    return bus.isConnected() && bus.interface()->isServiceRegistered(kService);
}

void tst_E2eCtl::startProgram()
{
    QVERIFY2(m_e2e.startReceiver({QStringLiteral("--log")}), qPrintable(m_e2e.errorString()));
    QVERIFY(m_e2e.writeSettings());
    QVERIFY2(m_e2e.startProgram({QStringLiteral("-C1")}), qPrintable(m_e2e.errorString()));
    // Connected with the reports on, and the automation interface on the bus.
    QTRY_VERIFY_WITH_TIMEOUT(m_e2e.receiver().log().contains(QStringLiteral("20100")), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(programOnBus(), 5000);
}

void tst_E2eCtl::wrongUsageNeedsNoProgram_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("code too short") << QStringList {"send", "07A1"} << "five hexadecimal";
    QTest::newRow("code not hexadecimal") << QStringList {"send", "07A1G"} << "five hexadecimal";
    QTest::newRow("unknown command") << QStringList {"volume"} << "unknown command";
    QTest::newRow("unknown option") << QStringList {"display", "--volume"} << "Unknown option";
    QTest::newRow("--power-on beside another command")
        << QStringList {"display", "--power-on"} << "takes no arguments";
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
    // Also after a client has registered, which loads the main window during the wait.
    for (const bool registered : {false, true}) {
        QVERIFY(m_e2e.writeSettings());
        QVERIFY2(m_e2e.startProgram(), qPrintable(m_e2e.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(programOnBus(), 5000);
        if (registered)
            QCOMPARE(ctl({QStringLiteral("display")}).status, 0);
        QCOMPARE(ctl({QStringLiteral("quit")}).status, 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_e2e.program().state() == QProcess::NotRunning, 5000);
        QCOMPARE(m_e2e.program().exitStatus(), QProcess::NormalExit);
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
    QTRY_VERIFY_WITH_TIMEOUT(m_e2e.receiver().log().contains(QStringLiteral("07A1D")), 3000);
}

void tst_E2eCtl::displayAndInfo()
{
    const Run display = ctl({QStringLiteral("display")});
    QCOMPARE(display.status, 0);
    QCOMPARE(display.out.count(QLatin1Char('\n')), 2);
    const Run info = ctl({QStringLiteral("info")});
    QCOMPARE(info.status, 0);
    QVERIFY2(info.out.startsWith(QStringLiteral("R0161\n")), qPrintable(info.out));
    // Output that cannot be written is a failure a script sees.
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        for (const QString &command : {QStringLiteral("display"), QStringLiteral("info")}) {
            const Run full = ctl({command}, 20000, QStringLiteral("/dev/full"));
            QCOMPARE(full.status, 1);
            QVERIFY2(full.err.contains(QStringLiteral("cannot be written")), qPrintable(full.err));
        }
    }
}

void tst_E2eCtl::watchPrintsReports()
{
    QProcess watch;
    watch.setProcessEnvironment(m_e2e.bus().environment());
    watch.start(m_ctl, {QStringLiteral("watch")});
    QVERIFY(watch.waitForStarted(5000));
    // Registered once the program lists it; reports from the front panel follow.
    QTest::qWait(500);
    m_e2e.receiver().writeLine("002401");
    QString lines;
    QTRY_VERIFY_WITH_TIMEOUT(
        (lines += QString::fromLocal8Bit(watch.readAllStandardOutput())).contains("002401\n"),
        5000);
    // Interrupted, it unregisters and ends normally.
    watch.terminate();
    QTRY_VERIFY_WITH_TIMEOUT(watch.state() == QProcess::NotRunning, 5000);
    QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
    QCOMPARE(watch.exitCode(), 0);

    // Another add-in asks every other one to terminate: the watch ends with its own
    // status while Orvane runs on.
    watch.start(m_ctl, {QStringLiteral("watch")});
    QVERIFY(watch.waitForStarted(5000));
    QTest::qWait(500);
    QDBusConnection bus
        = QDBusConnection::connectToBus(m_e2e.bus().address(), QStringLiteral("other"));
    call(bus, registerAddIn(bus), kService + QStringLiteral(".AddIn"),
         QStringLiteral("AddInTerminate"), {QString()});
    QTRY_VERIFY_WITH_TIMEOUT(watch.state() == QProcess::NotRunning, 5000);
    QCOMPARE(watch.exitCode(), 5);
    QVERIFY(programOnBus());
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
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
    // The device is gone: each connect fails and answers at once, with no box to close.
    QCOMPARE(ctl({QStringLiteral("disconnect")}).status, 0);
    // Held open, the pseudo-terminal keeps its number: no receiver of another test gets it
    // (and the connects here) while this program still has it as COM 1.
    m_heldDevice = ::open(qPrintable(m_e2e.receiver().device()), O_RDWR | O_NOCTTY);
    m_e2e.receiver().kill();
    for (int i = 0; i < 10; ++i)
        QCOMPARE(ctl({QStringLiteral("connect")}, 5000).status, 4);
    QCOMPARE(ctl({QStringLiteral("display")}).status, 0);
}

void tst_E2eCtl::quitRefusedByAnAddIn()
{
    QDBusConnection bus
        = QDBusConnection::connectToBus(m_e2e.bus().address(), QStringLiteral("refuser"));
    Refuser refuser;
    bus.registerObject(QStringLiteral("/org/orvane/Orvane/AddInClient"), &refuser,
                       QDBusConnection::ExportAllSlots);
    // The name is shown as text, without its control characters.
    registerAddIn(bus, QStringLiteral("Keeper\x1b[2J"));

    // The refusal is reported at once, not after the ten seconds' wait.
    QElapsedTimer clock;
    clock.start();
    const Run run = ctl({QStringLiteral("quit")});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("\"Keeper[2J\" refused")), qPrintable(run.err));
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(programOnBus());
    QDBusConnection::disconnectFromBus(QStringLiteral("refuser"));
}

void tst_E2eCtl::quitEndsTheProgram()
{
    // Hidden, it ends all the same.
    QCOMPARE(ctl({QStringLiteral("hide")}).status, 0);

    // A registered client that hangs (stopped) is asked for its vote and not waited
    // for beyond the bound.
    QProcess hanging;
    hanging.setProcessEnvironment(m_e2e.bus().environment());
    hanging.start(m_ctl, {QStringLiteral("watch")});
    QVERIFY(hanging.waitForStarted(5000));
    QTest::qWait(500);
    ::kill(pid_t(hanging.processId()), SIGSTOP);

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ctl({QStringLiteral("quit")}).status, 0);
    QTRY_VERIFY_WITH_TIMEOUT(m_e2e.program().state() == QProcess::NotRunning, 10000);
    QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_e2e.program().exitCode(), 0);
    QCOMPARE(ctl({QStringLiteral("show")}).status, 3);

    // Woken, the watcher hears it was told to terminate and ends normally.
    ::kill(pid_t(hanging.processId()), SIGCONT);
    QTRY_VERIFY_WITH_TIMEOUT(hanging.state() == QProcess::NotRunning, 15000);
    QCOMPARE(hanging.exitCode(), 0);
}

QTEST_GUILESS_MAIN(tst_E2eCtl)
#include "tst_e2e_ctl.moc"
