// The automation interface driven from outside: clients on a bus of the test's own
// call the program's connection objects, hear its events and vote on its end.

#include "addins/AddInBusConnection.h"
#include "addins/AddInBusService.h"
#include "addins/AddInRuntime.h"
#include "program/ProgramValues.h"
#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "app/RunningInstance.h"
#include "program/ProgramEvents.h"
#include "program/ProgramHost.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeProgramHost.h"
#include "tests/support/PrivateBus.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// The steady clock until freeze(); from then on only the test moves it (step()), from
// where the steady clock was.
class TestClock : public FakeClock
{
public:
    void freeze()
    {
        m_base = Clock::monotonic() - FakeClock::monotonic();
        m_frozen = true;
    }
    void thaw() { m_frozen = false; }
    std::chrono::nanoseconds monotonic() override
    {
        return m_frozen ? m_base + FakeClock::monotonic() : Clock::monotonic();
    }

private:
    bool m_frozen = false;
    std::chrono::nanoseconds m_base {};
};

const QString kService = AddInBusService::kServiceName;
const QString kAddIn = AddInBusService::addInInterface();

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

// One line per method, signal and property of `interface` in an introspection text:
// kind, name, and each argument's direction, type and name; sorted.
QStringList members(const QByteArray &xml, const QString &interface)
{
    QStringList found;
    QXmlStreamReader reader(xml);
    bool inside = false;
    QString current;
    while (!reader.atEnd()) {
        reader.readNext();
        const QString tag = reader.name().toString();
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.isStartElement() && tag == QLatin1String("interface"))
            inside = a.value(QLatin1String("name")) == interface;
        else if (reader.isEndElement() && tag == QLatin1String("interface"))
            inside = false;
        if (!inside)
            continue;
        if (reader.isStartElement()
            && (tag == QLatin1String("method") || tag == QLatin1String("signal"))) {
            current = tag + QLatin1Char(' ') + a.value(QLatin1String("name")).toString();
        } else if (reader.isStartElement() && tag == QLatin1String("arg")) {
            const QString direction = a.value(QLatin1String("direction")).toString();
            current += QStringLiteral(" %1:%2:%3")
                           .arg(direction.isEmpty() && current.startsWith(QLatin1String("method"))
                                    ? QStringLiteral("in")
                                    : direction,
                                a.value(QLatin1String("type")).toString(),
                                a.value(QLatin1String("name")).toString());
        } else if (reader.isEndElement()
                   && (tag == QLatin1String("method") || tag == QLatin1String("signal"))) {
            found << current;
        } else if (reader.isStartElement() && tag == QLatin1String("property")) {
            found << QStringLiteral("property %1 %2 %3")
                         .arg(a.value(QLatin1String("name")).toString(),
                              a.value(QLatin1String("type")).toString(),
                              a.value(QLatin1String("access")).toString());
        }
    }
    found.sort();
    return found;
}

} // namespace

class tst_BusService : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void secondProgramWaitsForTheName();
    void secondStartRaisesTheRunningWindow_data();
    void secondStartRaisesTheRunningWindow();
    void introspectionMatchesTheDescription();
    void eventsReachTheLatestRegisteredFirst();
    void callsAreCheckedBeforeTheyAct_data();
    void callsAreCheckedBeforeTheyAct();
    void onlyTheOwnerMayCall();
    void unloadVoteAsksEveryoneAndOneRefusalCounts();
    void hangingVotersAreWaitedForWithinBounds();
    void vanishingClientIsUnregisteredAtOnce();
    void vanishingVoterEndsTheWait();
    void clientLeavingDuringItsCallIsReleasedAfterIt();
    void connectionsAreBoundedPerProcess_data();
    void connectionsAreBoundedPerProcess();
    void floodsAreBoundedPerProcess_data();
    void floodsAreBoundedPerProcess();

private:
    std::unique_ptr<Client> client(const QString &name);

    PrivateBus m_bus;
    FakeProgramHost m_host;
    std::unique_ptr<AddInRuntime> m_runtime;
    TestClock m_clock;
    std::unique_ptr<AddInBusService> m_service;
    int m_clients = 0;
};

void tst_BusService::initTestCase()
{
    if (!m_bus.start())
        QSKIP(qPrintable(QStringLiteral("no private session bus: ") + m_bus.errorString()));
}

void tst_BusService::init()
{
    g_heard.clear();
    m_host.calls.clear();
    m_host.sendResult = ProgramHost::SendResult::Sent;
    m_host.connected = true;
    m_host.settings = QStringLiteral("\x12R0161C\x03");
    m_host.readWaitMs = 300;
    m_runtime = std::make_unique<AddInRuntime>();
    m_runtime->setHost(&m_host);
    m_clock.thaw();
    m_service = std::make_unique<AddInBusService>(
        *m_runtime, QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("program")),
        &m_clock);
    QVERIFY2(m_service->start(), qPrintable(m_service->errorString()));
}

void tst_BusService::cleanup()
{
    m_service.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    m_runtime.reset();
}

std::unique_ptr<Client> tst_BusService::client(const QString &name)
{
    auto c = std::make_unique<Client>(m_bus.address(),
                                      QStringLiteral("%1-%2").arg(name).arg(++m_clients));
    return c;
}

void tst_BusService::secondProgramWaitsForTheName()
{
    AddInBusService second(
        *m_runtime, QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("second")),
        &m_clock);
    QSignalSpy waiting(&second, &AddInBusService::nameWaiting);
    QSignalSpy taken(&second, &AddInBusService::nameTaken);
    QVERIFY(second.start());
    QVERIFY(!second.nameOwned());
    QCOMPARE(waiting.size(), 1);
    QVERIFY2(waiting.at(0).at(0).toString().contains(kService),
             qPrintable(waiting.at(0).at(0).toString()));
    // The first program ends: the waiting one takes the name without asking again.
    m_service->stop();
    QTRY_COMPARE(taken.size(), 1);
    QVERIFY(second.nameOwned());
    second.stop();
    QDBusConnection::disconnectFromBus(QStringLiteral("second"));
}

void tst_BusService::secondStartRaisesTheRunningWindow_data()
{
    QTest::addColumn<QString>("holder");
    QTest::addColumn<bool>("showsWindows");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("miniMode");

    using R = RunningInstance::Result;
    QTest::newRow("Orvane on a desktop") << "orvane" << true << int(R::Raised) << false;
    QTest::newRow("Orvane in mini mode") << "orvane" << true << int(R::Raised) << true;
    QTest::newRow("Orvane without a screen") << "orvane" << false << int(R::NotRaised) << false;
    QTest::newRow("another program holds the name")
        << "other" << true << int(R::NotRaised) << false;
    QTest::newRow("nobody holds the name") << "nobody" << true << int(R::NoneRunning) << false;
}

void tst_BusService::secondStartRaisesTheRunningWindow()
{
    QFETCH(QString, holder);
    QFETCH(bool, showsWindows);
    QFETCH(int, result);
    QFETCH(bool, miniMode);

    QMainWindow window;
    window.showMinimized();
    QWidget mini;
    mini.setObjectName(QStringLiteral("Form_Mini"));
    mini.show();
    ProgramValues values;
    values.setMiniMode(miniMode);
    m_runtime->setValues(&values);
    m_service->setShowsWindows(showsWindows);
    QDBusConnection other = QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("other"));
    if (holder != u"orvane") {
        m_service->stop();
        if (holder == u"other")
            QVERIFY(other.registerService(kService));
    }
    const QDBusConnection second
        = QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("second start"));
    QCOMPARE(int(RunningInstance::raise(second, QStringLiteral("token"), 2000)), result);
    const bool raised = result == int(RunningInstance::Result::Raised);
    QCOMPARE(m_host.calls.contains(QStringLiteral("show")), raised);
    if (raised) {
        QWidget *program = miniMode ? &mini : static_cast<QWidget *>(&window);
        QVERIFY(!program->isMinimized());
        QTRY_VERIFY(program->isActiveWindow());
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("second start"));
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
}

void tst_BusService::introspectionMatchesTheDescription()
{
    auto c = client(QStringLiteral("introspecting"));
    c->create();
    QFile file(QStringLiteral(":/org/orvane/org.orvane.Orvane.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray description = file.readAll();
    for (const auto &[path, interface] :
         {std::pair {QStringLiteral("/"), AddInBusService::rootInterface()},
          std::pair {c->path, kAddIn}}) {
        const QDBusMessage reply
            = c->call(path, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                      QStringLiteral("Introspect"));
        const QStringList served
            = members(reply.arguments().value(0).toString().toUtf8(), interface);
        QVERIFY2(!served.isEmpty(), qPrintable(path));
        QCOMPARE(served, members(description, interface));
    }
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

    m_runtime->oAddIns()->SemdIncommingCommand(QStringLiteral("002401"));
    m_runtime->oAddIns()->SemdVolumeMain(-30.5f);
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

    // Param1 travels whole, 64 bits.
    m_runtime->oAddIns()->SendAddInMessage(7, QStringLiteral("A"), QStringLiteral("B"), 1L << 40,
                                           QStringLiteral("x"));
    QTRY_COMPARE(g_heard.size(), 6);
    QCOMPARE(g_heard.at(5).arguments.value(3), QVariant(qlonglong(1) << 40));
}

void tst_BusService::callsAreCheckedBeforeTheyAct_data()
{
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("member");
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("sent");
    // How the link treats a code (ProgramHost::SendResult).
    QTest::addColumn<int>("link");

    const QString invalid = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
    QTest::newRow("code sent") << true << "SendCommand" << QVariantList {QStringLiteral("07A1D")}
                               << QString() << QStringList {QStringLiteral("07A1D")} << 0;
    QTest::newRow("code dropped, port closed")
        << true << "SendCommand" << QVariantList {QStringLiteral("07A1D")}
        << "org.orvane.Orvane.Error.NotConnected" << QStringList {}
        << int(ProgramHost::SendResult::NotConnected);
    QTest::newRow("code dropped, link busy")
        << true << "SendCommand" << QVariantList {QStringLiteral("07A1D")}
        << "org.orvane.Orvane.Error.NotSent" << QStringList {}
        << int(ProgramHost::SendResult::LinkBusy);
    QTest::newRow("unregistered sends nothing")
        << false << "SendCommand" << QVariantList {QStringLiteral("07A1D")} << QString()
        << QStringList {} << 0;
    QTest::newRow("code too short")
        << true << "SendCommand" << QVariantList {QStringLiteral("07A1")} << invalid
        << QStringList {} << 0;
    QTest::newRow("code with frame end")
        << true << "SendCommand" << QVariantList {QStringLiteral("07A\x03\x02")} << invalid
        << QStringList {} << 0;
    QTest::newRow("code as number")
        << true << "SendCommand" << QVariantList {12345}
        << "org.freedesktop.DBus.Error.UnknownMethod" << QStringList {} << 0;
    QTest::newRow("code outside the alphabet")
        << true << "SendCommand" << QVariantList {QStringLiteral("ZZZZZ")} << invalid
        << QStringList {} << 0;
    QTest::newRow("code with markup")
        << true << "SendCommand" << QVariantList {QStringLiteral("<>&\"'")} << invalid
        << QStringList {} << 0;
    QTest::newRow("code in lower case")
        << true << "SendCommand" << QVariantList {QStringLiteral("07a1d")} << invalid
        << QStringList {} << 0;
    QTest::newRow("message text too long")
        << true << "AddInMessage"
        << QVariantList {1, QString(), qlonglong(0),
                         QString(AddInBusConnection::kMaxMessageText + 1, 'x')}
        << invalid << QStringList {} << 0;
    QTest::newRow("unknown member")
        << true << "Shell" << QVariantList {QStringLiteral("ls")}
        << "org.freedesktop.DBus.Error.UnknownMethod" << QStringList {} << 0;
}

void tst_BusService::callsAreCheckedBeforeTheyAct()
{
    QFETCH(bool, registered);
    QFETCH(QString, member);
    QFETCH(QVariantList, arguments);
    QFETCH(QString, error);
    QFETCH(QStringList, sent);
    QFETCH(int, link);
    m_host.sendResult = ProgramHost::SendResult(link);
    m_host.connected = m_host.sendResult != ProgramHost::SendResult::NotConnected;

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
    const QDBusMessage rename = other->call(
        owner->path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
        {kAddIn, QStringLiteral("AddInName"),
         QVariant::fromValue(QDBusVariant(QStringLiteral("x")))});
    QCOMPARE(rename.errorName(), QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"));
    QVERIFY(m_host.sent().isEmpty());
    QCOMPARE(m_runtime->oAddIns()->Count(), 1);
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
    m_runtime->oAddIns()->SendUnload(cancel);
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
        m_runtime->oAddIns()->SendUnload(cancel);
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
    QCOMPARE(m_runtime->oAddIns()->Count(), 2);
    leaving->leave();
    QTRY_COMPARE(m_runtime->oAddIns()->Count(), 1);
    QCOMPARE(m_service->connectionCount(), 1);
    m_runtime->oAddIns()->SemdIncommingCommand(QStringLiteral("002401"));
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
    m_runtime->oAddIns()->SendUnload(cancel);
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(cancel, 0L);
    QTRY_COMPARE(m_runtime->oAddIns()->Count(), 0);
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
    QTRY_COMPARE(m_runtime->oAddIns()->Count(), 0);
    QTRY_COMPARE(m_service->connectionCount(), 0);
    QCOMPARE(m_host.calls.count(QStringLiteral("read settings")), 1);
}

void tst_BusService::connectionsAreBoundedPerProcess_data()
{
    QTest::addColumn<int>("perProcess");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("reserved");
    QTest::addColumn<int>("hogGets");

    QTest::newRow("one process over three bus connections")
        << AddInBusService::kMaxConnectionsPerProcess << AddInBusService::kMaxConnections
        << AddInBusService::kReservedConnections << AddInBusService::kMaxConnectionsPerProcess;
    QTest::newRow("the last connections are kept for a new client") << 100 << 6 << 2 << 4;
}

void tst_BusService::connectionsAreBoundedPerProcess()
{
    QFETCH(int, perProcess);
    QFETCH(int, total);
    QFETCH(int, reserved);
    QFETCH(int, hogGets);

    m_service->setConnectionLimits(perProcess, total, reserved);
    // One process (this test) opens several bus connections and asks on each.
    std::vector<std::unique_ptr<Client>> hog;
    int created = 0;
    QString lastError;
    for (int i = 0; i < 3; ++i) {
        hog.push_back(client(QStringLiteral("hog")));
        for (int k = 0; k < 10; ++k) {
            const QDBusMessage reply
                = hog.back()->call(QStringLiteral("/"), kService, QStringLiteral("CreateAddIn"));
            if (reply.type() == QDBusMessage::ReplyMessage)
                ++created;
            else
                lastError = reply.errorName();
        }
    }
    QCOMPARE(created, hogGets);
    QCOMPARE(lastError, QStringLiteral("org.freedesktop.DBus.Error.LimitsExceeded"));

    // A client in another process still gets its connection.
    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANE_TEST_CLIENT_BUS"), m_bus.address());
    other.setProcessEnvironment(environment);
    other.start(QCoreApplication::applicationFilePath());
    QTRY_COMPARE_WITH_TIMEOUT(other.state(), QProcess::NotRunning, 10000);
    QCOMPARE(other.readAllStandardOutput().trimmed(), QByteArray("created"));
}

void tst_BusService::floodsAreBoundedPerProcess_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<double>("perSecond");

    QTest::newRow("commands") << "SendCommand" << QVariantList {QStringLiteral("07A1A")}
                              << AddInBusService::kCommandsPerSecond;
    QTest::newRow("messages") << "AddInMessage" << QVariantList {1}
                              << AddInBusService::kMessagesPerSecond;
    // One receiving client: each message costs its length once.
    const QString text(AddInBusConnection::kMaxMessageText, QLatin1Char('x'));
    QTest::newRow("message text") << "AddInMessage"
                                  << QVariantList {1, QString(), qlonglong(0), text}
                                  << AddInBusService::kMessageTextPerSecond / text.size();
}

void tst_BusService::floodsAreBoundedPerProcess()
{
    QFETCH(QString, member);
    QFETCH(QVariantList, arguments);
    QFETCH(double, perSecond);

    // Two bus connections of one process share one budget.
    auto first = client(QStringLiteral("flooding"));
    auto second = client(QStringLiteral("flooding"));
    QVERIFY(first->registerAddIn() && second->create().size() > 0);
    // Calls 4 ms apart on the service's clock for 3 s (within the budget of all calls): a
    // burst of one second's worth, then the rate, and no call's time lost.
    using namespace std::chrono_literals;
    m_clock.freeze();
    int passed = 0;
    int calls = 0;
    for (; calls < 750; ++calls) {
        m_clock.step(4ms);
        Client *c = (calls % 2) ? first.get() : second.get();
        if (c->callAddIn(member, arguments).type() == QDBusMessage::ReplyMessage)
            ++passed;
    }
    const double expected = perSecond * 4;
    QVERIFY2(std::abs(passed - expected) <= 2, qPrintable(QString::number(passed)));
    QVERIFY(calls > passed);
}

int main(int argc, char *argv[])
{
    // Run as a client in a process of its own: asks for one connection object.
    const QByteArray address = qgetenv("ORVANE_TEST_CLIENT_BUS");
    if (!address.isEmpty()) {
        QCoreApplication app(argc, argv);
        QDBusConnection bus
            = QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("other"));
        const QDBusMessage reply
            = bus.call(QDBusMessage::createMethodCall(kService, QStringLiteral("/"), kService,
                                                      QStringLiteral("CreateAddIn")),
                       QDBus::Block, 5000);
        std::puts(reply.type() == QDBusMessage::ReplyMessage ? "created"
                                                             : qPrintable(reply.errorName()));
        return 0;
    }
    // Widgets: the second-start test raises a window.
    QApplication app(argc, argv);
    tst_BusService test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_bus_service.moc"
