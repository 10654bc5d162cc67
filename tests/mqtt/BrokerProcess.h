#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A private MQTT broker (the mosquitto program) on a free loopback port with its own
// configuration file; nothing is kept between its runs.
class BrokerProcess
{
public:
    ~BrokerProcess();

    static bool isInstalled();
    // Extra configuration lines for the listener (TLS, password file, ...).
    void setListenerOptions(const QStringList &lines) { m_options = lines; }
    // Starts on the port of the last start, or a free one; false with errorString().
    bool start();
    void stop();
    int port() const { return m_port; }
    QString errorString() const { return m_error; }
    // What the broker logged so far.
    QString log();
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QStringList m_options;
    QString m_error;
    QString m_log;
    int m_port = 0;
};
