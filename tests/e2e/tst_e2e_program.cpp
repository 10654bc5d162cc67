// The real program, started as a user starts it, against the virtual receiver on a
// pseudo-terminal: it must connect on COM 1, switch the reports on, and save its
// configuration when the desktop ends it.

#include "tests/support/EndToEndHarness.h"

#include <QRegularExpression>
#include <QTest>

class tst_E2eProgram : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void connectsOnCom1();
    void withoutScreenMessagesGoToTheLog();
    void helpWithoutDisplay_data();
    void helpWithoutDisplay();

private:
    EndToEndHarness m_e2e;
};

void tst_E2eProgram::initTestCase()
{
    QVERIFY2(EndToEndHarness::missing().isEmpty(), qPrintable(EndToEndHarness::missing()));
}

void tst_E2eProgram::cleanup()
{
    m_e2e.stop();
}

void tst_E2eProgram::connectsOnCom1()
{
    // With --log the receiver writes the traffic it sees to stderr.
    QVERIFY2(m_e2e.startReceiver({QStringLiteral("--log")}), qPrintable(m_e2e.errorString()));
    QVERIFY(m_e2e.writeSettings());
    QVERIFY2(m_e2e.startProgram({QStringLiteral("-C1")}), qPrintable(m_e2e.errorString()));
    ReceiverProcess &receiver = m_e2e.receiver();

    // The configuration request, then the reports switched on and the report time.
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("20000")), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("20100")), 5000);
    QVERIFY(m_e2e.program().state() == QProcess::Running);

    // Ending the program saves the configuration next to the port mapping.
    m_e2e.program().terminate();
    QVERIFY(m_e2e.program().waitForFinished(10000));
    const QString saved = m_e2e.savedSettings();
    QVERIFY2(saved.contains(QStringLiteral("Com1=") + receiver.device()), qPrintable(saved));
    QVERIFY2(saved.contains(QStringLiteral("[Config]")), qPrintable(saved));
}

void tst_E2eProgram::withoutScreenMessagesGoToTheLog()
{
    // As the service runs: offscreen, connecting at start to a device that is not there.
    // The failure is logged instead of waiting in a box nobody can close, and the start
    // goes on.
    QVERIFY(m_e2e.writeSettings("[Ports]\nCom2=/nonexistent/ttyOrvane\n"));
    QVERIFY2(m_e2e.startProgram({QStringLiteral("-C2")}), qPrintable(m_e2e.errorString()));
    const QRegularExpression logged(
        QStringLiteral("^Orvane: \\d+ - Cannot open /nonexistent/ttyOrvane"),
        QRegularExpression::MultilineOption);
    QString log;
    QTRY_VERIFY_WITH_TIMEOUT(
        (log += QString::fromLocal8Bit(m_e2e.program().readAllStandardError())).contains(logged),
        10000);
}

void tst_E2eProgram::helpWithoutDisplay_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("output"); // how standard output starts
    const QString options = QStringLiteral("Options:: -Cx = Connect to Com x ;");
    const QString version = QStringLiteral(" %1.%2.%3\n")
                                .arg(ORVANE_VERSION_MAJOR)
                                .arg(ORVANE_VERSION_MINOR)
                                .arg(ORVANE_VERSION_PATCH);
    QTest::newRow("-?") << "orvane" << "-?" << "" << options;
    QTest::newRow("--help") << "orvane" << "--help" << "" << options;
    QTest::newRow("-? offscreen, as the service") << "orvane" << "-?" << "offscreen" << options;
    QTest::newRow("--version, not starting the program")
        << "orvane" << "--version" << "" << "orvane" + version;
    // Started, the program would abort for want of that platform's display.
    QTest::newRow("--version, a screen platform without its display")
        << "orvane" << "--version" << "xcb" << "orvane" + version;
    QTest::newRow("orvane-ctl --version")
        << "orvane-ctl" << "--version" << "" << "orvane-ctl" + version;
    QTest::newRow("orvane-receiver --version")
        << "orvane-receiver" << "--version" << "" << "orvane-receiver" + version;
}

// On a terminal without a display the options and the version go to standard output.
void tst_E2eProgram::helpWithoutDisplay()
{
    QFETCH(QString, program);
    QFETCH(QString, option);
    QFETCH(QString, platform);
    QFETCH(QString, output);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       m_e2e.environment().value(QStringLiteral("XDG_CONFIG_HOME")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(EndToEndHarness::binary(program), {option});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    const QString printed = QString::fromLocal8Bit(process.readAllStandardOutput());
    QVERIFY2(printed.startsWith(output), qPrintable(printed));
}

QTEST_GUILESS_MAIN(tst_E2eProgram)
#include "tst_e2e_program.moc"
