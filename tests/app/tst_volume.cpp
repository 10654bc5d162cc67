// The volume display and the press-and-hold repeat against a silent receiver.

#include "tests/support/MainWindowFixture.h"

using namespace std::chrono_literals;

namespace {

QString frame(const QString &body)
{
    return QChar(2) + body + QChar(3);
}

QString bar(int full, int dashes)
{
    return QString(full, QChar(0x7F)) + QString(dashes, QLatin1Char('-'));
}

} // namespace

class tst_volume : public QObject
{
    Q_OBJECT

private slots:
    void display_data();
    void display();
    void wholeRange();
    void sameMainVolumeIsDrawnOnce();
    void holdAgainstSilentReceiver();
};

void tst_volume::display_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");

    const auto row = [](const char *name, const QString &reply, const QString &line1,
                        const QString &line2) { QTest::newRow(name) << reply << line1 << line2; };
    row("27: -80 dB", frame("002627"), "VOLUME -80.0dB", bar(4, 16));
    row("C7: 0 dB, two characters get no .0", frame("0026C7"), "VOLUME  0dB", bar(20, 0));
    row("CC: 2.5 dB, 20.5 rounds to even 20", frame("0026CC"), "VOLUME  2.5dB", bar(20, 0));
    row("AE: -12.5 dB, 17.5 rounds to even 18", frame("0026AE"), "VOLUME -12.5dB", bar(18, 2));
    row("D1: 5 dB, bar of 21", frame("0026D1"), "VOLUME  5dB", bar(21, 0));
    row("C6: -.5 gets .0", frame("0026C6"), "VOLUME -.5.0dB", bar(20, 0));
    row("E8: 16.5 dB", frame("0026E8"), "VOLUME  16.5dB", bar(23, 0));
    row("00: lowest, no bar", frame("002600"), "VOLUME -99.5dB", bar(0, 20));
    row("zone 2 50: 0 dB", frame("002750"), "ZONE2 VOL.  0dB", bar(20, 0));
    row("zone 2 46: -10 dB", frame("002746"), "ZONE2 VOL. -10.0dB", bar(18, 2));
    // Replies that are no volume frame leave the display as it was.
    for (const char *bad : {"", "\x02",
                            "\x02"
                            "0026",
                            "\x02"
                            "00262"})
        row(qPrintable(QStringLiteral("short reply of %1").arg(qstrlen(bad))),
            QString::fromLatin1(bad), "one", "two");
    row("value not hexadecimal", frame("0026ZZ"), "one", "two");
    row("value with a sign", frame("0026-1"), "one", "two");
    // Another report in a reply is evaluated like any report, not lost.
    row("mute report", frame("002301"), "MUTE ON", "");
    row("volume behind another text",
        "\x02"
        "xyz\x03"
            + frame("0026C7"),
        "VOLUME  0dB", bar(20, 0));
}

void tst_volume::display()
{
    QFETCH(QString, reply);
    QFETCH(QString, line1);
    QFETCH(QString, line2);

    MainWindowFixture f;
    ui(f.w()).Line1->setText(QStringLiteral("one"));
    ui(f.w()).Line2->setText(QStringLiteral("two"));
    f.receive(reply.toLatin1());
    QCOMPARE(f.line1(), line1);
    QCOMPARE(f.line2(), line2);
    QVERIFY(f.errors.isEmpty());
}

void tst_volume::wholeRange()
{
    MainWindowFixture f;
    for (const QString &code : {QStringLiteral("26"), QStringLiteral("27")}) {
        for (int value = 0; value <= 0xFF; ++value) {
            const QString hex = QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
            ui(f.w()).Line1->clear();
            inside(f.w()).DisplayVolume(code == QLatin1String("26")
                                            ? Form_ControlCenter::VolumeZone::Main
                                            : Form_ControlCenter::VolumeZone::Zone2,
                                        value);
            QVERIFY2(f.line1().endsWith(QLatin1String("dB")), qPrintable(hex));
            QVERIFY2(f.line2().size() >= 20, qPrintable(hex));
        }
    }
    QVERIFY(f.errors.isEmpty());
}

void tst_volume::sameMainVolumeIsDrawnOnce()
{
    MainWindowFixture f;
    inside(f.w()).DisplayVolume(Form_ControlCenter::VolumeZone::Main, 0xC7);
    ui(f.w()).Line2->setText(QStringLiteral("marker"));
    f.w().mini()->drawVolumeBar(0);
    inside(f.w()).DisplayVolume(Form_ControlCenter::VolumeZone::Main, 0xC7);
    QCOMPARE(f.line2(), QStringLiteral("marker"));
    QCOMPARE(f.w().mini()->volumeBarFill(), 0);

    // Zone 2 has no short-cut.
    inside(f.w()).DisplayVolume(Form_ControlCenter::VolumeZone::Zone2, 0x50);
    ui(f.w()).Line2->setText(QStringLiteral("marker"));
    inside(f.w()).DisplayVolume(Form_ControlCenter::VolumeZone::Zone2, 0x50);
    QCOMPARE(f.line2(), bar(20, 0));
}

// Each step waits its 0.8 s with events running; the ticks in between send nothing,
// and the window keeps handling events.
void tst_volume::holdAgainstSilentReceiver()
{
    MainWindowFixture f;
    f.openPort();
    f.model.setReportsEnabled(false);

    QElapsedTimer sinceLastTick;
    qint64 longestGap = 0;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceLastTick.restart()); });
    sinceLastTick.start();
    watchdog.start(20);

    QElapsedTimer held;
    held.start();
    inside(f.w()).Image_VolUP_MouseDown(Qt::LeftButton);
    MainWindowFixture::runFor(2000ms);
    inside(f.w()).Image_VolUP_MouseUp(Qt::LeftButton);
    const qint64 heldFor = held.elapsed();
    MainWindowFixture::runFor(900ms);

    const int frames = f.port.writtenCodes().size();
    QVERIFY2(frames >= 2 && frames <= heldFor / LinkTimings::current().answerWait.count() + 1,
             qPrintable(QStringLiteral("%1 frames in %2 ms").arg(frames).arg(heldFor)));
    QVERIFY2(longestGap < 200, qPrintable(QStringLiteral("stalled %1 ms").arg(longestGap)));
    QCOMPARE(f.model.mainVolume(), 0x9F + frames);
    QVERIFY(f.errors.isEmpty());
}

QTEST_MAIN(tst_volume)
#include "tst_volume.moc"
