// The real program, started as a user starts it, against the virtual receiver on a
// pseudo-terminal: it must connect on COM 1, switch the reports on, and save its
// configuration when the desktop ends it.

#include "tests/support/ReceiverProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_E2eProgram : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void connectsOnCom1();
    void helpWithoutDisplay_data();
    void helpWithoutDisplay();

private:
    void startReceiver(const QStringList &arguments);
    void writeSettings();

    QString m_buildDir;
    QTemporaryDir m_config;
    ReceiverProcess m_receiver;
    QProcess m_program;
};

void tst_E2eProgram::initTestCase()
{
    m_buildDir = qEnvironmentVariable("ORVANE_BUILD_DIR");
    QVERIFY2(!m_buildDir.isEmpty(), "ORVANE_BUILD_DIR is not set");
    QVERIFY(QFile::exists(m_buildDir + QStringLiteral("/orvane")));
    QVERIFY(QFile::exists(ReceiverProcess::program()));
    QVERIFY(m_config.isValid());
}

void tst_E2eProgram::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(3000);
    }
    m_receiver.kill();
}

void tst_E2eProgram::startReceiver(const QStringList &arguments)
{
    // With --log the receiver writes the traffic it sees to stderr.
    QVERIFY2(m_receiver.start(QStringList{QStringLiteral("--log")} + arguments),
             qPrintable(m_receiver.errorString()));
}

void tst_E2eProgram::writeSettings()
{
    QDir(m_config.path()).mkpath(QStringLiteral("Orvane"));
    QFile file(m_config.path() + QStringLiteral("/Orvane/Orvane.conf"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Ports]\nCom1=" + m_receiver.device().toLocal8Bit() + "\n");
}

void tst_E2eProgram::connectsOnCom1()
{
    startReceiver({});
    writeSettings();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_program.setProcessEnvironment(environment);
    m_program.setProgram(m_buildDir + QStringLiteral("/orvane"));
    m_program.setArguments({QStringLiteral("-C1")});
    m_program.start();
    QVERIFY(m_program.waitForStarted(5000));

    // The configuration request, then the reports switched on and the report time.
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("20000")), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("20100")), 5000);
    QVERIFY(m_program.state() == QProcess::Running);

    // Ending the program saves the configuration next to the port mapping.
    m_program.terminate();
    QVERIFY(m_program.waitForFinished(10000));
    QFile file(m_config.path() + QStringLiteral("/Orvane/Orvane.conf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString saved = QString::fromLocal8Bit(file.readAll());
    QVERIFY2(saved.contains(QStringLiteral("Com1=") + m_receiver.device()), qPrintable(saved));
    QVERIFY2(saved.contains(QStringLiteral("[Config]")), qPrintable(saved));
}

void tst_E2eProgram::helpWithoutDisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("-?") << "-?";
    QTest::newRow("--help") << "--help";
}

// On a terminal without a display the options go to standard output.
void tst_E2eProgram::helpWithoutDisplay()
{
    QFETCH(QString, option);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    m_program.setProcessEnvironment(environment);
    m_program.setProgram(m_buildDir + QStringLiteral("/orvane"));
    m_program.setArguments({option});
    m_program.start();
    QVERIFY(m_program.waitForFinished(10000));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
    QVERIFY(QString::fromLocal8Bit(m_program.readAllStandardOutput())
                .startsWith(QStringLiteral("Options:: -Cx = Connect to Com x ;")));
}

QTEST_GUILESS_MAIN(tst_E2eProgram)
#include "tst_e2e_program.moc"
