#include "addins/clsAddIn.h"

#include "addins/AddInRuntime.h"
#include "addins/clsAddIns.h"
#include "errors/ErrorGuard.h"
#include "link/CommandCode.h"
#include "platform/PlayerRemote.h"
#include "program/Modul_Lib.h"
#include "program/ProgramHost.h"
#include "program/VersionText.h"

#include <QPointer>
#include <algorithm>

namespace {
constexpr const char *kModule = "clsAddIn";
} // namespace

clsAddIn::clsAddIn(AddInRuntime *runtime, QObject *parent)
    : QObject(parent)
    , m_runtime(runtime)
    , m_id(Modul_Lib::CreateGUID(runtime ? runtime->dialogs() : nullptr))
    , m_createDate(QDateTime::currentDateTime())
{
}

clsAddIn::~clsAddIn()
{
    ignoringErrors([&] {
        if (clsAddIns *list = addInList())
            list->removeObject(this);
    });
}

clsAddIns *clsAddIn::addInList() const
{
    return m_runtime ? m_runtime->oAddIns() : nullptr;
}

ProgramHost *clsAddIn::host() const
{
    return m_runtime ? m_runtime->host() : nullptr;
}

PlayerRemote *clsAddIn::player() const
{
    return m_runtime ? m_runtime->player() : nullptr;
}

QDateTime clsAddIn::AddInCreateDate() const
{
    return m_createDate;
}

QString clsAddIn::AddInName() const
{
    return m_name;
}

void clsAddIn::setAddInName(const QString &value)
{
    m_name = value;
}

QString clsAddIn::AddInCopyright() const
{
    return m_copyright;
}

void clsAddIn::setAddInCopyright(const QString &value)
{
    m_copyright = value;
}

QString clsAddIn::AddInID() const
{
    return m_id;
}

QString clsAddIn::AddInVersion() const
{
    return m_version;
}

void clsAddIn::setAddInVersion(const QString &value)
{
    m_version = value;
}

long clsAddIn::WinampSendCommand(enumOrvaneWinamp eWinamp)
{
    guarded(kModule, "WinampSendCommand", [&] {
        PlayerRemote *remote = player();
        if (remote && remote->find())
            remote->postCommand(int(eWinamp));
    });
    return 0;
}

long clsAddIn::WinampGetStatus()
{
    long status = 0;
    guarded(kModule, "WinampGetStatus", [&] {
        PlayerRemote *remote = player();
        if (remote && remote->find())
            status = remote->status();
    });
    return status;
}

QVariant clsAddIn::SendCommand(const QString &stCommand)
{
    if (CommandCode::isCommandCode(stCommand))
        sendCommandCode(stCommand);
    return QVariant();
}

bool clsAddIn::sendCommandCode(const QString &stCommand)
{
    bool sent = false;
    guarded(kModule, "SendCommand", [&] {
        if (m_registered && host())
            sent = host()->sendCommand(stCommand) == ProgramHost::SendResult::Sent;
    });
    return sent;
}

void clsAddIn::GetText(QString &stLine1, QString &stLine2)
{
    guarded(kModule, "GetText", [&] {
        if (!m_registered || !host())
            return;
        stLine1 = host()->line1();
        stLine2 = host()->line2();
    });
}

long clsAddIn::GetInformation(QString &ModelID, QString &Model, QString &Version,
                              QString &ReturnString)
{
    guarded(kModule, "GetInformation", [&] {
        if (!m_registered || !host())
            return;
        const ProgramHost::ModelInformation info = host()->modelInformation();
        ModelID = info.modelId;
        Model = info.model;
        Version = info.version;
        ReturnString = info.returnString;
    });
    return 0;
}

void clsAddIn::Show()
{
    ignoringErrors([&] {
        if (m_registered && host())
            host()->showProgram();
    });
}

QString clsAddIn::Version() const
{
    return Modul_Orvane::VersionText();
}

bool clsAddIn::Visible() const
{
    bool visible = false;
    guarded(kModule, "Visible", [&] {
        if (m_registered && host())
            visible = host()->programVisible();
    });
    return visible;
}

void clsAddIn::Hide()
{
    ignoringErrors([&] {
        if (m_registered && host())
            host()->hideProgram();
    });
}

bool clsAddIn::Connected() const
{
    bool connected = false;
    ignoringErrors([&] {
        if (m_registered && host())
            connected = host()->isConnected();
    });
    return connected;
}

long clsAddIn::Disconnect()
{
    ignoringErrors([&] {
        if (m_registered && host() && host()->isConnected())
            host()->disconnectReceiver();
    });
    return 0;
}

long clsAddIn::ReadSettings(QVariant &stSettings)
{
    ignoringErrors([&] {
        if (m_registered && host())
            stSettings = host()->readSettings();
    });
    return 0;
}

long clsAddIn::ReadSettings()
{
    QVariant ignored;
    return ReadSettings(ignored);
}

long clsAddIn::Connect(bool bPowerOn, long ComPort)
{
    Q_UNUSED(ComPort);
    ignoringErrors([&] {
        if (m_registered && host())
            host()->connectReceiver(bPowerOn);
    });
    return 0;
}

void clsAddIn::Quit()
{
    ignoringErrors([&] {
        // While the add-ins are asked to unload or told to terminate, the program is
        // already ending; a quit from a handler would start the same shutdown again
        // inside itself.
        const clsAddIns *list = addInList();
        if (host() && !(list && list->endingInProgress()))
            host()->quitProgram();
        else if (!host() && m_runtime)
            m_runtime->quitWithoutWindow();
    });
}

void clsAddIn::About()
{
    ignoringErrors([&] {
        if (m_registered && host())
            host()->showAbout();
    });
}

void clsAddIn::AddInRegister()
{
    guarded(kModule, "Register", [&] {
        clsAddIns *list = addInList();
        if (!list || m_registered)
            return;
        list->Add(this);
        // An outside program may register before the main window is there.
        if (!host() && m_runtime)
            m_runtime->loadMainWindow();
        m_registered = true;
    });
}

void clsAddIn::AddInUnRegister()
{
    guarded(kModule, "UnRegister", [&] {
        clsAddIns *list = addInList();
        if (!list || !m_registered)
            return;
        list->Remove(m_id);
        m_registered = false;
    });
}

long clsAddIn::WindowState() const
{
    long state = 0;
    guarded(kModule, "WindowState", [&] {
        if (m_registered && host())
            state = host()->windowState();
    });
    return state;
}

void clsAddIn::AddInTerminate(const QString &AddInID)
{
    guarded(kModule, "AddInTerminate", [&] {
        // A terminating add-in may give up its connection, or even end the program and
        // with it the list: guarded pointers tell what is still there.
        const QPointer<clsAddIns> list = addInList();
        if (!list)
            return;
        const QString ownId = m_id;
        const auto terminate = [&list](clsAddIn *item) {
            const bool loadedByHost = item->m_loadedByHost;
            const QString id = item->m_id;
            const QPointer<clsAddIn> alive(item);
            item->fSendTerminate();
            if (!loadedByHost || !list)
                return;
            list->Remove(id);
            if (alive)
                alive->m_registered = false;
        };
        if (!AddInID.isEmpty()) {
            if (AddInID == ownId)
                return;
            if (clsAddIn *item = list->GetItemByID(AddInID))
                terminate(item);
            return;
        }
        for (const QPointer<clsAddIn> &item : list->lastToFirst())
            if (item && item->m_id != ownId)
                terminate(item);
    });
}

void clsAddIn::AddInMessage(long Msg, const QString &ReceiverID, long Param1,
                            const QString &Param2)
{
    guarded(kModule, "AddInMessage", [&] {
        if (clsAddIns *list = addInList())
            list->SendAddInMessage(Msg, m_id, ReceiverID, Param1, Param2);
    });
}

void clsAddIn::fSendAddInMessage(long Msg, const QString &SenderID, const QString &ReceiverID,
                                 long Param1, const QString &Param2)
{
    guarded(kModule, "fSendAddInMessage",
            [&] { emit AddInMessage(Msg, SenderID, ReceiverID, Param1, Param2); });
}

void clsAddIn::fSendUnload(long &Cancel)
{
    ignoringErrors([&] { emit Unload(Cancel); });
}

void clsAddIn::fSendTerminate()
{
    ignoringErrors([&] { emit Terminate(); });
}
