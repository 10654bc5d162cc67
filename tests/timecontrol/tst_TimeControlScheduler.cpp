#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakePlayerRemote.h"
#include "timecontrol/TimeControlLink.h"
#include "timecontrol/TimeControlScheduler.h"
#include "timecontrol/clsTimeControl.h"

#include <QTest>
#include <functional>

namespace {
// Records the codes sent while the port is open; answers each read from a queue.
class FakeLink : public TimeControlLink
{
public:
    bool portOpen() override { return open; }
    void clearComPuffer() override { ++clears; }
    void sendCommand(const QString &code) override
    {
        if (open)
            sent << code;
    }
    QString readPort() override
    {
        if (onRead)
            onRead();
        return open && !answers.isEmpty() ? answers.takeFirst() : QString();
    }

    bool open = true;
    int clears = 0;
    QStringList answers;
    QStringList sent;
    std::function<void()> onRead;
};

std::shared_ptr<clsTimeControl> scheduleOf(const QStringList &lines)
{
    auto schedule = std::make_shared<clsTimeControl>();
    for (const QString &line : lines)
        schedule->Add(line);
    return schedule;
}

const QString kPowerOn = QStringLiteral("07:30 ,Every day  ,Power On ,07A1D");
const QDateTime kAt0730(QDate(2024, 1, 1), QTime(7, 30));
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

private:
    CollectingErrorPresenter m_errors;
};

void tst_TimeControlScheduler::firing_data()
{
    // One tick per time ("d hh:mm:ss.zzz", d = day of January 2024); `sent` holds the code
    // sent on each tick, "-" for none, so a row reads as a timeline.
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("ticks");
    QTest::addColumn<QString>("sent");

    QTest::newRow("daily entry across its minute edge")
        << QStringList {kPowerOn}
        << "1 07:29:59.500, 1 07:30:00.000, 1 07:30:30.000, 1 07:31:00.000"
        << "- 07A1D - -";
    QTest::newRow("two entries in one minute fire on two ticks, in list order")
        << QStringList {"07:30 ,Every day  ,Input CD ,07A15", kPowerOn}
        << "1 07:30:00.000, 1 07:30:00.500, 1 07:30:01.000"
        << "07A15 07A1D -";
    QTest::newRow("dated entry on a past date never fires")
        << QStringList {"07:30 ,31.12.2023 ,Power On ,07A1D"} << "1 07:30:00.000"
        << "-";
    QTest::newRow("dated entry today at a passed time never fires")
        << QStringList {"07:30 ,01.01.2024 ,Power On ,07A1D"} << "1 08:00:00.000, 1 23:59:59.500"
        << "- -";
    QTest::newRow("dated entry fires once, not again the next day")
        << QStringList {"07:30 ,01.01.2024 ,Power On ,07A1D"}
        << "1 07:30:00.000, 1 07:30:40.000, 2 07:30:00.000"
        << "07A1D - -";
    QTest::newRow("daily entry stays fired until midnight, fires again the next day")
        << QStringList {kPowerOn}
        << "1 07:30:00.000, 1 23:59:00.000, 2 00:00:00.000, 2 07:29:00.000, 2 07:30:00.000"
        << "07A1D - - - 07A1D";
    QTest::newRow("daily entry at 00:00 fires on two days running")
        << QStringList {"00:00 ,Every day  ,Power On ,07A1D"}
        << "1 00:00:00.000, 1 00:00:30.000, 1 12:00:00.000, 2 00:00:00.000, 2 00:00:00.500"
        << "07A1D - - 07A1D -";
    QTest::newRow("daily entry at 00:00 after days without ticks")
        << QStringList {"00:00 ,Every day  ,Power On ,07A1D"}
        << "1 00:00:00.000, 5 00:00:00.000, 5 00:00:00.500"
        << "07A1D 07A1D -";
    QTest::newRow("daily 00:00 is re-armed although a dated 00:00 entry fires first")
        << QStringList {"00:00 ,02.01.2024 ,A ,07A15", "00:00 ,Every day  ,Power On ,07A1D"}
        << "1 00:00:00.000, 2 00:00:00.000, 2 00:00:00.500"
        << "07A1D 07A15 07A1D";
    // "a>b": the clock reads a, and b from its next read on (midnight passes in between).
    QTest::newRow("dated 00:00 does not match the day before across midnight")
        << QStringList {"00:00 ,01.01.2024 ,Power On ,07A1D"}
        << "1 23:59:59.999>2 00:00:00.000, 2 00:00:00.500"
        << "- -";
    QTest::newRow("daily 00:00 fires once across midnight")
        << QStringList {"00:00 ,Every day  ,Power On ,07A1D"}
        << "1 12:00:00.000, 1 23:59:59.999>2 00:00:00.000, 2 00:00:00.500"
        << "- - 07A1D";
    QTest::newRow("German daily word in any case")
        << QStringList {"07:30 ,jEdEn Tag ,Power On ,07A1D"} << "1 07:30:00.000"
        << "07A1D";
}

void tst_TimeControlScheduler::firing()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, ticks);

    FakeLink link;
    FakeClock clock;
    TimeControlScheduler scheduler(&link, nullptr, &clock, {});
    scheduler.setSpacing(std::chrono::milliseconds(0));
    const auto schedule = scheduleOf(lines);

    QStringList sent;
    for (const QString &tick : ticks.split(QStringLiteral(", "))) {
        const auto at = [](const QString &text) {
            const QStringList parts = text.split(QLatin1Char(' '));
            return QDateTime(QDate(2024, 1, parts[0].toInt()),
                             QTime::fromString(parts[1], QStringLiteral("hh:mm:ss.zzz")));
        };
        const QStringList reads = tick.split(QLatin1Char('>'));
        if (reads.size() == 2)
            clock.setThen(at(reads[0]), at(reads[1]));
        else
            clock.set(at(tick));
        link.answers = QStringList {QStringLiteral("answer")};
        link.sent.clear();
        scheduler.tick(schedule);
        sent << (link.sent.isEmpty() ? QStringLiteral("-") : link.sent.join(QLatin1Char('+')));
    }
    QTEST(sent.join(QLatin1Char(' ')), "sent");
    QVERIFY(m_errors.isEmpty());
}

void tst_TimeControlScheduler::receiverActionAttempts_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("attempts");

    QTest::newRow("answer to the first send") << true << QStringList {"ok"} << 1;
    QTest::newRow("answer to the second send") << true << QStringList {"", "ok"} << 2;
    QTest::newRow("no answer: three sends, then given up") << true << QStringList {} << 3;
    QTest::newRow("port closed: nothing goes out") << false << QStringList {"ok"} << 3;
}

void tst_TimeControlScheduler::receiverActionAttempts()
{
    QFETCH(bool, open);
    QFETCH(QStringList, answers);

    FakeLink link;
    link.open = open;
    link.answers = answers;
    FakeClock clock(kAt0730);
    TimeControlScheduler scheduler(&link, nullptr, &clock, {});
    const auto schedule = scheduleOf({kPowerOn});
    scheduler.tick(schedule);

    QFETCH(int, attempts);
    QCOMPARE(link.clears, attempts);
    QCOMPARE(link.sent, QStringList(open ? attempts : 0, QStringLiteral("07A1D")));
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
    QTest::newRow("no player: nothing") << false << 1 << stop << QList<int> {} << "";
}

void tst_TimeControlScheduler::playerActions()
{
    QFETCH(bool, present);
    QFETCH(int, status);
    QFETCH(QString, action);

    FakeClock clock(kAt0730);
    FakePlayerRemote player;
    player.setPresent(present);
    player.setStatus(status);
    QString line2;
    TimeControlScheduler scheduler(nullptr, &player, &clock,
                                   [&](const QString &text) { line2 = text; });
    const auto schedule = scheduleOf({QStringLiteral("07:30 ,Every day  ,") + action});
    scheduler.tick(schedule);

    QTEST(player.postedCommands(), "posted");
    QTEST(line2, "line2");
    QVERIFY(schedule->Item(1)->Fired);
}

void tst_TimeControlScheduler::spacingAfterAFiring()
{
    FakeLink link;
    link.answers = QStringList {"ok", "ok"};
    FakeClock clock(kAt0730);
    TimeControlScheduler scheduler(&link, nullptr, &clock, {});
    scheduler.setSpacing(std::chrono::milliseconds(300));
    const auto schedule = scheduleOf({"07:30 ,Every day  ,A ,07A15", kPowerOn});

    scheduler.tick(schedule);
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
    FakeClock clock(kAt0730);
    TimeControlScheduler scheduler(&link, nullptr, &clock, {});
    auto schedule = scheduleOf({"07:30 ,Every day  ,A ,07A15", kPowerOn});
    const std::weak_ptr<clsTimeControlItem> first = schedule->Item(1);
    link.onRead = [&] {
        scheduler.tick(schedule);
        schedule = scheduleOf({});
    };
    scheduler.tick(schedule);

    QCOMPARE(link.sent, (QStringList {"07A15", "07A15", "07A15"}));
    QVERIFY(first.expired());
    QVERIFY(m_errors.isEmpty());
}

QTEST_GUILESS_MAIN(tst_TimeControlScheduler)
#include "tst_TimeControlScheduler.moc"
