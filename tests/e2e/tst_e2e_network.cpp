// The real program against the virtual receiver served over TCP, as behind a
// serial-to-network bridge: COM 1 set to its tcp:// address connects and switches the
// reports on; a front-panel event reaches the program; the bridge dropping the
// connection leaves the program running, and it ends in order afterwards.

#include "tests/support/ReceiverProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_E2eNetwork : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void connectsOverTcpAndSurvivesADrop();

private:
    void startProgram(const QString &com1);

    QString m_buildDir;
    QTemporaryDir m_config;
    ReceiverProcess m_receiver;
    QProcess m_program;
};

void tst_E2eNetwork::initTestCase()
{
    m_buildDir = qEnvironmentVariable("ORVANE_BUILD_DIR");
    QVERIFY2(!m_buildDir.isEmpty(), "ORVANE_BUILD_DIR is not set");
    QVERIFY(QFile::exists(m_buildDir + QStringLiteral("/orvane")));
    QVERIFY(ReceiverProcess::isBuilt());
    QVERIFY(m_config.isValid());
}

void tst_E2eNetwork::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(3000);
    }
    m_receiver.kill();
}

void tst_E2eNetwork::startProgram(const QString &com1)
{
    QDir(m_config.path()).mkpath(QStringLiteral("Orvane"));
    QFile file(m_config.path() + QStringLiteral("/Orvane/Orvane.conf"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Ports]\nCom1=" + com1.toLocal8Bit() + "\n");
    file.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    environment.insert(QStringLiteral("XDG_STATE_HOME"), m_config.path() + QStringLiteral("/state"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_program.setProcessEnvironment(environment);
    m_program.setProgram(m_buildDir + QStringLiteral("/orvane"));
    m_program.setArguments({QStringLiteral("-C1")});
    m_program.start();
    QVERIFY(m_program.waitForStarted(5000));
}

void tst_E2eNetwork::connectsOverTcpAndSurvivesADrop()
{
    QVERIFY2(m_receiver.start({QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--log")}),
             qPrintable(m_receiver.errorString()));
    startProgram(m_receiver.device());

    // Configuration request, reports switched on, report time: all over the network.
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral(">> <DC1>000<ETX>")), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("20000")), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("20100")), 5000);

    // Reports flow to the program; then the bridge drops the line.
    m_receiver.writeLine("10210C");
    m_receiver.writeLine("headphones on");
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("<< <STX>003401<ETX>")), 5000);
    m_receiver.writeLine("drop");
    QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("dropped")), 5000);
    QTest::qWait(500);
    QCOMPARE(m_program.state(), QProcess::Running);

    // It still ends in order and keeps the network address as the port.
    m_program.terminate();
    QVERIFY(m_program.waitForFinished(10000));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QFile file(m_config.path() + QStringLiteral("/Orvane/Orvane.conf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString saved = QString::fromLocal8Bit(file.readAll());
    QVERIFY2(saved.contains(QStringLiteral("Com1=") + m_receiver.device()), qPrintable(saved));
}

QTEST_GUILESS_MAIN(tst_E2eNetwork)
#include "tst_e2e_network.moc"
