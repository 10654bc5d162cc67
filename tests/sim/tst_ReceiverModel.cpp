#include "sim/ReceiverModel.h"
#include "tests/support/ReceiverProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

using Source = ReceiverModel::Source;

namespace {

QByteArray command(const QString &code)
{
    return '\x02' + code.toLatin1() + '\x03';
}

const QByteArray kConfigurationRequest("\x11"
                                       "000\x03");

// The report bodies in a stream of received bytes.
QStringList bodies(const QByteArray &bytes)
{
    QStringList result;
    qsizetype from = 0;
    while ((from = bytes.indexOf('\x02', from)) >= 0) {
        const qsizetype end = bytes.indexOf('\x03', from);
        if (end < 0)
            break;
        result << QString::fromLatin1(bytes.mid(from + 1, end - from - 1));
        from = end + 1;
    }
    return result;
}

int fieldOf(const ReceiverModel &model, const QString &name)
{
    const QMap<QString, int> fields {
        {"power", model.power()},
        {"input", int(model.input())},
        {"zone2Input", int(model.zone2Input())},
        {"inputMode", int(model.inputMode())},
        {"sixCh", model.sixChInput()},
        {"dsp", model.dspProgram()},
        {"es", model.es61()},
        {"speakersA", model.speakersA()},
        {"speakersB", model.speakersB()},
        {"headphones", model.headphones()},
        {"mainMute", model.mainMute()},
        {"zone2Mute", model.zone2Mute()},
        {"mainVolume", model.mainVolume()},
        {"zone2Volume", model.zone2Volume()},
        {"sleep", int(model.sleep())},
        {"memoryA", model.volumeMemory(0)},
        {"reports", model.reportsEnabled()},
        {"reportTime", model.reportTime()},
    };
    if (!fields.contains(name))
        qFatal("unknown field %s", qPrintable(name));
    return fields.value(name);
}

// Reading of the block's data the way the program reads it.
struct ProgramView
{
    QByteArray data;

    char at(int position) const { return data.at(position - 1); }
    int hexDigit(int position) const { return QByteArray(1, at(position)).toInt(nullptr, 16); }
    int input(int position) const
    {
        const int x = hexDigit(position);
        return x > 5 ? x - 5 : 13 - x;
    }
    int inputMode() const
    {
        static const int indices[] = {1, 4, 5, 2, 3, 1};
        return indices[hexDigit(5)];
    }
    int dsp() const
    {
        if (at(15) == '0')
            return 0;
        static const QMap<QByteArray, int> table {
            {"80", 0},  {"00", 1},  {"01", 2},  {"02", 3},  {"04", 4},  {"05", 5},  {"06", 6},
            {"08", 7},  {"09", 8},  {"0A", 9},  {"0C", 10}, {"0D", 11}, {"0E", 12}, {"10", 13},
            {"11", 14}, {"12", 15}, {"14", 16}, {"15", 17}, {"16", 18}, {"18", 19}, {"19", 20},
            {"1C", 21}, {"1D", 22}, {"20", 23}, {"21", 24}, {"24", 25}, {"25", 26}, {"28", 27},
            {"29", 28}, {"2C", 29}, {"2D", 30}, {"17", 31}};
        return table.value(data.mid(12, 2), -1);
    }
    int flag(int position) const { return at(position) == '1'; }
};

ProgramView viewOf(const QByteArray &block)
{
    const int length = block.mid(7, 2).toInt(nullptr, 16);
    return {block.mid(9, length)};
}

} // namespace

class tst_ReceiverModel : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void reportsOnlyWhileEnabled();
    void volumeStopsAtItsLimits_data();
    void volumeStopsAtItsLimits();
    void standbyListensOnlyForPowerOn();
    void blockFields_data();
    void blockFields();
    void blockHead();
    void standbyBlockIsShort();
    void answersFromNthRequest();
    void quirkMarker();
    void framing_data();
    void framing();
    void injection_data();
    void injection();
    void resetRestoresSerialSettings();
    void displayText();
    void programOnPseudoTerminal();
};

void tst_ReceiverModel::commands_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");

    const QStringList none;
    QTest::newRow("input V-AUX") << none << "07A55"
                                 << "10210C"
                                 << "input" << int(Source::VAux);
    QTest::newRow("input phono") << none << "07A14"
                                 << "102100"
                                 << "input" << int(Source::Phono);
    QTest::newRow("input LD") << none << "07A17"
                              << "102106"
                              << "input" << int(Source::Ld);
    QTest::newRow("input MD") << none << "07AC9"
                              << "102104"
                              << "input" << int(Source::Md);
    QTest::newRow("input CD-R has a digit of its own") << none << "07A19"
                                                       << "10210D"
                                                       << "input" << int(Source::CdR);
    QTest::newRow("input report carries 6ch on") << QStringList {"07EA4"} << "07A16"
                                                 << "102112"
                                                 << "input" << int(Source::Tuner);
    QTest::newRow("zone 2 V-AUX") << none << "07AD8"
                                  << "20240C"
                                  << "zone2Input" << int(Source::VAux);
    QTest::newRow("zone 2 VCR 3") << none << "07ACE"
                                  << "20240B"
                                  << "zone2Input" << int(Source::Vcr3);
    QTest::newRow("6ch on") << none << "07EA4"
                            << "102115"
                            << "sixCh" << 1;
    QTest::newRow("6ch off") << QStringList {"07EA4"} << "07EA5"
                             << "102105"
                             << "sixCh" << 0;
    QTest::newRow("mode DD") << none << "07EA7"
                             << "002201"
                             << "inputMode" << 1;
    QTest::newRow("mode DTS") << none << "07EA8"
                              << "002202"
                              << "inputMode" << 2;
    QTest::newRow("mode digital") << none << "07EA9"
                                  << "002203"
                                  << "inputMode" << 3;
    QTest::newRow("mode analog") << none << "07EAA"
                                 << "002204"
                                 << "inputMode" << 4;
    QTest::newRow("mode auto") << QStringList {"07EAA"} << "07EA6"
                               << "002200"
                               << "inputMode" << 0;
    QTest::newRow("speakers A off") << none << "07EAC"
                                    << "202E00"
                                    << "speakersA" << 0;
    QTest::newRow("speakers A on") << QStringList {"07EAC"} << "07EAB"
                                   << "202E01"
                                   << "speakersA" << 1;
    QTest::newRow("speakers B on") << none << "07EAD"
                                   << "202F01"
                                   << "speakersB" << 1;
    QTest::newRow("speakers B off") << QStringList {"07EAD"} << "07EAE"
                                    << "202F00"
                                    << "speakersB" << 0;
    QTest::newRow("sleep 120") << none << "07EB4"
                               << "002C00"
                               << "sleep" << 0;
    QTest::newRow("sleep 90") << none << "07EB5"
                              << "002C01"
                              << "sleep" << 1;
    QTest::newRow("sleep 60") << none << "07EB6"
                              << "002C02"
                              << "sleep" << 2;
    QTest::newRow("sleep 30") << none << "07EB7"
                              << "002C03"
                              << "sleep" << 3;
    QTest::newRow("sleep off") << QStringList {"07EB7"} << "07EB3"
                               << "002C04"
                               << "sleep" << 4;
    QTest::newRow("6.1/ES on") << none << "07EB8"
                               << "002D01"
                               << "es" << 1;
    QTest::newRow("6.1/ES off") << QStringList {"07EB8"} << "07EB9"
                                << "002D00"
                                << "es" << 0;
    QTest::newRow("DSP effect off") << none << "07EE0"
                                    << "002880"
                                    << "dsp" << 0;
    QTest::newRow("DSP Pavilion") << none << "07EF6"
                                  << "00281D"
                                  << "dsp" << 22;
    QTest::newRow("DSP normal") << none << "07EFD"
                                << "00282C"
                                << "dsp" << 29;
    QTest::newRow("DSP enhanced") << none << "07EFE"
                                  << "00282D"
                                  << "dsp" << 30;
    QTest::newRow("DSP 8 ch stereo") << none << "07EFF"
                                     << "002817"
                                     << "dsp" << 31;
    QTest::newRow("mute on") << none << "07EA2"
                             << "002301"
                             << "mainMute" << 1;
    QTest::newRow("mute off") << QStringList {"07EA2"} << "07EA3"
                              << "002300"
                              << "mainMute" << 0;
    QTest::newRow("zone 2 mute on") << none << "07EA0"
                                    << "002501"
                                    << "zone2Mute" << 1;
    QTest::newRow("zone 2 mute off") << QStringList {"07EA0"} << "07EA1"
                                     << "002500"
                                     << "zone2Mute" << 0;
    QTest::newRow("power off") << none << "07A1E"
                               << "002000"
                               << "power" << 0;
    QTest::newRow("power on") << QStringList {"07A1E"} << "07A1D"
                              << "002001"
                              << "power" << 1;
    QTest::newRow("volume up") << none << "07A1A"
                               << "0026A0"
                               << "mainVolume" << 0xA0;
    QTest::newRow("volume down") << none << "07A1B"
                                 << "00269E"
                                 << "mainVolume" << 0x9E;
    QTest::newRow("zone 2 volume up") << none << "07ADA"
                                      << "002747"
                                      << "zone2Volume" << 0x47;
    QTest::newRow("zone 2 volume down") << none << "07ADB"
                                        << "002745"
                                        << "zone2Volume" << 0x45;
    QTest::newRow("save A keeps the volume, no reply") << QStringList {"07A1A"} << "07E6B"
                                                       << ""
                                                       << "memoryA" << 0xA0;
    QTest::newRow("load C recalls what was saved")
        << QStringList {"07A1A", "07A1A", "07E6D", "07A1B"} << "07E77"
        << "0026A1"
        << "mainVolume" << 0xA1;
    QTest::newRow("report time 350 ms") << none << "20107"
                                        << ""
                                        << "reportTime" << 7;
    QTest::newRow("report time 8 does not exist") << none << "20108"
                                                  << ""
                                                  << "reportTime" << 0;
    QTest::newRow("lower-case code is not a command") << none << "07a55"
                                                      << ""
                                                      << "input" << int(Source::Dvd);
    QTest::newRow("unknown code") << none << "07FFF"
                                  << ""
                                  << "input" << int(Source::Dvd);
    QTest::newRow("link test echo gets no answer") << none << "2F000"
                                                   << ""
                                                   << "power" << 1;
}

void tst_ReceiverModel::commands()
{
    QFETCH(QStringList, before);
    QFETCH(QString, code);
    QFETCH(QString, reply);
    QFETCH(QString, field);
    QFETCH(int, value);

    ReceiverModel model;
    model.feed(command("20000"));
    for (const QString &earlier : before)
        model.feed(command(earlier));

    const QByteArray answer = model.feed(command(code));
    QCOMPARE(bodies(answer), reply.isEmpty() ? QStringList() : QStringList {reply});
    QCOMPARE(fieldOf(model, field), value);
}

void tst_ReceiverModel::reportsOnlyWhileEnabled()
{
    ReceiverModel model;
    QVERIFY(model.feed(command("07A1A")).isEmpty());
    QCOMPARE(model.mainVolume(), 0xA0);

    model.feed(command("20000"));
    QCOMPARE(bodies(model.feed(command("07A1A"))), QStringList {"0026A1"});

    model.feed(command("20001"));
    QVERIFY(model.feed(command("07EA2")).isEmpty());
    QVERIFY(model.mainMute());

    ReceiverModel::Options options;
    options.reportsOn = true;
    ReceiverModel talkative(options);
    QCOMPARE(bodies(talkative.feed(command("07EA2"))), QStringList {"002301"});
}

void tst_ReceiverModel::volumeStopsAtItsLimits_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("reply");

    QTest::newRow("main up at +16.5 dB") << "07A1A" << 0xE8 << "0026E8";
    QTest::newRow("main down at -80 dB") << "07A1B" << 0x27 << "002627";
    QTest::newRow("zone 2 up at 0 dB") << "07ADA" << 0x50 << "002750";
    QTest::newRow("zone 2 down at the bottom") << "07ADB" << 0x00 << "002700";
}

void tst_ReceiverModel::volumeStopsAtItsLimits()
{
    QFETCH(QString, code);
    QFETCH(int, start);
    QFETCH(QString, reply);

    ReceiverModel model;
    model.setReportsEnabled(true);
    model.setMainVolume(start);
    model.setZone2Volume(start);
    // Each step still answers, with the unchanged value.
    QCOMPARE(bodies(model.feed(command(code) + command(code))), (QStringList {reply, reply}));
}

void tst_ReceiverModel::standbyListensOnlyForPowerOn()
{
    ReceiverModel::Options options;
    options.startInStandby = true;
    ReceiverModel model(options);
    model.feed(command("20000"));
    QVERIFY(model.reportsEnabled());

    QVERIFY(model.feed(command("07A55") + command("07A1A") + command("07EA2")).isEmpty());
    QCOMPARE(model.input(), Source::Dvd);
    QCOMPARE(model.mainVolume(), 0x9F);
    QVERIFY(!model.mainMute());

    QCOMPARE(bodies(model.feed(command("07A1D"))), QStringList {"002001"});
    QVERIFY(model.power());
    QCOMPARE(bodies(model.feed(command("07A55"))), QStringList {"10210C"});
}

void tst_ReceiverModel::blockFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("programSees");

    for (int index = 1; index <= 13; ++index) {
        QTest::addRow("main input %d", index) << "input" << index << index;
        QTest::addRow("zone 2 input %d", index) << "zone2Input" << index << index;
    }
    for (int program = 0; program < ReceiverModel::kDspPrograms; ++program)
        QTest::addRow("DSP program %d", program) << "dsp" << program << program;
    QTest::newRow("mode auto") << "inputMode" << 0 << 1;
    QTest::newRow("mode DD") << "inputMode" << 1 << 4;
    QTest::newRow("mode DTS") << "inputMode" << 2 << 5;
    QTest::newRow("mode digital") << "inputMode" << 3 << 2;
    QTest::newRow("mode analog") << "inputMode" << 4 << 3;
    for (const char *flag : {"sixCh", "es", "speakersA", "speakersB", "headphones"}) {
        QTest::addRow("%s on", flag) << flag << 1 << 1;
        QTest::addRow("%s off", flag) << flag << 0 << 0;
    }
}

void tst_ReceiverModel::blockFields()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(int, programSees);

    ReceiverModel model;
    // Start from the opposite of every flag, so a position that ignores the state fails.
    model.setSixChInput(!value);
    model.setEs61(!value);
    model.setSpeakersA(!value);
    model.setSpeakersB(!value);
    model.setHeadphones(!value);
    if (field == "input")
        model.setInput(Source(value));
    else if (field == "zone2Input")
        model.setZone2Input(Source(value));
    else if (field == "dsp")
        model.setDspProgram(value);
    else if (field == "inputMode")
        model.setInputMode(ReceiverModel::InputMode(value));
    else if (field == "sixCh")
        model.setSixChInput(value);
    else if (field == "es")
        model.setEs61(value);
    else if (field == "speakersA")
        model.setSpeakersA(value);
    else if (field == "speakersB")
        model.setSpeakersB(value);
    else if (field == "headphones")
        model.setHeadphones(value);

    const ProgramView view = viewOf(model.configurationBlock());
    const QMap<QString, int> seen {
        {"input", view.input(3)},      {"zone2Input", view.input(7)},
        {"dsp", view.dsp()},           {"inputMode", view.inputMode()},
        {"sixCh", view.flag(4)},       {"es", view.flag(16)},
        {"speakersA", view.flag(23)},  {"speakersB", view.flag(24)},
        {"headphones", view.flag(30)},
    };
    QCOMPARE(seen.value(field), programSees);
}

void tst_ReceiverModel::blockHead()
{
    ReceiverModel::Options options;
    options.modelCode = "R0073";
    options.softwareVersion = 'E';
    ReceiverModel model(options);
    const QByteArray block = model.configurationBlock();

    QCOMPARE(block.at(0), '\x12');
    QCOMPARE(block.back(), '\x03');
    QCOMPARE(block.mid(1, 6), QByteArray("R0073E"));
    const int length = block.mid(7, 2).toInt(nullptr, 16);
    QCOMPARE(block.size(), 10 + length);
    // On: long enough for the power toggle, "0" first, "1" while on.
    QVERIFY(block.size() > 14);
    QCOMPARE(block.at(9), '0');
    QCOMPARE(block.at(10), '1');
    QCOMPARE(model.feed(kConfigurationRequest), block);
}

void tst_ReceiverModel::standbyBlockIsShort()
{
    ReceiverModel model;
    model.feed(command("07A1E"));
    const QByteArray block = model.feed(kConfigurationRequest);

    QVERIFY(block.size() <= 14);
    QCOMPARE(block.at(0), '\x12');
    QCOMPARE(block.back(), '\x03');
    QCOMPARE(block.size(), 10 + block.mid(7, 2).toInt(nullptr, 16));
    QCOMPARE(block.at(9), '0');
    QCOMPARE(block.at(10), '0');

    model.feed(command("07A1D"));
    QVERIFY(model.feed(kConfigurationRequest).size() > 14);
}

void tst_ReceiverModel::answersFromNthRequest()
{
    ReceiverModel::Options options;
    options.answerFromRequest = 3;
    ReceiverModel model(options);

    QVERIFY(model.feed(kConfigurationRequest).isEmpty());
    QVERIFY(model.feed(kConfigurationRequest).isEmpty());
    QCOMPARE(model.feed(kConfigurationRequest), model.configurationBlock());
    QCOMPARE(model.feed(kConfigurationRequest), model.configurationBlock());
    QCOMPARE(model.configurationRequests(), 4);
}

void tst_ReceiverModel::quirkMarker()
{
    for (const bool standby : {false, true}) {
        ReceiverModel::Options options;
        options.startInStandby = standby;
        ReceiverModel plain(options);
        options.quirkE01900 = true;
        ReceiverModel quirky(options);

        const QByteArray expected = plain.configurationBlock();
        QByteArray block = quirky.configurationBlock();
        QCOMPARE(block.mid(9, 7), QByteArray("@E01900"));
        QCOMPARE(block.mid(7, 2).toInt(nullptr, 16), expected.mid(7, 2).toInt(nullptr, 16) + 7);
        block.remove(9, 7);
        block.replace(7, 2, expected.mid(7, 2));
        QCOMPARE(block, expected);
    }
}

void tst_ReceiverModel::framing_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QStringList>("replies");

    const QByteArray up = command("07A1A");
    QTest::newRow("frame split over two writes") << QByteArrayList {"\x02"
                                                                    "07A",
                                                                    "1A\x03"}
                                                 << QStringList {"0026A0"};
    QTest::newRow("frame split byte by byte")
        << QByteArrayList {"\x02", "0", "7", "A", "1", "A", "\x03"} << QStringList {"0026A0"};
    QTest::newRow("two frames in one write")
        << QByteArrayList {up + up} << QStringList {"0026A0", "0026A1"};
    QTest::newRow("garbage around frames")
        << QByteArrayList {"xyz\x03\x01" + up + "\r\n\x7f", "junk" + up}
        << QStringList {"0026A0", "0026A1"};
    QTest::newRow("cut frame is dropped when the next begins") << QByteArrayList {"\x02"
                                                                                  "07A",
                                                                                  up}
                                                               << QStringList {"0026A0"};
    QTest::newRow("long noise after STX is dropped")
        << QByteArrayList {"\x02" + QByteArray(200, 'x'), "\x03", up} << QStringList {"0026A0"};
    QTest::newRow("wrong length is no command") << QByteArrayList {"\x02"
                                                                   "07A1\x03",
                                                                   "\x02"
                                                                   "07A1AA\x03"}
                                                << QStringList {};
    QTest::newRow("request split over writes") << QByteArrayList {"\x11"
                                                                  "0",
                                                                  "00", "\x03"}
                                               << QStringList {"block"};
    QTest::newRow("request with other digits is ignored") << QByteArrayList {"\x11"
                                                                             "001\x03"}
                                                          << QStringList {};
}

void tst_ReceiverModel::framing()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QStringList, replies);

    ReceiverModel model;
    model.setReportsEnabled(true);
    QByteArray out;
    for (const QByteArray &chunk : chunks)
        out += model.feed(chunk);

    if (replies == QStringList {"block"})
        QCOMPARE(out, model.configurationBlock());
    else
        QCOMPARE(bodies(out), replies);
}

void tst_ReceiverModel::injection_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");

    QTest::newRow("6.1/ES key") << "es-key"
                                << "102D00"
                                << "es" << 0;
    QTest::newRow("headphones on") << "Headphones  ON"
                                   << "003401"
                                   << "headphones" << 1;
    QTest::newRow("headphones off") << "headphones off"
                                    << "003400"
                                    << "headphones" << 0;
    QTest::newRow("warning over heat") << "warning 3"
                                       << "000103"
                                       << "power" << 1;
    QTest::newRow("power key off") << "power off"
                                   << "002000"
                                   << "power" << 0;
    QTest::newRow("input report with 6ch") << "10211C"
                                           << "10211C"
                                           << "sixCh" << 1;
    QTest::newRow("input report sets the input") << "10210C"
                                                 << "10210C"
                                                 << "input" << int(Source::VAux);
    QTest::newRow("zone 2 input report") << "202400"
                                         << "202400"
                                         << "zone2Input" << int(Source::Phono);
    QTest::newRow("volume report") << " 0026C7 "
                                   << "0026C7"
                                   << "mainVolume" << 0xC7;
    QTest::newRow("DSP report") << "00281D"
                                << "00281D"
                                << "dsp" << 22;
    QTest::newRow("unknown DSP data leaves the program") << "002803"
                                                         << "002803"
                                                         << "dsp" << 1;
    QTest::newRow("link test is only sent") << "2F001"
                                            << "2F001"
                                            << "power" << 1;
    QTest::newRow("punctuation is not a report") << "10;21"
                                                 << ""
                                                 << "power" << 1;
    QTest::newRow("warning out of range") << "warning 7"
                                          << ""
                                          << "power" << 1;
}

void tst_ReceiverModel::injection()
{
    QFETCH(QString, line);
    QFETCH(QString, sent);
    QFETCH(QString, field);
    QFETCH(int, value);

    ReceiverModel model;
    model.setEs61(true);
    bool understood = false;
    const QByteArray bytes = model.inject(line, &understood);

    QCOMPARE(understood, !sent.isEmpty());
    QCOMPARE(bytes, sent.isEmpty() ? QByteArray() : command(sent));
    QCOMPARE(fieldOf(model, field), value);
}

void tst_ReceiverModel::resetRestoresSerialSettings()
{
    ReceiverModel model;
    model.feed(command("20000") + command("20103"));
    QVERIFY(model.feed("\x13\x7f\x7f\x7f\x03").isEmpty());
    QCOMPARE(model.resets(), 1);
    QVERIFY(!model.reportsEnabled());
    QCOMPARE(model.reportTime(), 0);
    // Two DEL are not a reset.
    model.feed("\x13\x7f\x7f\x03");
    QCOMPARE(model.resets(), 1);
}

void tst_ReceiverModel::displayText()
{
    ReceiverModel model;
    model.feed(command("21000") + command("3HELL") + command("3O   ") + command("3    ")
               + command("3    "));
    QCOMPARE(model.displayText(), QByteArray("HELLO           "));
    model.feed(command("21000") + command("3AB  "));
    QCOMPARE(model.displayText(), QByteArray("AB              "));
}

void tst_ReceiverModel::programOnPseudoTerminal()
{
    if (!ReceiverProcess::isBuilt())
        QSKIP("orvane-receiver is not built");
    QTemporaryDir dir;
    const QString link = dir.filePath("receiver");

    ReceiverProcess receiverProcess;
    QVERIFY2(receiverProcess.start({"--model", "A0035", "--link", link}),
             qPrintable(receiverProcess.errorString()));
    const QString device = receiverProcess.device();
    // Its further output (state lines) and its exit are checked on the process itself.
    QProcess &receiver = receiverProcess.process();
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);

    QSerialPort port(link);
    port.setBaudRate(9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));

    QByteArray received;
    auto readUntil = [&](int frames) {
        QElapsedTimer timer;
        timer.start();
        while (received.count('\x03') < frames && timer.elapsed() < 5000) {
            if (port.waitForReadyRead(100))
                received += port.readAll();
        }
        return received.count('\x03') >= frames;
    };

    port.write(kConfigurationRequest);
    QVERIFY(readUntil(1));
    QVERIFY(received.startsWith("\x12"
                                "A0035"));

    received.clear();
    port.write(command("20000") + command("07A1A"));
    QVERIFY(readUntil(1));
    QCOMPARE(bodies(received), QStringList {"0026A0"});

    received.clear();
    receiver.write("10210C\nstate\n");
    QVERIFY(receiver.waitForBytesWritten(5000));
    QVERIFY(readUntil(1));
    QCOMPARE(bodies(received), QStringList {"10210C"});
    QTRY_VERIFY(receiver.canReadLine());
    QVERIFY(receiver.readLine().contains("input=V-AUX"));

    // The device stays usable when the client closes and comes back.
    port.close();
    QVERIFY(port.open(QIODevice::ReadWrite));
    received.clear();
    port.write(command("07A1B"));
    QVERIFY(readUntil(1));
    QCOMPARE(bodies(received), QStringList {"00269F"});
    port.close();

    receiver.terminate();
    QVERIFY(receiver.waitForFinished(5000));
    QCOMPARE(receiver.exitStatus(), QProcess::NormalExit);
    QCOMPARE(receiver.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(tst_ReceiverModel)
#include "tst_ReceiverModel.moc"
