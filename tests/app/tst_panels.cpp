// The option panels, step images, zone-2 redirection, mode menus, memories and the
// power toggle, on a main window whose serial port leads to a receiver model.

#include "app/DisplayLine.h"
#include "tests/support/MainWindowFixture.h"

#include <QAccessible>
#include <QAction>
#include <QRadioButton>
#include <ctlFrame.h>

using namespace std::chrono_literals;
using Source = ReceiverModel::Source;

class tst_panels : public QObject
{
    Q_OBJECT

private slots:
    void dspButtonsSendTheirProgram();
    void volumeBarDrawsAsBlocks();
    void optionBoxIsItsClickTarget_data();
    void optionBoxIsItsClickTarget();
    void stepImages_data();
    void stepImages();
    void zoneRedirection_data();
    void zoneRedirection();
    void popUpInputWithNothingSelected();
    void setDspButton_data();
    void setDspButton();
    void modeMenus_data();
    void modeMenus();
    void memories();
    void powerToggle_data();
    void powerToggle();
};

void tst_panels::dspButtonsSendTheirProgram()
{
    MainWindowFixture f;
    f.openPort();
    for (int index = 0; index <= 31; ++index) {
        ui(f.w()).Opt_Dsp(index)->click();
        QCOMPARE(f.model.dspProgram(), index);
    }
    // Upper-case hexadecimal, one frame per click.
    QCOMPARE(f.port.writtenCodes().size(), 32);
    QCOMPARE(f.port.writtenCodes().at(30), QStringLiteral("07EFE"));
    QCOMPARE(f.port.writtenCodes().at(31), QStringLiteral("07EFF"));
}

void tst_panels::optionBoxIsItsClickTarget_data()
{
    // Where the click lands, from the box's bottom-right corner.
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("fromCorner");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("input CD, right of its caption") << "Input" << 12 << QPoint(-2, -9) << true;
    QTest::newRow("input mode DD, bottom-right corner") << "Mode" << 4 << QPoint(-1, -1) << true;
    QTest::newRow("input mode Auto, top-right corner") << "Mode" << 1 << QPoint(-1, -17) << true;
    QTest::newRow("speakers A On, right edge") << "Speakers A" << 1 << QPoint(-1, -9) << true;
    QTest::newRow("beside the box") << "Input" << 12 << QPoint(2, -9) << false;
}

void tst_panels::optionBoxIsItsClickTarget()
{
    QFETCH(QString, panel);
    QFETCH(int, index);
    QFETCH(QPoint, fromCorner);
    MainWindowFixture f;
    OptionArray &options = f.panel(panel);
    QRadioButton *button = options(index);
    f.showOpened();
    f.openPort();
    options.clearSelection();

    // The accessible extents are the box.
    const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
    QVERIFY(accessible);
    QCOMPARE(accessible->rect(), QRect(button->mapToGlobal(QPoint(0, 0)), button->size()));

    const QPoint corner(button->width() - 1, button->height() - 1);
    QTest::mouseClick(button, Qt::LeftButton, {}, corner + fromCorner);
    QFETCH(bool, chosen);
    QCOMPARE(options.selected(), chosen ? std::optional<int>(index) : std::nullopt);
    QVERIFY(f.errors.reports().isEmpty());
}

void tst_panels::stepImages_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<int>("selected"); // 0: none
    QTest::addColumn<int>("expected");

    QTest::newRow("input + from nothing selected gives LD") << "up" << 0 << 1;
    QTest::newRow("input - from CD-R gives LD") << "down" << 14 << 1;
    QTest::newRow("input + from PHONO wraps to LD") << "up" << 13 << 1;
    QTest::newRow("input - from LD wraps to PHONO") << "down" << 1 << 13;
    QTest::newRow("input - from VCR 1 gives CBL/SAT") << "down" << 4 << 3;
    QTest::newRow("mode from nothing selected gives Auto") << "mode" << 0 << 1;
    QTest::newRow("mode from DTS wraps to Auto") << "mode" << 5 << 1;
}

void tst_panels::stepImages()
{
    QFETCH(QString, image);
    QFETCH(int, selected);
    QFETCH(int, expected);

    MainWindowFixture f;
    f.openPort();
    const bool mode = image == QLatin1String("mode");
    OptionArray &options = mode ? ui(f.w()).Opt_InputMode : ui(f.w()).Opt_Input;
    if (selected != 0)
        f.selectFromReceiver(options, selected);
    f.model.setInput(Source::Md);
    f.model.setInputMode(ReceiverModel::InputMode::Analog);

    if (mode)
        ui(f.w()).Image_InputMode->click();
    else
        (image == QLatin1String("up") ? ui(f.w()).Image_InputUP : ui(f.w()).Image_InputDown)
            ->click();

    QCOMPARE(options.selected(), std::optional<int>(expected));
    // The selection ran its click handler, which switched the receiver.
    if (mode)
        QCOMPARE(f.model.inputMode(), ReceiverModel::InputMode::Auto);
    else
        QCOMPARE(f.model.input(), Source(expected));
}

void tst_panels::zoneRedirection_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("zone2");
    for (const char *action : {"input click", "volume down held", "right click on volume +"}) {
        QTest::addRow("%s, main zone", action) << QString::fromLatin1(action) << false;
        QTest::addRow("%s, zone 2", action) << QString::fromLatin1(action) << true;
    }
}

// Zone-2 mode sends the zone-2 variant of inputs, volume steps and mute, and leaves
// the main zone alone (and the reverse).
void tst_panels::zoneRedirection()
{
    QFETCH(QString, action);
    QFETCH(bool, zone2);

    ReceiverModel::Options options;
    options.reportsOn = true; // volume steps are answered with the new volume
    MainWindowFixture f(options);
    f.openPort();
    if (zone2)
        inside(f.w()).Menu_Mode_Zone2_Click();
    const Source mainInput = f.model.input();
    const Source zone2Input = f.model.zone2Input();
    const int mainVolume = f.model.mainVolume();
    const int zone2Volume = f.model.zone2Volume();

    if (action == QLatin1String("input click")) {
        ui(f.w()).Opt_Input(11)->click();
        QCOMPARE(f.model.input(), zone2 ? mainInput : Source::Tuner);
        QCOMPARE(f.model.zone2Input(), zone2 ? Source::Tuner : zone2Input);
        if (zone2) {
            QCOMPARE(f.line1(), QStringLiteral("ZONE2 TUNER"));
            QCOMPARE(f.line2(), QString());
        }
    } else if (action == QLatin1String("volume down held")) {
        inside(f.w()).Image_VolDOWN_MouseDown(Qt::LeftButton);
        MainWindowFixture::runFor(150ms);
        inside(f.w()).Image_VolDOWN_MouseUp(Qt::LeftButton);
        QVERIFY(!ui(f.w()).Timer_RePressKey.isActive());
        QVERIFY((zone2 ? f.model.zone2Volume() - zone2Volume : f.model.mainVolume() - mainVolume)
                < -1);
        QCOMPARE(zone2 ? f.model.mainVolume() : f.model.zone2Volume(),
                 zone2 ? mainVolume : zone2Volume);
        QVERIFY(f.line1().startsWith(zone2 ? QStringLiteral("ZONE2 VOL. ")
                                           : QStringLiteral("VOLUME ")));
    } else {
        inside(f.w()).Image_VolUP_MouseDown(Qt::RightButton);
        inside(f.w()).Image_VolUP_MouseUp(Qt::RightButton);
        QCOMPARE(f.model.mainMute(), !zone2);
        QCOMPARE(f.model.zone2Mute(), zone2);
        QCOMPARE(f.model.mainVolume(), mainVolume);
    }
    QVERIFY(f.errors.isEmpty());
}

// Before the first snapshot no input is selected: a zone-2 input from the pop-up is
// still sent, and there is no input name to show.
void tst_panels::popUpInputWithNothingSelected()
{
    MainWindowFixture f;
    f.openPort();
    inside(f.w()).Menu_Mode_Zone2_Click();
    ui(f.w()).Menu_MiniPopUp_Input(2)->trigger();
    QCOMPARE(f.model.zone2Input(), Source::DTv);
    QCOMPARE(ui(f.w()).Opt_Input.selected(), std::nullopt);
    QCOMPARE(f.line1(), QString());
    QVERIFY(f.errors.isEmpty());
}

void tst_panels::setDspButton_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");

    QTest::newRow("effect off") << 0 << "EFFECT OFF"
                                << "";
    QTest::newRow("last of a group of three") << 18 << "Entertainment"
                                              << "Game/Amusement";
    QTest::newRow("Pavilion") << 22 << "Concert Video 2"
                              << "Pavilion";
    QTest::newRow("last group") << 30 << "DD/DTS SUR."
                                << "Enhanced";
    QTest::newRow("8 Ch Stereo leaves line 1") << 31 << "keep"
                                               << "8 Ch Stereo";
}

void tst_panels::setDspButton()
{
    QFETCH(int, index);
    QFETCH(QString, line1);
    QFETCH(QString, line2);

    MainWindowFixture f;
    f.openPort();
    ui(f.w()).Line1->setText(QStringLiteral("keep"));
    ui(f.w()).UpdatingFromReceiver = true;
    inside(f.w()).SetDSPButton(index, 0);
    ui(f.w()).UpdatingFromReceiver = false;
    QCOMPARE(f.line1(), line1);
    QCOMPARE(f.line2(), line2);
    QVERIFY(ui(f.w()).Opt_Dsp.isSelected(index));
    QCOMPARE(f.port.writtenCodes(), QStringList());
}

void tst_panels::modeMenus_data()
{
    // How zone-2 mode is entered: "menu", "pop-up" (the mini window's), "configuration".
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("panelsOpen");
    QTest::newRow("menu, panels open") << "menu" << true;
    QTest::newRow("menu, panels folded away: frames stay hidden") << "menu" << false;
    QTest::newRow("mini pop-up, panels open") << "pop-up" << true;
    QTest::newRow("configuration Mode=2, panels open") << "configuration" << true;
}

void tst_panels::modeMenus()
{
    QFETCH(QString, way);
    QFETCH(bool, panelsOpen);

    MainWindowFixture f;
    inside(f.w()).SetKlappe(panelsOpen ? 1 : 2);
    const QList<ctlFrame *> mainFrames {ui(f.w()).Frame_InputMode, ui(f.w()).Frame_6ChInput,
                                        ui(f.w()).Frame_61ES};

    ui(f.w()).Line1->setText(QStringLiteral("before"));
    if (way == QLatin1String("menu")) {
        ui(f.w()).Menu_Mode_Zone2->trigger();
    } else if (way == QLatin1String("pop-up")) {
        ui(f.w()).Menu_MiniPopUp_Zone2->trigger();
    } else {
        f.settings.setSection(QStringLiteral("Config"),
                              {{QStringLiteral("Mode"), QStringLiteral("2")}});
        inside(f.w()).LoadConfig();
    }
    QVERIFY(inside(f.w()).zone2Mode());
    QVERIFY(!ui(f.w()).Menu_Mode_Main->isChecked());
    QCOMPARE(ui(f.w()).Frame_Input->Caption(), QStringLiteral("Rec Out"));
    // Only the menu says so on the display.
    QCOMPARE(f.line1(),
             way == QLatin1String("menu") ? QStringLiteral("Mode Zone 2")
                                          : QStringLiteral("before"));
    for (ctlFrame *frame : mainFrames)
        QVERIFY(frame->isHidden());
    QCOMPARE(ui(f.w()).Frame_Leer1->isHidden(), !panelsOpen);

    ui(f.w()).Menu_Mode_Main->trigger();
    QVERIFY(!ui(f.w()).Menu_Mode_Zone2->isChecked());
    QVERIFY(ui(f.w()).Menu_Mode_Main->isChecked());
    QCOMPARE(ui(f.w()).Frame_Input->Caption(), QStringLiteral("Input"));
    QCOMPARE(f.line1(), QStringLiteral("Mode Main/Master"));
    for (ctlFrame *frame : mainFrames)
        QCOMPARE(frame->isHidden(), !panelsOpen);
    QVERIFY(ui(f.w()).Frame_Leer1->isHidden());
}

void tst_panels::memories()
{
    MainWindowFixture f;
    f.openPort();
    f.model.setMainVolume(0x90);
    ui(f.w()).Menu_Volume_Save(3)->trigger();
    QCOMPARE(f.model.volumeMemory(2), 0x90);
    QCOMPARE(f.line1(), QStringLiteral("Save Volume C"));

    f.model.setVolumeMemory(5, 0x42);
    inside(f.w()).CheckKey(120); // F9
    QCOMPARE(f.model.mainVolume(), 0x42);
    QCOMPARE(f.line1(), QStringLiteral("Volume F"));
    QCOMPARE(f.line2(), QString());
}

void tst_panels::powerToggle_data()
{
    QTest::addColumn<bool>("standby");
    QTest::addColumn<int>("answerFrom");
    QTest::addColumn<bool>("powerAfter");

    QTest::newRow("on: switches off") << false << 1 << false;
    QTest::newRow("standby: switches on and applies the fresh block") << true << 1 << true;
    QTest::newRow("block only on the third request") << false << 3 << false;
    QTest::newRow("no block in five requests: nothing sent") << false << 6 << true;
}

void tst_panels::powerToggle()
{
    QFETCH(bool, standby);
    QFETCH(int, answerFrom);
    QFETCH(bool, powerAfter);

    ReceiverModel::Options options;
    options.startInStandby = standby;
    options.answerFromRequest = answerFrom;
    MainWindowFixture f(options);
    f.openPort();

    ui(f.w()).Label_Standby->click();

    QCOMPARE(f.model.power(), powerAfter);
    QCOMPARE(f.model.configurationRequests(), std::min(answerFrom, 5) + (standby ? 1 : 0));
    if (standby)
        QCOMPARE(ui(f.w()).Opt_Input.selected(), std::optional<int>(int(f.model.input())));
    QVERIFY(f.errors.isEmpty());
}

// The display draws the volume bar's character 127 as full blocks; the text stays as set.
void tst_panels::volumeBarDrawsAsBlocks()
{
    MainWindowFixture fixture;
    QLabel *line = ui(*fixture.window).Line2;
    QVERIFY(qobject_cast<DisplayLine *>(line));
    const auto drawn = [line](const QString &text) {
        line->setText(text);
        return line->grab().toImage();
    };
    const QString bar = QStringLiteral("VOL ") + QString(3, QChar(0x7F));
    const QImage withBar = drawn(bar);
    QCOMPARE(line->text(), bar);
    QCOMPARE(withBar, drawn(QStringLiteral("VOL ") + QString(3, QChar(0x2588))));
    QVERIFY(withBar != drawn(QStringLiteral("VOL ")));
}

QTEST_MAIN(tst_panels)
#include "tst_panels.moc"
