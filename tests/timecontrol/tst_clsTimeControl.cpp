#include "errors/OrvaneError.h"
#include "timecontrol/clsTimeControl.h"

#include <QTest>

class tst_clsTimeControl : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void unparsableLine_data();
    void unparsableLine();
    void listKeepsOrderAndRemoves();
};

void tst_clsTimeControl::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("code");

    QTest::newRow("daily receiver action, three commas")
        << "07:30 ,Every day  ,Power On ,07A1D" << "07:30" << "Every day" << "Power On"
        << "07A1D";
    QTest::newRow("dated player action, two commas")
        << "22:15 ,24.12.2006 ,Winamp stop" << "22:15" << "24.12.2006" << "Winamp stop" << "";
    QTest::newRow("commas after the third belong to the code")
        << "07:30 ,Every day  ,Odd ,07A1D,x" << "07:30" << "Every day" << "Odd" << "07A1D,x";
    QTest::newRow("typed without blanks keeps every character")
        << "07:30,24.12.2006,Input CD,07A15" << "07:30" << "24.12.2006" << "Input CD"
        << "07A15";
    QTest::newRow("carriage return of a foreign line end trimmed")
        << "07:30 ,Every day  ,Winamp play\r" << "07:30" << "Every day" << "Winamp play" << "";
    QTest::newRow("empty fields") << ",," << "" << "" << "" << "";
    QTest::newRow("comma right after comma") << "07:30 ,,Power On ,07A1D" << "07:30" << ""
                                             << "Power On" << "07A1D";
}

void tst_clsTimeControl::parse()
{
    QFETCH(QString, line);
    clsTimeControl schedule;
    schedule.Add(line);
    QCOMPARE(schedule.Count(), 1);
    const auto item = schedule.Item(1);
    QTEST(item->Time, "time");
    QTEST(item->Day, "day");
    QTEST(item->Action, "action");
    QTEST(item->Code, "code");
    QVERIFY(!item->Fired);
}

void tst_clsTimeControl::unparsableLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << "";
    QTest::newRow("no comma") << "07:30 Every day Power On";
    QTest::newRow("one comma") << "07:30 ,Every day";
}

void tst_clsTimeControl::unparsableLine()
{
    QFETCH(QString, line);
    clsTimeControl schedule;
    schedule.Add(QStringLiteral("07:30 ,Every day  ,Power On ,07A1D"));
    QVERIFY_THROWS_EXCEPTION(OrvaneError, schedule.Add(line));
    QCOMPARE(schedule.Count(), 1);
}

void tst_clsTimeControl::listKeepsOrderAndRemoves()
{
    clsTimeControl schedule;
    for (const char *action : {"A", "B", "C"})
        schedule.Add(QStringLiteral("07:30 ,Every day  ,%1 ,07A1D").arg(QLatin1String(action)));
    schedule.Remove(2);
    QCOMPARE(schedule.Count(), 2);
    QCOMPARE(schedule.Item(1)->Action, QStringLiteral("A"));
    QCOMPARE(schedule.Item(2)->Action, QStringLiteral("C"));
    QVERIFY_THROWS_EXCEPTION(OrvaneError, schedule.Item(0));
    QVERIFY_THROWS_EXCEPTION(OrvaneError, schedule.Item(3));
    QVERIFY_THROWS_EXCEPTION(OrvaneError, schedule.Remove(3));
}

QTEST_GUILESS_MAIN(tst_clsTimeControl)
#include "tst_clsTimeControl.moc"
