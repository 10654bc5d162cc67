#include "errors/OrvaneError.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakePlayerRemote.h"
#include "timecontrol/TimeControlLink.h"
#include "timecontrol/TimeControlScheduler.h"
#include "timecontrol/clsTimeControl.h"

#include <QTest>
#include <functional>

namespace {
// A link that records what it is asked to do and answers from a queue.
class FakeLink : public TimeControlLink
{
public:
    bool portOpen() override { return open; }
    void clearComPuffer() override { calls << QStringLiteral("clear"); }
    void sendCommand(const QString &code) override
    {
        if (onSend)
            onSend(code);
        calls << QStringLiteral("send ") + code;
        if (open)
            sent << code;
    }
    QString readPort() override
    {
        calls << QStringLiteral("read");
        if (onRead)
            onRead();
        return open && !answers.isEmpty() ? answers.takeFirst() : QString();
    }

    bool open = true;
    QStringList answers;
    QStringList calls;
    QStringList sent;
    std::function<void()> onRead;
    std::function<void(const QString &)> onSend;
};

std::shared_ptr<clsTimeControl> scheduleOf(const QStringList &lines)
{
    auto schedule = std::make_shared<clsTimeControl>();
    for (const QString &line : lines)
        schedule->Add(line);
    return schedule;
}

QDateTime at(const QString &text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}
} // namespace

class tst_TimeControlScheduler : public QObject
{
    Q_OBJECT
private slots:
    void firing_data();
    void firing();
    void receiverActionAttempts_data();
    void receiverActionAttempts();
    void playerActions_data();
    void playerActions();
    void spacingAfterAFiring();
    void tickDuringAFiringDoesNothing();
    void failureReportedOnceAndEntryFired();

private:
    CollectingErrorPresenter m_errors;
};

void tst_TimeControlScheduler::firing_data()
{
    // Each tick gives the codes sent during it ("" for none), so the row reads as a timeline.
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("ticks");
    QTest::addColumn<QStringList>("sent");

    const QString powerOn = QStringLiteral("07:30 ,Every day  ,Power On ,07A1D");
    QTest::newRow("daily entry across its minute edge")
        << QStringList {powerOn}
        << QStringList {"2024-01-01 07:29:59.500", "2024-01-01 07:30:00.000",
                        "2024-01-01 07:30:30.000", "2024-01-01 07:31:00.000"}
        << QStringList {"", "07A1D", "", ""};
    QTest::newRow("two entries due in one minute fire on two ticks, in list order")
        << QStringList {"07:30 ,Every day  ,Input CD ,07A15", powerOn}
        << QStringList {"2024-01-01 07:30:00.000", "2024-01-01 07:30:00.500",
                        "2024-01-01 07:30:01.000"}
        << QStringList {"07A15", "07A1D", ""};
    QTest::newRow("dated entry on a past date never fires")
        << QStringList {"07:30 ,31.12.2023 ,Power On ,07A1D"}
        << QStringList {"2024-01-01 07:30:00.000"} << QStringList {""};
    QTest::newRow("dated entry today at a passed time never fires")
        << QStringList {"07:30 ,01.01.2024 ,Power On ,07A1D"}
        << QStringList {"2024-01-01 08:00:00.000", "2024-01-01 23:59:59.500"}
        << QStringList {"", ""};
    QTest::newRow("dated entry fires once on its date, not again the next day")
        << QStringList {"07:30 ,01.01.2024 ,Power On ,07A1D"}
        << QStringList {"2024-01-01 07:30:00.000", "2024-01-01 07:30:40.000",
                        "2024-01-02 07:30:00.000"}
        << QStringList {"07A1D", "", ""};
    QTest::newRow("daily entry stays fired until midnight and fires the next day")
        << QStringList {powerOn}
        << QStringList {"2024-01-01 07:30:00.000", "2024-01-01 23:59:00.000",
                        "2024-01-02 00:00:00.000", "2024-01-02 07:29:00.000",
                        "2024-01-02 07:30:00.000"}
        << QStringList {"07A1D", "", "", "", "07A1D"};
    QTest::newRow("daily entry at 00:00 fires on two days running")
        << QStringList {"00:00 ,Every day  ,Power On ,07A1D"}
        << QStringList {"2024-01-01 00:00:00.000", "2024-01-01 00:00:30.000",
                        "2024-01-01 12:00:00.000", "2024-01-02 00:00:00.000",
                        "2024-01-02 00:00:00.500", "2024-01-02 00:00:01.000"}
        << QStringList {"07A1D", "", "", "", "07A1D", ""};
    QTest::newRow("daily entry at 00:00 after days with the time control off")
        << QStringList {"00:00 ,Every day  ,Power On ,07A1D"}
        << QStringList {"2024-01-01 00:00:00.000", "2024-01-05 00:00:00.000",
                        "2024-01-05 00:00:00.500"}
        << QStringList {"07A1D", "", "07A1D"};
    QTest::newRow("German daily word in any case")
        << QStringList {"07:30 ,jEdEn Tag ,Power On ,07A1D"}
        << QStringList {"2024-01-01 07:30:00.000"} << QStringList {"07A1D"};
    QTest::newRow("a day that is neither a date nor daily never fires")
        << QStringList {"07:30 ,tomorrow ,Power On ,07A1D"}
        << QStringList {"2024-01-01 07:30:00.000"} << QStringList {""};
}

void tst_TimeControlScheduler::firing()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, ticks);
    QFETCH(QStringList, sent);

    FakeLink link;
    FakeClock clock;
    FakePlayerRemote player;
    TimeControlScheduler scheduler(&link, &player, &clock, {});
    scheduler.setSpacing(std::chrono::milliseconds(0));
    const auto schedule = scheduleOf(lines);

    QStringList actual;
    for (const QString &tick : ticks) {
        clock.set(at(tick));
        link.answers = QStringList {QStringLiteral("\x02answer\x03")};
        link.sent.clear();
        scheduler.tick(schedule);
        actual << link.sent.join(QLatin1Char(' '));
    }
    QCOMPARE(actual, sent);
    QVERIFY(m_errors.isEmpty());
}

void tst_TimeControlScheduler::receiverActionAttempts_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("sends");

    QTest::newRow("answer to the first send") << true << QStringList {"ok"} << 1;
    QTest::newRow("answer to the second send") << true << QStringList {"", "ok"} << 2;
    QTest::newRow("no answer: three sends, then given up") << true << QStringList {} << 3;
    QTest::newRow("port closed: nothing goes out") << false << QStringList {"ok"} << 0;
}

void tst_TimeControlScheduler::receiverActionAttempts()
{
    QFETCH(bool, open);
    QFETCH(QStringList, answers);
    QFETCH(int, sends);

    FakeLink link;
    link.open = open;
    link.answers = answers;
    FakeClock clock(at("2024-01-01 07:30:00.000"));
    TimeControlScheduler scheduler(&link, nullptr, &clock, {});
    const auto schedule = scheduleOf({QStringLiteral("07:30 ,01.01.2024 ,Power On ,07A1D")});
    scheduler.tick(schedule);

    QCOMPARE(link.sent.size(), sends);
    // Each attempt discards old input first, then sends and reads.
    const QStringList attempt {"clear", "send 07A1D", "read"};
    QCOMPARE(link.calls.mid(0, 3), attempt);
    QVERIFY(schedule->Item(1)->Fired);
}

void tst_TimeControlScheduler::playerActions_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<int>>("posted");
    QTest::addColumn<QString>("line2");

    const QString play = QStringLiteral("Winamp play");
    const QString stop = QStringLiteral("Winamp stop");
    QTest::newRow("play while stopped starts") << true << 0 << play << QList<int> {40045} << play;
    QTest::newRow("play while playing sends nothing") << true << 1 << play << QList<int> {} << "";
    QTest::newRow("play while paused resumes") << true << 3 << play << QList<int> {40046} << play;
    QTest::newRow("stop while playing stops") << true << 1 << stop << QList<int> {40047} << stop;
    QTest::newRow("stop while paused sends nothing") << true << 3 << stop << QList<int> {} << "";
    QTest::newRow("stop while stopped sends nothing") << true << 0 << stop << QList<int> {} << "";
    QTest::newRow("no player: nothing") << false << 1 << stop << QList<int> {} << "";
}

void tst_TimeControlScheduler::playerActions()
{
    QFETCH(bool, present);
    QFETCH(int, status);
    QFETCH(QString, action);

    FakeLink link;
    FakeClock clock(at("2024-01-01 07:30:00.000"));
    FakePlayerRemote player;
    player.setPresent(present);
    player.setStatus(status);
    QString line2;
    TimeControlScheduler scheduler(&link, &player, &clock,
                                   [&](const QString &text) { line2 = text; });
    const auto schedule = scheduleOf({QStringLiteral("07:30 ,Every day  ,") + action});
    scheduler.tick(schedule);

    QTEST(player.postedCommands(), "posted");
    QTEST(line2, "line2");
    QVERIFY(link.calls.isEmpty());
    QVERIFY(schedule->Item(1)->Fired);
}

void tst_TimeControlScheduler::spacingAfterAFiring()
{
    FakeLink link;
    FakeClock clock(at("2024-01-01 07:30:00.000"));
    TimeControlScheduler scheduler(&link, nullptr, &clock, {});
    scheduler.setSpacing(std::chrono::milliseconds(300));
    const auto schedule = scheduleOf({QStringLiteral("07:30 ,Every day  ,A ,07A15"),
                                      QStringLiteral("07:30 ,Every day  ,B ,07A1D")});
    link.answers = QStringList {"ok", "ok"};

    scheduler.tick(schedule);
    QCOMPARE(link.sent, QStringList {"07A15"});
    scheduler.tick(schedule);
    QCOMPARE(link.sent, QStringList {"07A15"});
    QTest::qWait(350);
    scheduler.tick(schedule);
    QCOMPARE(link.sent, (QStringList {"07A15", "07A1D"}));
}

void tst_TimeControlScheduler::tickDuringAFiringDoesNothing()
{
    // While a receiver action waits for its answer, events run: another tick comes in and
    // the dialog may replace the schedule.
    FakeLink link;
    FakeClock clock(at("2024-01-01 07:30:00.000"));
    TimeControlScheduler scheduler(&link, nullptr, &clock, {});
    scheduler.setSpacing(std::chrono::milliseconds(0));
    auto schedule = scheduleOf({QStringLiteral("07:30 ,Every day  ,A ,07A15"),
                                QStringLiteral("07:30 ,Every day  ,B ,07A1D")});
    const std::weak_ptr<clsTimeControlItem> first = schedule->Item(1);
    link.onRead = [&] {
        scheduler.tick(schedule);
        schedule = scheduleOf({});
    };
    scheduler.tick(schedule);
    link.onRead = nullptr;

    QCOMPARE(link.sent, (QStringList {"07A15", "07A15", "07A15"}));
    QVERIFY(first.expired());
    QVERIFY(m_errors.isEmpty());
}

void tst_TimeControlScheduler::failureReportedOnceAndEntryFired()
{
    FakeLink link;
    link.onSend = [](const QString &) {
        throw OrvaneError(OrvaneError::kDeviceUnavailable, QStringLiteral("port gone"));
    };
    FakeClock clock(at("2024-01-01 07:30:00.000"));
    TimeControlScheduler scheduler(&link, nullptr, &clock, {});
    scheduler.setSpacing(std::chrono::milliseconds(0));
    const auto schedule = scheduleOf({QStringLiteral("07:30 ,Every day  ,A ,07A15")});
    m_errors.clear();
    scheduler.tick(schedule);
    scheduler.tick(schedule);

    QCOMPARE(m_errors.reports().size(), 1);
    QCOMPARE(m_errors.reports().front().procedure, QStringLiteral("Timer_ZS_Timer"));
    QVERIFY(schedule->Item(1)->Fired);
    m_errors.clear();
}

QTEST_GUILESS_MAIN(tst_TimeControlScheduler)
#include "tst_TimeControlScheduler.moc"
