#include "addins/clsAddIn.h"

#include "addins/clsAddIns.h"
#include "app/Modul_Lib.h"
#include "app/Modul_Orvane.h"
#include "app/ProgramHost.h"
#include "errors/ErrorGuard.h"
#include "platform/PlayerRemote.h"

#include <QPointer>
#include <algorithm>

namespace {
constexpr const char *kModule = "clsAddIn";

ProgramHost *s_host = nullptr;
PlayerRemote *s_player = nullptr;
UserDialogs *s_dialogs = nullptr;
std::function<void()> s_mainWindowLoader;

clsAddIns *addInList()
{
    return Modul_Orvane::oAddIns;
}
} // namespace

clsAddIn::clsAddIn(QObject *parent)
    : QObject(parent)
    , m_id(Modul_Lib::CreateGUID(s_dialogs))
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

void clsAddIn::setHost(ProgramHost *host)
{
    s_host = host;
}

ProgramHost *clsAddIn::host()
{
    return s_host;
}

void clsAddIn::setPlayer(PlayerRemote *player)
{
    s_player = player;
}

void clsAddIn::setDialogs(UserDialogs *dialogs)
{
    s_dialogs = dialogs;
}

UserDialogs *clsAddIn::dialogs()
{
    return s_dialogs;
}

void clsAddIn::setMainWindowLoader(std::function<void()> loader)
{
    s_mainWindowLoader = std::move(loader);
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
        if (s_player && s_player->find())
            s_player->postCommand(int(eWinamp));
    });
    return 0;
}

long clsAddIn::WinampGetStatus()
{
    long status = 0;
    guarded(kModule, "WinampGetStatus", [&] {
        if (s_player && s_player->find())
            status = s_player->status();
    });
    return status;
}

bool clsAddIn::isCommandCode(const QString &code)
{
    return code.size() == 5 && std::all_of(code.begin(), code.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
           });
}

QVariant clsAddIn::SendCommand(const QString &stCommand)
{
    guarded(kModule, "SendCommand", [&] {
        if (m_registered && s_host && isCommandCode(stCommand))
            s_host->sendCommand(stCommand);
    });
    return QVariant();
}

void clsAddIn::GetText(QString &stLine1, QString &stLine2)
{
    guarded(kModule, "GetText", [&] {
        if (!m_registered || !s_host)
            return;
        stLine1 = s_host->line1();
        stLine2 = s_host->line2();
    });
}

long clsAddIn::GetInformation(QString &ModelID, QString &Model, QString &Version,
                              QString &ReturnString)
{
    guarded(kModule, "GetInformation", [&] {
        if (!m_registered || !s_host)
            return;
        const ProgramHost::ModelInformation info = s_host->modelInformation();
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
        if (m_registered && s_host)
            s_host->showProgram();
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
        if (m_registered && s_host)
            visible = s_host->programVisible();
    });
    return visible;
}

void clsAddIn::Hide()
{
    ignoringErrors([&] {
        if (m_registered && s_host)
            s_host->hideProgram();
    });
}

bool clsAddIn::Connected() const
{
    bool connected = false;
    ignoringErrors([&] {
        if (m_registered && s_host)
            connected = s_host->isConnected();
    });
    return connected;
}

long clsAddIn::Disconnect()
{
    ignoringErrors([&] {
        if (m_registered && s_host && s_host->isConnected())
            s_host->disconnectReceiver();
    });
    return 0;
}

long clsAddIn::ReadSettings(QVariant &stSettings)
{
    ignoringErrors([&] {
        if (m_registered && s_host)
            stSettings = s_host->readSettings();
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
        if (m_registered && s_host)
            s_host->connectReceiver(bPowerOn);
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
        if (s_host && !(list && list->endingInProgress()))
            s_host->quitProgram();
    });
}

void clsAddIn::About()
{
    ignoringErrors([&] {
        if (m_registered && s_host)
            s_host->showAbout();
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
        if (!s_host && s_mainWindowLoader)
            s_mainWindowLoader();
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
        if (m_registered && s_host)
            state = s_host->windowState();
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
