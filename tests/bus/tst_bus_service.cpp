// The automation interface driven from outside: clients on a bus of the test's own
// call the program's connection objects, hear its events and vote on its end.

#include "addins/AddInBusConnection.h"
#include "addins/AddInBusService.h"
#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "app/Modul_Orvane.h"
#include "tests/support/FakeProgramHost.h"
#include "tests/support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString kService = AddInBusService::kServiceName;
const QString kAddIn = AddInBusService::kAddInInterface;

// Everything a client heard, in one order across all clients.
struct Heard
{
    QString client;
    QString path;
    QString event;
    QVariantList arguments;
};
QList<Heard> g_heard;

// A client on its own bus connection, as an outside program would be. Its answer to the
// unload vote is `cancel`; with `hang` it never answers.
class Client : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvane.Orvane.AddInClient")
public:
    Client(const QString &address, const QString &name)
        : m_name(name)
        , m_bus(QDBusConnection::connectToBus(address, name))
    {
    }
    ~Client() override { leave(); }

    bool connected() const { return m_bus.isConnected(); }
    QDBusConnection &bus() { return m_bus; }
    void voteWith(long cancel, bool hang = false)
    {
        m_cancel = cancel;
        m_hang = hang;
        m_bus.registerObject(AddInBusService::kClientPath, this, QDBusConnection::ExportAllSlots);
    }
    void leave()
    {
        if (!m_bus.isConnected())
            return;
        // The connection closes when its last handle goes.
        m_bus = QDBusConnection(QStringLiteral("closed"));
        QDBusConnection::disconnectFromBus(m_name);
    }

    // Waits with events running: the program answers on this thread.
    QDBusMessage call(const QString &path, const QString &interface, const QString &member,
                      const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, member);
        message.setArguments(arguments);
        return m_bus.call(message, QDBus::BlockWithGui, 5000);
    }
    QDBusMessage callAddIn(const QString &member, const QVariantList &arguments = {})
    {
        return call(path, kAddIn, member, arguments);
    }
    QString create()
    {
        const QDBusMessage reply
            = call(QStringLiteral("/"), kService, QStringLiteral("CreateAddIn"));
        path = reply.arguments().value(0).value<QDBusObjectPath>().path();
        for (const char *event : {"ReceivedCommand", "ReceivedSettings", "VolumeMain", "Unload",
                                  "Terminate", "AddInMessage"})
            m_bus.connect(kService, path, kAddIn, QLatin1String(event), this,
                          SLOT(onEvent(QDBusMessage)));
        return path;
    }
    bool registerAddIn()
    {
        return create().size() > 0
            && callAddIn(QStringLiteral("AddInRegister")).type() == QDBusMessage::ReplyMessage;
    }

    QString path;
    int asked = 0;

public slots:
    int Unload(const QDBusObjectPath &)
    {
        ++asked;
        if (m_hang)
            setDelayedReply(true);
        return int(m_cancel);
    }

private slots:
    void onEvent(const QDBusMessage &message)
    {
        g_heard.append({m_name, message.path(), message.member(), message.arguments()});
    }

private:
    QString m_name;
    QDBusConnection m_bus;
    long m_cancel = 0;
    bool m_hang = false;
};

} // namespace

class tst_BusService : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void secondProgramRunsWithoutAutomation();
    void eventsReachTheLatestRegisteredFirst();
    void callsAreCheckedBeforeTheyAct_data();
    void callsAreCheckedBeforeTheyAct();
    void onlyTheOwnerMayCall();
    void unloadVoteAsksEveryoneAndOneRefusalCounts();
    void hangingVotersAreWaitedForWithinBounds();
    void vanishingClientIsUnregisteredAtOnce();
    void vanishingVoterEndsTheWait();
    void clientLeavingDuringItsCallIsReleasedAfterIt();
    void connectionsPerClientAreBounded();
    void commandFloodIsBounded();

private:
    std::unique_ptr<Client> client(const QString &name);

    PrivateBus m_bus;
    FakeProgramHost m_host;
    std::unique_ptr<AddInBusService> m_service;
    int m_clients = 0;
};

void tst_BusService::initTestCase()
{
    if (!m_bus.start())
        QSKIP(qPrintable(QStringLiteral("no private session bus: ") + m_bus.errorString()));
    m_host.connected = true;
    m_host.settings = QStringLiteral("\x12R0161C\x03");
    m_host.readWaitMs = 300;
    clsAddIn::setHost(&m_host);
}

void tst_BusService::init()
{
    g_heard.clear();
    m_host.calls.clear();
    Modul_Orvane::oAddIns = new clsAddIns();
    m_service = std::make_unique<AddInBusService>(
        QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("program")));
    QVERIFY2(m_service->start(), qPrintable(m_service->errorString()));
}

void tst_BusService::cleanup()
{
    m_service.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    delete Modul_Orvane::oAddIns;
    Modul_Orvane::oAddIns = nullptr;
}

std::unique_ptr<Client> tst_BusService::client(const QString &name)
{
    auto c = std::make_unique<Client>(m_bus.address(),
                                      QStringLiteral("%1-%2").arg(name).arg(++m_clients));
    return c;
}

void tst_BusService::secondProgramRunsWithoutAutomation()
{
    AddInBusService second(
        QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("second")));
    QVERIFY(!second.start());
    QVERIFY2(second.errorString().contains(kService), qPrintable(second.errorString()));
    QVERIFY(m_service->isRunning());
    QDBusConnection::disconnectFromBus(QStringLiteral("second"));
}

void tst_BusService::eventsReachTheLatestRegisteredFirst()
{
    // Two connection objects of one client: their signals share one line, so the
    // order they arrive in is the order the program sent them.
    auto c = client(QStringLiteral("client"));
    QVERIFY(c->registerAddIn());
    const QString first = c->path;
    QVERIFY(c->registerAddIn());
    const QString second = c->path;
    auto outsider = client(QStringLiteral("unregistered"));
    outsider->create();
    // Listening on another client's object hears nothing: events are addressed.
    outsider->bus().connect(kService, first, kAddIn, QStringLiteral("ReceivedCommand"),
                            outsider.get(), SLOT(onEvent(QDBusMessage)));

    Modul_Orvane::oAddIns->SemdIncommingCommand(QStringLiteral("002401"));
    Modul_Orvane::oAddIns->SemdVolumeMain(-30.5f);
    QTRY_COMPARE(g_heard.size(), 4);
    QTest::qWait(50);
    QCOMPARE(g_heard.size(), 4);
    const QStringList order
        = {g_heard.at(0).path, g_heard.at(1).path, g_heard.at(2).path, g_heard.at(3).path};
    QCOMPARE(order, (QStringList {second, first, second, first}));
    QCOMPARE(g_heard.at(0).event, QStringLiteral("ReceivedCommand"));
    QCOMPARE(g_heard.at(0).arguments, QVariantList {QStringLiteral("002401")});
    QCOMPARE(g_heard.at(2).event, QStringLiteral("VolumeMain"));
    QCOMPARE(g_heard.at(2).arguments, QVariantList {-30.5});
}

void tst_BusService::callsAreCheckedBeforeTheyAct_data()
{
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("member");
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("sent");

    const QString invalid = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
    QTest::newRow("code sent") << true << "SendCommand" << QVariantList {QStringLiteral("07A1D")}
                               << QString() << QStringList {QStringLiteral("07A1D")};
    QTest::newRow("unregistered sends nothing")
        << false << "SendCommand" << QVariantList {QStringLiteral("07A1D")} << QString()
        << QStringList {};
    QTest::newRow("code too short")
        << true << "SendCommand" << QVariantList {QStringLiteral("07A1")} << invalid
        << QStringList {};
    QTest::newRow("code with frame end")
        << true << "SendCommand" << QVariantList {QStringLiteral("07A\x03\x02")} << invalid
        << QStringList {};
    QTest::newRow("code as number")
        << true << "SendCommand" << QVariantList {12345} << invalid << QStringList {};
    QTest::newRow("message text too long")
        << true << "AddInMessage"
        << QVariantList {1, QString(), 0, QString(AddInBusConnection::kMaxMessageText + 1, 'x')}
        << invalid << QStringList {};
    QTest::newRow("unknown member") << true << "Shell" << QVariantList {QStringLiteral("ls")}
                                    << "org.freedesktop.DBus.Error.UnknownMethod" << QStringList {};
}

void tst_BusService::callsAreCheckedBeforeTheyAct()
{
    QFETCH(bool, registered);
    QFETCH(QString, member);
    QFETCH(QVariantList, arguments);
    QFETCH(QString, error);
    QFETCH(QStringList, sent);

    auto c = client(QStringLiteral("caller"));
    if (registered)
        QVERIFY(c->registerAddIn());
    else
        c->create();
    const QDBusMessage reply = c->callAddIn(member, arguments);
    QCOMPARE(reply.errorName(), error);
    QCOMPARE(m_host.sent(), sent);
}

void tst_BusService::onlyTheOwnerMayCall()
{
    auto owner = client(QStringLiteral("owner"));
    auto other = client(QStringLiteral("other"));
    QVERIFY(owner->registerAddIn());
    other->path = owner->path;
    QCOMPARE(other->callAddIn(QStringLiteral("SendCommand"), {QStringLiteral("07A1D")}).errorName(),
             QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"));
    QCOMPARE(other
                 ->call(QStringLiteral("/"), kService, QStringLiteral("ReleaseAddIn"),
                        {QVariant::fromValue(QDBusObjectPath(owner->path))})
                 .errorName(),
             QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"));
    QVERIFY(m_host.sent().isEmpty());
    QCOMPARE(Modul_Orvane::oAddIns->Count(), 1);
}

void tst_BusService::unloadVoteAsksEveryoneAndOneRefusalCounts()
{
    auto a = client(QStringLiteral("a"));
    auto b = client(QStringLiteral("b"));
    auto c = client(QStringLiteral("c"));
    a->voteWith(0);
    b->voteWith(1);
    c->voteWith(0);
    QVERIFY(a->registerAddIn() && b->registerAddIn() && c->registerAddIn());
    long cancel = 0;
    Modul_Orvane::oAddIns->SendUnload(cancel);
    QCOMPARE(cancel, 1L);
    QCOMPARE(a->asked + b->asked + c->asked, 3);
}

void tst_BusService::hangingVotersAreWaitedForWithinBounds()
{
    using namespace std::chrono_literals;
    auto silent = client(QStringLiteral("silent")); // exports no vote: not waited for
    QVERIFY(silent->registerAddIn());
    std::vector<std::unique_ptr<Client>> hanging;
    const auto addHanging = [&] {
        for (int i = 0; i < 3; ++i) {
            hanging.push_back(client(QStringLiteral("hanging")));
            hanging.back()->voteWith(1, true);
            QVERIFY(hanging.back()->registerAddIn());
        }
    };
    const auto unloadTakes = [&] {
        QElapsedTimer clock;
        clock.start();
        long cancel = 0;
        Modul_Orvane::oAddIns->SendUnload(cancel);
        return cancel == 0 ? clock.elapsed() : -1;
    };

    // Each client has its bound; one that let it run out is not waited for again soon.
    m_service->setVoteWaits(200ms, 5000ms);
    addHanging();
    const qint64 first = unloadTakes();
    QVERIFY2(first >= 550 && first < 1000, qPrintable(QString::number(first)));
    QTest::qWait(300);
    const qint64 again = unloadTakes();
    QVERIFY2(again >= 0 && again < 150, qPrintable(QString::number(again)));

    // All votes of one shutdown together have a bound: three more clients would take
    // 3 x 400 ms without it.
    m_service->setVoteWaits(400ms, 500ms);
    addHanging();
    const qint64 bounded = unloadTakes();
    QVERIFY2(bounded >= 450 && bounded < 800, qPrintable(QString::number(bounded)));
}

void tst_BusService::vanishingClientIsUnregisteredAtOnce()
{
    auto staying = client(QStringLiteral("staying"));
    auto leaving = client(QStringLiteral("leaving"));
    QVERIFY(staying->registerAddIn() && leaving->registerAddIn());
    QCOMPARE(Modul_Orvane::oAddIns->Count(), 2);
    leaving->leave();
    QTRY_COMPARE(Modul_Orvane::oAddIns->Count(), 1);
    QCOMPARE(m_service->connectionCount(), 1);
    Modul_Orvane::oAddIns->SemdIncommingCommand(QStringLiteral("002401"));
    QTRY_COMPARE(g_heard.size(), 1);
    QCOMPARE(g_heard.at(0).path, staying->path);
}

void tst_BusService::vanishingVoterEndsTheWait()
{
    auto hanging = client(QStringLiteral("hanging"));
    hanging->voteWith(1, true);
    QVERIFY(hanging->registerAddIn());
    // It leaves while the program waits for its vote.
    QTimer::singleShot(200, hanging.get(), &Client::leave);
    QElapsedTimer clock;
    clock.start();
    long cancel = 0;
    Modul_Orvane::oAddIns->SendUnload(cancel);
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(cancel, 0L);
    QTRY_COMPARE(Modul_Orvane::oAddIns->Count(), 0);
    QTRY_COMPARE(m_service->connectionCount(), 0);
}

void tst_BusService::clientLeavingDuringItsCallIsReleasedAfterIt()
{
    auto leaving = client(QStringLiteral("leaving"));
    QVERIFY(leaving->registerAddIn());
    // The program reads the settings for 300 ms; the client is gone after 100.
    leaving->bus().send(QDBusMessage::createMethodCall(kService, leaving->path, kAddIn,
                                                       QStringLiteral("ReadSettings")));
    QTimer::singleShot(100, leaving.get(), &Client::leave);
    QTRY_COMPARE(Modul_Orvane::oAddIns->Count(), 0);
    QTRY_COMPARE(m_service->connectionCount(), 0);
    QCOMPARE(m_host.calls.count(QStringLiteral("read settings")), 1);
}

void tst_BusService::connectionsPerClientAreBounded()
{
    auto greedy = client(QStringLiteral("greedy"));
    int created = 0;
    QString lastError;
    for (int i = 0; i < 1000; ++i) {
        const QDBusMessage reply
            = greedy->call(QStringLiteral("/"), kService, QStringLiteral("CreateAddIn"));
        if (reply.type() == QDBusMessage::ReplyMessage)
            ++created;
        else
            lastError = reply.errorName();
    }
    QCOMPARE(created, AddInBusService::kMaxConnectionsPerClient);
    QCOMPARE(lastError, QStringLiteral("org.freedesktop.DBus.Error.LimitsExceeded"));
    // Another client is not affected.
    auto modest = client(QStringLiteral("modest"));
    QVERIFY(modest->registerAddIn());
}

void tst_BusService::commandFloodIsBounded()
{
    auto flooding = client(QStringLiteral("flooding"));
    QVERIFY(flooding->registerAddIn());
    int refused = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 200; ++i) {
        if (flooding->callAddIn(QStringLiteral("SendCommand"), {QStringLiteral("07A1A")}).type()
            == QDBusMessage::ErrorMessage)
            ++refused;
    }
    // A burst of one second's worth, then the rate.
    const double allowed = AddInBusService::kCommandsPerSecond * (1.0 + clock.elapsed() / 1000.0);
    QVERIFY2(m_host.sent().size() <= allowed + 1,
             qPrintable(QString::number(m_host.sent().size())));
    QVERIFY(refused > 0);
    QCOMPARE(refused + m_host.sent().size(), 200);
}

QTEST_GUILESS_MAIN(tst_BusService)
#include "tst_bus_service.moc"
