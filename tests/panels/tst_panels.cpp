// The option panels, step images, mode menus, memories, keys and the power toggle,
// driven on a main window whose serial port leads to a receiver model.

#include "tests/panels/PanelsFixture.h"

#include <QAction>
#include <QRadioButton>
#include <QRegularExpression>
#include <ctlFrame.h>

using namespace std::chrono_literals;
using Source = ReceiverModel::Source;

class tst_panels : public QObject
{
    Q_OBJECT

private slots:
    void dspButtonsSendTheirProgram();
    void stepImages_data();
    void stepImages();
    void zoneRedirection_data();
    void zoneRedirection();
    void inputFromReceiverIsNotEchoed();
    void setInputButton_data();
    void setInputButton();
    void setDspButton_data();
    void setDspButton();
    void modeMenus_data();
    void modeMenus();
    void popUpZone2TogglesOnlyTheMode();
    void popUpInputLeavesThePanel();
    void memoriesAndKeys_data();
    void memoriesAndKeys();
    void sleepMenu();
    void powerToggle_data();
    void powerToggle();
};

void tst_panels::dspButtonsSendTheirProgram()
{
    PanelsFixture f;
    f.openPort();
    const QRegularExpression upperHex(QStringLiteral("^07E[EF][0-9A-F]$"));
    for (int index = 0; index <= 31; ++index) {
        f.port.clearWrites();
        f.w().Opt_Dsp(index)->click();
        const QStringList codes = f.port.writtenCodes();
        QCOMPARE(codes.size(), 1);
        QVERIFY2(upperHex.match(codes.first()).hasMatch(), qPrintable(codes.first()));
        QCOMPARE(codes.first().toInt(nullptr, 16), 0x7EE0 + index);
        QCOMPARE(f.model.dspProgram(), index);
    }
    f.port.clearWrites();
    f.w().Opt_Dsp(30)->click(); // "Enhanced"
    QCOMPARE(f.port.writtenCodes(), QStringList {QStringLiteral("07EFE")});
    QVERIFY(f.errors.isEmpty());
}

enum class Step { InputUp, InputDown, Mode };

void tst_panels::stepImages_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("selected"); // 0: none
    QTest::addColumn<int>("expected");

    QTest::newRow("input + from nothing selected gives LD") << Step::InputUp << 0 << 1;
    QTest::newRow("input - from nothing selected gives LD") << Step::InputDown << 0 << 1;
    QTest::newRow("input + from CD-R gives LD") << Step::InputUp << 14 << 1;
    QTest::newRow("input - from CD-R gives LD") << Step::InputDown << 14 << 1;
    QTest::newRow("input + from PHONO wraps to LD") << Step::InputUp << 13 << 1;
    QTest::newRow("input - from LD wraps to PHONO") << Step::InputDown << 1 << 13;
    QTest::newRow("input - from VCR 1 gives CBL/SAT") << Step::InputDown << 4 << 3;
    QTest::newRow("input + from TUNER gives CD") << Step::InputUp << 11 << 12;
    QTest::newRow("mode from nothing selected gives Auto") << Step::Mode << 0 << 1;
    QTest::newRow("mode from DTS wraps to Auto") << Step::Mode << 5 << 1;
    QTest::newRow("mode from Digital gives Analog") << Step::Mode << 2 << 3;
}

void tst_panels::stepImages()
{
    QFETCH(Step, step);
    QFETCH(int, selected);
    QFETCH(int, expected);

    PanelsFixture f;
    f.openPort();
    OptionArray &options = step == Step::Mode ? f.w().Opt_InputMode : f.w().Opt_Input;
    if (selected != 0)
        f.selectFromReceiver(options, selected);
    f.model.setInput(Source::Md);

    switch (step) {
    case Step::InputUp:
        f.w().Image_InputUP->click();
        break;
    case Step::InputDown:
        f.w().Image_InputDown->click();
        break;
    case Step::Mode:
        f.w().Image_InputMode->click();
        break;
    }

    QCOMPARE(options.selected(), std::optional<int>(expected));
    // The selection sent its command: the receiver switched.
    QCOMPARE(f.port.writtenCodes().size(), 1);
    if (step == Step::Mode) {
        static const ReceiverModel::InputMode modes[]
            = {ReceiverModel::InputMode::Auto, ReceiverModel::InputMode::Digital,
               ReceiverModel::InputMode::Analog, ReceiverModel::InputMode::DolbyDigital,
               ReceiverModel::InputMode::Dts};
        QCOMPARE(f.model.inputMode(), modes[expected - 1]);
    } else {
        QCOMPARE(f.model.input(), Source(expected));
    }
}

enum class Action { ClickTuner, PopUpTuner, VolumeUp, HoldVolumeDown, RightClickVolumeUp, MuteKey };

void tst_panels::zoneRedirection_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("zone2");

    const std::pair<const char *, Action> actions[] = {
        {"input click", Action::ClickTuner},
        {"pop-up input", Action::PopUpTuner},
        {"volume up", Action::VolumeUp},
        {"volume down held", Action::HoldVolumeDown},
        {"right click on volume +", Action::RightClickVolumeUp},
        {"mute key", Action::MuteKey},
    };
    for (const auto &[name, action] : actions) {
        QTest::addRow("%s, main zone", name) << action << false;
        QTest::addRow("%s, zone 2", name) << action << true;
    }
}

// Zone-2 mode sends the zone-2 variant of inputs, volume steps and mute, and
// leaves the main zone alone (and the reverse).
void tst_panels::zoneRedirection()
{
    QFETCH(Action, action);
    QFETCH(bool, zone2);

    ReceiverModel::Options options;
    options.reportsOn = true; // volume steps are answered with the new volume
    PanelsFixture f(options);
    f.openPort();
    if (zone2)
        f.w().Menu_Mode_Zone2_Click();
    f.model.setInput(Source::Dvd);
    f.model.setZone2Input(Source::Cd);
    const int mainVolume = f.model.mainVolume();
    const int zone2Volume = f.model.zone2Volume();
    f.w().Line1->setText(QStringLiteral("before"));
    f.w().Line2->setText(QStringLiteral("before"));

    switch (action) {
    case Action::ClickTuner:
        f.w().Opt_Input(11)->click();
        break;
    case Action::PopUpTuner:
        f.w().Menu_MiniPopUp_Input(11)->trigger();
        break;
    case Action::VolumeUp:
        f.w().VolUp();
        break;
    case Action::HoldVolumeDown:
        f.w().Image_VolDOWN_MouseDown(Qt::LeftButton);
        PanelsFixture::runFor(150ms);
        f.w().Image_VolDOWN_MouseUp(Qt::LeftButton);
        QVERIFY(!f.w().Timer_RePressKey.isActive());
        break;
    case Action::RightClickVolumeUp:
        f.w().Image_VolUP_MouseDown(Qt::RightButton);
        f.w().Image_VolUP_MouseUp(Qt::RightButton);
        QVERIFY(!f.w().Timer_RePressKey.isActive());
        break;
    case Action::MuteKey:
        f.w().CheckKey(123);
        break;
    }

    const Source tuner = Source::Tuner;
    switch (action) {
    case Action::ClickTuner:
    case Action::PopUpTuner:
        QCOMPARE(f.model.input(), zone2 ? Source::Dvd : tuner);
        QCOMPARE(f.model.zone2Input(), zone2 ? tuner : Source::Cd);
        if (zone2 && action == Action::ClickTuner) {
            QCOMPARE(f.line1(), QStringLiteral("ZONE2 TUNER"));
            QCOMPARE(f.line2(), QString());
        } else if (!zone2) {
            // The display waits for the receiver's report.
            QCOMPARE(f.line1(), QStringLiteral("before"));
        }
        break;
    case Action::VolumeUp:
        QCOMPARE(f.model.mainVolume(), zone2 ? mainVolume : mainVolume + 1);
        QCOMPARE(f.model.zone2Volume(), zone2 ? zone2Volume + 1 : zone2Volume);
        QVERIFY(f.line1().startsWith(zone2 ? QStringLiteral("ZONE2 VOL. ")
                                           : QStringLiteral("VOLUME ")));
        break;
    case Action::HoldVolumeDown:
        QVERIFY(f.model.mainVolume() <= mainVolume);
        QVERIFY(f.model.zone2Volume() <= zone2Volume);
        QVERIFY2((zone2 ? f.model.zone2Volume() - zone2Volume : f.model.mainVolume() - mainVolume)
                     < -1,
                 "several steps while held");
        QCOMPARE(zone2 ? f.model.mainVolume() : f.model.zone2Volume(),
                 zone2 ? mainVolume : zone2Volume);
        break;
    case Action::RightClickVolumeUp:
    case Action::MuteKey:
        QCOMPARE(f.model.mainMute(), !zone2);
        QCOMPARE(f.model.zone2Mute(), zone2);
        QCOMPARE(f.model.mainVolume(), mainVolume);
        break;
    }
    QVERIFY(f.errors.isEmpty());
}

void tst_panels::inputFromReceiverIsNotEchoed()
{
    PanelsFixture f;
    f.openPort();
    f.w().UpdatingFromReceiver = true;
    f.w().Opt_Input.select(8);
    f.w().Opt_Dsp.select(5);
    f.w().Opt_SpeakersA.select(1);
    f.w().Opt_Input(3)->click();
    f.w().UpdatingFromReceiver = false;
    QCOMPARE(f.port.writtenCodes(), QStringList());

    f.w().Opt_SpeakersA(0)->click();
    f.w().Opt_SpeakersB(1)->click();
    f.w().Opt_61ES(1)->click();
    f.w().Opt_6ChInput(1)->click();
    QVERIFY(!f.model.speakersA());
    QVERIFY(f.model.speakersB());
    QVERIFY(f.model.es61());
    QVERIFY(f.model.sixChInput());
}

void tst_panels::setInputButton_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("noSelect");
    QTest::addColumn<int>("zone2");
    QTest::addColumn<int>("selectedAfter"); // 0: none
    QTest::addColumn<QString>("line1");

    QTest::newRow("main zone selects and shows") << 12 << 0 << 0 << 12 << "INPUT CD";
    QTest::newRow("zone 2 shows ZONE2") << 11 << 0 << 1 << 11 << "ZONE2 TUNER";
    QTest::newRow("no-select only shows") << 8 << 1 << 0 << 3 << "INPUT DVD";
    QTest::newRow("below the bounds does nothing") << 0 << 0 << 0 << 3 << "keep";
    QTest::newRow("above the bounds does nothing") << 15 << 0 << 0 << 3 << "keep";
}

void tst_panels::setInputButton()
{
    QFETCH(int, index);
    QFETCH(int, noSelect);
    QFETCH(int, zone2);
    QFETCH(int, selectedAfter);
    QFETCH(QString, line1);

    PanelsFixture f;
    f.openPort();
    f.selectFromReceiver(f.w().Opt_Input, 3);
    f.w().Line1->setText(QStringLiteral("keep"));
    f.w().Line2->setText(QStringLiteral("keep"));

    f.w().UpdatingFromReceiver = true;
    f.w().SetInputButton(index, noSelect, zone2);
    f.w().UpdatingFromReceiver = false;

    QCOMPARE(f.line1(), line1);
    QCOMPARE(f.line2(), line1 == QLatin1String("keep") ? QStringLiteral("keep") : QString());
    int selected = -1;
    f.w().GetInputButton(selected);
    QCOMPARE(selected, selectedAfter);
    QCOMPARE(f.port.writtenCodes(), QStringList());
    QVERIFY(f.errors.isEmpty());

    // Nothing selected reads back as one past the upper bound.
    f.w().Opt_Input.clearSelection();
    f.w().GetInputButton(selected);
    QCOMPARE(selected, 15);
}

void tst_panels::setDspButton_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");

    QTest::newRow("effect off") << 0 << "EFFECT OFF"
                                << "";
    QTest::newRow("first of the first group") << 1 << "Concert Hall 1"
                                              << "Hall A";
    QTest::newRow("last of a group of three") << 18 << "Entertainment"
                                              << "Game/Amusement";
    QTest::newRow("first group of two") << 19 << "Concert Video 1"
                                        << "Pop/Rock";
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

    PanelsFixture f;
    f.openPort();
    f.w().Line1->setText(QStringLiteral("keep"));
    f.w().UpdatingFromReceiver = true;
    f.w().SetDSPButton(index, 0);
    f.w().UpdatingFromReceiver = false;
    QCOMPARE(f.line1(), line1);
    QCOMPARE(f.line2(), line2);
    QVERIFY(f.w().Opt_Dsp.isSelected(index));
    QCOMPARE(f.port.writtenCodes(), QStringList());

    // With the no-select flag only the display changes.
    f.w().SetDSPButton(index == 0 ? 1 : 0, 1);
    QVERIFY(f.w().Opt_Dsp.isSelected(index));
    QVERIFY(f.errors.isEmpty());
}

void tst_panels::modeMenus_data()
{
    QTest::addColumn<bool>("panelsOpen");
    QTest::newRow("panels open") << true;
    QTest::newRow("panels folded away") << false;
}

void tst_panels::modeMenus()
{
    QFETCH(bool, panelsOpen);

    PanelsFixture f;
    f.w().SetKlappe(panelsOpen ? 1 : 2);
    const QList<ctlFrame *> mainFrames {f.w().Frame_InputMode, f.w().Frame_6ChInput,
                                        f.w().Frame_61ES};

    f.w().Menu_Mode_Zone2_Click();
    QVERIFY(f.w().zone2Mode());
    QVERIFY(f.w().Menu_Mode_Zone2->isChecked());
    QVERIFY(!f.w().Menu_Mode_Main->isChecked());
    QCOMPARE(f.w().Frame_Input->Caption(), QStringLiteral("Rec Out"));
    QCOMPARE(f.line1(), QStringLiteral("Mode Zone 2"));
    QCOMPARE(f.line2(), QString());
    for (ctlFrame *frame : mainFrames)
        QCOMPARE(frame->isHidden(), true);
    QCOMPARE(f.w().Frame_Leer1->isHidden(), !panelsOpen);

    f.w().Menu_Mode_Main_Click();
    QVERIFY(!f.w().zone2Mode());
    QVERIFY(f.w().Menu_Mode_Main->isChecked());
    QVERIFY(!f.w().Menu_Mode_Zone2->isChecked());
    QCOMPARE(f.w().Frame_Input->Caption(), QStringLiteral("Input"));
    QCOMPARE(f.line1(), QStringLiteral("Mode Main/Master"));
    for (ctlFrame *frame : mainFrames)
        QCOMPARE(frame->isHidden(), !panelsOpen);
    QCOMPARE(f.w().Frame_Leer1->isHidden(), true);
    QVERIFY(f.errors.isEmpty());
}

void tst_panels::popUpZone2TogglesOnlyTheMode()
{
    PanelsFixture f;
    f.w().SetKlappe(1);
    f.w().Line1->setText(QStringLiteral("keep"));

    f.w().Menu_MiniPopUp_Zone2->trigger();
    QVERIFY(f.w().zone2Mode());
    QVERIFY(!f.w().Menu_Mode_Main->isChecked());
    QCOMPARE(f.w().Frame_Input->Caption(), QStringLiteral("Input"));
    QVERIFY(!f.w().Frame_InputMode->isHidden());
    QCOMPARE(f.line1(), QStringLiteral("keep"));

    f.w().Menu_MiniPopUp_Zone2->trigger();
    QVERIFY(!f.w().zone2Mode());
    QVERIFY(f.w().Menu_Mode_Main->isChecked());
}

void tst_panels::popUpInputLeavesThePanel()
{
    PanelsFixture f;
    f.openPort();
    f.selectFromReceiver(f.w().Opt_Input, 8);
    f.w().Menu_MiniPopUp_Input_Click(12);
    QCOMPARE(f.model.input(), Source::Cd);
    QCOMPARE(f.w().Opt_Input.selected(), std::optional<int>(8));

    // In zone 2 with nothing selected yet there is no name to show, and no error.
    PanelsFixture g;
    g.openPort();
    g.w().Menu_Mode_Zone2_Click();
    g.w().Menu_MiniPopUp_Input_Click(2);
    QCOMPARE(g.model.zone2Input(), Source::DTv);
    QCOMPARE(g.line1(), QString());
    QVERIFY(g.errors.isEmpty());
}

enum class Memory { Save, Load, PopUpLoad, Key };

void tst_panels::memoriesAndKeys_data()
{
    QTest::addColumn<Memory>("how");
    QTest::addColumn<int>("index"); // memory 1 to 6, or the key code
    QTest::addColumn<int>("bank");
    QTest::addColumn<QString>("line1");

    QTest::newRow("save C from the menu") << Memory::Save << 3 << 2 << "Save Volume C";
    QTest::newRow("save F from the menu") << Memory::Save << 6 << 5 << "Save Volume F";
    QTest::newRow("load A from the menu") << Memory::Load << 1 << 0 << "Volume A";
    QTest::newRow("load E from the pop-up") << Memory::PopUpLoad << 5 << 4 << "Volume E";
    QTest::newRow("F4 loads A") << Memory::Key << 115 << 0 << "Volume A";
    QTest::newRow("F9 loads F") << Memory::Key << 120 << 5 << "Volume F";
}

void tst_panels::memoriesAndKeys()
{
    QFETCH(Memory, how);
    QFETCH(int, index);
    QFETCH(int, bank);
    QFETCH(QString, line1);

    PanelsFixture f;
    f.openPort();
    f.model.setMainVolume(0x90);
    for (int b = 0; b < 6; ++b)
        f.model.setVolumeMemory(b, 0x40 + b);
    f.w().Line2->setText(QStringLiteral("x"));

    switch (how) {
    case Memory::Save:
        f.w().Menu_Volume_Save(index)->trigger();
        QCOMPARE(f.model.volumeMemory(bank), 0x90);
        break;
    case Memory::Load:
        f.w().Menu_Volume_Load(index)->trigger();
        QCOMPARE(f.model.mainVolume(), 0x40 + bank);
        break;
    case Memory::PopUpLoad:
        f.w().Menu_MiniPopUp_Volume_Load(index)->trigger();
        QCOMPARE(f.model.mainVolume(), 0x40 + bank);
        break;
    case Memory::Key:
        f.w().CheckKey(index);
        QCOMPARE(f.model.mainVolume(), 0x40 + bank);
        break;
    }
    QCOMPARE(f.line1(), line1);
    QCOMPARE(f.line2(), QString());

    // Keys other than F4 to F9 and F12 do nothing.
    f.port.clearWrites();
    for (int other : {112, 114, 121, 122, 124, 65})
        f.w().CheckKey(other);
    QCOMPARE(f.port.writtenCodes(), QStringList());
}

void tst_panels::sleepMenu()
{
    PanelsFixture f;
    f.openPort();
    const std::pair<QAction *, ReceiverModel::Sleep> items[] = {
        {f.w().Menu_Sleep_30, ReceiverModel::Sleep::Min30},
        {f.w().Menu_Sleep_120, ReceiverModel::Sleep::Min120},
        {f.w().Menu_Sleep_60, ReceiverModel::Sleep::Min60},
        {f.w().Menu_Sleep_90, ReceiverModel::Sleep::Min90},
        {f.w().Menu_Sleep_Off, ReceiverModel::Sleep::Off},
    };
    for (const auto &[action, sleep] : items) {
        action->trigger();
        QCOMPARE(f.model.sleep(), sleep);
    }
}

void tst_panels::powerToggle_data()
{
    QTest::addColumn<bool>("standby");
    QTest::addColumn<int>("answerFrom");
    QTest::addColumn<bool>("powerAfter");
    QTest::addColumn<int>("requests");

    QTest::newRow("on: switches off") << false << 1 << false << 1;
    QTest::newRow("standby: switches on") << true << 1 << true << 2;
    QTest::newRow("block only on the third request") << false << 3 << false << 3;
    QTest::newRow("no block in five requests: nothing sent") << false << 6 << true << 5;
}

void tst_panels::powerToggle()
{
    QFETCH(bool, standby);
    QFETCH(int, answerFrom);
    QFETCH(bool, powerAfter);
    QFETCH(int, requests);

    ReceiverModel::Options options;
    options.startInStandby = standby;
    options.answerFromRequest = answerFrom;
    PanelsFixture f(options);
    f.openPort();

    f.w().Label_Standby->click();

    QCOMPARE(f.model.power(), powerAfter);
    // Switching on fetches the fresh block (PowerOn) and applies it.
    QCOMPARE(f.model.configurationRequests(), requests);
    if (standby) {
        QVERIFY(f.w().SettingsBlock.size() > 14);
        QCOMPARE(f.w().Opt_Input.selected(), std::optional<int>(int(f.model.input())));
    }
    if (answerFrom > 5)
        QVERIFY(f.w().SettingsBlock.isEmpty());
    QVERIFY(f.errors.isEmpty());
}

QTEST_MAIN(tst_panels)
#include "tst_panels.moc"
