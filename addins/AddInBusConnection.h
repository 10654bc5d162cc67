#pragma once

#include "errors/ShowErrBox.h"

#include <QDBusContext>
#include <QDBusError>
#include <QObject>
#include <QString>
#include <memory>

class AddInAdaptor;
class AddInBusService;
class clsAddIn;

// One client's connection object on the bus: a clsAddIn of its own, offered as the
// interface org.orvane.Orvane.AddIn through the adaptor generated from
// org.orvane.Orvane.xml, with its events sent as signals addressed to the owner.
// Every call of the adaptor, and every property access, passes admit() first: the
// owner check, the limits and the argument checks live there and nowhere else.
class AddInBusConnection : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_PROPERTY(QString AddInCreateDate READ AddInCreateDate)
    Q_PROPERTY(QString AddInName READ AddInName WRITE setAddInName)
    Q_PROPERTY(QString AddInCopyright READ AddInCopyright WRITE setAddInCopyright)
    Q_PROPERTY(QString AddInID READ AddInID)
    Q_PROPERTY(QString AddInVersion READ AddInVersion WRITE setAddInVersion)
    Q_PROPERTY(QString Version READ Version)
    Q_PROPERTY(bool Visible READ Visible)
    Q_PROPERTY(bool Connected READ Connected)
    Q_PROPERTY(int WindowState READ WindowState)
public:
    // Longest text a client may store or pass, and the longest message text.
    static constexpr qsizetype kMaxText = 4096;
    static constexpr qsizetype kMaxMessageText = 65536;

    // What a call asks of the program beyond a plain call; the gate checks each kind.
    enum class CallKind { Plain, Command, Message, ChangesList };

    AddInBusConnection(AddInBusService *service, quint64 number, const QString &path,
                       const QString &owner, const QString &process);
    // Unregisters the add-in; the program hears nothing more of it.
    ~AddInBusConnection() override;

    QString path() const { return m_path; }
    QString owner() const { return m_owner; }
    // The client's process (all its bus connections share the limits).
    QString process() const { return m_process; }
    quint64 number() const { return m_number; }
    clsAddIn *addIn() const { return m_addIn.get(); }
    // The adaptor's description of the interface (names and types from the XML).
    static const QMetaObject &interfaceMetaObject();

    // True while a call of this connection runs (it may let events run).
    bool busy() const { return m_depth > 0; }
    // The owner left: the add-in is unregistered now; the connection is released by
    // the service once no call of it runs.
    void unregister();
    void markReleased() { m_released = true; }
    bool released() const { return m_released; }

    // The one gate before a call of the interface acts: caller, limits and arguments.
    // False, with the error sent as the call's answer, when the call is refused.
    bool admit(CallKind kind = CallKind::Plain);
    // Answers the running call with an error.
    void refuse(const QString &errorName, const QString &errorText);

    QString AddInCreateDate() const;
    QString AddInName() const;
    void setAddInName(const QString &value);
    QString AddInCopyright() const;
    void setAddInCopyright(const QString &value);
    QString AddInID() const;
    QString AddInVersion() const;
    void setAddInVersion(const QString &value);
    QString Version() const;
    bool Visible() const;
    bool Connected() const;
    int WindowState() const;

    // The members of org.orvane.Orvane.AddIn, called by the generated adaptor.
public slots:
    int WinampSendCommand(int eWinamp);
    int WinampGetStatus();
    void SendCommand(const QString &stCommand);
    QString GetText(QString &stLine2);
    int GetInformation(QString &ModelID, QString &Model, QString &Version, QString &ReturnString);
    void Show();
    void Hide();
    int Disconnect();
    int ReadSettings(QString &stSettings);
    int Connect();
    int Connect(bool bPowerOn);
    int Connect(bool bPowerOn, int ComPort);
    void Quit();
    void About();
    void AddInRegister();
    void AddInUnRegister();
    void AddInTerminate(const QString &AddInID);
    void AddInMessage(int Msg);
    void AddInMessage(int Msg, const QString &ReceiverID);
    void AddInMessage(int Msg, const QString &ReceiverID, qlonglong Param1);
    void AddInMessage(int Msg, const QString &ReceiverID, qlonglong Param1, const QString &Param2);

private:
    // Counts a running call; when the connection was released meanwhile, it goes
    // after the call has answered.
    class Running
    {
    public:
        explicit Running(AddInBusConnection *connection);
        ~Running();

    private:
        AddInBusConnection *m_connection;
        // No call from outside waits on a box the user has to close.
        ErrorsWithoutWaiting m_errorsWithoutWaiting;
    };

    void connectEvents();
    // Tells the owner how the quit it asked for ended (QuitOutcome).
    void followQuit();

    AddInBusService *m_service;
    quint64 m_number;
    QString m_path;
    QString m_owner;
    QString m_process;
    std::unique_ptr<clsAddIn> m_addIn;
    QMetaObject::Connection m_quitEnding;
    QMetaObject::Connection m_quitRefused;
    int m_depth = 0;
    bool m_released = false;
};
