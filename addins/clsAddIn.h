#pragma once

// One connection between one add-in and the program. The add-in keeps its clsAddIn,
// calls the members below to act on the program and hears the program through the
// signals. Add-in components get theirs from the program when it loads them; outside
// programs create one and register it with AddInRegister.
//
// This header is part of the add-in SDK: it needs nothing of the program but Qt.

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

class AddInRuntime;
class PlayerRemote;
class ProgramHost;
class clsAddIns;

// Player command identifiers for WinampSendCommand.
enum enumOrvaneWinamp : int {
    OrvaneWinamp_QUIT = 40001,
    OrvaneWinamp_OPEN_FILE_TO_PLAY = 40029,
    OrvaneWinamp_TIME_REMAINING = 40037,
    OrvaneWinamp_TIME_ELAPSED = 40038,
    OrvaneWinamp_OPTIONS_PLEDIT = 40040,
    OrvaneWinamp_HELP_ABOUT = 40041,
    OrvaneWinamp_POPUPMENU = 40043,
    OrvaneWinamp_JMP_STARTPOS = 40045,
    OrvaneWinamp_PAUSE = 40046,
    OrvaneWinamp_STOP = 40047,
    OrvaneWinamp_NEXTSONG = 40048,
    OrvaneWinamp_VOLUMEUP = 40058,
    OrvaneWinamp_VOLUMEDOWN = 40059,
    OrvaneWinamp_FFWDSS = 40060,
    OrvaneWinamp_REW5S = 40061,
    OrvaneWinamp_OPENLOCATION = 40155,
    OrvaneWinamp_DOUBLESIZE = 40165,
    OrvaneWinamp_OPENDIRECTORY = 40187,
    OrvaneWinamp_SHOWFILEINFO = 40188,
    OrvaneWinamp_PREFERENCES = 40191,
    OrvaneWinamp_VISUALISATION = 40192,
    OrvaneWinamp_JMP_TO_TIME = 40193,
    OrvaneWinamp_PLAYLIST_JMP_TO_FILE = 40194,
    OrvaneWinamp_PREVSONG = 40198,
};
Q_DECLARE_METATYPE(enumOrvaneWinamp)

class clsAddIn : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QDateTime AddInCreateDate READ AddInCreateDate CONSTANT)
    Q_PROPERTY(QString AddInName READ AddInName WRITE setAddInName)
    Q_PROPERTY(QString AddInCopyright READ AddInCopyright WRITE setAddInCopyright)
    Q_PROPERTY(QString AddInID READ AddInID CONSTANT)
    Q_PROPERTY(QString AddInVersion READ AddInVersion WRITE setAddInVersion)
    Q_PROPERTY(QString Version READ Version CONSTANT)
    Q_PROPERTY(bool Visible READ Visible)
    Q_PROPERTY(bool Connected READ Connected)
    Q_PROPERTY(long WindowState READ WindowState)

public:
    // A connection of the program whose add-ins `runtime` holds.
    explicit clsAddIn(AddInRuntime *runtime, QObject *parent = nullptr);
    // Leaves the add-in list.
    ~clsAddIn() override;

    // Members an add-in calls, in interface order. Members that act on the program
    // do nothing and return an empty value while the object is not registered.
    Q_INVOKABLE QDateTime AddInCreateDate() const;
    Q_INVOKABLE QString AddInName() const;
    Q_INVOKABLE void setAddInName(const QString &value);
    Q_INVOKABLE QString AddInCopyright() const;
    Q_INVOKABLE void setAddInCopyright(const QString &value);
    Q_INVOKABLE QString AddInID() const;
    Q_INVOKABLE QString AddInVersion() const;
    Q_INVOKABLE void setAddInVersion(const QString &value);
    // Posts a player command (also when not registered); always 0.
    Q_INVOKABLE long WinampSendCommand(enumOrvaneWinamp eWinamp);
    // Player status: 0 stopped, 1 playing, 3 paused; 0 without a player.
    Q_INVOKABLE long WinampGetStatus();
    // Sends one receiver command code; the result is always empty.
    Q_INVOKABLE QVariant SendCommand(const QString &stCommand);
    // The two display lines of the main window.
    Q_INVOKABLE void GetText(QString &stLine1, QString &stLine2);
    // Model identifier, model name, software version and identification answer; always 0.
    Q_INVOKABLE long GetInformation(QString &ModelID, QString &Model, QString &Version,
                                    QString &ReturnString);
    Q_INVOKABLE void Show();
    Q_INVOKABLE QString Version() const;
    Q_INVOKABLE bool Visible() const;
    Q_INVOKABLE void Hide();
    Q_INVOKABLE bool Connected() const;
    // Closes the connection when it is open; always 0.
    Q_INVOKABLE long Disconnect();
    // Reads the receiver's settings block; `stSettings` gets the answer exactly as
    // read (empty when none came). Always 0.
    Q_INVOKABLE long ReadSettings(QVariant &stSettings);
    Q_INVOKABLE long ReadSettings();
    // Connects (switching the receiver on first when `bPowerOn`), or sends Power On
    // when already connected. `ComPort` is not used: the configured port is. Always 0.
    Q_INVOKABLE long Connect(bool bPowerOn = false, long ComPort = 0);
    // Ends the program as its End menu does; the add-ins may refuse.
    Q_INVOKABLE void Quit();
    Q_INVOKABLE void About();
    Q_INVOKABLE void AddInRegister();
    Q_INVOKABLE void AddInUnRegister();
    // 0 normal, 1 minimised, 2 maximised.
    Q_INVOKABLE long WindowState() const;
    // Asks the add-in with that ID (empty: all others) to terminate.
    Q_INVOKABLE void AddInTerminate(const QString &AddInID);
    // Sends a message to every add-in, this one included, with this ID as sender.
    Q_INVOKABLE void AddInMessage(long Msg, const QString &ReceiverID = QString(),
                                  long Param1 = 0, const QString &Param2 = QString());

    // Inside the program only.
    bool LoadedByHost() const { return m_loadedByHost; }
    void setLoadedByHost(bool loadedByHost) { m_loadedByHost = loadedByHost; }
    bool isRegistered() const { return m_registered; }
    // SendCommand of a code already checked, telling whether the link sent it (false
    // also while not registered; Connected() tells a closed port from a busy one).
    bool sendCommandCode(const QString &stCommand);

signals:
    // Events, in the order of their identifiers.
    // A report body (the text strictly between STX and ETX), before it is evaluated.
    void ReceivedCommand(const QString &stData);
    // The settings block without its first and last character.
    void ReceivedSettings(const QString &stData);
    // A new main-zone volume shown, in dB.
    void VolumeMain(float db);
    // A new zone-2 volume shown, in dB.
    void VolumeZone2(float db);
    // The program is about to end; a non-zero `Cancel` keeps it running.
    void Unload(long &Cancel);
    // The program ends, or another add-in asked this one to terminate.
    void Terminate();
    // Some add-in called AddInMessage. The method of the same name takes four
    // arguments; connect to this signal with
    // qOverload<long, const QString &, const QString &, long, const QString &>.
    void AddInMessage(long Msg, const QString &SenderID, const QString &ReceiverID, long Param1,
                      const QString &Param2);

private:
    friend class clsAddIns;
    clsAddIns *addInList() const;
    ProgramHost *host() const;
    PlayerRemote *player() const;

    // Raise one event on this object, each with its failures handled as the list needs.
    void fSendAddInMessage(long Msg, const QString &SenderID, const QString &ReceiverID,
                           long Param1, const QString &Param2);
    void fSendUnload(long &Cancel);
    void fSendTerminate();

    QPointer<AddInRuntime> m_runtime;
    QString m_id;
    QString m_name;
    QString m_version;
    QString m_copyright;
    QDateTime m_createDate;
    bool m_registered = false;
    bool m_loadedByHost = false;
};
