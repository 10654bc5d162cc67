// The MQTT bridge against a real broker and the virtual receiver on a pseudo-terminal:
// discovery, state, commands, hostile payloads, a broker that goes away, TLS with a
// password.

#include "BrokerProcess.h"
#include "mqtt/MosquittoClient.h"
#include "mqtt/MqttBridge.h"
#include "platform/QtSerialPort.h"
#include "tests/support/FakeProgramHost.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ReceiverProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <sys/resource.h>

namespace {
// A second client that watches the broker, as a hub would.
class Watcher : public QObject
{
public:
    Watcher(int port, const QString &pattern)
    {
        connect(&client, &MosquittoClient::connected, this,
                [this, pattern] { client.subscribe(pattern); });
        connect(&client, &MosquittoClient::messageReceived, this,
                [this](const QString &topic, const QByteArray &payload) {
                    last.insert(topic, payload);
                    ++count[topic];
                });
        MosquittoClient::Options options;
        options.host = QStringLiteral("127.0.0.1");
        options.port = port;
        options.clientId = QStringLiteral("watcher-%1").arg(quintptr(this), 0, 16);
        client.start(options);
    }
    void send(const QString &topic, const QByteArray &payload)
    {
        QVERIFY(client.publish(topic, payload, false));
    }
    MosquittoClient client;
    QHash<QString, QByteArray> last;
    QHash<QString, int> count;
};

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

const QStringList kObjects = {"power",         "volume",        "mute",
                              "input",         "input_mode",    "dsp_program",
                              "speakers_a",    "speakers_b",    "six_channel_input",
                              "es61",          "volume_up",     "volume_down",
                              "display_line1", "display_line2", "zone2_input",
                              "zone2_volume"};
} // namespace

class tst_MqttBridge : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void discoveryIsRetainedAndNamesEveryEntity();
    void commandsReachTheReceiver_data();
    void commandsReachTheReceiver();
    void frontPanelChangesReachTheStateTopic_data();
    void frontPanelChangesReachTheStateTopic();
    void hostilePayloadsSendNothing_data();
    void hostilePayloadsSendNothing();
    void brokerGoneAndBack();
    void tlsWithPassword_data();
    void tlsWithPassword();
    void cleanEndSaysOffline();

private:
    // The broker's log of connections and of `topic`, for a failure's message.
    QString brokerTrace(const QString &topic)
    {
        QStringList lines;
        for (const QString &line : m_broker.log().split(u'\n'))
            if (line.contains(u"New client") || line.contains(u"isconnect") || line.contains(topic))
                lines << line;
        return lines.mid(qMax(0, int(lines.size()) - 8)).join(u'\n');
    }
    int wireCount(const QByteArray &code)
    {
        return m_receiver.log().count(QString::fromLatin1("<STX>" + code + "<ETX>"));
    }

    BrokerProcess m_broker;
    ReceiverProcess m_receiver;
    FakeSettingsStore m_settings;
    std::unique_ptr<QtSerialPort> m_port;
    std::unique_ptr<MainWindowFixture> m_window;
    std::unique_ptr<Watcher> m_watcher;
    QStringList m_notes;
};

void tst_MqttBridge::initTestCase()
{
    if (!BrokerProcess::isInstalled())
        QSKIP("mosquitto is not installed (scripts/install-deps)");
    if (!ReceiverProcess::isBuilt())
        QSKIP("orvane-receiver not found (ORVANE_BUILD_DIR)");
    QVERIFY2(m_broker.start(), qPrintable(m_broker.errorString()));
    QVERIFY2(m_receiver.start({QStringLiteral("--log")}), qPrintable(m_receiver.errorString()));

    m_settings.setSection(QStringLiteral("Ports"), {{QStringLiteral("Com1"), m_receiver.device()}});
    m_settings.setSection(
        QStringLiteral("MQTT"),
        {{QStringLiteral("Broker"), QStringLiteral("mqtt://127.0.0.1:%1").arg(m_broker.port())}});
    m_port = std::make_unique<QtSerialPort>(&m_settings);
    m_window
        = std::make_unique<MainWindowFixture>(ReceiverModel::Options {}, m_port.get(), &m_settings);
    Form_ControlCenter &form = m_window->w();
    connect(form.link(), &ReceiverLink::trafficLogged, this, [this](const QString &line) {
        if (line.startsWith(u"MQTT"))
            m_notes << line;
    });
    m_watcher = std::make_unique<Watcher>(m_broker.port(), QStringLiteral("#"));
    QVERIFY(form.Form_Load(QString()));
    // The bridge's notes go to the traffic log while it is on.
    MainWindowFixture::controls(form).Menu_Setup_Debug->setChecked(true);
    form.link()->setCommPort(1);
    inside(form).ConnectToOrvane(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value("orvane/receiver"), QByteArray("online"),
                              10000);
    QCOMPARE(m_watcher->last.value("orvane/status"), QByteArray("online"));
}

void tst_MqttBridge::discoveryIsRetainedAndNamesEveryEntity()
{
    // A hub that subscribes later gets every configuration from the broker's memory.
    Watcher late(m_broker.port(), QStringLiteral("homeassistant/#"));
    QTRY_COMPARE_WITH_TIMEOUT(late.last.size(), kObjects.size(), 5000);
    QStringList objects;
    QSet<QString> uniqueIds;
    for (auto it = late.last.cbegin(); it != late.last.cend(); ++it) {
        QJsonParseError error {};
        const QJsonObject config = QJsonDocument::fromJson(it.value(), &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(it.key()));
        const QStringList parts = it.key().split(u'/');
        QCOMPARE(parts.size(), 5);
        objects << parts[3];
        uniqueIds << config[u"unique_id"].toString();
        QCOMPARE(config[u"availability_mode"].toString(), QStringLiteral("all"));
        QCOMPARE(config[u"availability"].toArray().size(), 2);
        QVERIFY(!config[u"device"][u"identifiers"].toArray().isEmpty());
        QCOMPARE(config[u"device"][u"model"].toString(), QStringLiteral("R0161"));
        QCOMPARE(config[u"origin"][u"name"].toString(), QStringLiteral("Orvane"));
        if (parts[1] == u"select")
            QVERIFY(!config[u"options"].toArray().isEmpty());
    }
    objects.sort();
    QStringList expected = kObjects;
    expected.sort();
    QCOMPARE(objects, expected);
    QCOMPARE(uniqueIds.size(), kObjects.size());
    const QJsonObject input
        = QJsonDocument::fromJson(
              late.last.value(QStringLiteral("homeassistant/select/%1/input/config")
                                  .arg(MqttBridge::nodeId(QStringLiteral("R0161")))))
              .object();
    QCOMPARE(input[u"options"].toArray().size(), 14);
    QCOMPARE(input[u"options"].toArray().at(7).toString(), QStringLiteral("DVD"));
}

void tst_MqttBridge::commandsReachTheReceiver_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("times");

    QTest::newRow("select input") << "input" << QByteArray("TUNER") << QByteArray("07A16") << 1;
    QTest::newRow("select DSP program")
        << "dsp_program" << QByteArray("Enhanced") << QByteArray("07EFE") << 1;
    QTest::newRow("select input mode")
        << "input_mode" << QByteArray("DTS") << QByteArray("07EA8") << 1;
    QTest::newRow("switch speakers B")
        << "speakers_b" << QByteArray("ON") << QByteArray("07EAD") << 1;
    QTest::newRow("switch mute") << "mute" << QByteArray("ON") << QByteArray("07EA2") << 1;
    QTest::newRow("zone-2 input") << "zone2_input" << QByteArray("CD") << QByteArray("07AD1") << 1;
    QTest::newRow("button volume up")
        << "volume_up" << QByteArray("PRESS") << QByteArray("07A1A") << 1;
    // The virtual receiver starts at 0x9F (-20 dB); after the step above it is -19.5 dB.
    QTest::newRow("number volume, three steps down")
        << "volume" << QByteArray("-21") << QByteArray("07A1B") << 3;
}

void tst_MqttBridge::commandsReachTheReceiver()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, code);
    QFETCH(int, times);
    const int before = wireCount(code);
    m_watcher->send(QStringLiteral("orvane/%1/set").arg(object), payload);
    QTRY_COMPARE_WITH_TIMEOUT(wireCount(code), before + times, 5000);
    QTest::qWait(400);
    QCOMPARE(wireCount(code), before + times);
}

void tst_MqttBridge::frontPanelChangesReachTheStateTopic_data()
{
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("state");

    QTest::newRow("input V-AUX") << QByteArray("10210C") << "input" << QByteArray("V-AUX");
    QTest::newRow("main volume +5 dB") << QByteArray("0026D1") << "volume" << QByteArray("5.0");
    QTest::newRow("6-channel input on")
        << QByteArray("10211C") << "six_channel_input" << QByteArray("ON");
    QTest::newRow("headphones on the display")
        << QByteArray("headphones on") << "display_line1" << QByteArray("Head Phone");
}

void tst_MqttBridge::frontPanelChangesReachTheStateTopic()
{
    QFETCH(QByteArray, event);
    QFETCH(QString, object);
    QFETCH(QByteArray, state);
    m_receiver.writeLine(event);
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value(QStringLiteral("orvane/%1/state").arg(object)),
                              state, 5000);
}

void tst_MqttBridge::hostilePayloadsSendNothing_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("repeat");

    QTest::newRow("wrong option") << "orvane/input/set" << QByteArray("NOPE") << 1;
    QTest::newRow("not a number") << "orvane/volume/set" << QByteArray("loud") << 1;
    QTest::newRow("outside the range") << "orvane/volume/set" << QByteArray("1e9") << 1;
    QTest::newRow("longer than 256 bytes") << "orvane/input/set" << QByteArray(300, 'A') << 1;
    QTest::newRow("not UTF-8") << "orvane/input/set" << QByteArray("\xff\xfe\x80") << 1;
    QTest::newRow("switch not ON or OFF") << "orvane/power/set" << QByteArray("on; rm -rf") << 1;
    QTest::newRow("unknown object") << "orvane/bogus/set" << QByteArray("ON") << 1;
    QTest::newRow("a sensor") << "orvane/display_line1/set" << QByteArray("x") << 1;
    // Sixty valid commands at once: forty go out, twenty are refused.
    QTest::newRow("flood") << "orvane/speakers_a/set" << QByteArray("OFF") << 60;
}

void tst_MqttBridge::hostilePayloadsSendNothing()
{
    QFETCH(QString, topic);
    QFETCH(QByteArray, payload);
    QFETCH(int, repeat);
    QTest::qWait(1100); // an empty command budget
    const QString sentBefore = m_receiver.log();
    m_notes.clear();
    for (int i = 0; i < repeat; ++i)
        m_watcher->send(topic, payload);
    const int refused = repeat == 1 ? 1 : repeat - MqttBridge::kCommandsPerSecond;
    QTRY_COMPARE_WITH_TIMEOUT(m_notes.size(), refused, 5000);
    QTest::qWait(300);
    QCOMPARE(m_notes.size(), refused);
    QVERIFY(m_notes.first().startsWith(u"MQTT: ignored"));
    const int sent = m_receiver.log().mid(sentBefore.size()).count(u"<STX>07");
    QCOMPARE(sent, repeat == 1 ? 0 : MqttBridge::kCommandsPerSecond);
}

void tst_MqttBridge::brokerGoneAndBack()
{
    m_notes.clear();
    m_broker.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!m_notes.isEmpty(), 5000);
    QVERIFY(m_notes.first().contains(u"no connection"));
    // Retries 1 s and 2 s later sleep in between and are not told again.
    const double cpuBefore = cpuSeconds();
    QTest::qWait(3500);
    const double cpu = cpuSeconds() - cpuBefore;
    QVERIFY2(cpu < 0.35, qPrintable(QStringLiteral("%1 s of CPU in 3.5 s").arg(cpu)));
    QCOMPARE(m_notes.size(), 1);

    m_watcher->last.clear();
    QVERIFY2(m_broker.start(), qPrintable(m_broker.errorString()));
    // The new broker remembers nothing: what arrives was published again.
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value("orvane/status"), QByteArray("online"), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_watcher->last.contains(QStringLiteral("homeassistant/switch/%1/power/config")
                                     .arg(MqttBridge::nodeId(QStringLiteral("R0161")))),
        5000);
    QTRY_VERIFY2_WITH_TIMEOUT(m_watcher->last.value("orvane/input_mode/state") == "DTS",
                              qPrintable(brokerTrace(QStringLiteral("orvane/input_mode/state"))),
                              5000);
}

void tst_MqttBridge::tlsWithPassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("right password") << "s3cret-right" << true;
    QTest::newRow("wrong password") << "s3cret-wrong" << false;
}

void tst_MqttBridge::tlsWithPassword()
{
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    const QString passwd = QStandardPaths::findExecutable(QStringLiteral("mosquitto_passwd"));
    if (openssl.isEmpty() || passwd.isEmpty())
        QSKIP("openssl or mosquitto_passwd is not installed (scripts/install-deps)");

    BrokerProcess broker;
    const QDir dir(broker.dir());
    const auto run = [&](const QString &program, const QStringList &arguments) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        return process.waitForFinished(30000) && process.exitCode() == 0;
    };
    const QString ca = dir.filePath("ca.pem"), caKey = dir.filePath("ca.key");
    const QString key = dir.filePath("server.key"), csr = dir.filePath("server.csr");
    const QString cert = dir.filePath("server.pem"), ext = dir.filePath("ext.cnf");
    QFile extFile(ext);
    QVERIFY(extFile.open(QIODevice::WriteOnly));
    extFile.write("subjectAltName=IP:127.0.0.1\n");
    extFile.close();
    QVERIFY(run(openssl,
                {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", caKey, "-out", ca,
                 "-days", "2", "-subj", "/CN=Test CA"}));
    QVERIFY(run(openssl,
                {"req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr, "-subj",
                 "/CN=127.0.0.1"}));
    QVERIFY(run(openssl,
                {"x509", "-req", "-in", csr, "-CA", ca, "-CAkey", caKey, "-CAcreateserial", "-out",
                 cert, "-days", "2", "-extfile", ext}));
    QVERIFY(run(passwd, {"-b", "-c", dir.filePath("passwords"), "hub", "s3cret-right"}));
    broker.setListenerOptions({"cafile " + ca, "certfile " + cert, "keyfile " + key,
                               "password_file " + dir.filePath("passwords"),
                               "allow_anonymous false"});
    QVERIFY2(broker.start(), qPrintable(broker.errorString()));

    FakeSettingsStore settings;
    settings.setSection("MQTT",
                        {{"Broker", QStringLiteral("mqtts://127.0.0.1:%1").arg(broker.port())},
                         {"CAFile", ca},
                         {"User", "hub"},
                         {"Password", password},
                         {"Topic", "tls-test"}});
    FakeProgramHost host;
    MqttBridge bridge(host, nullptr, &settings, nullptr);
    QStringList notes;
    connect(&bridge, &MqttBridge::logged, this, [&notes](const QString &line) { notes << line; });
    bool connectedToBroker = false;
    connect(&bridge, &MqttBridge::brokerConnected, this, [&] { connectedToBroker = true; });
    bridge.start();
    if (accepted) {
        QTRY_VERIFY_WITH_TIMEOUT(connectedToBroker, 10000);
        QVERIFY(notes.isEmpty());
        return;
    }
    // Attempts at once, after 1 s and after 3 s: one message for all of them.
    QTest::qWait(3500);
    QVERIFY(!connectedToBroker);
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes.first().contains(u"not authori"), qPrintable(notes.first()));
    QVERIFY(!notes.first().contains(password));
    QVERIFY(broker.log().count(u"New connection from") >= 2);
}

void tst_MqttBridge::cleanEndSaysOffline()
{
    m_window.reset();
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value("orvane/status"), QByteArray("offline"), 5000);
    m_watcher.reset();
    m_port.reset();
    m_receiver.stop();
    m_broker.stop();
}

QTEST_MAIN(tst_MqttBridge)
#include "tst_mqtt_bridge.moc"
