// The volume display (texts, bar, mini window bar) and the press-and-hold repeat.

#include "state/VolumeText.h"
#include "tests/panels/PanelsFixture.h"

#include <QTimer>

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
    void badFramesLeaveTheDisplay_data();
    void badFramesLeaveTheDisplay();
    void sameMainVolumeIsDrawnOnce();
    void miniWindowBar();
    void holdAgainstSilentReceiver();
    void otherTagOnlyDisplays();
};

void tst_volume::display_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");

    QTest::newRow("27: -80 dB") << "002627"
                                << "VOLUME -80.0dB" << bar(4, 16);
    QTest::newRow("C7: 0 dB, no .0 on two characters") << "0026C7"
                                                       << "VOLUME  0dB" << bar(20, 0);
    QTest::newRow("CC: 2.5 dB, 20.5 rounds to 20") << "0026CC"
                                                   << "VOLUME  2.5dB" << bar(20, 0);
    QTest::newRow("D1: 5 dB, bar of 21") << "0026D1"
                                         << "VOLUME  5dB" << bar(21, 0);
    QTest::newRow("C6: -.5 gets .0") << "0026C6"
                                     << "VOLUME -.5.0dB" << bar(20, 0);
    QTest::newRow("E8: 16.5 dB") << "0026E8"
                                 << "VOLUME  16.5dB" << bar(23, 0);
    QTest::newRow("B3: -10 dB, 18 rounds to 18") << "0026B3"
                                                 << "VOLUME -10.0dB" << bar(18, 2);
    QTest::newRow("BE: -4.5 dB, 19.1 rounds to 19") << "0026BE"
                                                    << "VOLUME -4.5dB" << bar(19, 1);
    QTest::newRow("9B: -22 dB, 15.6 rounds to 16") << "00269B"
                                                   << "VOLUME -22.0dB" << bar(16, 4);
    QTest::newRow("A5: -17 dB, 16.6 rounds to 17") << "0026A5"
                                                   << "VOLUME -17.0dB" << bar(17, 3);
    QTest::newRow("AA: -14.5 dB, 17.1 rounds to 17") << "0026AA"
                                                     << "VOLUME -14.5dB" << bar(17, 3);
    QTest::newRow("AE: -12.5 dB, 17.5 rounds to even 18") << "0026AE"
                                                          << "VOLUME -12.5dB" << bar(18, 2);
    QTest::newRow("E0: 12.5 dB, 22.5 rounds to even 22") << "0026E0"
                                                         << "VOLUME  12.5dB" << bar(22, 0);
    QTest::newRow("DB: 10 dB, three characters get .0") << "0026DB"
                                                        << "VOLUME  10.0dB" << bar(22, 0);
    QTest::newRow("00: lowest value") << "002600"
                                      << "VOLUME -99.5dB" << bar(0, 20);
    QTest::newRow("first characters do not matter") << "1226C7"
                                                    << "VOLUME  0dB" << bar(20, 0);
    QTest::newRow("zone 2 50: 0 dB") << "002750"
                                     << "ZONE2 VOL.  0dB" << bar(20, 0);
    QTest::newRow("zone 2 46: -10 dB") << "002746"
                                       << "ZONE2 VOL. -10.0dB" << bar(18, 2);
    QTest::newRow("zone 2 00: -80 dB") << "002700"
                                       << "ZONE2 VOL. -80.0dB" << bar(4, 16);
    QTest::newRow("zone 2 55: 5 dB") << "002755"
                                     << "ZONE2 VOL.  5dB" << bar(21, 0);
    QTest::newRow("zone 2 4F: -1 dB") << "00274F"
                                      << "ZONE2 VOL. -1dB" << bar(20, 0);
}

void tst_volume::display()
{
    QFETCH(QString, body);
    QFETCH(QString, line1);
    QFETCH(QString, line2);

    PanelsFixture f;
    f.w().DisplayVolume(frame(body));
    QCOMPARE(f.line1(), line1);
    QCOMPARE(f.line2(), line2);
    QVERIFY(f.errors.isEmpty());
}

// Every value of both zones gives a text ending in "dB" and a bar of at least 20.
void tst_volume::wholeRange()
{
    PanelsFixture f;
    for (const char *code : {"26", "27"}) {
        for (int value = 0; value <= 0xFF; ++value) {
            const QString body = QStringLiteral("00%1%2")
                                     .arg(QLatin1String(code))
                                     .arg(value, 2, 16, QLatin1Char('0'))
                                     .toUpper();
            f.w().Line1->clear();
            f.w().DisplayVolume(frame(body));
            QVERIFY2(f.line1().endsWith(QLatin1String("dB")), qPrintable(body));
            QVERIFY2(f.line2().size() >= VolumeText::kBarLength, qPrintable(body));
            const QString text
                = VolumeText::text(code == QLatin1String("26") ? VolumeText::mainDecibels(value)
                                                               : VolumeText::zone2Decibels(value));
            QVERIFY2(text.size() != 3, qPrintable(text));
            QVERIFY2(text.at(0) == QLatin1Char(' ') || text.at(0) == QLatin1Char('-'),
                     qPrintable(text));
        }
    }
    QVERIFY(f.errors.isEmpty());
}

void tst_volume::badFramesLeaveTheDisplay_data()
{
    QTest::addColumn<QString>("reply");
    QTest::newRow("empty") << QString();
    QTest::newRow("only STX") << QStringLiteral("\x02");
    QTest::newRow("cut after the code") << QStringLiteral("\x02"
                                                          "0026");
    QTest::newRow("cut in the value") << QStringLiteral("\x02"
                                                        "00262");
    QTest::newRow("value not hexadecimal") << frame(QStringLiteral("0026ZZ"));
    QTest::newRow("value with a sign") << frame(QStringLiteral("0026-1"));
    QTest::newRow("value with a blank") << frame(QStringLiteral("0026 1"));
    QTest::newRow("another report") << frame(QStringLiteral("002801"));
    QTest::newRow("lower-case code") << frame(QStringLiteral("00a6C7"));
}

void tst_volume::badFramesLeaveTheDisplay()
{
    QFETCH(QString, reply);
    PanelsFixture f;
    f.w().Line1->setText(QStringLiteral("one"));
    f.w().Line2->setText(QStringLiteral("two"));
    f.w().DisplayVolume(reply);
    QCOMPARE(f.line1(), QStringLiteral("one"));
    QCOMPARE(f.line2(), QStringLiteral("two"));
    QVERIFY(f.errors.isEmpty());
}

void tst_volume::sameMainVolumeIsDrawnOnce()
{
    PanelsFixture f;
    f.w().DisplayVolume(frame(QStringLiteral("0026C7")));
    f.w().Line2->setText(QStringLiteral("marker"));
    f.w().mini()->drawVolumeBar(0);
    f.w().DisplayVolume(frame(QStringLiteral("0026C7")));
    QCOMPARE(f.w().Line2->text(), QStringLiteral("marker"));
    QCOMPARE(f.w().mini()->volumeBarFill(), 0);

    // Zone 2 has no short-cut.
    f.w().DisplayVolume(frame(QStringLiteral("002750")));
    f.w().Line2->setText(QStringLiteral("marker"));
    f.w().DisplayVolume(frame(QStringLiteral("002750")));
    QCOMPARE(f.w().Line2->text(), bar(20, 0));
}

void tst_volume::miniWindowBar()
{
    PanelsFixture f;
    Form_Mini *mini = f.w().mini();
    const int width = mini->Pic_Vol->width();
    QVERIFY(width > 50);

    f.w().DisplayVolume(frame(QStringLiteral("0026D2"))); // 210: full
    QCOMPARE(mini->volumeBarFill(), width);
    f.w().DisplayVolume(frame(QStringLiteral("002669"))); // 105: half
    QCOMPARE(mini->volumeBarFill(), 105 * width / 210);
    // Zone 2 leaves the mini window's bar alone.
    f.w().DisplayVolume(frame(QStringLiteral("002750")));
    QCOMPARE(mini->volumeBarFill(), 105 * width / 210);

    const QImage image = mini->Pic_Vol->grab().toImage();
    QCOMPARE(image.pixelColor(1, image.height() / 2), QColor(0xFF, 0xC0, 0xFF));
    QVERIFY(image.pixelColor(width - 2, image.height() / 2) != QColor(0xFF, 0xC0, 0xFF));
}

// A receiver that never answers: each step waits its 0.8 s with events running,
// the repeat ticks in between send nothing, and the window keeps handling events.
void tst_volume::holdAgainstSilentReceiver()
{
    PanelsFixture f;
    f.openPort();
    f.model.setReportsEnabled(false);

    QElapsedTimer sinceLastTick;
    qint64 longestGap = 0;
    QTimer watchdog;
    watchdog.setInterval(20);
    QObject::connect(&watchdog, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceLastTick.restart()); });
    sinceLastTick.start();
    watchdog.start();

    QElapsedTimer held;
    held.start();
    f.w().Image_VolUP_MouseDown(Qt::LeftButton);
    PanelsFixture::runFor(2000ms);
    f.w().Image_VolUP_MouseUp(Qt::LeftButton);
    const qint64 heldFor = held.elapsed();
    PanelsFixture::runFor(900ms); // the last step's wait ends
    watchdog.stop();

    const int frames = f.port.writtenCodes().size();
    const int mostSteps = int(heldFor / Form_Com::kAnswerWait.count()) + 1;
    QVERIFY2(frames >= 2 && frames <= mostSteps,
             qPrintable(QStringLiteral("%1 frames in %2 ms").arg(frames).arg(heldFor)));
    QVERIFY2(longestGap < 200, qPrintable(QStringLiteral("window stalled %1 ms").arg(longestGap)));
    QCOMPARE(f.model.mainVolume(), 0x9F + frames);
    QVERIFY(f.errors.isEmpty());
}

void tst_volume::otherTagOnlyDisplays()
{
    PanelsFixture f;
    f.openPort();
    f.w().Line1->setText(QStringLiteral("keep"));
    f.w().Timer_RePressKey_Tag = QStringLiteral("SIDEWAYS");
    f.w().Timer_RePressKey_Timer();
    QCOMPARE(f.port.writtenCodes(), QStringList());
    QCOMPARE(f.line1(), QStringLiteral("keep"));
}

QTEST_MAIN(tst_volume)
#include "tst_volume.moc"
