// The real program ended by a signal before its main window runs: during the one-second
// start-up wait, and while a "-C" connection waits on a receiver that does not answer.
// Either way it must end on its own (exit code 0) and keep the configuration.

#include "tests/support/EndToEndHarness.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <csignal>

namespace {
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

class tst_E2eSignals : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void signalDuringStartUp_data();
    void signalDuringStartUp();

private:
    EndToEndHarness m_e2e;
};

void tst_E2eSignals::initTestCase()
{
    if (const QString missing = EndToEndHarness::missing(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
}

void tst_E2eSignals::cleanup()
{
    m_e2e.stop();
}

void tst_E2eSignals::signalDuringStartUp_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("connecting");

    QTest::newRow("SIGTERM during the start-up wait") << int(SIGTERM) << false;
    QTest::newRow("SIGINT during the start-up wait") << int(SIGINT) << false;
    QTest::newRow("SIGTERM while -C connects") << int(SIGTERM) << true;
    QTest::newRow("SIGHUP while -C connects") << int(SIGHUP) << true;
}

void tst_E2eSignals::signalDuringStartUp()
{
    QFETCH(int, signal);
    QFETCH(bool, connecting);

    // A receiver that never answers the configuration request keeps "-C" connecting for
    // four attempts of 0.8 s.
    QVERIFY2(m_e2e.startReceiver(
                 {QStringLiteral("--log"), QStringLiteral("--answer-from"), QStringLiteral("99")}),
             qPrintable(m_e2e.errorString()));
    QVERIFY(m_e2e.writeSettings("[Config]\nReportTime=3\n\n"));
    QElapsedTimer clock;
    clock.start();
    QVERIFY2(m_e2e.startProgram(connecting ? QStringList {QStringLiteral("-C1")} : QStringList {}),
             qPrintable(m_e2e.errorString()));
    ReceiverProcess &receiver = m_e2e.receiver();
    QProcess &program = m_e2e.program();

    if (connecting) {
        QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("<DC1>000<ETX>")), 10000);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(catches(program.processId(), signal), 5000);
        if (clock.elapsed() > 800)
            QSKIP("the program caught no signal before its start-up wait was over");
    }
    QCOMPARE(::kill(pid_t(program.processId()), signal), 0);

    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    const QString saved = m_e2e.savedSettings();
    QVERIFY2(saved.contains(QStringLiteral("ReportTime=3")), qPrintable(saved));
    QVERIFY2(saved.contains(QStringLiteral("Com1=") + receiver.device()), qPrintable(saved));
    // The connection had loaded the configuration, so the ending saved it whole.
    if (connecting)
        QVERIFY2(saved.contains(QStringLiteral("Mode=")), qPrintable(saved));
}

QTEST_GUILESS_MAIN(tst_E2eSignals)
#include "tst_e2e_signals.moc"
