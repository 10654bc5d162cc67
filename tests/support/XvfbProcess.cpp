#include "XvfbProcess.h"

#include <QStandardPaths>

XvfbProcess::~XvfbProcess()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(3000)) {
        m_server.kill();
        m_server.waitForFinished(3000);
    }
}

QString XvfbProcess::missing()
{
    for (const char *program : {"Xvfb", "xdotool"})
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
            return QLatin1String(program) + QStringLiteral(" is not installed");
    return {};
}

bool XvfbProcess::start()
{
    // The server picks a free display and writes its number to the given descriptor. It
    // does not reset when its last client leaves: a client connecting during a reset
    // would be refused.
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("640x480x24")});
    if (!m_server.waitForStarted(5000)) {
        m_error = QStringLiteral("Xvfb does not start: ") + m_server.errorString();
        return false;
    }
    while (!m_server.canReadLine() && m_server.waitForReadyRead(10000)) { }
    const QString number = QString::fromLocal8Bit(m_server.readLine()).trimmed();
    if (number.isEmpty()) {
        m_error = QStringLiteral("Xvfb named no display");
        return false;
    }
    m_display = QLatin1Char(':') + number;
    return true;
}

bool XvfbProcess::xdotool(const QStringList &arguments)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral("xdotool"), arguments);
    return tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit
        && tool.exitCode() == 0;
}
