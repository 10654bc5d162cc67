// Reading the configuration block's fields by position, on the blocks receivers send.

#include "link/ConfigurationBlock.h"
#include "sim/ReceiverModel.h"

#include <QTest>

namespace {
QString blockOf(const ReceiverModel::Options &options)
{
    return QString::fromLatin1(ReceiverModel(options).configurationBlock());
}

QString optional(const std::optional<QChar> &c)
{
    return c ? QString(*c) : QStringLiteral("-");
}

QString optional(const std::optional<int> &n)
{
    return n ? QString::number(*n) : QStringLiteral("-");
}
} // namespace

class tst_ConfigurationBlock : public QObject
{
    Q_OBJECT
private slots:
    void fields_data();
    void fields();
    void quirk_data();
    void quirk();
};

void tst_ConfigurationBlock::fields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // see fields()

    ReceiverModel::Options standby;
    standby.startInStandby = true;
    ReceiverModel::Options quirk;
    quirk.quirkE01900 = true;

    // model | version | length | framed | data 1 | data 2 | standby | full | data 3 as hex |
    // DSP pair at 13 | flag at 30 | data size | complete (framed, length as counted)
    QTest::newRow("normal block from a receiver that is on")
        << blockOf({}) << "R0161|C|-|1|0|1|0|1|5|0|0||1";
    QTest::newRow("standby block") << blockOf(standby) << "R0161|C|-|1|0|0|1|0|-|-|-||1";
    QTest::newRow("quirk block before the fix-up: the marker is data")
        << blockOf(quirk) << "R0161|C|-|1|@|E|0|1|0|1|1||1";
    QTest::newRow("shorter than its length field: the ETX is not data")
        << QStringLiteral("\x12R0161C20"
                          "0110\x03")
        << "R0161|C|32|1|0|1|0|0|1|-|-|4|0";
    QTest::newRow("length field shorter than the data") << QStringLiteral("\x12R0161C02"
                                                                          "0110\x03")
                                                        << "R0161|C|2|1|0|1|0|0|-|-|-|2|0";
    QTest::newRow("length field not hexadecimal: no data") << QStringLiteral("\x12R0161CZZ"
                                                                             "0110\x03")
                                                           << "R0161|C|-|1|-|-|0|0|-|-|-|0|0";
    QTest::newRow("not framed: counted all the same")
        << QStringLiteral("R0161C030100") << "0161C|0|48|0|1|0|1|0|-|-|-|2|0";
    QTest::newRow("half a block") << blockOf({}).left(30) << "R0161|C|48|0|0|1|0|1|5|0|-|20|0";
    QTest::newRow("empty") << QString() << "||-|0|-|-|0|0|-|-|-|0|0";
}

void tst_ConfigurationBlock::fields()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    const ConfigurationBlock block(text);
    QStringList got {block.modelCode(),
                     block.softwareVersion(),
                     optional(block.dataLength()),
                     QString::number(block.isFramed()),
                     optional(block.dataAt(1)),
                     optional(block.dataAt(2)),
                     QString::number(block.inStandby()),
                     QString::number(block.carriesFullData()),
                     optional(block.hexDigitAt(3)),
                     optional(block.hexPairAt(13)),
                     optional(block.flagAt(30)),
                     QString::number(block.data().size()),
                     QString::number(block.isComplete())};
    // The model's blocks: their length is checked through the data size instead.
    QStringList want = expected.split(QLatin1Char('|'));
    if (want.at(2) == QLatin1String("-") && block.dataLength()) {
        want[2] = got.at(2);
        want[11] = got.at(11);
        QCOMPARE(block.data().size(), qsizetype(*block.dataLength()));
    }
    QCOMPARE(got, want);
    QCOMPARE(block.withoutFrame(), text.mid(1, text.size() - 2));
}

void tst_ConfigurationBlock::quirk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fixed");

    ReceiverModel::Options quirk;
    quirk.quirkE01900 = true;
    QTest::newRow("model's quirk block equals its plain block") << blockOf(quirk) << blockOf({});
    QTest::newRow("length lowered by 7, two digits kept")
        << QStringLiteral("\x12R0161C0A@E01900abc\x03") << QStringLiteral("\x12R0161C03abc\x03");
    QTest::newRow("length below 7 stays")
        << QStringLiteral("\x12R0161C05@E01900\x03") << QStringLiteral("\x12R0161C05\x03");
    QTest::newRow("length not hexadecimal stays")
        << QStringLiteral("\x12R0161CXY@E01900ab\x03") << QStringLiteral("\x12R0161CXYab\x03");
    QTest::newRow("marker elsewhere is left alone") << QStringLiteral("\x12R0161C0Aa@E01900b\x03")
                                                    << QStringLiteral("\x12R0161C0Aa@E01900b\x03");
    QTest::newRow("empty") << QString() << QString();
}

void tst_ConfigurationBlock::quirk()
{
    QFETCH(QString, text);
    QFETCH(QString, fixed);
    QCOMPARE(ConfigurationBlock(text).withoutQuirk().text(), fixed);
}

QTEST_MAIN(tst_ConfigurationBlock)
#include "tst_ConfigurationBlock.moc"
