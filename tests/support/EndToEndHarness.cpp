#include "EndToEndHarness.h"

#include "platform/QtSerialPort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr int kStartWait = 5000;
constexpr int kStopWait = 3000;
} // namespace

EndToEndHarness::EndToEndHarness() = default;

EndToEndHarness::~EndToEndHarness()
{
    stop();
}

QString EndToEndHarness::binary(const QString &name)
{
    return qEnvironmentVariable("ORVANE_BUILD_DIR") + QLatin1Char('/') + name;
}

QString EndToEndHarness::missing()
{
    if (qEnvironmentVariableIsEmpty("ORVANE_BUILD_DIR"))
        return QStringLiteral("ORVANE_BUILD_DIR is not set");
    for (const QString &name : {QStringLiteral("orvane"), QStringLiteral("orvane-receiver")}) {
        if (!QFileInfo(binary(name)).isExecutable())
            return name + QStringLiteral(" is not built in ORVANE_BUILD_DIR");
    }
    return {};
}

bool EndToEndHarness::startReceiver(const QStringList &arguments)
{
    if (m_receiver.start(arguments))
        return true;
    m_error = m_receiver.errorString();
    return false;
}

bool EndToEndHarness::startBus()
{
    m_busRunning = m_bus.start();
    if (!m_busRunning)
        m_error = QStringLiteral("no private session bus: ") + m_bus.errorString();
    return m_busRunning;
}

bool EndToEndHarness::startDisplay()
{
    if (const QString why = XvfbProcess::missing(); !why.isEmpty()) {
        m_error = why;
        return false;
    }
    m_displayRunning = m_display.start();
    if (!m_displayRunning)
        m_error = m_display.errorString();
    return m_displayRunning;
}

QString EndToEndHarness::settingsPath() const
{
    return m_config.path() + QStringLiteral("/Orvane/Orvane.conf");
}

bool EndToEndHarness::writeSettings(const QByteArray &sections)
{
    QDir(m_config.path()).mkpath(QStringLiteral("Orvane"));
    QFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = file.errorString();
        return false;
    }
    QByteArray content = sections;
    if (!m_receiver.device().isEmpty())
        content += "[Ports]\nCom1=" + m_receiver.device().toLocal8Bit() + '\n';
    return file.write(content) == content.size();
}

QString EndToEndHarness::savedSettings() const
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

QProcessEnvironment EndToEndHarness::environment() const
{
    QProcessEnvironment environment
        = m_busRunning ? m_bus.environment() : QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    environment.insert(QStringLiteral("XDG_STATE_HOME"),
                       m_config.path() + QStringLiteral("/state"));
    if (m_displayRunning)
        environment.insert(QStringLiteral("DISPLAY"), m_display.display());
    else
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

bool EndToEndHarness::startProgram(const QStringList &arguments)
{
    m_program.setProcessEnvironment(environment());
    m_program.start(binary(QStringLiteral("orvane")), arguments);
    if (m_program.waitForStarted(kStartWait))
        return true;
    m_error = m_program.errorString();
    return false;
}

SerialPort *EndToEndHarness::serialPort()
{
    if (!m_port) {
        m_portSettings.setSection(QStringLiteral("Ports"),
                                  {{QStringLiteral("Com1"), m_receiver.device()}});
        m_port = std::make_unique<QtSerialPort>(&m_portSettings);
    }
    return m_port.get();
}

void EndToEndHarness::stop()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(kStopWait);
    }
    m_port.reset();
    m_receiver.kill();
}
