#include "state/DspTable.h"
#include "tests/support/MainWindowFixture.h"

#include <QElapsedTimer>
#include <QtTest>

// Receiver reports evaluated by the main window: what each one does to the panels, the
// mute check marks and the two display lines, and what it sends or asks of the player.
class tst_Reports : public QObject
{
    Q_OBJECT

private slots:
    void effectOfReport_data();
    void effectOfReport();
    void volumeReportsGoToTheVolumeDisplay_data();
    void volumeReportsGoToTheVolumeDisplay();
    void everyDspDataValueAgreesWithTheReceiver();
    void reportSelectionsSendNothing();
    void guardStaysSetForAnOuterEvaluation();
    void esKeyPlayerPresses_data();
    void esKeyPlayerPresses();
    void esKeyWithoutPlayerShowsTheMessage();
    void esKeyTogglesTheWindow();
    void esKeyRunsTheShellCommand();
    void playerRules_data();
    void playerRules();
};

namespace {

void setZone2Mode(Form_ControlCenter &form, bool on)
{
    ui(form).Menu_Mode_Zone2->setChecked(on);
    ui(form).Menu_Mode_Main->setChecked(!on);
}

const char *const kInputCaptions[] = {"",      "LD",  "D-TV", "CBL/SAT", "VCR 1", "VCR 2", "VCR 3",
                                      "V-AUX", "DVD", "MD",   "TAPE",    "TUNER", "CD",    "PHONO"};

} // namespace

void tst_Reports::effectOfReport_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<bool>("zone2");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("changes");

    const QStringList none;
    const auto row
        = [&](const char *name, const QStringList &setup, bool zone2, const QString &body,
              const QString &changes) { QTest::newRow(name) << setup << zone2 << body << changes; };

    // Whole-body reports.
    row("speakers A on", none, false, "202E01", "SpeakersA=1");
    row("speakers A off", none, false, "202E00", "SpeakersA=0");
    row("speakers B on", none, false, "202F01", "SpeakersB=1");
    row("speakers B off", none, false, "202F00", "SpeakersB=0");
    row("speaker report starting with 0 is not one", none, false, "002E01", "");
    row("link test 2F000", none, false, "2F000", "Line1='RS232 TEST' Line2=''");
    row("link test 2F002", none, false, "2F002", "Line1='RS232 TEST' Line2=''");
    row("6.1/ES key without a key option still selects 6.1/ES off", none, false, "102D00",
        "Es61=0");
    row("6.1/ES key 112D00", none, false, "112D00", "Es61=0");

    // Input reports, and the 6-channel input stage that sees them too.
    for (int digit = 0; digit <= 12; ++digit) {
        const QString code = QString::number(digit, 16).toUpper();
        const int input = digit > 5 ? digit - 5 : 13 - digit;
        const QByteArray name = "main-zone input digit " + code.toLatin1();
        row(name.constData(), none, false, "10210" + code,
            QStringLiteral("Input=%1 SixCh=0 Line1='INPUT %2' Line2=''")
                .arg(input)
                .arg(QLatin1String(kInputCaptions[input])));
    }
    row("input digit D names no input", none, false, "10210D", "SixCh=0");
    row("6-channel input on with V-AUX", none, false, "10211C",
        "Input=7 SixCh=1 InputModeEnabled=0 SurroundEnabled=0 Line1='' Line2='6CH INPUT'");
    row("6-channel input off again enables the surround buttons", {"10211C"}, false, "10210C",
        "SixCh=0 InputModeEnabled=1 SurroundEnabled=1 Line1='INPUT V-AUX' Line2=''");
    row("zone-2 input report in main-zone mode", none, false, "20240C", "");
    row("zone-2 input report in zone-2 mode", none, true, "20240C",
        "Input=7 Line1='ZONE2 V-AUX' Line2=''");
    row("main-zone input report in zone-2 mode", none, true, "102105",
        "Input=8 SixCh=0 Line1='INPUT DVD' Line2=''");

    // Code and data.
    row("6.1/ES on", none, false, "002D01", "Es61=1");
    row("6.1/ES off", {"002D01"}, false, "002D00", "Es61=0");
    row("mute on", none, false, "002301", "MainMute=1 Line1='MUTE ON' Line2=''");
    row("mute off", {"002301"}, false, "002300", "MainMute=0 Line1='MUTE OFF' Line2=''");
    row("zone-2 mute on", none, false, "002501", "Zone2Mute=1 Line1='ZONE2 MUTE ON' Line2=''");
    row("zone-2 mute off", {"002501"}, false, "002500",
        "Zone2Mute=0 Line1='ZONE2 MUTE OFF' Line2=''");
    row("DSP Pavilion", none, false, "00281D", "Dsp=22 Line1='Concert Video 2' Line2='Pavilion'");
    row("DSP effect off", none, false, "002880", "Dsp=0 Line1='EFFECT OFF' Line2=''");
    row("DSP 8 Ch Stereo leaves the first line", none, false, "002817",
        "Dsp=31 Line2='8 Ch Stereo'");
    for (const char *data : {"03", "07", "0B", "0F", "13", "1A", "1B", "1E", "1F", "22", "23", "26",
                             "27", "2A", "2B", "2d", "FF", "G0"}) {
        const QByteArray name = QByteArray("DSP data ") + data + " names no program";
        row(name.constData(), none, false, QStringLiteral("0028") + QLatin1String(data), "");
    }
    row("input mode Auto re-shows the input", {"102105"}, false, "002200",
        "InputMode=1 Line1='INPUT DVD' Line2='AUTO'");
    row("input mode DD", {"102105"}, false, "002201",
        "InputMode=4 Line1='INPUT DVD' Line2='D.D. RF'");
    row("input mode DTS", {"102105"}, false, "002202", "InputMode=5 Line1='INPUT DVD' Line2='DTS'");
    row("input mode Digital", {"102105"}, false, "002203",
        "InputMode=2 Line1='INPUT DVD' Line2='DIGITAL'");
    row("input mode Analog with no input leaves the first line", none, false, "002204",
        "InputMode=3 Line2='ANALOG'");
    row("warning over current", none, false, "000100", "Line1='Warning' Line2='Over Current'");
    row("warning DC", none, false, "000101", "Line1='Warning' Line2='DC'");
    row("warning power trouble", none, false, "000102", "Line1='Warning' Line2='Power trouble'");
    row("warning over heat", none, false, "000103", "Line1='Warning' Line2='Over Heat'");
    row("headphones in", none, false, "003401", "SpeakersEnabled=0 Line1='Head Phone' Line2='ON'");
    row("headphones out", {"003401"}, false, "003400",
        "SpeakersEnabled=1 Line1='Head Phone' Line2='OFF'");
    row("sleep off", none, false, "002C04", "Line1='SLEEP OFF' Line2=''");
    row("sleep 30", none, false, "002C03", "Line1='SLEEP 30min.' Line2=''");
    row("sleep 60", none, false, "002C02", "Line1='SLEEP 60min.' Line2=''");
    row("sleep 90", none, false, "002C01", "Line1='SLEEP 90min.' Line2=''");
    row("sleep 120", none, false, "002C00", "Line1='SLEEP 120min.' Line2=''");
    row("power off", none, false, "002000", "Line1='POWER OFF' Line2=''");
    row("power on", none, false, "002001", "Line1='POWER ON' Line2=''");

    // Whatever arrives changes only what the tables say.
    row("empty body", none, false, "", "");
    row("one character", none, false, "1", "");
    row("four-character input head reads its last character", none, false, "1021",
        "Input=12 Line1='INPUT CD' Line2=''");
    row("five-character input report", none, false, "10210",
        "Input=13 SixCh=0 Line1='INPUT PHONO' Line2=''");
    row("seven characters after a DSP code", none, false, "0028001", "");
    row("code without data", none, false, "0028", "");
    row("four characters ending in data", none, false, "2D01", "");
    row("lower-case input report reaches only the 6-channel stage", none, false, "10210c",
        "SixCh=0");
    row("lower-case speaker report", none, false, "202e01", "");
    row("lower-case sleep report", none, false, "002c04", "");
    row("control characters", none, false, QStringLiteral("\x02\x03\x11"), "");
    row("long text", none, false, "0123456789ABCDEF0123456789", "");
}

void tst_Reports::effectOfReport()
{
    QFETCH(QStringList, setup);
    QFETCH(bool, zone2);
    QFETCH(QString, body);
    QFETCH(QString, changes);

    MainWindowFixture w;
    Form_ControlCenter &form = *w.window;
    setZone2Mode(form, zone2);
    for (const QString &earlier : setup)
        inside(form).DatenAuswerten(earlier);
    ui(form).Line1->setText(QStringLiteral("L1"));
    ui(form).Line2->setText(QStringLiteral("L2"));
    const auto before = w.record();

    inside(form).DatenAuswerten(body);

    QCOMPARE(w.changesSince(before), changes);
    QVERIFY(!ui(form).UpdatingFromReceiver);
    QVERIFY(w.errors.isEmpty());
    QVERIFY(w.dialogs.messages().isEmpty());
}

void tst_Reports::volumeReportsGoToTheVolumeDisplay_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("shown");

    QTest::newRow("main volume 002600") << "002600" << true;
    QTest::newRow("012600: only characters 3 to 6 count") << "012600" << true;
    QTest::newRow("012601: characters 2 to 4 are 126") << "012601" << false;
    QTest::newRow("main volume 0026C7") << "0026C7" << true;
    QTest::newRow("zone-2 volume 002746") << "002746" << true;
    // Malformed volume reports stop at the volume display, which shows nothing for them.
    QTest::newRow("volume data not hexadecimal") << "0026ZZ" << false;
    QTest::newRow("volume code without data") << "0026" << false;
    QTest::newRow("zone-2 volume of five characters") << "00274" << false;
}

void tst_Reports::volumeReportsGoToTheVolumeDisplay()
{
    QFETCH(QString, body);
    QFETCH(bool, shown);

    MainWindowFixture w;
    Form_ControlCenter &form = *w.window;
    ui(form).Line1->setText(QStringLiteral("L1"));
    ui(form).Line2->setText(QStringLiteral("L2"));
    const auto before = w.record();

    inside(form).DatenAuswerten(body);

    // Only the display may change; nothing else of the record does.
    const QString changes = w.changesSince(before);
    QVERIFY2(!changes.contains(QLatin1Char('=')) || changes.startsWith(QLatin1String("Line")),
             qPrintable(changes));
    QCOMPARE(!changes.isEmpty(), shown);
    QVERIFY(w.errors.isEmpty());
}

void tst_Reports::everyDspDataValueAgreesWithTheReceiver()
{
    // Two tables written apart, the program's and the virtual receiver's, must agree.
    MainWindowFixture w;
    for (int index = 0; index < ReceiverModel::kDspPrograms; ++index) {
        const QString data = DspTable::dataFromIndex(index);
        QCOMPARE(data.toLatin1(), ReceiverModel::dspData(index));
        inside(*w.window).DatenAuswerten(QStringLiteral("0028") + data);
        QCOMPARE(ui(*w.window).Opt_Dsp.selected(), std::optional<int>(index));
    }
    QCOMPARE(DspTable::dataFromIndex(32), QString());
    QCOMPARE(DspTable::indexFromData(u"2d"), -1);
}

void tst_Reports::reportSelectionsSendNothing()
{
    MainWindowFixture w;
    w.openPort();
    QVERIFY(w.window->link()->PortOpen());
    w.port.clearWrites();

    const QStringList bodies = {"10210C", "202E01", "202F01", "002D01", "00281D",
                                "002201", "10211C", "10210C", "003401", "2F001"};
    for (const QString &body : bodies)
        inside(*w.window).DatenAuswerten(body);
    QTest::qWait(50); // any queued click handlers run now

    // Only the link test answers: it sends its own text back.
    QCOMPARE(w.port.writtenCodes(), QStringList {QStringLiteral("2F001")});
    QCOMPARE(ui(*w.window).Opt_Input.selected(), std::optional<int>(7));
    QCOMPARE(ui(*w.window).Opt_Dsp.selected(), std::optional<int>(22));
}

void tst_Reports::guardStaysSetForAnOuterEvaluation()
{
    // An evaluation that runs inside another one (from a wait that lets events run) must
    // not open the echo guard for the outer one.
    MainWindowFixture w;
    ui(*w.window).UpdatingFromReceiver = true;
    inside(*w.window).DatenAuswerten(QStringLiteral("202E01"));
    QVERIFY(ui(*w.window).UpdatingFromReceiver);
}

void tst_Reports::esKeyPlayerPresses_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<QList<int>>("commands");

    QTest::newRow("single press: next track after the second-press window")
        << 1 << QList<int> {40048};
    QTest::newRow("two presses within 800 ms: previous track only") << 2 << QList<int> {40198};
    QTest::newRow("three presses: previous, then a new single press")
        << 3 << QList<int> {40198, 40048};
}

void tst_Reports::esKeyPlayerPresses()
{
    QFETCH(int, presses);
    QFETCH(QList<int>, commands);

    MainWindowFixture w;
    Form_ControlCenter &form = *w.window;
    ui(form).Menu_Extras_61_ES(2)->setChecked(true);
    w.player.setPresent(true);
    ui(form).Line1->setText(QStringLiteral("L1"));
    ui(form).Line2->setText(QStringLiteral("L2"));

    for (int i = 0; i < presses; ++i)
        inside(form).DatenAuswerten(QStringLiteral("102D00"));

    QTRY_COMPARE_WITH_TIMEOUT(w.player.postedCommands(), commands, 3000);
    QTest::qWait(1000); // nothing more comes after the second-press window
    QCOMPARE(w.player.postedCommands(), commands);
    QVERIFY(!ui(form).Timer_CheckTastenRepeat.isActive());
    // The player's texts were shown for a moment; the display is back as it was.
    QCOMPARE(ui(form).Line1->text(), QStringLiteral("L1"));
    QCOMPARE(ui(form).Line2->text(), QStringLiteral("L2"));
    QVERIFY(w.errors.isEmpty());
}

void tst_Reports::esKeyWithoutPlayerShowsTheMessage()
{
    MainWindowFixture w;
    ui(*w.window).Menu_Extras_61_ES(2)->setChecked(true);
    inside(*w.window).DatenAuswerten(QStringLiteral("102D00"));

    QCOMPARE(w.dialogs.messages().size(), 1);
    QVERIFY(w.dialogs.messages().first().text.startsWith(
        QStringLiteral("WinAmp muss zuerst gestartet werden,")));
    QVERIFY(!ui(*w.window).Timer_CheckTastenRepeat.isActive());
    QCOMPARE(ui(*w.window).Opt_61ES.selected(), std::optional<int>(0));
}

void tst_Reports::esKeyTogglesTheWindow()
{
    MainWindowFixture w;
    Form_ControlCenter &form = *w.window;
    ui(form).Menu_Extras_61_ES(1)->setChecked(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    inside(form).DatenAuswerten(QStringLiteral("102D00"));
    QTRY_VERIFY(form.isMinimized());
    inside(form).DatenAuswerten(QStringLiteral("102D00"));
    QTRY_VERIFY(!form.isMinimized());
    QVERIFY(!(form.windowFlags() & Qt::WindowStaysOnTopHint));

    form.showMaximized();
    inside(form).DatenAuswerten(QStringLiteral("102D00"));
    QTRY_VERIFY(!form.isMaximized());
    QVERIFY(w.errors.isEmpty());
}

void tst_Reports::esKeyRunsTheShellCommand()
{
    MainWindowFixture w;
    ui(*w.window).Menu_Extras_61_ES(3)->setChecked(true);
    ui(*w.window).Menu_Extras_61_ES(3)->setData(QStringLiteral("xterm -e top"));
    inside(*w.window).DatenAuswerten(QStringLiteral("102D00"));
    QCOMPARE(w.shell.startedCommands(), QStringList {QStringLiteral("xterm -e top")});
}

void tst_Reports::playerRules_data()
{
    QTest::addColumn<bool>("playerOption");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QList<int>>("commands");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");

    using L = QList<int>;
    QTest::newRow("mute off starts a stopped player")
        << true << true << 0 << "002300" << L {40045} << "MUTE OFF"
        << "Winamp play";
    QTest::newRow("mute off resumes a paused player")
        << true << true << 3 << "002300" << L {40046} << "MUTE OFF"
        << "Winamp play";
    QTest::newRow("mute off leaves a playing player")
        << true << true << 1 << "002300" << L {} << "MUTE OFF"
        << "";
    QTest::newRow("mute on pauses a playing player")
        << true << true << 1 << "002301" << L {40046} << "MUTE ON"
        << "Winamp pause";
    QTest::newRow("mute off without the player option")
        << false << true << 0 << "002300" << L {} << "MUTE OFF"
        << "";
    QTest::newRow("mute off without a player")
        << true << false << 0 << "002300" << L {} << "MUTE OFF"
        << "";
    QTest::newRow("power on with a playing player: display kept")
        << true << true << 1 << "002001" << L {40060, 40060} << "L1"
        << "L2";
    QTest::newRow("power on without the player option")
        << false << true << 1 << "002001" << L {} << "POWER ON"
        << "";
}

void tst_Reports::playerRules()
{
    QFETCH(bool, playerOption);
    QFETCH(bool, present);
    QFETCH(int, status);
    QFETCH(QString, body);
    QFETCH(QList<int>, commands);
    QFETCH(QString, line1);
    QFETCH(QString, line2);

    MainWindowFixture w;
    Form_ControlCenter &form = *w.window;
    ui(form).Menu_Extras_61_ES(2)->setChecked(playerOption);
    w.player.setPresent(present);
    w.player.setStatus(status);
    ui(form).Line1->setText(QStringLiteral("L1"));
    ui(form).Line2->setText(QStringLiteral("L2"));

    inside(form).DatenAuswerten(body);

    QCOMPARE(w.player.postedCommands(), commands);
    QCOMPARE(ui(form).Line1->text(), line1);
    QCOMPARE(ui(form).Line2->text(), line2);
    QVERIFY(w.dialogs.messages().isEmpty());
}

QTEST_MAIN(tst_Reports)
#include "tst_reports.moc"
