// The real program ended by a signal before its main window runs: during the one-second
// start-up wait, and while a "-C" connection waits on a receiver that does not answer.
// Either way it must end on its own (exit code 0) and keep the configuration.

#include "tests/support/ReceiverProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
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
    QString m_buildDir;
    ReceiverProcess m_receiver;
    QProcess m_program;
};

void tst_E2eSignals::initTestCase()
{
    m_buildDir = qEnvironmentVariable("ORVANE_BUILD_DIR");
    if (!QFile::exists(m_buildDir + QStringLiteral("/orvane")) || !ReceiverProcess::isBuilt())
        QSKIP("orvane or orvane-receiver not built (ORVANE_BUILD_DIR)");
}

void tst_E2eSignals::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(3000);
    }
    m_receiver.kill();
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
    QVERIFY2(m_receiver.start({QStringLiteral("--log"), QStringLiteral("--answer-from"),
                               QStringLiteral("99")}),
             qPrintable(m_receiver.errorString()));
    QTemporaryDir config;
    QVERIFY(config.isValid());
    QDir(config.path()).mkpath(QStringLiteral("Orvane"));
    const QString settingsPath = config.path() + QStringLiteral("/Orvane/Orvane.conf");
    {
        QFile file(settingsPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Config]\nReportTime=3\n\n[Ports]\nCom1=" + m_receiver.device().toLocal8Bit()
                   + "\n");
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_program.setProcessEnvironment(environment);
    m_program.setProgram(m_buildDir + QStringLiteral("/orvane"));
    m_program.setArguments(connecting ? QStringList{QStringLiteral("-C1")} : QStringList{});
    QElapsedTimer clock;
    clock.start();
    m_program.start();
    QVERIFY(m_program.waitForStarted(5000));

    if (connecting) {
        QTRY_VERIFY_WITH_TIMEOUT(m_receiver.log().contains(QStringLiteral("<DC1>000<ETX>")),
                                 10000);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(catches(m_program.processId(), signal), 5000);
        if (clock.elapsed() > 800)
            QSKIP("the program caught no signal before its start-up wait was over");
    }
    QCOMPARE(::kill(pid_t(m_program.processId()), signal), 0);

    QVERIFY(m_program.waitForFinished(10000));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);

    QFile file(settingsPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString saved = QString::fromLocal8Bit(file.readAll());
    QVERIFY2(saved.contains(QStringLiteral("ReportTime=3")), qPrintable(saved));
    QVERIFY2(saved.contains(QStringLiteral("Com1=") + m_receiver.device()), qPrintable(saved));
    // The connection had loaded the configuration, so the ending saved it whole.
    if (connecting)
        QVERIFY2(saved.contains(QStringLiteral("Mode=")), qPrintable(saved));
}

QTEST_GUILESS_MAIN(tst_E2eSignals)
#include "tst_e2e_signals.moc"
