#include "link/Form_Com.h"
#include "link/LinkHost.h"
#include "sim/ReceiverModel.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeUserDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
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

class FakeLinkHost : public LinkHost
{
public:
    bool trafficLogging() const override { return logging || logFile; }
    bool logFileEnabled() const override { return logFile; }
    bool pollRunning() const override { return poll; }
    void setLine1(const QString &text) override { line1 = text; }
    void setLine2(const QString &text) override
    {
        line2 = text;
        line2History << text;
    }
    void SetOrvaneSettings(const QString &settings) override { snapshots << settings; }
    void incomingSettings(const QString &settings) override { addInSettings << settings; }
    void linkLost(const QString &reason) override { lostReasons << reason; }
    void terminalClosed() override { ++terminalCloses; }

    bool logging = false;
    bool logFile = false;
    bool poll = false;
    QString line1;
    QString line2;
    QStringList line2History;
    QStringList snapshots;
    QStringList addInSettings;
    QStringList lostReasons;
    int terminalCloses = 0;
};

using Member = std::function<void(Form_Com &)>;

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

class tst_Form_Com : public QObject
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
    void noAnswerWaitsAboutEightTenths();
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

    void debugLog_data();
    void debugLog();
    void debugLogListingLimit();
    void debugLogFile();
    void terminalTyping();
    void terminalCloseOnlyHides();

private:
    std::unique_ptr<ReceiverModel> m_model;
    std::unique_ptr<FakeSerialPort> m_port;
    std::unique_ptr<FakeLinkHost> m_host;
    std::unique_ptr<FakeUserDialogs> m_dialogs;
    std::unique_ptr<CollectingErrorPresenter> m_errors;
    std::unique_ptr<Form_Com> m_com;

    // The link over a receiver (or none), port open.
    void connectReceiver(bool withReceiver = true);
};

void tst_Form_Com::init()
{
    ReceiverModel::Options options;
    options.reportsOn = true;
    m_model = std::make_unique<ReceiverModel>(options);
    m_port = std::make_unique<FakeSerialPort>(m_model.get());
    m_host = std::make_unique<FakeLinkHost>();
    m_dialogs = std::make_unique<FakeUserDialogs>();
    m_errors = std::make_unique<CollectingErrorPresenter>();
    m_com = std::make_unique<Form_Com>(m_port.get(), m_host.get(), m_dialogs.get());
}

void tst_Form_Com::cleanup()
{
    m_com.reset();
    m_errors.reset();
    m_dialogs.reset();
    m_host.reset();
    m_port.reset();
    m_model.reset();
}

void tst_Form_Com::connectReceiver(bool withReceiver)
{
    if (!withReceiver)
        m_port->setModel(nullptr);
    m_com->setCommPort(3);
    m_com->OpenPort();
    QCOMPARE(m_port->lastPortNumber(), 3);
}

void tst_Form_Com::commandCodes_data()
{
    QTest::addColumn<Member>("member");
    QTest::addColumn<QString>("code");

    const struct
    {
        const char *name;
        Member member;
        const char *code;
    } rows[] = {
        {"ReportCommandEnable", [](Form_Com &c) { c.ReportCommandEnable(); }, "20000"},
        {"ReportCommandDisable", [](Form_Com &c) { c.ReportCommandDisable(); }, "20001"},
        {"ReportCommandTimeRealTime", [](Form_Com &c) { c.ReportCommandTimeRealTime(); }, "20100"},
        {"ReportCommandTime50ms", [](Form_Com &c) { c.ReportCommandTime50ms(); }, "20101"},
        {"ReportCommandTime100ms", [](Form_Com &c) { c.ReportCommandTime100ms(); }, "20102"},
        {"ReportCommandTime150ms", [](Form_Com &c) { c.ReportCommandTime150ms(); }, "20103"},
        {"ReportCommandTime200ms", [](Form_Com &c) { c.ReportCommandTime200ms(); }, "20104"},
        {"ReportCommandTime250ms", [](Form_Com &c) { c.ReportCommandTime250ms(); }, "20105"},
        {"ReportCommandTime300ms", [](Form_Com &c) { c.ReportCommandTime300ms(); }, "20106"},
        {"ReportCommandTime350ms", [](Form_Com &c) { c.ReportCommandTime350ms(); }, "20107"},
        {"InputCd", [](Form_Com &c) { c.InputCd(); }, "07A15"},
        {"InputTuner", [](Form_Com &c) { c.InputTuner(); }, "07A16"},
        {"InputTape", [](Form_Com &c) { c.InputTape(); }, "07A18"},
        {"InputCDR", [](Form_Com &c) { c.InputCDR(); }, "07A19"},
        {"InputMd", [](Form_Com &c) { c.InputMd(); }, "07AC9"},
        {"InputLd", [](Form_Com &c) { c.InputLd(); }, "07A17"},
        {"InputDvd", [](Form_Com &c) { c.InputDvd(); }, "07AC1"},
        {"InputDTv", [](Form_Com &c) { c.InputDTv(); }, "07A54"},
        {"InputCblSat", [](Form_Com &c) { c.InputCblSat(); }, "07AC0"},
        {"InputVcr1", [](Form_Com &c) { c.InputVcr1(); }, "07A0F"},
        {"InputVcr2", [](Form_Com &c) { c.InputVcr2(); }, "07A13"},
        {"InputVcr3", [](Form_Com &c) { c.InputVcr3(); }, "07AC8"},
        {"InputVAux", [](Form_Com &c) { c.InputVAux(); }, "07A55"},
        {"InputPhono", [](Form_Com &c) { c.InputPhono(); }, "07A14"},
        {"Zone2InputCd", [](Form_Com &c) { c.Zone2InputCd(); }, "07AD1"},
        {"Zone2InputTuner", [](Form_Com &c) { c.Zone2InputTuner(); }, "07AD2"},
        {"Zone2InputTape", [](Form_Com &c) { c.Zone2InputTape(); }, "07AD3"},
        {"Zone2InputCDR", [](Form_Com &c) { c.Zone2InputCDR(); }, "07AD4"},
        {"Zone2InputMd", [](Form_Com &c) { c.Zone2InputMd(); }, "07ACF"},
        {"Zone2InputLd", [](Form_Com &c) { c.Zone2InputLd(); }, "07AD5"},
        {"Zone2InputDvd", [](Form_Com &c) { c.Zone2InputDvd(); }, "07ACD"},
        {"Zone2InputDTv", [](Form_Com &c) { c.Zone2InputDTv(); }, "07AD9"},
        {"Zone2InputCblSat", [](Form_Com &c) { c.Zone2InputCblSat(); }, "07ACC"},
        {"Zone2InputVcr1", [](Form_Com &c) { c.Zone2InputVcr1(); }, "07AD6"},
        {"Zone2InputVcr2", [](Form_Com &c) { c.Zone2InputVcr2(); }, "07AD7"},
        {"Zone2InputVcr3", [](Form_Com &c) { c.Zone2InputVcr3(); }, "07ACE"},
        {"Zone2InputVAux", [](Form_Com &c) { c.Zone2InputVAux(); }, "07AD8"},
        {"Zone2InputPhono", [](Form_Com &c) { c.Zone2InputPhono(); }, "07AD0"},
        {"Input6ChOn", [](Form_Com &c) { c.Input6ChOn(); }, "07EA4"},
        {"Input6ChOff", [](Form_Com &c) { c.Input6ChOff(); }, "07EA5"},
        {"InputModeAuto", [](Form_Com &c) { c.InputModeAuto(); }, "07EA6"},
        {"InputModeDD", [](Form_Com &c) { c.InputModeDD(); }, "07EA7"},
        {"InputModeDTS", [](Form_Com &c) { c.InputModeDTS(); }, "07EA8"},
        {"InputModeDigital", [](Form_Com &c) { c.InputModeDigital(); }, "07EA9"},
        {"InputModeAnalog", [](Form_Com &c) { c.InputModeAnalog(); }, "07EAA"},
        {"SpeakersAOn", [](Form_Com &c) { c.SpeakersAOn(); }, "07EAB"},
        {"SpeakersAOff", [](Form_Com &c) { c.SpeakersAOff(); }, "07EAC"},
        {"SpeakersBOn", [](Form_Com &c) { c.SpeakersBOn(); }, "07EAD"},
        {"SpeakersBOff", [](Form_Com &c) { c.SpeakersBOff(); }, "07EAE"},
        {"SleepTimerOff", [](Form_Com &c) { c.SleepTimerOff(); }, "07EB3"},
        {"SleepTimer120", [](Form_Com &c) { c.SleepTimer120(); }, "07EB4"},
        {"SleepTimer90", [](Form_Com &c) { c.SleepTimer90(); }, "07EB5"},
        {"SleepTimer60", [](Form_Com &c) { c.SleepTimer60(); }, "07EB6"},
        {"SleepTimer30", [](Form_Com &c) { c.SleepTimer30(); }, "07EB7"},
        {"Dsp61ESOn", [](Form_Com &c) { c.Dsp61ESOn(); }, "07EB8"},
        {"Dsp61ESOff", [](Form_Com &c) { c.Dsp61ESOff(); }, "07EB9"},
        {"DspSurroundNormal", [](Form_Com &c) { c.DspSurroundNormal(); }, "07EFD"},
        {"DspSurroundEnhanced", [](Form_Com &c) { c.DspSurroundEnhanced(); }, "07EFE"},
        {"DspEffectOff", [](Form_Com &c) { c.DspEffectOff(); }, "07EE0"},
        {"MasterVolMuteOn", [](Form_Com &c) { c.MasterVolMuteOn(); }, "07EA2"},
        {"MasterVolMuteOff", [](Form_Com &c) { c.MasterVolMuteOff(); }, "07EA3"},
        {"Zone2VolMuteOn", [](Form_Com &c) { c.Zone2VolMuteOn(); }, "07EA0"},
        {"Zone2VolMuteOff", [](Form_Com &c) { c.Zone2VolMuteOff(); }, "07EA1"},
        {"PowerOff", [](Form_Com &c) { c.PowerOff(); }, "07A1E"},
        {"MasterVolUp", [](Form_Com &c) { c.MasterVolUp(); }, "07A1A"},
        {"MasterVolUpFast", [](Form_Com &c) { c.MasterVolUpFast(); }, "07A1A"},
        {"MasterVolDown", [](Form_Com &c) { c.MasterVolDown(); }, "07A1B"},
        {"MasterVolDownFast", [](Form_Com &c) { c.MasterVolDownFast(); }, "07A1B"},
        {"Zone2VolUp", [](Form_Com &c) { c.Zone2VolUp(); }, "07ADA"},
        {"Zone2VolUpFast", [](Form_Com &c) { c.Zone2VolUpFast(); }, "07ADA"},
        {"Zone2VolDown", [](Form_Com &c) { c.Zone2VolDown(); }, "07ADB"},
        {"Zone2VolDownFast", [](Form_Com &c) { c.Zone2VolDownFast(); }, "07ADB"},
        {"PowerOn", [](Form_Com &c) { c.PowerOn(); }, "07A1D"},
        {"VolumeSave A", [](Form_Com &c) { c.VolumeSave("A"); }, "07E6B"},
        {"VolumeSave F", [](Form_Com &c) { c.VolumeSave("F"); }, "07E70"},
        {"VolumeLoad A", [](Form_Com &c) { c.VolumeLoad("A"); }, "07E75"},
        {"VolumeLoad f", [](Form_Com &c) { c.VolumeLoad("f"); }, "07E7A"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.member << QString::fromLatin1(row.code);
}

void tst_Form_Com::commandCodes()
{
    QFETCH(Member, member);
    QFETCH(QString, code);

    connectReceiver();
    member(*m_com);
    QCOMPARE(m_port->writtenCodes(), QStringList {code});
    QVERIFY(!m_com->LinkBusy());
    QVERIFY(m_errors->isEmpty());
}

void tst_Form_Com::zone2InputTakesFreshSettings()
{
    connectReceiver();
    const QString block = QString::fromLatin1(m_model->configurationBlock());
    m_com->Zone2InputTuner();
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
    m_com->Zone2InputCd();
    QVERIFY(m_host->snapshots.isEmpty());
    QCOMPARE(m_port->writtenCodes().last(), QStringLiteral("07AD1"));
}

void tst_Form_Com::sendAndReadReturnsAnswer()
{
    connectReceiver();
    const int before = m_model->mainVolume();
    QString answer;
    m_com->MasterVolUp(&answer);
    QCOMPARE(m_model->mainVolume(), before + 1);
    QVERIFY(answer.startsWith(QChar(0x02)));
    QVERIFY(answer.endsWith(QChar(0x03)));
}

void tst_Form_Com::fastVolumeNeverReads()
{
    connectReceiver(false);
    const qint64 ms = millisecondsFor([&] {
        for (int i = 0; i < 5; ++i)
            m_com->MasterVolUpFast();
    });
    QCOMPARE(m_port->writtenCodes(), QStringList(5, QStringLiteral("07A1A")));
    QVERIFY2(ms < 300, qPrintable(QString::number(ms)));
}

void tst_Form_Com::closedPortDoesNothing()
{
    QString puffer = QStringLiteral("keep");
    QString settings = QStringLiteral("old");
    const qint64 ms = millisecondsFor([&] {
        m_com->SendCommand(QStringLiteral("07A15"));
        m_com->ReadPort(puffer);
        m_com->ClearComPuffer(&puffer);
        m_com->ReadSettings(settings);
        m_com->InputDvd();
    });
    QVERIFY(m_port->writes().isEmpty());
    QCOMPARE(puffer, QStringLiteral("keep"));
    QCOMPARE(settings, QStringLiteral("old"));
    QVERIFY(ms < 100);
    QVERIFY(m_errors->isEmpty());
}

void tst_Form_Com::directReadReturnsAtOnce()
{
    connectReceiver(false);
    QString puffer = QStringLiteral("x");
    const qint64 ms = millisecondsFor([&] { m_com->ReadPort(puffer, true); });
    QCOMPARE(puffer, QString());
    QVERIFY(ms < 50);

    // Whatever is waiting is taken, complete frame or not.
    m_port->injectRaw("\x02"
                      "0026");
    m_com->ReadPort(puffer, true);
    QCOMPARE(puffer,
             QStringLiteral("\x02"
                            "0026"));
    QVERIFY(!m_com->LinkBusy());
}

void tst_Form_Com::noAnswerWaitsAboutEightTenths()
{
    connectReceiver(false);
    QString settings = QStringLiteral("stale");
    const qint64 ms = millisecondsFor([&] { m_com->ReadSettings(settings); });
    QCOMPARE(settings, QString());
    QVERIFY2(ms >= 750 && ms < 2000, qPrintable(QString::number(ms)));
    QVERIFY(!m_com->LinkBusy());
}

void tst_Form_Com::commandDuringReadIsDropped()
{
    connectReceiver(false);
    QTimer::singleShot(100ms, [&] {
        QVERIFY(m_com->LinkBusy());
        m_com->InputCd();
    });
    QString puffer;
    m_com->ReadPort(puffer);
    QVERIFY(m_port->writes().isEmpty());

    // Dropped, not queued: nothing goes out later either.
    QTest::qWait(50);
    QVERIFY(m_port->writes().isEmpty());
    m_com->InputCd();
    QCOMPARE(m_port->writtenCodes(), QStringList {"07A15"});
}

void tst_Form_Com::readStopsAtEtx()
{
    connectReceiver(false);
    m_port->setLatency(30ms);
    m_port->setChunkSize(3);
    m_port->injectLater("\x02"
                        "002680\x03");
    QString puffer;
    const qint64 ms = millisecondsFor([&] { m_com->ReadPort(puffer); });
    QCOMPARE(puffer,
             QStringLiteral("\x02"
                            "002680\x03"));
    QVERIFY2(ms < 600, qPrintable(QString::number(ms)));
}

void tst_Form_Com::readSettingsQuirk()
{
    ReceiverModel::Options options;
    options.quirkE01900 = true;
    m_model = std::make_unique<ReceiverModel>(options);
    m_port->setModel(m_model.get());
    connectReceiver();

    QString settings;
    QString original;
    m_com->ReadSettings(settings, &original);
    const QString raw = QString::fromLatin1(m_model->configurationBlock());
    QCOMPARE(original, raw);
    QCOMPARE(m_host->addInSettings, QStringList {raw.mid(1, raw.size() - 2)});
    QCOMPARE(settings.size(), raw.size() - 7);
    QVERIFY(!settings.contains(QLatin1String("@E01900")));
    QCOMPARE(settings.mid(7, 2).toInt(nullptr, 16), raw.mid(7, 2).toInt(nullptr, 16) - 7);
    QCOMPARE(settings.mid(9), raw.mid(16));
}

void tst_Form_Com::fixSettingsQuirk_data()
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

void tst_Form_Com::fixSettingsQuirk()
{
    QFETCH(QString, block);
    QFETCH(QString, fixed);
    QCOMPARE(Form_Com::fixSettingsQuirk(block), fixed);
}

void tst_Form_Com::resetOnClosedPort()
{
    QString ret = QStringLiteral("x");
    m_com->ResetOrvane(&ret);
    QCOMPARE(m_dialogs->messageTexts(), QStringList {"Connect Error !"});
    QVERIFY(m_port->writes().isEmpty());
    QVERIFY(m_host->snapshots.isEmpty());
}

void tst_Form_Com::resetTimesOutWhenBusy()
{
    connectReceiver();
    m_com->setLinkBusy(true);
    const qint64 ms = millisecondsFor([&] { m_com->ResetOrvane(); });
    QVERIFY2(ms >= 1950 && ms < 4000, qPrintable(QString::number(ms)));
    QCOMPARE(m_dialogs->messageTexts(), QStringList {"Time Out"});
    QVERIFY(m_port->writes().isEmpty());
}

void tst_Form_Com::resetSendsSequenceThenPowersOn()
{
    connectReceiver();
    m_model->setPower(false);
    m_com->ResetOrvane();
    QVERIFY(m_dialogs->messages().isEmpty());
    QCOMPARE(m_model->resets(), 1);
    QCOMPARE(m_port->writes().value(0), QByteArray("\x13\x7f\x7f\x7f\x03"));
    QCOMPARE(m_port->writes().value(1), commandFrame("07A1D"));
    QCOMPARE(m_port->writes().value(2),
             QByteArray("\x11"
                        "000\x03"));
    QVERIFY(m_model->power());
    QCOMPARE(m_host->snapshots, QStringList {QString::fromLatin1(m_model->configurationBlock())});
    QVERIFY(!m_com->LinkBusy());
}

void tst_Form_Com::sendMessagePadding_data()
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

void tst_Form_Com::sendMessagePadding()
{
    QFETCH(QString, message);
    QFETCH(QStringList, codes);
    QFETCH(QString, padded);

    connectReceiver(false);
    m_com->SendMessage(message);
    QCOMPARE(m_port->writtenCodes(), codes);
    QCOMPARE(message, padded);
}

void tst_Form_Com::volumeBanks_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("save c") << true << "c" << QStringList {"07E6D"};
    QTest::newRow("load D") << false << "D" << QStringList {"07E78"};
    QTest::newRow("load G sends nothing") << false << "G" << QStringList {};
    QTest::newRow("save empty sends nothing") << true << "" << QStringList {};
}

void tst_Form_Com::volumeBanks()
{
    QFETCH(bool, save);
    QFETCH(QString, bank);
    QFETCH(QStringList, codes);

    connectReceiver(false);
    const qint64 ms = millisecondsFor([&] {
        if (save)
            m_com->VolumeSave(bank);
        else
            m_com->VolumeLoad(bank);
    });
    QCOMPARE(m_port->writtenCodes(), codes);
    // The answer is awaited even when nothing was sent.
    QVERIFY2(ms >= 750 && ms < 2000, qPrintable(QString::number(ms)));
}

void tst_Form_Com::powerOnWithoutReceiverStillStoresSettings()
{
    connectReceiver(false);
    m_host->snapshots << QStringLiteral("previous");
    m_com->PowerOn();
    QCOMPARE(m_host->snapshots, (QStringList {"previous", ""}));
    QCOMPARE(m_port->writtenCodes(), QStringList {"07A1D"});
}

void tst_Form_Com::hungWriteReconnects()
{
    connectReceiver();
    m_host->logging = true;
    m_port->setWriteStall(850ms, 1);
    m_com->InputCd();
    QCOMPARE(m_port->closeCount(), 1);
    QCOMPARE(m_port->openCount(), 2);
    QVERIFY(m_port->isOpen());
    QCOMPARE(m_host->line1, QString());
    QCOMPARE(m_host->line2History, (QStringList {"Reconnect", "Done"}));
    QVERIFY(!m_com->LinkBusy());

    // The next command goes out normally.
    m_com->InputTuner();
    QCOMPARE(m_port->writtenCodes(), (QStringList {"07A15", "07A16"}));
}

void tst_Form_Com::disconnectDuringReconnectStaysClosed()
{
    connectReceiver();
    m_port->setWriteStall(850ms, 1);
    // Fires inside the reconnect's pause, which follows the stalled write.
    QTimer::singleShot(950ms, [&] { m_com->ClosePort(); });
    m_com->InputCd();
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_port->openCount(), 1);
    QVERIFY(!m_com->LinkBusy());
}

void tst_Form_Com::failingWriteFreesLink()
{
    connectReceiver();
    m_port->setWriteFailure(true);
    m_com->InputCd();
    QCOMPARE(m_errors->reports().size(), 1);
    QCOMPARE(m_errors->reports().at(0).module, QStringLiteral("Form_Com"));
    QCOMPARE(m_errors->reports().at(0).procedure, QStringLiteral("SendCommand"));
    QVERIFY(!m_com->LinkBusy());

    QString settings;
    m_com->ReadSettings(settings);
    QCOMPARE(m_errors->reports().last().procedure, QStringLiteral("ReadSettings"));
    QVERIFY(!m_com->LinkBusy());

    m_port->setWriteFailure(false);
    m_com->InputCd();
    QCOMPARE(m_port->writtenCodes(), QStringList {"07A15"});
}

void tst_Form_Com::reconnectOpenFailureReported()
{
    connectReceiver();
    m_port->setOpenFailure(true, 8002, QStringLiteral("Cannot open /dev/ttyS2: No such file"));
    m_com->ReConnect();
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_errors->reports().size(), 1);
    QCOMPARE(m_errors->reports().at(0).module, QStringLiteral("Form_Com"));
    QCOMPARE(m_errors->reports().at(0).procedure, QStringLiteral("ReConnect"));
    QCOMPARE(m_errors->reports().at(0).number, 8002);
    QCOMPARE(m_host->line2, QStringLiteral("Reconnect"));
}

void tst_Form_Com::portLostEndsWaitAndTellsHost()
{
    connectReceiver(false);
    QTimer::singleShot(100ms, [&] { m_port->vanish(QStringLiteral("gone")); });
    QString puffer;
    const qint64 ms = millisecondsFor([&] { m_com->ReadPort(puffer); });
    QVERIFY2(ms < 500, qPrintable(QString::number(ms)));
    QCOMPARE(m_host->lostReasons, QStringList {"gone"});
    QVERIFY(!m_com->PortOpen());
    QVERIFY(!m_com->LinkBusy());
    QVERIFY(m_errors->isEmpty());

    // A pause (inside PowerOn) also ends: no second second of waiting on a dead port.
    m_port->reappear();
    m_com->OpenPort();
    QTimer::singleShot(900ms, [&] { m_port->vanish(QStringLiteral("gone again")); });
    const qint64 powerOnMs = millisecondsFor([&] { m_com->PowerOn(); });
    QVERIFY2(powerOnMs < 1500, qPrintable(QString::number(powerOnMs)));
    QCOMPARE(m_host->lostReasons.size(), 2);
}

void tst_Form_Com::debugLog_data()
{
    QTest::addColumn<bool>("poll");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("send");
    QTest::addColumn<QString>("listing");

    QTest::newRow("sent frame") << false
                                << "\x02"
                                   "07A15\x03"
                                << true
                                << "---> \x02"
                                   "07A15\x03\n";
    QTest::newRow("received report") << true
                                     << "\x02"
                                        "002680\x03"
                                     << false
                                     << "<--- \x02"
                                        "002680\x03\n";
    QTest::newRow("empty read while polling is skipped") << true << "" << false << "";
    QTest::newRow("empty read while connecting is logged") << false << "" << false << "<--- \n";
}

void tst_Form_Com::debugLog()
{
    QFETCH(bool, poll);
    QFETCH(QString, text);
    QFETCH(bool, send);
    QFETCH(QString, listing);

    m_host->poll = poll;
    m_com->show();
    m_com->DebugLog(text, send);
    QCOMPARE(m_com->Text_Com->toPlainText(), listing);
    QCOMPARE(m_com->Text_Com->textCursor().position(),
             m_com->Text_Com->document()->characterCount() - 1);
}

void tst_Form_Com::debugLogListingLimit()
{
    m_com->show();
    const QString line(998, QLatin1Char('x')); // 1000 characters with the line end
    for (int i = 0; i < 65; ++i)
        m_com->DebugLog(line.mid(5), true);
    // 65 lines of 1000: exactly 65000, no clear yet.
    QCOMPARE(m_com->Text_Com->blockCount(), 66);
    m_com->DebugLog(QStringLiteral("a"), true);
    QCOMPARE(m_com->Text_Com->blockCount(), 67);
    // Now over the limit: the next line starts a fresh listing.
    m_com->DebugLog(QStringLiteral("b"), false);
    QCOMPARE(m_com->Text_Com->toPlainText(), QStringLiteral("<--- b\n"));

    // A hidden terminal lists nothing.
    m_com->hide();
    m_com->DebugLog(QStringLiteral("c"), false);
    QCOMPARE(m_com->Text_Com->toPlainText(), QStringLiteral("<--- b\n"));
}

void tst_Form_Com::debugLogFile()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("debug.txt");
    QFile::remove(path);
    m_host->logFile = true;
    connectReceiver(false);
    m_com->InputCd();
    m_port->injectRaw("\x02"
                      "002680\x03");
    QString puffer;
    m_com->ReadPort(puffer, true);

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
    m_com->InputTuner();
    QVERIFY(QDir().rmdir(path));
    QCOMPARE(m_errors->reports().size(), 1);
    QCOMPARE(m_errors->reports().at(0).procedure, QStringLiteral("DebugLog"));
    QCOMPARE(m_port->writtenCodes().last(), QStringLiteral("07A16"));
}

void tst_Form_Com::terminalTyping()
{
    connectReceiver(false);
    QCOMPARE(m_com->windowTitle(), QStringLiteral("DEBUG  - COM - TERMINAL"));
    QLineEdit *entry = m_com->Text_send;
    QCOMPARE(entry->text(), QStringLiteral("07A1D"));

    entry->clear();
    QTest::keyClicks(entry, "0g7 a-1;b");
    QCOMPARE(entry->text(), QStringLiteral("07a1b"));
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(m_port->writtenCodes(), QStringList {"07a1b"});

    QTest::keyClick(entry, Qt::Key_Backspace);
    QCOMPARE(entry->text(), QStringLiteral("07a1"));
    QTest::keyClick(entry, Qt::Key_Enter);
    QCOMPARE(m_port->writtenCodes().size(), 1);
}

void tst_Form_Com::terminalCloseOnlyHides()
{
    m_com->show();
    QVERIFY(!m_com->close());
    QVERIFY(m_com->isHidden());
    QCOMPARE(m_host->terminalCloses, 1);

    m_com->show();
    m_com->setAppClosing(true);
    QVERIFY(m_com->close());
    QCOMPARE(m_host->terminalCloses, 2);
}

QTEST_MAIN(tst_Form_Com)
#include "tst_Form_Com.moc"
