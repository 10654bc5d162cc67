#include "BrokerProcess.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <unistd.h>

namespace {
QString brokerProgram()
{
    QString path = QStandardPaths::findExecutable(QStringLiteral("mosquitto"));
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(QStringLiteral("mosquitto"),
                                              {QStringLiteral("/usr/sbin")});
    return path;
}
} // namespace

BrokerProcess::~BrokerProcess()
{
    stop();
}

bool BrokerProcess::isInstalled()
{
    return !brokerProgram().isEmpty();
}

bool BrokerProcess::start()
{
    if (m_port == 0) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            m_error = QStringLiteral("no free port");
            return false;
        }
        m_port = probe.serverPort();
    }
    const QString config = m_dir.filePath(QStringLiteral("broker.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    QStringList lines {QStringLiteral("per_listener_settings false"),
                       QStringLiteral("persistence false"), QStringLiteral("log_dest stderr"),
                       QStringLiteral("log_type all"),
                       QStringLiteral("listener %1 127.0.0.1").arg(m_port)};
    // Started by root the broker would become user "mosquitto" and lose the test's files.
    if (geteuid() == 0)
        lines.prepend(QStringLiteral("user root"));
    lines << m_options;
    if (!m_options.join(QLatin1Char(' ')).contains(QLatin1String("password_file")))
        lines << QStringLiteral("allow_anonymous true");
    file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    file.close();

    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(brokerProgram(), {QStringLiteral("-c"), config});
    if (!m_process.waitForStarted(5000)) {
        m_error = m_process.errorString();
        return false;
    }
    // Ready once the port takes connections.
    for (int i = 0; i < 100; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (socket.waitForConnected(100))
            return true;
        if (m_process.state() != QProcess::Running)
            break;
        QThread::msleep(50);
    }
    m_error = QStringLiteral("the broker did not listen: ") + log();
    return false;
}

void BrokerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_log += QString::fromUtf8(m_process.readAllStandardError());
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
    m_log += QString::fromUtf8(m_process.readAllStandardError());
}

QString BrokerProcess::log()
{
    m_log += QString::fromUtf8(m_process.readAllStandardError());
    return m_log;
}
