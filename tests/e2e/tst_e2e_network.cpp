// The real program against the virtual receiver served over TCP, as behind a
// serial-to-network bridge: COM 1 set to its tcp:// address connects and switches the
// reports on; a front-panel event reaches the program; the bridge dropping the
// connection leaves the program running, and it ends in order afterwards.

#include "tests/support/EndToEndHarness.h"

#include <QTest>

class tst_E2eNetwork : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void connectsOverTcpAndSurvivesADrop();

private:
    EndToEndHarness m_e2e;
};

void tst_E2eNetwork::initTestCase()
{
    QVERIFY2(EndToEndHarness::missing().isEmpty(), qPrintable(EndToEndHarness::missing()));
}

void tst_E2eNetwork::cleanup()
{
    m_e2e.stop();
}

void tst_E2eNetwork::connectsOverTcpAndSurvivesADrop()
{
    QVERIFY2(m_e2e.startReceiver(
                 {QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--log")}),
             qPrintable(m_e2e.errorString()));
    QVERIFY(m_e2e.writeSettings());
    QVERIFY2(m_e2e.startProgram({QStringLiteral("-C1")}), qPrintable(m_e2e.errorString()));
    ReceiverProcess &receiver = m_e2e.receiver();
    QProcess &program = m_e2e.program();

    // Configuration request, reports switched on, report time: all over the network.
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral(">> <DC1>000<ETX>")), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("20000")), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("20100")), 5000);

    // Reports flow to the program; then the bridge drops the line.
    receiver.writeLine("10210C");
    receiver.writeLine("headphones on");
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("<< <STX>003401<ETX>")), 5000);
    receiver.writeLine("drop");
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("dropped")), 5000);
    QTest::qWait(500);
    QCOMPARE(program.state(), QProcess::Running);

    // It still ends in order and keeps the network address as the port.
    program.terminate();
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QString saved = m_e2e.savedSettings();
    QVERIFY2(saved.contains(QStringLiteral("Com1=") + receiver.device()), qPrintable(saved));
}

QTEST_GUILESS_MAIN(tst_E2eNetwork)
#include "tst_e2e_network.moc"
