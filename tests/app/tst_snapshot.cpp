#include "tests/support/MainWindowFixture.h"

#include <QtTest>
#include <functional>

// The configuration block applied to the panels: blocks come from the virtual receiver,
// some patched by hand where the receiver would not send them.
class tst_Snapshot : public QObject
{
    Q_OBJECT

private slots:
    void blockField_data();
    void blockField();
    void everySourceAndModeLock();
    void rejectedBlocks_data();
    void rejectedBlocks();
    void shortBlocks_data();
    void shortBlocks();
    void snapshotSendsNothing();
};

namespace {

using Setup = std::function<void(ReceiverModel &)>;
// Data positions (from 1) and the text put there.
using Patches = QList<std::pair<int, QByteArray>>;

// Replaces data position `position` (from 1) of a block.
QByteArray patched(QByteArray block, int position, const QByteArray &text)
{
    block.replace(8 + position, text.size(), text);
    return block;
}

} // namespace

void tst_Snapshot::blockField_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<Patches>("patches");
    QTest::addColumn<bool>("zone2");
    QTest::addColumn<QString>("changes");

    using P = Patches;
    const QString defaults = "Input=8 InputMode=1 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";

    QTest::newRow("receiver's defaults")
        << Setup([](ReceiverModel &) {}) << P {} << false << defaults;
    QTest::newRow("zone-2 mode takes the zone-2 input")
        << Setup([](ReceiverModel &) {}) << P {} << true
        << "Input=12 InputMode=1 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";
    QTest::newRow("input mode DTS")
        << Setup([](ReceiverModel &m) { m.setInputMode(ReceiverModel::InputMode::Dts); }) << P {}
        << false << "Input=8 InputMode=5 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";
    QTest::newRow("input mode value 5 selects Auto and locks the mode buttons")
        << Setup([](ReceiverModel &) {}) << P {{5, "5"}} << false
        << "Input=8 InputMode=1 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0 "
           "InputModeEnabled=0";
    QTest::newRow("input mode above 5 leaves the mode unselected")
        << Setup([](ReceiverModel &) {}) << P {{5, "9"}} << false
        << "Input=8 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";
    QTest::newRow("input digit E is MD") << Setup([](ReceiverModel &) {}) << P {{3, "E"}} << false
                                         << "Input=9 InputMode=1 Dsp=1 SpeakersA=1 SpeakersB=0 "
                                            "Es61=0 SixCh=0";
    QTest::newRow("input digit F is TAPE") << Setup([](ReceiverModel &) {}) << P {{3, "F"}} << false
                                           << "Input=10 InputMode=1 Dsp=1 SpeakersA=1 "
                                              "SpeakersB=0 Es61=0 SixCh=0";
    QTest::newRow("input digit not hexadecimal leaves the input")
        << Setup([](ReceiverModel &) {}) << P {{3, "X"}} << false
        << "InputMode=1 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";
    QTest::newRow("8 Ch Stereo") << Setup([](ReceiverModel &m) {
        m.setDspProgram(31);
    }) << P {} << false << "Input=8 InputMode=1 Dsp=31 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";
    QTest::newRow("effect-off marker overrides the stored program")
        << Setup([](ReceiverModel &m) { m.setDspProgram(14); }) << P {{15, "0"}} << false
        << "Input=8 InputMode=1 Dsp=0 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";
    QTest::newRow("unknown program leaves the DSP")
        << Setup([](ReceiverModel &) {}) << P {{13, "03"}} << false
        << "Input=8 InputMode=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";
    QTest::newRow("6-channel input on leaves the surround buttons enabled")
        << Setup([](ReceiverModel &m) { m.setSixChInput(true); }) << P {} << false
        << "Input=8 InputMode=1 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=1";
    QTest::newRow("6.1/ES on") << Setup([](ReceiverModel &m) { m.setEs61(true); }) << P {} << false
                               << "Input=8 InputMode=1 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=1 "
                                  "SixCh=0";
    QTest::newRow("speakers A off, B on") << Setup([](ReceiverModel &m) {
        m.setSpeakersA(false);
        m.setSpeakersB(true);
    }) << P {} << false << "Input=8 InputMode=1 Dsp=1 SpeakersA=0 SpeakersB=1 Es61=0 SixCh=0";
    QTest::newRow("headphones lock the speaker buttons")
        << Setup([](ReceiverModel &m) { m.setHeadphones(true); }) << P {} << false
        << defaults + " SpeakersEnabled=0";
    QTest::newRow("flags other than 1 read as off")
        << Setup([](ReceiverModel &m) {
               m.setEs61(true);
               m.setSixChInput(true);
           })
        << P {{4, "2"}, {16, "Y"}, {23, "x"}} << false
        << "Input=8 InputMode=1 Dsp=1 SpeakersA=0 SpeakersB=0 Es61=0 SixCh=0";
}

void tst_Snapshot::blockField()
{
    QFETCH(Setup, setup);
    QFETCH(Patches, patches);
    QFETCH(bool, zone2);
    QFETCH(QString, changes);

    MainWindowFixture w;
    Form_ControlCenter &form = *w.window;
    ui(form).Menu_Mode_Zone2->setChecked(zone2);
    ui(form).Menu_Mode_Main->setChecked(!zone2);
    setup(w.model);
    QByteArray block = w.model.configurationBlock();
    for (const auto &[position, text] : patches)
        block = patched(block, position, text);
    const auto before = w.record();

    form.SetOrvaneSettings(QString::fromLatin1(block));
    inside(form).SetSettings();

    QCOMPARE(w.changesSince(before), changes);
    QVERIFY(!ui(form).UpdatingFromReceiver);
    QVERIFY(w.errors.isEmpty());
}

void tst_Snapshot::everySourceAndModeLock()
{
    MainWindowFixture w;
    for (int source = 1; source <= 13; ++source) {
        w.model.setInput(static_cast<ReceiverModel::Source>(source));
        w.window->SetOrvaneSettings(QString::fromLatin1(w.model.configurationBlock()));
        inside(*w.window).SetSettings();
        QCOMPARE(ui(*w.window).Opt_Input.selected(), std::optional<int>(source));
    }
    // A later block with another mode value unlocks the mode buttons again.
    w.window->SetOrvaneSettings(QString::fromLatin1(patched(w.model.configurationBlock(), 5, "5")));
    inside(*w.window).SetSettings();
    QVERIFY(!ui(*w.window).Opt_InputMode(1)->isEnabled());
    w.window->SetOrvaneSettings(QString::fromLatin1(w.model.configurationBlock()));
    inside(*w.window).SetSettings();
    QVERIFY(ui(*w.window).Opt_InputMode(1)->isEnabled());
}

void tst_Snapshot::rejectedBlocks_data()
{
    QTest::addColumn<QByteArray>("block");

    const QByteArray good = ReceiverModel().configurationBlock();
    QByteArray noStart = good;
    noStart[0] = 'X';
    QByteArray noEnd = good;
    noEnd[noEnd.size() - 1] = 'X';

    QTest::newRow("empty block") << QByteArray();
    QTest::newRow("first character not DC2") << noStart;
    QTest::newRow("last character not ETX") << noEnd;
    QTest::newRow("data length 02") << patched(good, -1, "02");
    QTest::newRow("data length not hexadecimal") << patched(good, -1, "ZZ");
    QTest::newRow("standby block") << [] {
        ReceiverModel model;
        model.setPower(false);
        return model.configurationBlock();
    }();
    QTest::newRow("head only") << QByteArray("\x12R0161C30\x03");
    QTest::newRow("DC2 and ETX only") << QByteArray("\x12\x03");
    QTest::newRow("one character") << QByteArray("\x12");
}

void tst_Snapshot::rejectedBlocks()
{
    QFETCH(QByteArray, block);

    MainWindowFixture w;
    const auto before = w.record();
    w.window->SetOrvaneSettings(QString::fromLatin1(block));
    inside(*w.window).SetSettings();
    QCOMPARE(w.changesSince(before), QString());
    QVERIFY(!ui(*w.window).UpdatingFromReceiver);
    QVERIFY(w.errors.isEmpty());
}

void tst_Snapshot::shortBlocks_data()
{
    QTest::addColumn<int>("dataKept");
    QTest::addColumn<QString>("changes");

    // The length field still says 0x30: the block ends early. Fields past its end keep
    // their values; the closing ETX is never read as data.
    QTest::newRow("three data characters") << 3 << "Input=8";
    QTest::newRow("four: 6-channel input") << 4 << "Input=8 SixCh=0";
    QTest::newRow("five: input mode") << 5 << "Input=8 InputMode=1 SixCh=0";
    QTest::newRow("fourteen: program without the effect marker")
        << 14 << "Input=8 InputMode=1 Dsp=1 SixCh=0";
    QTest::newRow("twenty-three: speakers A, not B")
        << 23 << "Input=8 InputMode=1 Dsp=1 SpeakersA=1 Es61=0 SixCh=0";
    QTest::newRow("twenty-nine: no headphone field")
        << 29 << "Input=8 InputMode=1 Dsp=1 SpeakersA=1 SpeakersB=0 Es61=0 SixCh=0";
}

void tst_Snapshot::shortBlocks()
{
    QFETCH(int, dataKept);
    QFETCH(QString, changes);

    MainWindowFixture w;
    // Headphones plugged in would lock the speakers if the field were read.
    w.model.setHeadphones(true);
    const QByteArray full = w.model.configurationBlock();
    const QByteArray block = full.left(9 + dataKept) + '\x03';
    const auto before = w.record();

    w.window->SetOrvaneSettings(QString::fromLatin1(block));
    inside(*w.window).SetSettings();

    QCOMPARE(w.changesSince(before), changes);
    QVERIFY(w.errors.isEmpty());
}

void tst_Snapshot::snapshotSendsNothing()
{
    MainWindowFixture w;
    w.openPort();
    w.port.clearWrites();
    w.model.setSpeakersB(true);
    w.model.setEs61(true);
    w.window->SetOrvaneSettings(QString::fromLatin1(w.model.configurationBlock()));
    inside(*w.window).SetSettings();
    QTest::qWait(50);
    QCOMPARE(w.port.writtenCodes(), QStringList());
    QCOMPARE(ui(*w.window).Opt_SpeakersB.selected(), std::optional<int>(1));
}

QTEST_MAIN(tst_Snapshot)
#include "tst_snapshot.moc"
