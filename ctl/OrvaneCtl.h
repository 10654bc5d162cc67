#pragma once

#include <QDBusConnection>
#include <QDBusPendingReply>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <chrono>
#include <cstdio>
#include <memory>

class QEventLoop;
class OrgOrvaneOrvaneAddInInterface;

// One run of orvane-ctl: takes a connection object from the running Orvane,
// registers it for the length of one command, runs the command and lets go again.
class OrvaneCtl : public QObject
{
    Q_OBJECT
public:
    // Exit statuses, as the help text lists them.
    enum Status {
        Done = 0,
        Failed = 1,
        Usage = 2,
        NotRunning = 3,
        NotConnected = 4,
        Terminated = 5
    };

    static constexpr std::chrono::milliseconds kCallWait {10000};
    // Connecting may wait for the receiver and, on failure, for the user to close
    // Orvane's message box.
    static constexpr std::chrono::milliseconds kConnectWait {120000};
    static constexpr std::chrono::milliseconds kQuitWait {10000};

    static QString helpText();
    // A command code as the receiver takes it: five hexadecimal characters, in upper
    // case. Empty when `text` is none.
    static QString commandCode(const QString &text);

    OrvaneCtl(const QDBusConnection &bus, FILE *out, FILE *err, QObject *parent = nullptr);
    ~OrvaneCtl() override;
    // Runs the command line (without the program name); returns the exit status.
    int run(const QStringList &arguments);

private:
    int runRegistered(const QString &command, const QStringList &arguments);
    int watch();
    int quit();
    // Waits for the answer of a call; false (with the message printed) on an error.
    bool answered(QDBusPendingCall call);
    bool connectedToReceiver();
    int failure(const QString &text, Status status);
    // The status and message of an error answer.
    int failure(const QDBusError &error);
    // False when the output is gone (a closed pipe).
    bool print(const QString &line);
    void releaseConnection();

private slots:
    void onReport(const QString &body);
    void onTerminate();

private:
    QDBusConnection m_bus;
    FILE *m_out;
    FILE *m_err;
    QString m_path;
    std::unique_ptr<OrgOrvaneOrvaneAddInInterface> m_addIn;
    bool m_registered = false;
    int m_status = Done;
    QEventLoop *m_watchLoop = nullptr;
};
