#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A virtual X server of the test's own, and key presses sent to it with xdotool.
class XvfbProcess
{
public:
    XvfbProcess() = default;
    ~XvfbProcess();
    XvfbProcess(const XvfbProcess &) = delete;
    XvfbProcess &operator=(const XvfbProcess &) = delete;

    // Why the X server or the key tool cannot run here, or empty when they can.
    static QString missing();
    // Starts the server on a free display; false, with errorString(), when it cannot.
    bool start();
    // ":N", for DISPLAY.
    QString display() const { return m_display; }
    QString errorString() const { return m_error; }
    // Runs xdotool with the arguments on this display and waits for it to end.
    bool xdotool(const QStringList &arguments);

private:
    QProcess m_server;
    QString m_display;
    QString m_error;
};
