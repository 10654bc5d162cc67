#include "link/FrameCutter.h"

#include <QTest>

namespace {
// Readable test text: '<' is STX, '>' is ETX.
QString wire(QString text)
{
    return text.replace(QLatin1Char('<'), QChar(0x02)).replace(QLatin1Char('>'), QChar(0x03));
}
} // namespace

class tst_FrameCutter : public QObject
{
    Q_OBJECT
private slots:
    void cut_data();
    void cut();
    void overlongTail();
    void longRead_data();
    void longRead();
    void reset();
    void stxFlood();
};

void tst_FrameCutter::cut_data()
{
    QTest::addColumn<QStringList>("reads");
    QTest::addColumn<QStringList>("bodies");
    QTest::addColumn<QString>("tail");

    QTest::newRow("one report") << QStringList {"<002600>"} << QStringList {"002600"} << "";
    QTest::newRow("two frames in one read")
        << QStringList {"<002600><10210C>"} << QStringList {"002600", "10210C"} << "";
    QTest::newRow("frame split over two reads")
        << QStringList {"<0026", "00>"} << QStringList {"002600"} << "";
    QTest::newRow("split right after STX")
        << QStringList {"<002600><", "10210C>"} << QStringList {"002600", "10210C"} << "";
    QTest::newRow("split over three reads")
        << QStringList {"<00", "26", "00>"} << QStringList {"002600"} << "";
    QTest::newRow("garbage around frames")
        << QStringList {"xx<002600>yy>zz<002301>"} << QStringList {"002600", "002301"} << "";
    QTest::newRow("garbage only") << QStringList {"abc>def"} << QStringList {} << "";
    const QChar nul(0);
    QTest::newRow("NULs inside and outside")
        << QStringList {nul + QString("<00") + nul + "600>" + nul}
        << QStringList {QString("00") + nul + "600"} << "";
    QTest::newRow("STX inside a frame yields two bodies")
        << QStringList {"<a<b>"} << QStringList {wire("a<b"), "b"} << "";
    QTest::newRow("STX inside a split frame, as in one read")
        << QStringList {"<a<", "b>"} << QStringList {wire("a<b"), "b"} << "";
    QTest::newRow("unfinished tail kept")
        << QStringList {"<002600><00"} << QStringList {"002600"} << "<00";
    QTest::newRow("tail finished by a later read, none twice")
        << QStringList {"<001", "2>", "<003>"} << QStringList {"0012", "003"} << "";
    QTest::newRow("empty frame") << QStringList {"<>"} << QStringList {""} << "";
    QTest::newRow("ETX before STX in next read")
        << QStringList {">", "<1>"} << QStringList {"1"} << "";
    QTest::newRow("longer body is noise, the longest after it counts")
        << QStringList {"<123456789><12345678>"} << QStringList {"12345678"} << "";
    QTest::newRow("half report, then a configuration block: nothing")
        << QStringList {"<10", "\x12R0161C0200>"} << QStringList {} << "";
}

void tst_FrameCutter::cut()
{
    QFETCH(QStringList, reads);
    QFETCH(QStringList, bodies);
    QFETCH(QString, tail);

    FrameCutter cutter;
    QStringList got;
    for (const QString &read : reads)
        got += cutter.cut(wire(read));
    for (QString &body : bodies)
        body = wire(body);
    QCOMPARE(got, bodies);
    QCOMPARE(cutter.tail(), wire(tail));
}

void tst_FrameCutter::overlongTail()
{
    FrameCutter cutter;
    // A lone STX followed by more than the limit of noise is dropped...
    QVERIFY(cutter.cut(wire("<") + QString(FrameCutter::kMaxTail, QLatin1Char('x'))).isEmpty());
    QVERIFY(cutter.tail().isEmpty());

    // ...but a report that starts inside the overlong tail survives.
    const QString noise = wire("<") + QString(FrameCutter::kMaxTail + 10, QLatin1Char('x'));
    QVERIFY(cutter.cut(noise + wire("<0026")).isEmpty());
    QCOMPARE(cutter.tail(), wire("<0026"));
    QCOMPARE(cutter.cut(wire("00>")), QStringList {"002600"});

    // A tail of exactly the limit is kept.
    const QString exact = wire("<") + QString(FrameCutter::kMaxTail - 1, QLatin1Char('y'));
    cutter.cut(exact);
    QCOMPARE(cutter.tail().size(), FrameCutter::kMaxTail);
}

void tst_FrameCutter::longRead_data()
{
    QTest::addColumn<QString>("read");
    QTest::addColumn<QStringList>("bodies");

    const QString report = wire("<002600>");
    QTest::newRow("report after 5000 characters of noise")
        << QString(5000, QLatin1Char('x')) + report << QStringList {"002600"};
    QTest::newRow("report across a piece boundary")
        << QString(FrameCutter::kMaxTail - 3, QLatin1Char('x')) + report + report
        << QStringList {"002600", "002600"};
    QStringList many;
    QString reports;
    for (int i = 0; i < 2000; ++i) {
        reports += report;
        many << "002600";
    }
    QTest::newRow("2000 reports in one read") << reports << many;
}

void tst_FrameCutter::longRead()
{
    QFETCH(QString, read);
    QFETCH(QStringList, bodies);

    FrameCutter cutter;
    QCOMPARE(cutter.cut(read), bodies);
    QVERIFY(cutter.tail().isEmpty());
}

void tst_FrameCutter::reset()
{
    FrameCutter cutter;
    cutter.cut(wire("<0026"));
    cutter.reset();
    QCOMPARE(cutter.cut(wire("00><1>")), QStringList {"1"});
}

// A flood of STX characters over many reads, then one ETX: only the STX characters close
// enough to the ETX start a body, so the bodies are few and short, the tail bounded.
void tst_FrameCutter::stxFlood()
{
    FrameCutter cutter;
    for (int i = 0; i < 100; ++i) {
        QVERIFY(cutter.cut(QString(100, QChar(0x02))).isEmpty());
        QCOMPARE(cutter.tail().size(), FrameCutter::kMaxTail);
    }
    const QStringList bodies = cutter.cut(QString(QChar(0x03)));
    QCOMPARE(bodies.size(), FrameCutter::kMaxBody + 1);
    QCOMPARE(bodies.first().size(), FrameCutter::kMaxBody);
    QVERIFY(cutter.tail().isEmpty());
}

QTEST_APPLESS_MAIN(tst_FrameCutter)
#include "tst_FrameCutter.moc"
