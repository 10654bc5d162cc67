#include "addins/AddInBusConnection.h"

#include "addins/AddInBusService.h"
#include "addins/clsAddIn.h"

#include <QDBusVariant>
#include <QDateTime>
#include <QTimer>

namespace {

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kErrorInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString kErrorUnknownMethod = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
const QString kErrorUnknownProperty = QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty");
const QString kErrorReadOnly = QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly");

// The signatures each member accepts; the trailing arguments of Connect and
// AddInMessage may be left out.
struct Member
{
    const char *name;
    std::initializer_list<const char *> signatures;
};
const Member kMembers[] = {
    {"WinampSendCommand", {"i"}},
    {"WinampGetStatus", {""}},
    {"SendCommand", {"s"}},
    {"GetText", {""}},
    {"GetInformation", {""}},
    {"Show", {""}},
    {"Hide", {""}},
    {"Disconnect", {""}},
    {"ReadSettings", {""}},
    {"Connect", {"", "b", "bi"}},
    {"Quit", {""}},
    {"About", {""}},
    {"AddInRegister", {""}},
    {"AddInUnRegister", {""}},
    {"AddInTerminate", {"s"}},
    {"AddInMessage", {"i", "is", "isi", "isis"}},
};

const char *const kReadOnly[]
    = {"AddInCreateDate", "AddInID", "Version", "Visible", "Connected", "WindowState"};
const char *const kWritable[] = {"AddInName", "AddInCopyright", "AddInVersion"};

// A receiver command code travels inside one frame: five printable characters and
// nothing that could end the frame or start another.
bool isCommandCode(const QString &code)
{
    if (code.size() != 5)
        return false;
    return std::all_of(code.begin(), code.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
}

// True when a text argument is longer than `limit`.
bool tooLong(const QVariantList &arguments, qsizetype limit)
{
    return std::any_of(arguments.begin(), arguments.end(), [limit](const QVariant &v) {
        return v.metaType() == QMetaType::fromType<QString>() && v.toString().size() > limit;
    });
}

} // namespace

AddInBusConnection::AddInBusConnection(AddInBusService *service, quint64 number,
                                       const QString &path, const QString &owner)
    : m_service(service)
    , m_number(number)
    , m_path(path)
    , m_owner(owner)
    , m_addIn(std::make_unique<clsAddIn>(&service->runtime()))
{
    connectEvents();
}

AddInBusConnection::~AddInBusConnection()
{
    unregister();
}

void AddInBusConnection::unregister()
{
    if (m_addIn)
        m_addIn->AddInUnRegister();
}

void AddInBusConnection::connectEvents()
{
    clsAddIn *addIn = m_addIn.get();
    // Direct connections: the signal leaves while the broadcast is at this add-in, so
    // clients hear events in the order the program raises them.
    connect(addIn, &clsAddIn::ReceivedCommand, this, [this](const QString &stData) {
        m_service->sendSignal(this, QStringLiteral("ReceivedCommand"), {stData});
    });
    connect(addIn, &clsAddIn::ReceivedSettings, this, [this](const QString &stData) {
        m_service->sendSignal(this, QStringLiteral("ReceivedSettings"), {stData});
    });
    connect(addIn, &clsAddIn::VolumeMain, this, [this](float db) {
        m_service->sendSignal(this, QStringLiteral("VolumeMain"), {double(db)});
    });
    connect(addIn, &clsAddIn::VolumeZone2, this, [this](float db) {
        m_service->sendSignal(this, QStringLiteral("VolumeZone2"), {double(db)});
    });
    connect(addIn, &clsAddIn::Unload, this, [this](long &Cancel) {
        const long answer = m_service->askUnload(this);
        if (answer != 0)
            Cancel = answer;
    });
    connect(addIn, &clsAddIn::Terminate, this,
            [this] { m_service->sendSignal(this, QStringLiteral("Terminate")); });
    using MessageEvent
        = void (clsAddIn::*)(long, const QString &, const QString &, long, const QString &);
    connect(addIn, static_cast<MessageEvent>(&clsAddIn::AddInMessage), this,
            [this](long Msg, const QString &SenderID, const QString &ReceiverID, long Param1,
                   const QString &Param2) {
                m_service->sendSignal(this, QStringLiteral("AddInMessage"),
                                      {int(Msg), SenderID, ReceiverID, int(Param1), Param2});
            });
}

QDBusMessage AddInBusConnection::handle(const QDBusMessage &message)
{
    ++m_depth;
    QDBusMessage reply;
    if (message.interface() == kProperties)
        reply = properties(message);
    else if (message.interface().isEmpty()
             || message.interface() == AddInBusService::kAddInInterface)
        reply = call(message);
    else
        reply = message.createErrorReply(
            kErrorUnknownMethod, QStringLiteral("No interface %1").arg(message.interface()));
    --m_depth;
    return reply;
}

QDBusMessage AddInBusConnection::call(const QDBusMessage &message)
{
    const QString member = message.member();
    const QString signature = message.signature();
    const Member *known = nullptr;
    for (const Member &m : kMembers) {
        if (member == QLatin1String(m.name))
            known = &m;
    }
    if (!known)
        return message.createErrorReply(kErrorUnknownMethod,
                                        QStringLiteral("No method %1").arg(member));
    const bool accepted = std::any_of(known->signatures.begin(), known->signatures.end(),
                                      [&](const char *s) { return signature == QLatin1String(s); });
    if (!accepted) {
        QStringList expected;
        for (const char *s : known->signatures)
            expected << QStringLiteral("\"%1\"").arg(QLatin1String(s));
        return message.createErrorReply(
            kErrorInvalidArgs,
            QStringLiteral("%1 takes the signature %2, not \"%3\"")
                .arg(member, expected.join(QStringLiteral(" or ")), signature));
    }
    const QVariantList in = message.arguments();
    if (tooLong(in, member == QLatin1String("AddInMessage") ? kMaxMessageText : kMaxText))
        return message.createErrorReply(kErrorInvalidArgs, QStringLiteral("Text too long"));
    clsAddIn &addIn = *m_addIn;

    if (member == QLatin1String("WinampSendCommand")) {
        const auto eWinamp = enumOrvaneWinamp(in.at(0).toInt());
        return message.createReply(int(addIn.WinampSendCommand(eWinamp)));
    }
    if (member == QLatin1String("WinampGetStatus"))
        return message.createReply(int(addIn.WinampGetStatus()));
    if (member == QLatin1String("SendCommand")) {
        const QString code = in.at(0).toString();
        if (!isCommandCode(code))
            return message.createErrorReply(
                kErrorInvalidArgs,
                QStringLiteral("A command code is five printable characters, e.g. 07A1D"));
        addIn.SendCommand(code);
        return message.createReply();
    }
    if (member == QLatin1String("GetText")) {
        QString stLine1, stLine2;
        addIn.GetText(stLine1, stLine2);
        return message.createReply(QVariantList {stLine1, stLine2});
    }
    if (member == QLatin1String("GetInformation")) {
        QString ModelID, Model, Version, ReturnString;
        const long result = addIn.GetInformation(ModelID, Model, Version, ReturnString);
        return message.createReply(
            QVariantList {int(result), ModelID, Model, Version, ReturnString});
    }
    if (member == QLatin1String("Show")) {
        addIn.Show();
        return message.createReply();
    }
    if (member == QLatin1String("Hide")) {
        addIn.Hide();
        return message.createReply();
    }
    if (member == QLatin1String("Disconnect"))
        return message.createReply(int(addIn.Disconnect()));
    if (member == QLatin1String("ReadSettings")) {
        QVariant stSettings;
        const long result = addIn.ReadSettings(stSettings);
        return message.createReply(QVariantList {int(result), stSettings.toString()});
    }
    if (member == QLatin1String("Connect")) {
        const bool bPowerOn = in.size() > 0 && in.at(0).toBool();
        const long ComPort = in.size() > 1 ? in.at(1).toInt() : 0;
        return message.createReply(int(addIn.Connect(bPowerOn, ComPort)));
    }
    if (member == QLatin1String("Quit")) {
        // The answer leaves first: the shutdown may end the program before a reply
        // sent after it could go out.
        QTimer::singleShot(0, m_addIn.get(), &clsAddIn::Quit);
        return message.createReply();
    }
    if (member == QLatin1String("About")) {
        addIn.About();
        return message.createReply();
    }
    if (member == QLatin1String("AddInRegister")) {
        addIn.AddInRegister();
        return message.createReply();
    }
    if (member == QLatin1String("AddInUnRegister")) {
        addIn.AddInUnRegister();
        return message.createReply();
    }
    if (member == QLatin1String("AddInTerminate")) {
        addIn.AddInTerminate(in.at(0).toString());
        return message.createReply();
    }
    // AddInMessage
    addIn.AddInMessage(in.at(0).toInt(), in.value(1).toString(), in.value(2).toInt(),
                       in.value(3).toString());
    return message.createReply();
}

QVariant AddInBusConnection::property(const QString &name, bool &known) const
{
    known = true;
    const clsAddIn &addIn = *m_addIn;
    if (name == QLatin1String("AddInCreateDate"))
        return addIn.AddInCreateDate().toString(Qt::ISODateWithMs);
    if (name == QLatin1String("AddInName"))
        return addIn.AddInName();
    if (name == QLatin1String("AddInCopyright"))
        return addIn.AddInCopyright();
    if (name == QLatin1String("AddInID"))
        return addIn.AddInID();
    if (name == QLatin1String("AddInVersion"))
        return addIn.AddInVersion();
    if (name == QLatin1String("Version"))
        return addIn.Version();
    if (name == QLatin1String("Visible"))
        return m_addIn->Visible();
    if (name == QLatin1String("Connected"))
        return m_addIn->Connected();
    if (name == QLatin1String("WindowState"))
        return int(m_addIn->WindowState());
    known = false;
    return {};
}

QDBusMessage AddInBusConnection::properties(const QDBusMessage &message)
{
    const QString member = message.member();
    const QString signature = message.signature();
    const QVariantList in = message.arguments();
    const QString interface = in.value(0).toString();
    if (!interface.isEmpty() && interface != AddInBusService::kAddInInterface
        && signature.startsWith('s'))
        return message.createErrorReply(kErrorInvalidArgs,
                                        QStringLiteral("No interface %1").arg(interface));
    if (member == QLatin1String("Get") && signature == QLatin1String("ss")) {
        bool known = false;
        const QVariant value = property(in.at(1).toString(), known);
        if (!known)
            return message.createErrorReply(
                kErrorUnknownProperty, QStringLiteral("No property %1").arg(in.at(1).toString()));
        return message.createReply(QVariant::fromValue(QDBusVariant(value)));
    }
    if (member == QLatin1String("GetAll") && signature == QLatin1String("s")) {
        QVariantMap all;
        for (const char *name : kReadOnly) {
            bool known = false;
            all.insert(QLatin1String(name), property(QLatin1String(name), known));
        }
        for (const char *name : kWritable) {
            bool known = false;
            all.insert(QLatin1String(name), property(QLatin1String(name), known));
        }
        return message.createReply(all);
    }
    if (member == QLatin1String("Set") && signature == QLatin1String("ssv")) {
        const QString name = in.at(1).toString();
        const QVariant value = in.at(2).value<QDBusVariant>().variant();
        const bool writable = std::any_of(std::begin(kWritable), std::end(kWritable),
                                          [&](const char *w) { return name == QLatin1String(w); });
        if (!writable) {
            bool known = false;
            property(name, known);
            return message.createErrorReply(
                known ? kErrorReadOnly : kErrorUnknownProperty,
                QStringLiteral("%1 %2").arg(name,
                                            known ? QStringLiteral("is read-only")
                                                  : QStringLiteral("is no property")));
        }
        if (value.metaType() != QMetaType::fromType<QString>())
            return message.createErrorReply(kErrorInvalidArgs,
                                            QStringLiteral("%1 is a string").arg(name));
        QString text = value.toString();
        if (text.size() > kMaxText)
            return message.createErrorReply(kErrorInvalidArgs, QStringLiteral("Text too long"));
        if (name == QLatin1String("AddInName"))
            m_addIn->setAddInName(text);
        else if (name == QLatin1String("AddInCopyright"))
            m_addIn->setAddInCopyright(text);
        else
            m_addIn->setAddInVersion(text);
        return message.createReply();
    }
    return message.createErrorReply(
        kErrorUnknownMethod,
        QStringLiteral("No method %1 with signature \"%2\"").arg(member, signature));
}
