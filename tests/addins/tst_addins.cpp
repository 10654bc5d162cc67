#include "addins/AddInRuntime.h"
#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "program/Modul_Lib.h"
#include "tests/support/FakeProgramHost.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakePlayerRemote.h"
#include "tests/support/FakeUserDialogs.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <vector>

// One add-in: its connection and a log line for every event it hears.
struct Listener
{
    Listener(const QString &name, QStringList &log, AddInRuntime *runtime)
        : name(name)
        , addIn(std::make_unique<clsAddIn>(runtime))
    {
        clsAddIn *a = addIn.get();
        QObject::connect(a, &clsAddIn::ReceivedCommand,
                         [&log, name](const QString &s) { log << name + " command " + s; });
        QObject::connect(a, &clsAddIn::ReceivedSettings,
                         [&log, name](const QString &s) { log << name + " settings " + s; });
        QObject::connect(a, &clsAddIn::VolumeMain, [&log, name](float db) {
            log << name + " main " + QString::number(db);
        });
        QObject::connect(a, &clsAddIn::VolumeZone2, [&log, name](float db) {
            log << name + " zone2 " + QString::number(db);
        });
        QObject::connect(a, &clsAddIn::Unload, [&log, name, this](long &cancel) {
            log << name + " unload " + QString::number(cancel);
            cancel = veto;
        });
        QObject::connect(a, &clsAddIn::Terminate, [&log, name] { log << name + " terminate"; });
        QObject::connect(
            a, qOverload<long, const QString &, const QString &, long, const QString &>(
                   &clsAddIn::AddInMessage),
            [&log, name](long msg, const QString &sender, const QString &receiver, long p1,
                         const QString &p2) {
                log << QStringLiteral("%1 message %2 %3 %4 %5 %6")
                           .arg(name)
                           .arg(msg)
                           .arg(sender, receiver)
                           .arg(p1)
                           .arg(p2);
            });
    }

    QString name;
    std::unique_ptr<clsAddIn> addIn;
    long veto = 0;
};

class tst_AddIns : public QObject
{
    Q_OBJECT

private:
    // Registers add-ins "A", "B", … in this order.
    void registerAll(const QString &names, bool loadedByHost = false)
    {
        for (const QChar c : names) {
            m_listeners.push_back(std::make_unique<Listener>(QString(c), m_log, m_runtime.get()));
            m_listeners.back()->addIn->setLoadedByHost(loadedByHost);
            m_listeners.back()->addIn->AddInRegister();
        }
    }
    clsAddIn *addIn(const QString &name)
    {
        for (auto &l : m_listeners)
            if (l->name == name)
                return l->addIn.get();
        return nullptr;
    }
    // The names of the listed add-ins, first to last.
    QString listed() const
    {
        QString names;
        for (int i = 1; i <= m_runtime->oAddIns()->Count(); ++i)
            for (auto &l : m_listeners)
                if (l->addIn.get() == m_runtime->oAddIns()->Item(i))
                    names += l->name;
        return names;
    }

    QStringList m_log;
    std::vector<std::unique_ptr<Listener>> m_listeners;
    FakeProgramHost m_host;
    FakeUserDialogs m_dialogs;
    FakePlayerRemote m_player;
    std::unique_ptr<AddInRuntime> m_runtime;

private slots:
    void init()
    {
        m_runtime = std::make_unique<AddInRuntime>(&m_dialogs, &m_player);
        m_runtime->setHost(&m_host);
        m_log.clear();
        m_host.calls.clear();
    }
    void cleanup()
    {
        m_listeners.clear();
        m_runtime.reset();
    }

    void broadcastGoesLastToFirst_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("broadcast");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("report to two") << "AB" << "command"
                                       << QStringList{"B command 0011B0", "A command 0011B0"};
        QTest::newRow("report to three")
            << "ABC" << "command"
            << QStringList{"C command 0011B0", "B command 0011B0", "A command 0011B0"};
        QTest::newRow("settings to three")
            << "ABC" << "settings" << QStringList{"C settings R01", "B settings R01", "A settings R01"};
        QTest::newRow("main volume to two") << "AB" << "main" << QStringList{"B main -30.5", "A main -30.5"};
        QTest::newRow("zone 2 volume to two") << "AB" << "zone2" << QStringList{"B zone2 -40", "A zone2 -40"};
        QTest::newRow("terminate to three")
            << "ABC" << "terminate" << QStringList{"C terminate", "B terminate", "A terminate"};
    }
    void broadcastGoesLastToFirst()
    {
        QFETCH(QString, names);
        QFETCH(QString, broadcast);
        QFETCH(QStringList, expected);
        registerAll(names);
        clsAddIns &list = *m_runtime->oAddIns();
        if (broadcast == "command")
            list.SemdIncommingCommand("0011B0");
        else if (broadcast == "settings")
            list.SemdIncommingSettings("R01");
        else if (broadcast == "main")
            list.SemdVolumeMain(-30.5f);
        else if (broadcast == "zone2")
            list.SemdVolumeZone2(-40.0f);
        else
            list.SendTerminate();
        QCOMPARE(m_log, expected);
    }

    void unloadAsksEveryoneAndOneRefusalCounts_data()
    {
        QTest::addColumn<QString>("refuser");
        QTest::addColumn<long>("cancel");
        QTest::newRow("nobody refuses") << "" << 0L;
        QTest::newRow("first registered refuses (asked last)") << "A" << 1L;
        QTest::newRow("middle refuses") << "B" << 7L;
        QTest::newRow("last registered refuses (asked first)") << "C" << -1L;
    }
    void unloadAsksEveryoneAndOneRefusalCounts()
    {
        QFETCH(QString, refuser);
        QFETCH(long, cancel);
        registerAll("ABC");
        for (auto &l : m_listeners)
            if (l->name == refuser)
                l->veto = cancel;
        long result = 0;
        m_runtime->oAddIns()->SendUnload(result);
        QCOMPARE(result, cancel);
        // Everyone is asked, each with a fresh 0.
        QCOMPARE(m_log, (QStringList{"C unload 0", "B unload 0", "A unload 0"}));
    }

    void terminateRules_data()
    {
        QTest::addColumn<bool>("loadedByHost");
        QTest::addColumn<QString>("target"); // add-in name, "" for all, "self"
        QTest::addColumn<QStringList>("terminated");
        QTest::addColumn<QString>("listedAfter");
        QTest::newRow("all others, loaded by host")
            << true << "" << QStringList{"C terminate", "B terminate"} << "A";
        QTest::newRow("all others, outside programs")
            << false << "" << QStringList{"C terminate", "B terminate"} << "ABC";
        QTest::newRow("one other, loaded by host") << true << "B" << QStringList{"B terminate"} << "AC";
        QTest::newRow("one other, outside program") << false << "C" << QStringList{"C terminate"} << "ABC";
        QTest::newRow("own ID does nothing") << true << "self" << QStringList{} << "ABC";
        QTest::newRow("unknown ID does nothing") << true << "nobody" << QStringList{} << "ABC";
    }
    void terminateRules()
    {
        QFETCH(bool, loadedByHost);
        QFETCH(QString, target);
        QFETCH(QStringList, terminated);
        QFETCH(QString, listedAfter);
        registerAll("ABC", loadedByHost);
        QString id;
        if (target == "self")
            id = addIn("A")->AddInID();
        else if (target == "nobody")
            id = "00000000-0000-0000-0000-000000000000";
        else if (!target.isEmpty())
            id = addIn(target)->AddInID();
        addIn("A")->AddInTerminate(id);
        QCOMPARE(m_log, terminated);
        QCOMPARE(listed(), listedAfter);
        // A connection taken off the list no longer acts on the program.
        if (listedAfter.size() < 3) {
            clsAddIn *gone = addIn(listedAfter.contains('B') ? "C" : "B");
            gone->SendCommand("07A1D");
            QVERIFY(m_host.calls.isEmpty());
        }
    }

    // A terminating add-in may drop its connection or end the program (and with it the
    // list) from its handler; the terminate goes on without touching what is gone.
    void terminateSurvivesHandlersThatEndThings_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("terminated");
        QTest::newRow("C drops its connection")
            << "drop" << QStringList{"C terminate", "B terminate"};
        QTest::newRow("C ends the program") << "end" << QStringList{"C terminate", "B terminate"};
    }
    void terminateSurvivesHandlersThatEndThings()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, terminated);
        registerAll("ABC", true);
        Listener *c = m_listeners.back().get();
        QObject::connect(c->addIn.get(), &clsAddIn::Terminate, [this, c, action] {
            if (action == "drop") {
                delete c->addIn.release();
            } else {
                m_runtime->closeAddIns();
            }
        });
        addIn("A")->AddInTerminate(QString());
        QCOMPARE(m_log, terminated);
        if (action == "drop")
            QCOMPARE(listed(), QString("A"));
        QCoreApplication::processEvents();
        m_runtime->openAddIns();
    }

    void quitFromAShutdownHandlerIsIgnored()
    {
        registerAll("AB");
        for (auto &l : m_listeners) {
            clsAddIn *a = l->addIn.get();
            QObject::connect(a, &clsAddIn::Unload, a, [a](long &) { a->Quit(); });
            QObject::connect(a, &clsAddIn::Terminate, a, [a] { a->Quit(); });
        }
        long cancel = 0;
        m_runtime->oAddIns()->SendUnload(cancel);
        m_runtime->oAddIns()->SendTerminate();
        QVERIFY(m_host.calls.isEmpty());
        addIn("A")->Quit();
        QCOMPARE(m_host.calls, QStringList{"quit"});
    }

    void messageReachesEveryoneWithSender()
    {
        registerAll("ABC");
        const QString a = addIn("A")->AddInID();
        const QString b = addIn("B")->AddInID();
        addIn("A")->AddInMessage(42, b, 3, "hello");
        const QString tail = QStringLiteral(" message 42 %1 %2 3 hello").arg(a, b);
        QCOMPARE(m_log, (QStringList{"C" + tail, "B" + tail, "A" + tail}));
        m_log.clear();
        addIn("C")->AddInMessage(1);
        QCOMPARE(m_log.first(), QStringLiteral("C message 1 %1  0 ").arg(addIn("C")->AddInID()));
    }

    void listKeepsOneEntryPerConnection()
    {
        registerAll("AB");
        QSignalSpy refresh(m_runtime->oAddIns(), &clsAddIns::Refresh);
        addIn("A")->AddInRegister();
        QCOMPARE(listed(), QString("AB"));
        // Adding the same connection again moves it to the end.
        m_runtime->oAddIns()->Add(addIn("A"));
        QCOMPARE(listed(), QString("BA"));
        m_runtime->oAddIns()->Add(nullptr);
        QCOMPARE(m_runtime->oAddIns()->GetItemByID(addIn("B")->AddInID()), addIn("B"));
        QCOMPARE(m_runtime->oAddIns()->GetItemByID(addIn("B")->AddInID().toLower()), nullptr);
        addIn("B")->AddInUnRegister();
        addIn("B")->AddInUnRegister();
        QCOMPARE(listed(), QString("A"));
        addIn("B")->AddInRegister();
        QCOMPARE(listed(), QString("AB"));
        // Destroying a connection takes it off the list.
        m_listeners.erase(m_listeners.begin());
        QCOMPARE(listed(), QString("B"));
        QCOMPARE(m_runtime->oAddIns()->Count(), 1);
        // Remove, add (remove + append), remove, register, destroy.
        QCOMPARE(refresh.count(), 5);
    }

    void onlyRegisteredConnectionsActOnTheProgram()
    {
        clsAddIn outside(m_runtime.get());
        m_host.connected = true;
        outside.SendCommand("07A1D");
        outside.Connect(true);
        outside.Disconnect();
        outside.Show();
        QString l1 = "x", l2 = "y";
        outside.GetText(l1, l2);
        QVariant settings;
        outside.ReadSettings(settings);
        QVERIFY(m_host.calls.isEmpty());
        QCOMPARE(l1 + l2, QString("xy"));
        QCOMPARE(outside.Visible(), false);
        QCOMPARE(outside.Connected(), false);

        outside.AddInRegister();
        m_host.settings = "\x12R0161...\x03";
        outside.SendCommand("07A1D");
        outside.SendCommand(QStringLiteral("07\x03\x02") + "A"); // would break the framing
        // The command set's alphabet and length, as on the bus.
        for (const char *code : {"ZZZZZ", "07a1d", "07A1D0", "07A1"})
            outside.SendCommand(QString::fromLatin1(code));
        outside.Connect(false);
        outside.Disconnect();
        outside.ReadSettings(settings);
        outside.GetText(l1, l2);
        QCOMPARE(m_host.calls, (QStringList{"send 07A1D", "connect", "disconnect", "read settings"}));
        QCOMPARE(settings.toString(), m_host.settings);
        QCOMPARE(l1 + "|" + l2, QString("DVD|-30.0dB"));
        QCOMPARE(outside.Connected(), true);
        QString id, model, version, answer;
        outside.GetInformation(id, model, version, answer);
        QCOMPARE(QStringList({id, model, version}), QStringList({"R0161", "VR-161", "A"}));
    }

    void playerCommandsWorkUnregistered()
    {
        clsAddIn outside(m_runtime.get());
        m_player.setPresent(true);
        m_player.setStatus(1);
        QCOMPARE(outside.WinampSendCommand(OrvaneWinamp_NEXTSONG), 0L);
        QCOMPARE(m_player.postedCommands(), QList<int>{40048});
        QCOMPARE(outside.WinampGetStatus(), 1L);
        m_player.setPresent(false);
        QCOMPARE(outside.WinampGetStatus(), 0L);
    }

    // A failing add-in is reported under the broadcast's name, and the others still hear.
    void failingHandlerDoesNotStopTheBroadcast()
    {
        CollectingErrorPresenter errors;
        registerAll("AB");
        QObject::connect(addIn("B"), &clsAddIn::ReceivedCommand,
                         [](const QString &) { throw std::runtime_error("add-in failed"); });
        m_runtime->oAddIns()->SemdIncommingCommand("0011B0");
        QCOMPARE(m_log, (QStringList{"B command 0011B0", "A command 0011B0"}));
        QCOMPARE(errors.reports().size(), 1);
        QCOMPARE(errors.reports().first().procedure, QString("SemdIncommingCommand"));
        QCOMPARE(errors.reports().first().module, QString("clsAddIns"));
    }

    void createGuidWritesBytesInMemoryOrder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("counting bytes")
            << QByteArray::fromHex("000102030405060708090a0b0c0d0e0f")
            << "00010203-0405-0607-0809-0A0B0C0D0E0F";
        QTest::newRow("high digits upper case")
            << QByteArray::fromHex("fedcba9876543210f0e1d2c3b4a59687")
            << "FEDCBA98-7654-3210-F0E1-D2C3B4A59687";
    }
    void createGuidWritesBytesInMemoryOrder()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        Modul_Lib::GuidBytes guid{};
        std::copy(bytes.begin(), bytes.end(), guid.begin());
        QCOMPARE(Modul_Lib::CreateGUID(&m_dialogs, [guid] { return guid; }), text);
        QVERIFY(m_dialogs.messages().isEmpty());
    }

    void systemGuidIsFirstThreeGroupsSwapped()
    {
        const QRegularExpression format("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
        const QString a = Modul_Lib::CreateGUID(&m_dialogs);
        QVERIFY2(format.match(a).hasMatch(), qPrintable(a));
        QVERIFY(a != Modul_Lib::CreateGUID(&m_dialogs));
        // A random GUID has version 4 in the high digit of its third field; in memory
        // order that digit is the third character of the third group.
        QCOMPARE(a.at(16), QLatin1Char('4'));
        clsAddIn one(m_runtime.get()), two(m_runtime.get());
        QVERIFY(format.match(one.AddInID()).hasMatch());
        QVERIFY(one.AddInID() != two.AddInID());
    }

    void createGuidFailureSaysSoAndYieldsEmpty()
    {
        const QString text = Modul_Lib::CreateGUID(&m_dialogs, [] {
            return std::optional<Modul_Lib::GuidBytes>();
        });
        QVERIFY(text.isEmpty());
        QCOMPARE(m_dialogs.messageTexts(), QStringList{"Error while creating GUID!"});
    }
};

QTEST_MAIN(tst_AddIns)
#include "tst_addins.moc"
