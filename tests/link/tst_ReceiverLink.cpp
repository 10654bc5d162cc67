#include "link/LinkTimings.h"
#include "link/ReceiverLink.h"
#include "link/ReceiverVocabulary.h"
#include "sim/ReceiverModel.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeLinkHost.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeUserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace std::chrono_literals;

namespace {
const QByteArray kStx(1, '\x02');
const QByteArray kEtx(1, '\x03');

QByteArray commandFrame(const char *code)
{
    return kStx + code + kEtx;
}


using Member = std::function<void(ReceiverLink &)>;
namespace V = ReceiverVocabulary;
using V::Zone;

// Waits shorter than the receiver's, with room between them for the timed cases.
LinkTimings testWaits()
{
    LinkTimings t;
    t.answerWait = 300ms;
    t.resetWait = 600ms;
    t.reconnectPause = 150ms;
    t.powerOnSettle = 800ms;
    return t;
}
const LinkTimings kWaits = testWaits();
const qint64 kAnswer = kWaits.answerWait.count();

// Rough wall-clock measure of one call.
template<typename F> qint64 millisecondsFor(F &&f)
{
    QElapsedTimer clock;
    clock.start();
    f();
    return clock.elapsed();
}
} // namespace

Q_DECLARE_METATYPE(Member)

class tst_ReceiverLink : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void commandCodes_data();
    void commandCodes();
    void zone2InputTakesFreshSettings();
    void sendAndReadReturnsAnswer();
    void fastVolumeNeverReads();

    void closedPortDoesNothing();
    void directReadReturnsAtOnce();
    void noAnswerWaitsTheAnswerWait();
    void commandDuringReadIsDropped();
    void readStopsAtEtx();

    void readSettingsQuirk();
    void fixSettingsQuirk_data();
    void fixSettingsQuirk();

    void resetOnClosedPort();
    void resetTimesOutWhenBusy();
    void resetSendsSequenceThenPowersOn();

    void sendMessagePadding_data();
    void sendMessagePadding();
    void volumeBanks_data();
    void volumeBanks();
    void powerOnWithoutReceiverStillStoresSettings();

    void hungWriteReconnects();
    void disconnectDuringReconnectStaysClosed();
    void failingWriteFreesLink();
    void reconnectOpenFailureReported();
    void portLostEndsWaitAndTellsHost();

    void debugLogFile();

private:
    std::unique_ptr<ReceiverModel> m_model;
    std::unique_ptr<FakeSerialPort> m_port;
    std::unique_ptr<FakeLinkHost> m_host;
    std::unique_ptr<FakeUserDialogs> m_dialogs;
    std::unique_ptr<CollectingErrorPresenter> m_errors;
    std::unique_ptr<ReceiverLink> m_link;

    // The link over a receiver (or none), port open.
    void connectReceiver(bool withReceiver = true);
};

void tst_ReceiverLink::init()
{
    LinkTimings::set(kWaits);
    ReceiverModel::Options options;
    options.reportsOn = true;
    m_model = std::make_unique<ReceiverModel>(options);
    m_port = std::make_unique<FakeSerialPort>(m_model.get());
    m_host = std::make_unique<FakeLinkHost>();
    m_dialogs = std::make_unique<FakeUserDialogs>();
    m_errors = std::make_unique<CollectingErrorPresenter>();
    m_link = std::make_unique<ReceiverLink>(m_port.get(), m_host.get(), m_dialogs.get());
}

void tst_ReceiverLink::cleanup()
{
    LinkTimings::set(LinkTimings {});
    m_link.reset();
    m_errors.reset();
    m_dialogs.reset();
    m_host.reset();
    m_port.reset();
    m_model.reset();
}

void tst_ReceiverLink::connectReceiver(bool withReceiver)
{
    if (!withReceiver)
        m_port->setModel(nullptr);
    m_link->setCommPort(3);
    m_link->OpenPort();
    QCOMPARE(m_port->lastPortNumber(), 3);
}

void tst_ReceiverLink::commandCodes_data()
{
    QTest::addColumn<Member>("member");
    QTest::addColumn<QString>("code");

    const struct
    {
        const char *name;
        Member member;
        const char *code;
    } rows[] = {
        {"ReportCommandEnable", [](ReceiverLink &c) { c.ReportCommandEnable(); }, "20000"},
        {"ReportCommandDisable", [](ReceiverLink &c) { c.ReportCommandDisable(); }, "20001"},
        {"ReportCommandTimeRealTime", [](ReceiverLink &c) { c.ReportCommandTimeRealTime(); }, "20100"},
        {"ReportCommandTime50ms", [](ReceiverLink &c) { c.ReportCommandTime50ms(); }, "20101"},
        {"ReportCommandTime100ms", [](ReceiverLink &c) { c.ReportCommandTime100ms(); }, "20102"},
        {"ReportCommandTime150ms", [](ReceiverLink &c) { c.ReportCommandTime150ms(); }, "20103"},
        {"ReportCommandTime200ms", [](ReceiverLink &c) { c.ReportCommandTime200ms(); }, "20104"},
        {"ReportCommandTime250ms", [](ReceiverLink &c) { c.ReportCommandTime250ms(); }, "20105"},
        {"ReportCommandTime300ms", [](ReceiverLink &c) { c.ReportCommandTime300ms(); }, "20106"},
        {"ReportCommandTime350ms", [](ReceiverLink &c) { c.ReportCommandTime350ms(); }, "20107"},
        {"InputCd", [](ReceiverLink &c) { c.InputCd(); }, "07A15"},
        {"InputTuner", [](ReceiverLink &c) { c.InputTuner(); }, "07A16"},
        {"InputTape", [](ReceiverLink &c) { c.InputTape(); }, "07A18"},
        {"InputCDR", [](ReceiverLink &c) { c.InputCDR(); }, "07A19"},
        {"InputMd", [](ReceiverLink &c) { c.InputMd(); }, "07AC9"},
        {"InputLd", [](ReceiverLink &c) { c.InputLd(); }, "07A17"},
        {"InputDvd", [](ReceiverLink &c) { c.InputDvd(); }, "07AC1"},
        {"InputDTv", [](ReceiverLink &c) { c.InputDTv(); }, "07A54"},
        {"InputCblSat", [](ReceiverLink &c) { c.InputCblSat(); }, "07AC0"},
        {"InputVcr1", [](ReceiverLink &c) { c.InputVcr1(); }, "07A0F"},
        {"InputVcr2", [](ReceiverLink &c) { c.InputVcr2(); }, "07A13"},
        {"InputVcr3", [](ReceiverLink &c) { c.InputVcr3(); }, "07AC8"},
        {"InputVAux", [](ReceiverLink &c) { c.InputVAux(); }, "07A55"},
        {"InputPhono", [](ReceiverLink &c) { c.InputPhono(); }, "07A14"},
        {"Zone2InputCd", [](ReceiverLink &c) { c.Zone2InputCd(); }, "07AD1"},
        {"Zone2InputTuner", [](ReceiverLink &c) { c.Zone2InputTuner(); }, "07AD2"},
        {"Zone2InputTape", [](ReceiverLink &c) { c.Zone2InputTape(); }, "07AD3"},
        {"Zone2InputCDR", [](ReceiverLink &c) { c.Zone2InputCDR(); }, "07AD4"},
        {"Zone2InputMd", [](ReceiverLink &c) { c.Zone2InputMd(); }, "07ACF"},
        {"Zone2InputLd", [](ReceiverLink &c) { c.Zone2InputLd(); }, "07AD5"},
        {"Zone2InputDvd", [](ReceiverLink &c) { c.Zone2InputDvd(); }, "07ACD"},
        {"Zone2InputDTv", [](ReceiverLink &c) { c.Zone2InputDTv(); }, "07AD9"},
        {"Zone2InputCblSat", [](ReceiverLink &c) { c.Zone2InputCblSat(); }, "07ACC"},
        {"Zone2InputVcr1", [](ReceiverLink &c) { c.Zone2InputVcr1(); }, "07AD6"},
        {"Zone2InputVcr2", [](ReceiverLink &c) { c.Zone2InputVcr2(); }, "07AD7"},
        {"Zone2InputVcr3", [](ReceiverLink &c) { c.Zone2InputVcr3(); }, "07ACE"},
        {"Zone2InputVAux", [](ReceiverLink &c) { c.Zone2InputVAux(); }, "07AD8"},
        {"Zone2InputPhono", [](ReceiverLink &c) { c.Zone2InputPhono(); }, "07AD0"},
        {"Input6ChOn", [](ReceiverLink &c) { c.Input6ChOn(); }, "07EA4"},
        {"Input6ChOff", [](ReceiverLink &c) { c.Input6ChOff(); }, "07EA5"},
        {"InputModeAuto", [](ReceiverLink &c) { c.InputModeAuto(); }, "07EA6"},
        {"InputModeDD", [](ReceiverLink &c) { c.InputModeDD(); }, "07EA7"},
        {"InputModeDTS", [](ReceiverLink &c) { c.InputModeDTS(); }, "07EA8"},
        {"InputModeDigital", [](ReceiverLink &c) { c.InputModeDigital(); }, "07EA9"},
        {"InputModeAnalog", [](ReceiverLink &c) { c.InputModeAnalog(); }, "07EAA"},
        {"SpeakersAOn", [](ReceiverLink &c) { c.SpeakersAOn(); }, "07EAB"},
        {"SpeakersAOff", [](ReceiverLink &c) { c.SpeakersAOff(); }, "07EAC"},
        {"SpeakersBOn", [](ReceiverLink &c) { c.SpeakersBOn(); }, "07EAD"},
        {"SpeakersBOff", [](ReceiverLink &c) { c.SpeakersBOff(); }, "07EAE"},
        {"SleepTimerOff", [](ReceiverLink &c) { c.SleepTimerOff(); }, "07EB3"},
        {"SleepTimer120", [](ReceiverLink &c) { c.SleepTimer120(); }, "07EB4"},
        {"SleepTimer90", [](ReceiverLink &c) { c.SleepTimer90(); }, "07EB5"},
        {"SleepTimer60", [](ReceiverLink &c) { c.SleepTimer60(); }, "07EB6"},
        {"SleepTimer30", [](ReceiverLink &c) { c.SleepTimer30(); }, "07EB7"},
        {"Dsp61ESOn", [](ReceiverLink &c) { c.Dsp61ESOn(); }, "07EB8"},
        {"Dsp61ESOff", [](ReceiverLink &c) { c.Dsp61ESOff(); }, "07EB9"},
        {"DspSurroundNormal", [](ReceiverLink &c) { c.DspSurroundNormal(); }, "07EFD"},
        {"DspSurroundEnhanced", [](ReceiverLink &c) { c.DspSurroundEnhanced(); }, "07EFE"},
        {"DspEffectOff", [](ReceiverLink &c) { c.DspEffectOff(); }, "07EE0"},
        {"MasterVolMuteOn", [](ReceiverLink &c) { c.MasterVolMuteOn(); }, "07EA2"},
        {"MasterVolMuteOff", [](ReceiverLink &c) { c.MasterVolMuteOff(); }, "07EA3"},
        {"Zone2VolMuteOn", [](ReceiverLink &c) { c.Zone2VolMuteOn(); }, "07EA0"},
        {"Zone2VolMuteOff", [](ReceiverLink &c) { c.Zone2VolMuteOff(); }, "07EA1"},
        {"PowerOff", [](ReceiverLink &c) { c.PowerOff(); }, "07A1E"},
        {"MasterVolUp", [](ReceiverLink &c) { c.MasterVolUp(); }, "07A1A"},
        {"MasterVolUpFast", [](ReceiverLink &c) { c.MasterVolUpFast(); }, "07A1A"},
        {"MasterVolDown", [](ReceiverLink &c) { c.MasterVolDown(); }, "07A1B"},
        {"MasterVolDownFast", [](ReceiverLink &c) { c.MasterVolDownFast(); }, "07A1B"},
        {"Zone2VolUp", [](ReceiverLink &c) { c.Zone2VolUp(); }, "07ADA"},
        {"Zone2VolUpFast", [](ReceiverLink &c) { c.Zone2VolUpFast(); }, "07ADA"},
        {"Zone2VolDown", [](ReceiverLink &c) { c.Zone2VolDown(); }, "07ADB"},
        {"Zone2VolDownFast", [](ReceiverLink &c) { c.Zone2VolDownFast(); }, "07ADB"},
        {"PowerOn", [](ReceiverLink &c) { c.PowerOn(); }, "07A1D"},
        {"VolumeSave A", [](ReceiverLink &c) { c.VolumeSave("A"); }, "07E6B"},
        {"VolumeSave F", [](ReceiverLink &c) { c.VolumeSave("F"); }, "07E70"},
        {"VolumeLoad A", [](ReceiverLink &c) { c.VolumeLoad("A"); }, "07E75"},
        {"VolumeLoad f", [](ReceiverLink &c) { c.VolumeLoad("f"); }, "07E7A"},
        // The vocabulary's indices, as the panels, the bridge and the web remote use them;
        // an index outside its range sends nothing.
        {"vocabulary input 8", [](ReceiverLink &c) { V::selectInput(c, Zone::Main, 8); }, "07AC1"},
        {"vocabulary input 14 zone 2",
         [](ReceiverLink &c) { V::selectInput(c, Zone::Zone2, 14); }, "07AD4"},
        {"vocabulary input 15", [](ReceiverLink &c) { V::selectInput(c, Zone::Main, 15); }, ""},
        {"vocabulary input mode 4", [](ReceiverLink &c) { V::selectInputMode(c, 4); }, "07EA7"},
        {"vocabulary input mode 0", [](ReceiverLink &c) { V::selectInputMode(c, 0); }, ""},
        {"vocabulary DSP 31", [](ReceiverLink &c) { V::selectDsp(c, 31); }, "07EFF"},
        {"vocabulary DSP 32", [](ReceiverLink &c) { V::selectDsp(c, 32); }, ""},
        {"vocabulary zone-2 mute on",
         [](ReceiverLink &c) { V::setSwitch(c, V::Switch::Zone2Mute, true); }, "07EA0"},
        {"vocabulary 6.1/ES off",
         [](ReceiverLink &c) { V::setSwitch(c, V::Switch::Es61, false); }, "07EB9"},
        {"vocabulary sleep 90", [](ReceiverLink &c) { V::setSleep(c, 90); }, "07EB5"},
        {"vocabulary sleep 45", [](ReceiverLink &c) { V::setSleep(c, 45); }, ""},
        {"vocabulary memory 3", [](ReceiverLink &c) { V::recallMemory(c, 3); }, "07E77"},
        {"vocabulary zone-2 step up",
         [](ReceiverLink &c) { V::stepVolume(c, Zone::Zone2, true); }, "07ADA"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.member << QString::fromLatin1(row.code);
}

void tst_ReceiverLink::commandCodes()
{
    QFETCH(Member, member);
    QFETCH(QString, code);

    connectReceiver();
    member(*m_link);
    QCOMPARE(m_port->writtenCodes(), code.isEmpty() ? QStringList() : QStringList {code});
    QVERIFY(!m_link->LinkBusy());
    QVERIFY(m_errors->isEmpty());
}

void tst_ReceiverLink::zone2InputTakesFreshSettings()
{
    connectReceiver();
    const QString block = QString::fromLatin1(m_model->configurationBlock());
    m_link->Zone2InputTuner();
    QCOMPARE(m_port->writes().size(), 2);
    QCOMPARE(m_port->writes().at(0),
             QByteArray("\x11"
                        "000\x03"));
    QCOMPARE(m_port->writes().at(1), commandFrame("07AD2"));
    QCOMPARE(m_host->snapshots, QStringList {block});

    // A block whose first data character is "1" is not kept as the snapshot.
    QTest::qWait(20); // let the report of the last command arrive (it is discarded)
    m_host->snapshots.clear();
    m_port->setModel(nullptr);
    m_port->injectLater("\x12R0161C03"
                        "100\x03");
    m_link->Zone2InputCd();
    QVERIFY(m_host->snapshots.isEmpty());
    QCOMPARE(m_port->writtenCodes().last(), QStringLiteral("07AD1"));
}

void tst_ReceiverLink::sendAndReadReturnsAnswer()
{
    connectReceiver();
    const int before = m_model->mainVolume();
    QString answer;
    m_link->MasterVolUp(&answer);
    QCOMPARE(m_model->mainVolume(), before + 1);
    QVERIFY(answer.startsWith(QChar(0x02)));
    QVERIFY(answer.endsWith(QChar(0x03)));
}

void tst_ReceiverLink::fastVolumeNeverReads()
{
    connectReceiver(false);
    const qint64 ms = millisecondsFor([&] {
        for (int i = 0; i < 5; ++i)
            m_link->MasterVolUpFast();
    });
    QCOMPARE(m_port->writtenCodes(), QStringList(5, QStringLiteral("07A1A")));
    QVERIFY2(ms < 300, qPrintable(QString::number(ms)));
}

void tst_ReceiverLink::closedPortDoesNothing()
{
    QString puffer = QStringLiteral("keep");
    QString settings = QStringLiteral("old");
    const qint64 ms = millisecondsFor([&] {
        m_link->SendCommand(QStringLiteral("07A15"));
        m_link->ReadPort(puffer);
        m_link->ClearComPuffer(&puffer);
        m_link->ReadSettings(settings);
        m_link->InputDvd();
    });
    QVERIFY(m_port->writes().isEmpty());
    QCOMPARE(puffer, QStringLiteral("keep"));
    QCOMPARE(settings, QStringLiteral("old"));
    QVERIFY(ms < 100);
    QVERIFY(m_errors->isEmpty());
}

void tst_ReceiverLink::directReadReturnsAtOnce()
{
    connectReceiver(false);
    QString puffer = QStringLiteral("x");
    const qint64 ms = millisecondsFor([&] { m_link->ReadPort(puffer, true); });
    QCOMPARE(puffer, QString());
    QVERIFY(ms < 50);

    // Whatever is waiting is taken, complete frame or not.
    m_port->injectRaw("\x02"
                      "0026");
    m_link->ReadPort(puffer, true);
    QCOMPARE(puffer,
             QStringLiteral("\x02"
                            "0026"));
    QVERIFY(!m_link->LinkBusy());
}

void tst_ReceiverLink::noAnswerWaitsTheAnswerWait()
{
    connectReceiver(false);
    QString settings = QStringLiteral("stale");
    const qint64 ms = millisecondsFor([&] { m_link->ReadSettings(settings); });
    QCOMPARE(settings, QString());
    QVERIFY2(ms >= kAnswer - 50 && ms < kAnswer * 5 / 2, qPrintable(QString::number(ms)));
    QVERIFY(!m_link->LinkBusy());

    // Half a block, even one whose data holds an ETX, is no answer either.
    m_port->injectLater(m_model->configurationBlock().left(20) + '\x03');
    m_link->ReadSettings(settings);
    QCOMPARE(settings, QString());
    QVERIFY(m_host->addInSettings.isEmpty());
}

void tst_ReceiverLink::commandDuringReadIsDropped()
{
    connectReceiver(false);
    QTimer::singleShot(100ms, [&] {
        QVERIFY(m_link->LinkBusy());
        m_link->InputCd();
    });
    QString puffer;
    m_link->ReadPort(puffer);
    QVERIFY(m_port->writes().isEmpty());

    // Dropped, not queued: nothing goes out later either.
    QTest::qWait(50);
    QVERIFY(m_port->writes().isEmpty());
    m_link->InputCd();
    QCOMPARE(m_port->writtenCodes(), QStringList {"07A15"});
}

void tst_ReceiverLink::readStopsAtEtx()
{
    connectReceiver(false);
    m_port->setLatency(10ms);
    m_port->setChunkSize(3);
    m_port->injectLater("\x02"
                        "002680\x03");
    QString puffer;
    const qint64 ms = millisecondsFor([&] { m_link->ReadPort(puffer); });
    QCOMPARE(puffer,
             QStringLiteral("\x02"
                            "002680\x03"));
    QVERIFY2(ms < kAnswer, qPrintable(QString::number(ms)));
}

void tst_ReceiverLink::readSettingsQuirk()
{
    ReceiverModel::Options options;
    options.quirkE01900 = true;
    m_model = std::make_unique<ReceiverModel>(options);
    m_port->setModel(m_model.get());
    connectReceiver();

    QString settings;
    QString original;
    m_link->ReadSettings(settings, &original);
    const QString raw = QString::fromLatin1(m_model->configurationBlock());
    QCOMPARE(original, raw);
    QCOMPARE(m_host->addInSettings, QStringList {raw.mid(1, raw.size() - 2)});
    QCOMPARE(settings.size(), raw.size() - 7);
    QVERIFY(!settings.contains(QLatin1String("@E01900")));
    QCOMPARE(settings.mid(7, 2).toInt(nullptr, 16), raw.mid(7, 2).toInt(nullptr, 16) - 7);
    QCOMPARE(settings.mid(9), raw.mid(16));
}

void tst_ReceiverLink::fixSettingsQuirk_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("fixed");

    const QString head = QStringLiteral("\x12R0161C");
    const QString etx(QChar(0x03));
    QTest::newRow("marker removed, length lowered")
        << head + "3A@E01900" + "0123" + etx << head + "33" + "0123" + etx;
    QTest::newRow("lower-case length field")
        << head + "3a@E01900" + "01" + etx << head + "33" + "01" + etx;
    QTest::newRow("small length keeps two digits")
        << head + "0A@E01900" + "012" + etx << head + "03" + "012" + etx;
    QTest::newRow("no marker: as received") << head + "300123" + etx << head + "300123" + etx;
    QTest::newRow("marker elsewhere: as received")
        << head + "300@E01900" + etx << head + "300@E01900" + etx;
    QTest::newRow("non-hex length: marker removed, field kept")
        << head + "ZZ@E01900" + "01" + etx << head + "ZZ" + "01" + etx;
    QTest::newRow("length below 7: field kept")
        << head + "05@E01900" + "01" + etx << head + "05" + "01" + etx;
    QTest::newRow("block ends in the marker") << head + "07@E01900" << head + "00";
    QTest::newRow("short block") << QStringLiteral("\x12R01") << QStringLiteral("\x12R01");
    QTest::newRow("empty") << QString() << QString();
}

void tst_ReceiverLink::fixSettingsQuirk()
{
    QFETCH(QString, block);
    QFETCH(QString, fixed);
    QCOMPARE(ReceiverLink::fixSettingsQuirk(block), fixed);
}

void tst_ReceiverLink::resetOnClosedPort()
{
    QString ret = QStringLiteral("x");
    m_link->ResetOrvane(&ret);
    QCOMPARE(m_dialogs->messageTexts(), QStringList {"Connect Error !"});
    QVERIFY(m_port->writes().isEmpty());
    QVERIFY(m_host->snapshots.isEmpty());
}

void tst_ReceiverLink::resetTimesOutWhenBusy()
{
    connectReceiver();
    m_link->setLinkBusy(true);
    const qint64 ms = millisecondsFor([&] { m_link->ResetOrvane(); });
    const qint64 reset = kWaits.resetWait.count();
    QVERIFY2(ms >= reset - 50 && ms < reset * 2, qPrintable(QString::number(ms)));
    QCOMPARE(m_dialogs->messageTexts(), QStringList {"Time Out"});
    QVERIFY(m_port->writes().isEmpty());
}

void tst_ReceiverLink::resetSendsSequenceThenPowersOn()
{
    connectReceiver();
    m_model->setPower(false);
    m_link->ResetOrvane();
    QVERIFY(m_dialogs->messages().isEmpty());
    QCOMPARE(m_model->resets(), 1);
    QCOMPARE(m_port->writes().value(0), QByteArray("\x13\x7f\x7f\x7f\x03"));
    QCOMPARE(m_port->writes().value(1), commandFrame("07A1D"));
    QCOMPARE(m_port->writes().value(2),
             QByteArray("\x11"
                        "000\x03"));
    QVERIFY(m_model->power());
    QCOMPARE(m_host->snapshots, QStringList {QString::fromLatin1(m_model->configurationBlock())});
    QVERIFY(!m_link->LinkBusy());
}

void tst_ReceiverLink::sendMessagePadding_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("padded");

    QTest::newRow("two letters") << "Hi"
                                 << QStringList {"21000", "3Hi  ", "3    ", "3    ", "3    "}
                                 << "Hi              ";
    QTest::newRow("exactly sixteen")
        << "Hello01234567890" << QStringList {"21000", "3Hell", "3o012", "33456", "37890"}
        << "Hello01234567890";
    QTest::newRow("longer text is cut")
        << "ABCDEFGHIJKLMNOPQR" << QStringList {"21000", "3ABCD", "3EFGH", "3IJKL", "3MNOP"}
        << "ABCDEFGHIJKLMNOPQR";
}

void tst_ReceiverLink::sendMessagePadding()
{
    QFETCH(QString, message);
    QFETCH(QStringList, codes);
    QFETCH(QString, padded);

    connectReceiver(false);
    m_link->SendMessage(message);
    QCOMPARE(m_port->writtenCodes(), codes);
    QCOMPARE(message, padded);
}

void tst_ReceiverLink::volumeBanks_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("save c") << true << "c" << QStringList {"07E6D"};
    QTest::newRow("load D") << false << "D" << QStringList {"07E78"};
    QTest::newRow("load G sends nothing") << false << "G" << QStringList {};
    QTest::newRow("save empty sends nothing") << true << "" << QStringList {};
}

void tst_ReceiverLink::volumeBanks()
{
    QFETCH(bool, save);
    QFETCH(QString, bank);
    QFETCH(QStringList, codes);

    connectReceiver(false);
    const qint64 ms = millisecondsFor([&] {
        if (save)
            m_link->VolumeSave(bank);
        else
            m_link->VolumeLoad(bank);
    });
    QCOMPARE(m_port->writtenCodes(), codes);
    // The answer is awaited even when nothing was sent.
    QVERIFY2(ms >= kAnswer - 50 && ms < kAnswer * 5 / 2, qPrintable(QString::number(ms)));
}

void tst_ReceiverLink::powerOnWithoutReceiverStillStoresSettings()
{
    connectReceiver(false);
    m_host->snapshots << QStringLiteral("previous");
    m_link->PowerOn();
    QCOMPARE(m_host->snapshots, (QStringList {"previous", ""}));
    QCOMPARE(m_port->writtenCodes(), QStringList {"07A1D"});
}

void tst_ReceiverLink::hungWriteReconnects()
{
    connectReceiver();
    m_link->setTrafficLog(true, false);
    m_port->setWriteStall(kWaits.answerWait + 50ms, 1);
    m_link->InputCd();
    QCOMPARE(m_port->closeCount(), 1);
    QCOMPARE(m_port->openCount(), 2);
    QVERIFY(m_port->isOpen());
    QCOMPARE(m_host->line1, QString());
    QCOMPARE(m_host->line2History, (QStringList {"Reconnect", "Done"}));
    QVERIFY(!m_link->LinkBusy());

    // The next command goes out normally.
    m_link->InputTuner();
    QCOMPARE(m_port->writtenCodes(), (QStringList {"07A15", "07A16"}));
}

void tst_ReceiverLink::disconnectDuringReconnectStaysClosed()
{
    connectReceiver();
    m_port->setWriteStall(kWaits.answerWait + 50ms, 1);
    // Fires inside the reconnect's pause, which follows the stalled write.
    QTimer::singleShot(kWaits.answerWait + 50ms + kWaits.reconnectPause / 2,
                       [&] { m_link->ClosePort(); });
    m_link->InputCd();
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_port->openCount(), 1);
    QVERIFY(!m_link->LinkBusy());
}

void tst_ReceiverLink::failingWriteFreesLink()
{
    connectReceiver();
    m_port->setWriteFailure(true);
    m_link->InputCd();
    QCOMPARE(m_errors->reports().size(), 1);
    QCOMPARE(m_errors->reports().at(0).module, QStringLiteral("Form_Com"));
    QCOMPARE(m_errors->reports().at(0).procedure, QStringLiteral("SendCommand"));
    QVERIFY(!m_link->LinkBusy());

    QString settings;
    m_link->ReadSettings(settings);
    QCOMPARE(m_errors->reports().last().procedure, QStringLiteral("ReadSettings"));
    QVERIFY(!m_link->LinkBusy());

    m_port->setWriteFailure(false);
    m_link->InputCd();
    QCOMPARE(m_port->writtenCodes(), QStringList {"07A15"});
}

void tst_ReceiverLink::reconnectOpenFailureReported()
{
    connectReceiver();
    m_port->setOpenFailure(true, 8002, QStringLiteral("Cannot open /dev/ttyS2: No such file"));
    m_link->ReConnect();
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_errors->reports().size(), 1);
    QCOMPARE(m_errors->reports().at(0).module, QStringLiteral("Form_Com"));
    QCOMPARE(m_errors->reports().at(0).procedure, QStringLiteral("ReConnect"));
    QCOMPARE(m_errors->reports().at(0).number, 8002);
    QCOMPARE(m_host->line2, QStringLiteral("Reconnect"));
}

void tst_ReceiverLink::portLostEndsWaitAndTellsHost()
{
    connectReceiver(false);
    QTimer::singleShot(100ms, [&] { m_port->vanish(QStringLiteral("gone")); });
    QString puffer;
    const qint64 ms = millisecondsFor([&] { m_link->ReadPort(puffer); });
    QVERIFY2(ms < kAnswer, qPrintable(QString::number(ms)));
    QCOMPARE(m_host->lostReasons, QStringList {"gone"});
    QVERIFY(!m_link->PortOpen());
    QVERIFY(!m_link->LinkBusy());
    QVERIFY(m_errors->isEmpty());

    // A pause (inside PowerOn, after the answer wait) also ends: no waiting out the rest
    // of the settling time on a dead port.
    m_port->reappear();
    m_link->OpenPort();
    const auto settle = kWaits.powerOnSettle;
    QTimer::singleShot(kWaits.answerWait + settle / 2,
                       [&] { m_port->vanish(QStringLiteral("gone again")); });
    const qint64 powerOnMs = millisecondsFor([&] { m_link->PowerOn(); });
    QVERIFY2(powerOnMs < kAnswer + settle.count() - 100,
             qPrintable(QString::number(powerOnMs)));
    QCOMPARE(m_host->lostReasons.size(), 2);
}




void tst_ReceiverLink::debugLogFile()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("debug.txt");
    QFile::remove(path);
    m_link->setTrafficLog(false, true);
    connectReceiver(false);
    m_link->InputCd();
    m_port->injectRaw("\x02"
                      "002680\x03");
    QString puffer;
    m_link->ReadPort(puffer, true);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("---> \x02"
                        "07A15\x03\r\n<--- \x02"
                        "002680\x03\r\n"));
    file.close();

    // A log file that cannot be opened is reported; the traffic goes on.
    QFile::remove(path);
    QVERIFY(QDir().mkdir(path));
    m_link->InputTuner();
    QVERIFY(QDir().rmdir(path));
    QCOMPARE(m_errors->reports().size(), 1);
    QCOMPARE(m_errors->reports().at(0).procedure, QStringLiteral("DebugLog"));
    QCOMPARE(m_port->writtenCodes().last(), QStringLiteral("07A16"));
}



QTEST_MAIN(tst_ReceiverLink)
#include "tst_ReceiverLink.moc"
