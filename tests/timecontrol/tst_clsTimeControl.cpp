#include "errors/OrvaneError.h"
#include "timecontrol/clsTimeControl.h"

#include <QTest>

class tst_clsTimeControl : public QObject
{
    Q_OBJECT
private slots:
    void add_data();
    void add();
};

void tst_clsTimeControl::add_data()
{
    // "time|day|action|code" of the entry, or "error" when the line cannot be parsed.
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("entry");

    QTest::newRow("daily receiver action, three commas") << "07:30 ,Every day  ,Power On ,07A1D"
                                                         << "07:30|Every day|Power On|07A1D";
    QTest::newRow("dated player action, two commas") << "22:15 ,24.12.2006 ,Winamp stop"
                                                     << "22:15|24.12.2006|Winamp stop|";
    QTest::newRow("commas after the third belong to the code") << "07:30 ,Every day  ,Odd ,07A1D,x"
                                                               << "07:30|Every day|Odd|07A1D,x";
    QTest::newRow("typed without blanks keeps every character")
        << "07:30,24.12.2006,Input CD,07A15"
        << "07:30|24.12.2006|Input CD|07A15";
    QTest::newRow("empty fields") << ",,"
                                  << "|||";
    QTest::newRow("one comma") << "07:30 ,Every day"
                               << "error";
    QTest::newRow("no comma") << "07:30 Every day Power On"
                              << "error";
    QTest::newRow("empty line") << ""
                                << "error";
    QTest::newRow("control character in the code")
        << QStringLiteral("07:30 ,Every day  ,Odd ,07A\x03\x02"
                          "07A1E")
        << "error";
    QTest::newRow("DEL in the code")
        << QStringLiteral("07:30 ,Every day  ,Odd ,07A1\x7f") << "error";
    QTest::newRow("character beyond Latin-1 in the code")
        << QStringLiteral("07:30 ,Every day  ,Odd ,07A1\u20ac") << "error";
    QTest::newRow("control character in the label only")
        << QStringLiteral("07:30 ,Every day  ,K\x01 ,07A1D")
        << QStringLiteral("07:30|Every day|K\x01|07A1D");
}

void tst_clsTimeControl::add()
{
    QFETCH(QString, line);
    QFETCH(QString, entry);
    clsTimeControl schedule;
    schedule.Add(QStringLiteral("00:00 ,Every day  ,First ,07A1D"));
    if (entry == QLatin1String("error")) {
        QVERIFY_THROWS_EXCEPTION(OrvaneError, schedule.Add(line));
        QCOMPARE(schedule.Count(), 1);
        return;
    }
    schedule.Add(line);
    QCOMPARE(schedule.Count(), 2);
    const auto item = schedule.Item(2);
    QCOMPARE(QStringList({item->Time, item->Day, item->Action, item->Code}).join('|'), entry);
    QVERIFY(!item->Fired);
    schedule.Remove(1);
    QCOMPARE(schedule.Item(1), item);
    QVERIFY_THROWS_EXCEPTION(OrvaneError, schedule.Item(2));
}

QTEST_GUILESS_MAIN(tst_clsTimeControl)
#include "tst_clsTimeControl.moc"
