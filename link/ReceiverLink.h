#pragma once

#include "link/DebugLogFile.h"
#include "link/FrameCutter.h"
#include "link/LinkTimings.h"
#include "link/ReceiverCommands.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>

class LinkHost;
class SerialPort;
class UserDialogs;

// The link to the receiver: owns the use of the serial port (nothing else touches it),
// the busy flag, the bounded waits and the receiver's command set. Needs no window; any
// part of the program may use it (the main window owns the one instance and hands it
// out through Form_ControlCenter::link()). Every operation is bounded: a closed or busy
// port makes it do nothing, and answers are awaited at most the answer wait of
// LinkTimings. A command issued while the link is busy is dropped, never queued.
//
// Every byte read from the port goes through one frame cutter, whichever operation
// reads it: the link's own read when the port says data arrived, the poll, an answer
// wait, the discards before a request. The report bodies cut from it wait here, in the
// order received, until the program takes them (takeReports); reportsReady says that
// some wait. Text an operation discards (ClearComPuffer, the start of ReadSettings and
// ResetOrvane, ReConnect) still gives its complete reports, but whatever half report
// it ends with is dropped with the one the cutter kept, so no half is ever joined to
// what comes after.
class ReceiverLink : public QObject
{
    Q_OBJECT
public:
    // One row of the command set.
    struct CommandRow
    {
        const char *name;
        const char *code;
        bool refreshSettings;
    };

    ReceiverLink(SerialPort *port, LinkHost *host, UserDialogs *dialogs, QObject *parent = nullptr);
    ~ReceiverLink() override;
    // The host, when the link is built before it (the start-up builds the link first).
    void setHost(LinkHost *host) { m_host = host; }

    // Port number (COM n) used by the next open.
    int CommPort() const { return m_commPort; }
    void setCommPort(int portNumber) { m_commPort = portNumber; }
    bool PortOpen() const;
    // Opens the port; throws OrvaneError when it cannot be opened.
    void OpenPort();
    void ClosePort();

    // The busy flag: true while a link operation uses the port.
    bool LinkBusy() const { return m_linkBusy; }
    void setLinkBusy(bool busy) { m_linkBusy = busy; }

    // Reports kept for the program at most; beyond, the oldest are dropped (only when
    // nothing takes them for a long time).
    static constexpr qsizetype kMaxWaitingReports = 4096;
    // The report bodies read so far and not yet taken, oldest first; taking empties the
    // queue. Closing the port drops them.
    QStringList takeReports();
    bool hasReports() const { return !m_reports.isEmpty(); }

    // The traffic-log switches: "Debug View" or "Create Logfile" checked (traffic goes to
    // DebugLog), and "Create Logfile" checked (DebugLog also appends to the file).
    void setTrafficLog(bool logTraffic, bool logToFile);

    // Link operations.
    // True when the frame was written; false when the port is closed or busy, or the
    // write failed (the error box tells of it).
    bool SendCommand(const QString &code, int RefreshSettings = 0);
    void ReadPort(QString &Puffer, bool Direct = false);
    void ClearComPuffer(QString *Puffer = nullptr);
    void ReadSettings(QString &stSettings, QString *stSettingsOrginal = nullptr);
    void ReConnect();
    void ResetOrvane(QString *Ret = nullptr);
    void SendMessage(QString &Message);
    // Traffic logging: one line per frame sent or text read, to the terminal (through
    // trafficLogged) and, when the log file is on, to "debug.txt" (see DebugLogFile).
    void DebugLog(const QString &Puffer, bool Send = false);
    // One line of its own in the same log (what another part of the program did with or
    // refused for the link), without the traffic markers.
    void LogNote(const QString &line);
    // Starts the log file afresh when "Create Logfile" is switched on, and tells where it
    // goes (logFileChanged); throws OrvaneError when no folder takes it.
    void startLogFile();
    // "Create Logfile" is switched off: the file is kept.
    void stopLogFile();
    DebugLogFile &logFile() { return m_logFile; }

    // Removes the "@E01900" marker some receivers put at the start of the block's data
    // and lowers the length field by its 7 characters; other blocks come back unchanged.
    static QString fixSettingsQuirk(const QString &block);

    // The command set: one member per row of ReceiverCommands.h.
#define ORVANE_DECLARE_COMMAND(name, code, refresh) void name(QString *Ret = nullptr);
    ORVANE_RECEIVER_COMMANDS(ORVANE_DECLARE_COMMAND)
#undef ORVANE_DECLARE_COMMAND
#define ORVANE_DECLARE_PLAIN_COMMAND(name, code) void name();
    ORVANE_RECEIVER_PLAIN_COMMANDS(ORVANE_DECLARE_PLAIN_COMMAND)
#undef ORVANE_DECLARE_PLAIN_COMMAND
#define ORVANE_DECLARE_ANSWERED_COMMAND(name, code) void name(QString *Ret = nullptr);
    ORVANE_RECEIVER_ANSWERED_COMMANDS(ORVANE_DECLARE_ANSWERED_COMMAND)
#undef ORVANE_DECLARE_ANSWERED_COMMAND

    // Composite members.
    void PowerOn(QString *Ret = nullptr);
    void VolumeSave(const QString &Bank, QString *Ret = nullptr);
    void VolumeLoad(const QString &Bank, QString *Ret = nullptr);

    // The send-only rows of the command set, for callers that pick a command by name.
    static const QList<CommandRow> &commandTable();

signals:
    // Report bodies wait to be taken. Emitted from the event loop once after they came,
    // never while a link operation holds the port.
    void reportsReady();
    // One traffic line ("---> " or "<--- " and the text) for the terminal's listing.
    void trafficLogged(const QString &line);
    // The log file now goes to `path`, or cannot be written there; an empty path when
    // logging to a file is off.
    void logFileChanged(const QString &path, bool writable);

private:
    class Busy;

    void onPortLost(const QString &reason);
    // The port says data arrived: read it soon, unless an operation reading anyway holds
    // the port.
    void onDataArrived();
    void readArrived();
    // A busy operation ended: what arrived meanwhile is read, waiting reports announced.
    void operationEnded();
    // Everything waiting at the port, also cut into the report queue.
    QString takeWaiting();
    // The same for text an operation throws away: its unfinished tail is dropped too.
    QString discardWaiting();
    // Collects what arrives until `complete` says so, the answer wait is over or (with
    // `direct`) after one look; logs what it read.
    template<typename Complete> void collect(QString &text, bool direct, Complete &&complete);
    // Waits while letting events run; returns early when the port has gone.
    void pause(std::chrono::milliseconds duration);
    // One short wait with events running; wakes on new data, the port's loss or `limit`.
    void waitForEvents(std::chrono::milliseconds limit);
    qint64 waitingBytes();
    void writeFrame(const QByteArray &frame);
    void writeLogLine(const QString &line);
    void sendAndRead(const QString &code, QString *Ret);

    SerialPort *m_port;
    LinkHost *m_host;
    UserDialogs *m_dialogs;
    int m_commPort = 1;
    bool m_linkBusy = false;
    // Changes whenever the port is opened, closed or lost, so a wait notices.
    quint64 m_portEpoch = 0;
    DebugLogFile m_logFile;
    bool m_logTraffic = false;
    bool m_logToFile = false;
    FrameCutter m_cutter;
    QStringList m_reports;
    bool m_readQueued = false;
    bool m_notifyQueued = false;
};
