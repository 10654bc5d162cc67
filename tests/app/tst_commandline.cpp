#include "app/CommandLine.h"

#include <QTest>

class tst_CommandLine : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void tst_CommandLine::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("help");
    QTest::addColumn<int>("port"); // 0: no -C
    QTest::addColumn<bool>("power");
    QTest::addColumn<QString>("corners"); // TL, TR, BL present, in that order
    QTest::addColumn<bool>("mini");

    QTest::newRow("empty") << "" << false << 0 << false << "" << false;
    QTest::newRow("-C3") << "-C3" << false << 3 << false << "" << false;
    QTest::newRow("lower case -c3") << "-c3" << false << 3 << false << "" << false;
    QTest::newRow("two digits") << "-C12" << false << 12 << false << "" << false;
    QTest::newRow("-C alone is COM 1") << "-C" << false << 1 << false << "" << false;
    QTest::newRow("-C0 is COM 1") << "-C0" << false << 1 << false << "" << false;
    QTest::newRow("no digits is COM 1") << "-Cx -M" << false << 1 << false << "" << true;
    QTest::newRow("third digit ignored") << "-C123" << false << 12 << false << "" << false;
    QTest::newRow("space before digit skipped") << "-C 4" << false << 4 << false << "" << false;
    QTest::newRow("digit then option") << "-C2-P" << false << 2 << true << "" << false;
    QTest::newRow("power with port") << "-C1 -P" << false << 1 << true << "" << false;
    QTest::newRow("power alone") << "-p" << false << 0 << true << "" << false;
    QTest::newRow("corners in any order") << "-BL -TL" << false << 0 << false << "TL BL" << false;
    QTest::newRow("top right") << "-tr" << false << 0 << false << "TR" << false;
    QTest::newRow("mini") << "-M" << false << 0 << false << "" << true;
    QTest::newRow("options without spaces") << "-C5-M-TR" << false << 5 << false << "TR" << true;
    QTest::newRow("-?") << "-?" << true << 0 << false << "" << false;
    QTest::newRow("/?") << "/?" << true << 0 << false << "" << false;
    QTest::newRow("--H") << "--H" << true << 0 << false << "" << false;
    QTest::newRow("/h") << "/h" << true << 0 << false << "" << false;
    QTest::newRow("-h inside a path") << "-C1 /home/x-hifi/file" << true << 1 << false << ""
                                     << false;
}

void tst_CommandLine::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, help);
    QFETCH(int, port);
    QFETCH(bool, power);
    QFETCH(QString, corners);
    QFETCH(bool, mini);

    const CommandLine options = CommandLine::parse(text);
    QCOMPARE(options.help, help);
    QCOMPARE(options.comPort.value_or(0), port);
    QCOMPARE(options.powerOn, power);
    QStringList found;
    if (options.topLeft)
        found << QStringLiteral("TL");
    if (options.topRight)
        found << QStringLiteral("TR");
    if (options.bottomLeft)
        found << QStringLiteral("BL");
    QCOMPARE(found.join(QLatin1Char(' ')), corners);
    QCOMPARE(options.mini, mini);
}

QTEST_APPLESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
