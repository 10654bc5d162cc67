#include "addins/AddInBusConnection.h"

#include "addins/AddInBusProperties.h"
#include "addins/AddInBusService.h"
#include "addins/AddInRuntime.h"
#include "addins/clsAddIn.h"
#include "orvane_addin_adaptor.h"
#include "program/ProgramEvents.h"
#include "program/ProgramHost.h"

#include <QDateTime>
#include <QMetaMethod>
#include <QTimer>

namespace {

// The name of an event as the interface's description spells it.
template<typename Signal> QString eventName(Signal signal)
{
    return QString::fromLatin1(QMetaMethod::fromSignal(signal).name());
}

} // namespace

AddInBusConnection::AddInBusConnection(AddInBusService *service, quint64 number,
                                       const QString &path, const QString &owner,
                                       const QString &process)
    : m_service(service)
    , m_number(number)
    , m_path(path)
    , m_owner(owner)
    , m_process(process)
    , m_addIn(std::make_unique<clsAddIn>(&service->runtime()))
{
    // The adaptor's own signals would go to the whole bus: they are never emitted (and
    // this object has none for it to relay). Events go to the owner alone (sendSignal).
    new AddInBusProperties(this, new AddInAdaptor(this));
    connectEvents();
}

AddInBusConnection::~AddInBusConnection()
{
    unregister();
}

const QMetaObject &AddInBusConnection::interfaceMetaObject()
{
    return AddInAdaptor::staticMetaObject;
}

void AddInBusConnection::unregister()
{
    if (m_addIn)
        m_addIn->AddInUnRegister();
}

bool AddInBusConnection::admit(CallKind kind)
{
    if (!calledFromDBus())
        return true;
    const auto [errorName, errorText] = m_service->admit(this, message(), kind);
    if (errorName.isEmpty())
        return true;
    refuse(errorName, errorText);
    return false;
}

void AddInBusConnection::refuse(const QString &errorName, const QString &errorText)
{
    if (calledFromDBus())
        sendErrorReply(errorName, errorText);
}

AddInBusConnection::Running::Running(AddInBusConnection *connection)
    : m_connection(connection)
{
    ++m_connection->m_depth;
}

AddInBusConnection::Running::~Running()
{
    // The call may have let events run (a connect, a settings read) while the client
    // left; the connection then goes once the answer is out.
    if (--m_connection->m_depth == 0 && m_connection->released())
        m_connection->m_service->releaseLater(m_connection->number());
}

void AddInBusConnection::connectEvents()
{
    clsAddIn *addIn = m_addIn.get();
    // Direct connections: the signal leaves while the broadcast is at this add-in, so
    // clients hear events in the order the program raises them.
    connect(addIn, &clsAddIn::ReceivedCommand, this, [this](const QString &stData) {
        m_service->sendSignal(this, eventName(&AddInAdaptor::ReceivedCommand), {stData});
    });
    connect(addIn, &clsAddIn::ReceivedSettings, this, [this](const QString &stData) {
        m_service->sendSignal(this, eventName(&AddInAdaptor::ReceivedSettings), {stData});
    });
    connect(addIn, &clsAddIn::VolumeMain, this, [this](float db) {
        m_service->sendSignal(this, eventName(&AddInAdaptor::VolumeMain), {double(db)});
    });
    connect(addIn, &clsAddIn::VolumeZone2, this, [this](float db) {
        m_service->sendSignal(this, eventName(&AddInAdaptor::VolumeZone2), {double(db)});
    });
    connect(addIn, &clsAddIn::Unload, this, [this](long &Cancel) {
        m_service->sendSignal(this, eventName(&AddInAdaptor::Unload));
        const long answer = m_service->askUnload(this);
        if (answer != 0)
            Cancel = answer;
    });
    connect(addIn, &clsAddIn::Terminate, this,
            [this] { m_service->sendSignal(this, eventName(&AddInAdaptor::Terminate)); });
    using MessageEvent
        = void (clsAddIn::*)(long, const QString &, const QString &, long, const QString &);
    using MessageSignal
        = void (AddInAdaptor::*)(int, const QString &, const QString &, qlonglong, const QString &);
    connect(addIn, static_cast<MessageEvent>(&clsAddIn::AddInMessage), this,
            [this](long Msg, const QString &SenderID, const QString &ReceiverID, long Param1,
                   const QString &Param2) {
                m_service->sendSignal(
                    this, eventName(static_cast<MessageSignal>(&AddInAdaptor::AddInMessage)),
                    {int(Msg), SenderID, ReceiverID, qlonglong(Param1), Param2});
            });
}

QString AddInBusConnection::AddInCreateDate() const
{
    return m_addIn->AddInCreateDate().toString(Qt::ISODateWithMs);
}

QString AddInBusConnection::AddInName() const
{
    return m_addIn->AddInName();
}

void AddInBusConnection::setAddInName(const QString &value)
{
    m_addIn->setAddInName(value);
}

QString AddInBusConnection::AddInCopyright() const
{
    return m_addIn->AddInCopyright();
}

void AddInBusConnection::setAddInCopyright(const QString &value)
{
    m_addIn->setAddInCopyright(value);
}

QString AddInBusConnection::AddInID() const
{
    return m_addIn->AddInID();
}

QString AddInBusConnection::AddInVersion() const
{
    return m_addIn->AddInVersion();
}

void AddInBusConnection::setAddInVersion(const QString &value)
{
    m_addIn->setAddInVersion(value);
}

QString AddInBusConnection::Version() const
{
    return m_addIn->Version();
}

bool AddInBusConnection::Visible() const
{
    return m_addIn->Visible();
}

bool AddInBusConnection::Connected() const
{
    return m_addIn->Connected();
}

int AddInBusConnection::WindowState() const
{
    return int(m_addIn->WindowState());
}

int AddInBusConnection::WinampSendCommand(int eWinamp)
{
    if (!admit())
        return 0;
    Running running(this);
    return int(m_addIn->WinampSendCommand(enumOrvaneWinamp(eWinamp)));
}

int AddInBusConnection::WinampGetStatus()
{
    if (!admit())
        return 0;
    Running running(this);
    return int(m_addIn->WinampGetStatus());
}

void AddInBusConnection::SendCommand(const QString &stCommand)
{
    if (!admit(CallKind::Command))
        return;
    Running running(this);
    // The code was checked by the gate. A client learns when the link dropped it.
    if (m_addIn->sendCommandCode(stCommand) || !m_addIn->isRegistered())
        return;
    if (m_addIn->Connected())
        refuse(AddInBusService::kErrorNotSent,
               QStringLiteral("the code was not sent: the link to the receiver was busy, or "
                              "the write failed"));
    else
        refuse(AddInBusService::kErrorNotConnected,
               QStringLiteral("Orvane is not connected to the receiver; the code was not sent"));
}

QString AddInBusConnection::GetText(QString &stLine2)
{
    QString stLine1;
    if (!admit())
        return stLine1;
    Running running(this);
    m_addIn->GetText(stLine1, stLine2);
    return stLine1;
}

int AddInBusConnection::GetInformation(QString &ModelID, QString &Model, QString &Version,
                                       QString &ReturnString)
{
    if (!admit())
        return 0;
    Running running(this);
    return int(m_addIn->GetInformation(ModelID, Model, Version, ReturnString));
}

void AddInBusConnection::Show()
{
    if (!admit())
        return;
    Running running(this);
    m_addIn->Show();
}

void AddInBusConnection::Hide()
{
    if (!admit())
        return;
    Running running(this);
    m_addIn->Hide();
}

int AddInBusConnection::Disconnect()
{
    if (!admit())
        return 0;
    Running running(this);
    return int(m_addIn->Disconnect());
}

int AddInBusConnection::ReadSettings(QString &stSettings)
{
    if (!admit())
        return 0;
    Running running(this);
    QVariant settings;
    const long result = m_addIn->ReadSettings(settings);
    stSettings = settings.toString();
    return int(result);
}

int AddInBusConnection::Connect()
{
    return Connect(false, 0);
}

int AddInBusConnection::Connect(bool bPowerOn)
{
    return Connect(bPowerOn, 0);
}

int AddInBusConnection::Connect(bool bPowerOn, int ComPort)
{
    if (!admit())
        return 0;
    Running running(this);
    return int(m_addIn->Connect(bPowerOn, ComPort));
}

void AddInBusConnection::Quit()
{
    if (!admit(CallKind::ChangesList))
        return;
    followQuit();
    // The answer leaves first: the shutdown may end the program before a reply sent
    // after it could go out.
    QTimer::singleShot(0, m_addIn.get(), &clsAddIn::Quit);
}

void AddInBusConnection::followQuit()
{
    disconnect(m_quitEnding);
    disconnect(m_quitRefused);
    const auto tell = [this](bool ending, const QString &refusedBy) {
        disconnect(m_quitEnding);
        disconnect(m_quitRefused);
        m_service->sendSignal(this, eventName(&AddInAdaptor::QuitOutcome), {ending, refusedBy});
    };
    ProgramHost *host = m_service->runtime().host();
    if (!host) {
        // The start-up wait: the quit ends the start-up, with no vote.
        QTimer::singleShot(0, this, [tell] { tell(true, QString()); });
        return;
    }
    // The next vote's outcome is this quit's (or that of the unload already voting).
    m_quitEnding = connect(host->events(), &ProgramEvents::terminating, this,
                           [tell] { tell(true, QString()); });
    m_quitRefused = connect(host->events(), &ProgramEvents::unloadRefused, this,
                            [tell](const QString &refusedBy) { tell(false, refusedBy); });
}

void AddInBusConnection::About()
{
    if (!admit())
        return;
    Running running(this);
    m_addIn->About();
}

void AddInBusConnection::AddInRegister()
{
    if (!admit(CallKind::ChangesList))
        return;
    Running running(this);
    m_addIn->AddInRegister();
}

void AddInBusConnection::AddInUnRegister()
{
    if (!admit(CallKind::ChangesList))
        return;
    Running running(this);
    m_addIn->AddInUnRegister();
}

void AddInBusConnection::AddInTerminate(const QString &AddInID)
{
    if (!admit(CallKind::ChangesList))
        return;
    Running running(this);
    m_addIn->AddInTerminate(AddInID);
}

void AddInBusConnection::AddInMessage(int Msg)
{
    AddInMessage(Msg, QString(), 0, QString());
}

void AddInBusConnection::AddInMessage(int Msg, const QString &ReceiverID)
{
    AddInMessage(Msg, ReceiverID, 0, QString());
}

void AddInBusConnection::AddInMessage(int Msg, const QString &ReceiverID, qlonglong Param1)
{
    AddInMessage(Msg, ReceiverID, Param1, QString());
}

void AddInBusConnection::AddInMessage(int Msg, const QString &ReceiverID, qlonglong Param1,
                                      const QString &Param2)
{
    if (!admit(CallKind::Message))
        return;
    Running running(this);
    m_addIn->AddInMessage(Msg, ReceiverID, long(Param1), Param2);
}
