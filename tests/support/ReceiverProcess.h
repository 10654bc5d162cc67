#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The virtual receiver program on a pseudo-terminal, as the tests start it: it prints the
// device path (with --tcp its tcp:// address) as its first line on stdout, takes front-panel events as lines on stdin and,
// with --log, writes the traffic it sees to stderr.
class ReceiverProcess
{
public:
    ReceiverProcess() = default;
    ~ReceiverProcess();
    ReceiverProcess(const ReceiverProcess &) = delete;
    ReceiverProcess &operator=(const ReceiverProcess &) = delete;

    // The program in the build directory named by ORVANE_BUILD_DIR, and whether it is there.
    static QString program();
    static bool isBuilt();

    // Starts the program and waits for the device path. False, with errorString(), when it
    // does not start or prints no device path in time.
    bool start(const QStringList &arguments = {});
    QString device() const { return m_device; }
    QString errorString() const { return m_error; }

    // Sends one line to the receiver's stdin; the newline is added here.
    void writeLine(const QByteArray &line);
    // Everything the receiver wrote to stderr so far.
    QString log();
    // Asks the receiver to end and kills it if it does not within a few seconds.
    void stop();
    // Ends it at once, as a receiver switched off or unplugged would.
    void kill();

    // For tests that read its further output (state lines) themselves.
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_device;
    QString m_error;
    QString m_log;
};
