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
#include <span>

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

    // What a command takes after its name.
    enum class Takes {
        Nothing,
        OneCode, // one receiver command code
        PowerOn // nothing, or the option --power-on
    };
    // How much of the running Orvane a command needs.
    enum class Needs {
        Alone, // runs on its own, without Orvane
        Connection, // a connection object of Orvane, not registered as an add-in
        Registration // a connection registered as an add-in for the command's length
    };
    // One command: a row of commands() and the member that runs it with the arguments
    // after its name.
    struct Command
    {
        const char *name;
        const char *synopsis; // as the help shows it, after the name
        const char *help; // lines of the help, separated by "\n"
        Takes takes;
        Needs needs;
        int (OrvaneCtl::*run)(const QStringList &arguments);
    };
    static std::span<const Command> commands();

    static QString helpText();
    static QString versionText();
    // A command code as the receiver takes it: five hexadecimal characters, in upper
    // case. Empty when `text` is none.
    static QString commandCode(const QString &text);

    OrvaneCtl(const QDBusConnection &bus, FILE *out, FILE *err, QObject *parent = nullptr);
    ~OrvaneCtl() override;
    // Runs the command line (without the program name); returns the exit status.
    int run(const QStringList &arguments);

private:
    // Why the arguments do not fit the command; empty when they do.
    QString usageProblem(const Command &command, const QStringList &arguments) const;
    int runWithOrvane(const Command &command, const QStringList &arguments);

    int homeAssistant(const QStringList &arguments);
    int send(const QStringList &arguments);
    int display(const QStringList &arguments);
    int info(const QStringList &arguments);
    int connectReceiver(const QStringList &arguments);
    int disconnectReceiver(const QStringList &arguments);
    int show(const QStringList &arguments);
    int hide(const QStringList &arguments);
    int watch(const QStringList &arguments);
    int quit(const QStringList &arguments);

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
    bool m_powerOn = false;
    int m_status = Done;
    QEventLoop *m_watchLoop = nullptr;
};
