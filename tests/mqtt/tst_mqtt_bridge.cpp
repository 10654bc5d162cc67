// The MQTT bridge against a real broker and the virtual receiver on a pseudo-terminal:
// discovery against the hub's documented keys, what an earlier run left on the broker,
// state, commands live and retained, hostile payloads, the hub's restart, two
// installations, a broker that goes away, TLS with a password and a foreign CA.

#include "BrokerProcess.h"
#include "mqtt/HubEntities.h"
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
    void send(const QString &topic, const QByteArray &payload, bool retain = false)
    {
        QTRY_VERIFY(client.isConnected());
        QVERIFY(client.publish(topic, payload, retain));
    }
    // The configurations of one discovery node the broker holds.
    QHash<QString, QByteArray> configsOf(const QString &node) const
    {
        QHash<QString, QByteArray> found;
        for (auto it = last.cbegin(); it != last.cend(); ++it)
            if (it.key().endsWith(u"/config") && it.key().contains(u'/' + node + u'/')
                && !it.value().isEmpty())
                found.insert(it.key(), it.value());
        return found;
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

const QString kInstallation = QStringLiteral("0123456789ab");
const QString kBase = QStringLiteral("orvane/0123456789ab");
const QString kNode = QStringLiteral("orvane_0123456789ab");

QString topic(const char *object, const char *leaf = "state")
{
    return kBase + u'/' + QLatin1String(object) + u'/' + QLatin1String(leaf);
}

// The keys the hub documents for MQTT discovery: for every component, and per component
// (the required ones first, up to the '|').
const QStringList kCommonKeys
    = QStringLiteral("availability availability_mode availability_template availability_topic "
                     "default_entity_id device enabled_by_default encoding entity_category "
                     "entity_picture icon json_attributes_template json_attributes_topic name "
                     "object_id origin payload_available payload_not_available platform qos "
                     "unique_id")
          .split(u' ');
const QHash<QString, QString> kComponentKeys = {
    {"switch",
     "command_topic|state_topic device_class optimistic payload_off payload_on "
     "retain state_off state_on value_template"},
    {"number",
     "command_topic min max|state_topic command_template device_class mode "
     "optimistic payload_reset retain step unit_of_measurement value_template"},
    {"select",
     "command_topic options|state_topic command_template optimistic retain "
     "value_template"},
    {"button", "command_topic|command_template device_class payload_press retain"},
    {"sensor",
     "state_topic|device_class expire_after force_update last_reset_value_template "
     "options state_class suggested_display_precision unit_of_measurement "
     "value_template"},
};
const QStringList kDeviceKeys = {"configuration_url", "connections",    "hw_version", "identifiers",
                                 "manufacturer",      "model",          "model_id",   "name",
                                 "serial_number",     "suggested_area", "sw_version", "via_device"};
const QStringList kOriginKeys = {"name", "sw_version", "support_url"};

QStringList unknownKeys(const QJsonObject &object, const QStringList &known)
{
    QStringList unknown;
    for (const QString &key : object.keys())
        if (!known.contains(key))
            unknown << key;
    return unknown;
}

bool hasControlCharacter(const QByteArray &payload)
{
    for (const QChar c : QString::fromUtf8(payload))
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return true;
    return false;
}
} // namespace

class tst_MqttBridge : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void anEarlierRunLeavesOneDevice();
    void discoveryFollowsTheHubsSchema_data();
    void discoveryFollowsTheHubsSchema();
    void retainedCommandIsNotRun();
    void commandsReachTheReceiver_data();
    void commandsReachTheReceiver();
    void frontPanelChangesReachTheStateTopic_data();
    void frontPanelChangesReachTheStateTopic();
    void hostilePayloadsSendNothing_data();
    void hostilePayloadsSendNothing();
    void hubOnlineRepublishes();
    void twoInstallationsShareNothing();
    void brokerGoneAndBack();
    void tlsWithPassword_data();
    void tlsWithPassword();
    void cleanEndSaysOffline();

private:
    int sentCount(const QString &code) const
    {
        return int(std::count_if(m_traffic.cbegin(), m_traffic.cend(), [&](const QString &line) {
            return line.startsWith(u"--->") && line.contains(code);
        }));
    }
    // Every message the bridge got before this one has been handled once its note is in.
    void awaitSentinel()
    {
        const qsizetype before = m_notes.size();
        m_watcher->send(kBase + QStringLiteral("/sentinel/set"), "x");
        QTRY_VERIFY_WITH_TIMEOUT(m_notes.size() > before && m_notes.last().contains(u"sentinel"),
                                 5000);
        m_notes.removeLast();
    }
    FakeClock &clock() { return m_window->clock; }

    BrokerProcess m_broker;
    ReceiverProcess m_receiver;
    FakeSettingsStore m_settings;
    std::unique_ptr<QtSerialPort> m_port;
    std::unique_ptr<MainWindowFixture> m_window;
    std::unique_ptr<Watcher> m_watcher;
    QStringList m_notes;
    QStringList m_traffic;
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
        {{QStringLiteral("Broker"), QStringLiteral("mqtt://127.0.0.1:%1").arg(m_broker.port())},
         {QStringLiteral("Installation"), kInstallation},
         {QStringLiteral("MaxVolume"), QStringLiteral("-10")}});
    m_watcher = std::make_unique<Watcher>(m_broker.port(), QStringLiteral("#"));
    QTRY_VERIFY(m_watcher->client.isConnected());

    {
        // An earlier run of this installation with another receiver, and what the id of
        // this machine published before ids were kept.
        FakeProgramHost earlier;
        earlier.info = {"R0133", "VR-133", "B", "\x12R0133B"};
        earlier.connected = true;
        FakeClock time;
        MqttBridge bridge(earlier, nullptr, &m_settings, nullptr, &time);
        QSignalSpy swept(&bridge, &MqttBridge::sweepFinished);
        bridge.start();
        QVERIFY(swept.wait(5000));
    }
    const QString legacy = QStringLiteral("homeassistant/switch/orvane_%1_r0133/power/config")
                               .arg(MqttSettings::legacyInstallation());
    m_watcher->send(legacy, R"({"state_topic":"orvane/power/state"})", true);
    m_watcher->send("orvane/power/state", "ON", true);
    m_watcher->send(QStringLiteral("homeassistant/sensor/%1/gone/config").arg(kNode),
                    QStringLiteral(R"({"state_topic":"%1"})").arg(topic("gone")).toUtf8(), true);
    m_watcher->send(topic("gone"), "x", true);
    m_watcher->send("homeassistant/switch/orvane_ffffffffffff/power/config", "{}", true);
    // A hub's mistake: a command left retained.
    m_watcher->send(topic("speakers_b", "set"), "ON", true);
    QTRY_VERIFY(m_watcher->last.contains(topic("speakers_b", "set")));

    m_port = std::make_unique<QtSerialPort>(&m_settings);
    m_window
        = std::make_unique<MainWindowFixture>(ReceiverModel::Options {}, m_port.get(), &m_settings);
    Form_ControlCenter &form = m_window->w();
    connect(form.link(), &ReceiverLink::trafficLogged, this, [this](const QString &line) {
        (line.startsWith(u"MQTT") ? m_notes : m_traffic) << line;
    });
    QVERIFY(form.Form_Load(QString()));
    // The bridge's notes go to the traffic log while it is on.
    MainWindowFixture::controls(form).Menu_Setup_Debug->setChecked(true);
    form.link()->setCommPort(1);
    inside(form).ConnectToOrvane(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value(kBase + "/receiver"), QByteArray("online"),
                              10000);
    // Two connections: the bridge's own availability may come second.
    QTRY_COMPARE(m_watcher->last.value(kBase + "/status"), QByteArray("online"));
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value(legacy), QByteArray(), 5000);
}

void tst_MqttBridge::anEarlierRunLeavesOneDevice()
{
    Watcher late(m_broker.port(), QStringLiteral("#"));
    QTRY_VERIFY_WITH_TIMEOUT(late.configsOf(kNode).size() == int(HubEntities::all().size()), 5000);
    QSet<QString> devices;
    for (const QByteArray &payload : late.configsOf(kNode)) {
        const QJsonObject device = QJsonDocument::fromJson(payload)[u"device"].toObject();
        devices << device[u"identifiers"].toArray().first().toString();
        QCOMPARE(device[u"model"].toString(), QStringLiteral("VR-161"));
    }
    QCOMPARE(devices, (QSet<QString> {kNode, kNode + "_zone2"}));
    // Only this installation's leftovers went, with the states they named.
    QCOMPARE(
        late.configsOf(QStringLiteral("orvane_%1_r0133").arg(MqttSettings::legacyInstallation()))
            .size(),
        0);
    QVERIFY(!late.last.contains(topic("gone")));
    QVERIFY(!late.last.contains("orvane/power/state"));
    QCOMPARE(late.configsOf("orvane_ffffffffffff").size(), 1);
}

void tst_MqttBridge::discoveryFollowsTheHubsSchema_data()
{
    QTest::addColumn<QString>("object");
    for (const HubEntities::Entity &entity : HubEntities::all())
        QTest::newRow(entity.object) << QString::fromLatin1(entity.object);
}

void tst_MqttBridge::discoveryFollowsTheHubsSchema()
{
    QFETCH(QString, object);
    const HubEntities::Entity *entity = HubEntities::findObject(object);
    const QString component = QLatin1String(entity->component);
    const QByteArray payload = m_watcher->last.value(
        QStringLiteral("homeassistant/%1/%2/%3/config").arg(component, kNode, object));
    QJsonParseError error {};
    const QJsonObject config = QJsonDocument::fromJson(payload, &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, payload.constData());

    const QStringList parts = kComponentKeys.value(component).split(u'|');
    QStringList known = kCommonKeys + parts.join(u' ').split(u' ');
    QCOMPARE(unknownKeys(config, known), QStringList());
    for (const QString &key :
         parts.first().split(u' ') + QStringList {"name", "unique_id", "device"})
        QVERIFY2(config.contains(key), qPrintable(key));
    QCOMPARE(unknownKeys(config[u"device"].toObject(), kDeviceKeys), QStringList());
    QCOMPARE(unknownKeys(config[u"origin"].toObject(), kOriginKeys), QStringList());
    QCOMPARE(config[u"default_entity_id"].toString(), component + ".orvane_" + object);
    QCOMPARE(config[u"unique_id"].toString(), kNode + u'_' + object);
    QCOMPARE(config[u"device"][u"via_device"].toString(), entity->zone2 ? kNode : QString());
    if (object == u"volume")
        QCOMPARE(config[u"max"].toDouble(), -10.0);
    if (component == u"select")
        QVERIFY(!config[u"options"].toArray().isEmpty());
}

void tst_MqttBridge::retainedCommandIsNotRun()
{
    QTRY_VERIFY_WITH_TIMEOUT(!m_notes.filter(u"retained command").isEmpty(), 5000);
    QVERIFY(m_notes.filter(u"retained command").first().contains(u"speakers_b/set"));
    QCOMPARE(sentCount("07EAD"), 0);
    // What this run has not heard is unknown, not the last run's value.
    QCOMPARE(m_watcher->last.value(topic("sleep")), QByteArray("None"));
    m_notes.clear();
}

void tst_MqttBridge::commandsReachTheReceiver_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("times");

    QTest::newRow("select input") << "input" << QByteArray("TUNER") << "07A16" << 1;
    QTest::newRow("select DSP program") << "dsp_program" << QByteArray("Enhanced") << "07EFE" << 1;
    QTest::newRow("select input mode") << "input_mode" << QByteArray("DTS") << "07EA8" << 1;
    QTest::newRow("switch speakers B") << "speakers_b" << QByteArray("ON") << "07EAD" << 1;
    QTest::newRow("switch mute") << "mute" << QByteArray("ON") << "07EA2" << 1;
    QTest::newRow("zone-2 input") << "zone2_input" << QByteArray("CD") << "07AD1" << 1;
    QTest::newRow("zone-2 mute") << "zone2_mute" << QByteArray("ON") << "07EA0" << 1;
    QTest::newRow("zone-2 volume up") << "zone2_volume_up" << QByteArray("PRESS") << "07ADA" << 1;
    QTest::newRow("sleep timer") << "sleep" << QByteArray("60 min") << "07EB6" << 1;
    QTest::newRow("recall memory C") << "memory_c" << QByteArray("PRESS") << "07E77" << 1;
    QTest::newRow("button volume up") << "volume_up" << QByteArray("PRESS") << "07A1A" << 1;
    // The virtual receiver starts at 0x9F (-20 dB); after the step above it is -19.5 dB.
    QTest::newRow("number volume, three steps down")
        << "volume" << QByteArray("-21") << "07A1B" << 3;
}

void tst_MqttBridge::commandsReachTheReceiver()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, payload);
    QFETCH(QString, code);
    QFETCH(int, times);
    clock().step(std::chrono::seconds(1));
    const int before = sentCount(code);
    m_watcher->send(kBase + u'/' + object + QStringLiteral("/set"), payload);
    QTRY_COMPARE_WITH_TIMEOUT(sentCount(code), before + times, 5000);
    if (object == u"volume")
        QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value(topic("volume")), QByteArray("-21.0"),
                                  5000);
    awaitSentinel();
    QCOMPARE(sentCount(code), before + times);
    QCOMPARE(m_notes, QStringList());
}

void tst_MqttBridge::frontPanelChangesReachTheStateTopic_data()
{
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("state");

    QTest::newRow("input V-AUX") << QByteArray("10210C") << "input" << QByteArray("V-AUX");
    QTest::newRow("main volume +5 dB") << QByteArray("0026D1") << "volume" << QByteArray("5.0");
    QTest::newRow("volume bar as blocks")
        << QByteArray("0026D1") << "display_line2"
        << QByteArray(R"({"text":")") + QString(21, QChar(0x2588)).toUtf8() + "\"}";
    QTest::newRow("6-channel input on")
        << QByteArray("10211C") << "six_channel_input" << QByteArray("ON");
    QTest::newRow("headphones on the display")
        << QByteArray("headphones on") << "display_line1" << QByteArray(R"({"text":"Head Phone"})");
}

void tst_MqttBridge::frontPanelChangesReachTheStateTopic()
{
    QFETCH(QByteArray, event);
    QFETCH(QString, object);
    QFETCH(QByteArray, state);
    m_receiver.writeLine(event);
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value(kBase + u'/' + object + "/state"), state, 5000);
    for (const HubEntities::Entity &entity : HubEntities::all()) {
        const QString state = topic(entity.object);
        if (m_watcher->last.contains(state))
            QVERIFY2(!hasControlCharacter(m_watcher->last[state])
                         && !m_watcher->last[state].isEmpty(),
                     qPrintable(state));
    }
}

void tst_MqttBridge::hostilePayloadsSendNothing_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("repeat");

    QTest::newRow("wrong option") << "input" << QByteArray("NOPE") << 1;
    QTest::newRow("not a number") << "volume" << QByteArray("loud") << 1;
    QTest::newRow("outside the range") << "volume" << QByteArray("1e9") << 1;
    QTest::newRow("above the maximum volume") << "volume" << QByteArray("-9.5") << 1;
    QTest::newRow("longer than 256 bytes") << "input" << QByteArray(300, 'A') << 1;
    QTest::newRow("not UTF-8") << "input" << QByteArray("\xff\xfe\x80") << 1;
    QTest::newRow("switch not ON or OFF") << "power" << QByteArray("on; rm -rf") << 1;
    QTest::newRow("unknown object") << "bogus" << QByteArray("ON") << 1;
    QTest::newRow("a sensor") << "display_line1" << QByteArray("x") << 1;
    // Sixty valid commands at once: forty go out, twenty are refused.
    QTest::newRow("flood") << "speakers_a" << QByteArray("OFF") << 60;
}

void tst_MqttBridge::hostilePayloadsSendNothing()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, payload);
    QFETCH(int, repeat);
    clock().step(std::chrono::seconds(1)); // a full command budget
    const qsizetype sentBefore = m_traffic.filter(u"--->").size();
    m_notes.clear();
    for (int i = 0; i < repeat; ++i)
        m_watcher->send(kBase + u'/' + object + QStringLiteral("/set"), payload);
    awaitSentinel();
    const int refused = repeat == 1 ? 1 : repeat - MqttBridge::kCommandsPerSecond;
    QCOMPARE(m_notes.size(), refused);
    QVERIFY(m_notes.first().startsWith(u"MQTT: ignored"));
    QCOMPARE(m_traffic.filter(u"--->").size() - sentBefore,
             repeat == 1 ? 0 : MqttBridge::kCommandsPerSecond);
}

void tst_MqttBridge::hubOnlineRepublishes()
{
    const QString power = QStringLiteral("homeassistant/switch/%1/power/config").arg(kNode);
    const int before = m_watcher->count.value(power);
    m_watcher->send("homeassistant/status", "online");
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->count.value(power), before + 1, 5000);
}

void tst_MqttBridge::twoInstallationsShareNothing()
{
    // Two installations with nothing set but the broker.
    FakeSettingsStore settings[2];
    FakeProgramHost hosts[2];
    FakeClock time;
    std::unique_ptr<MqttBridge> bridges[2];
    for (int i = 0; i < 2; ++i) {
        settings[i].setSection("MQTT", {{"Broker", m_settings.readValue("MQTT", "Broker")}});
        hosts[i].connected = true;
        bridges[i] = std::make_unique<MqttBridge>(hosts[i], nullptr, &settings[i], nullptr, &time);
        QSignalSpy swept(bridges[i].get(), &MqttBridge::sweepFinished);
        bridges[i]->start();
        QVERIFY(swept.wait(5000));
    }
    // Copies: the first bridge is destroyed below and its settings with it.
    const MqttSettings a = bridges[0]->settings(), b = bridges[1]->settings();
    QVERIFY(a.installation != b.installation);
    QVERIFY(!a.baseTopic().startsWith(b.baseTopic()) && !b.baseTopic().startsWith(a.baseTopic()));
    const QString nodeA = HubEntities::nodeId(a.installation);
    QTRY_COMPARE(m_watcher->configsOf(nodeA).size(), int(HubEntities::all().size()));
    for (const QByteArray &config : m_watcher->configsOf(nodeA))
        QVERIFY(!config.contains(b.baseTopic().toUtf8())
                && !config.contains(b.installation.toUtf8()));

    // Another receiver within the run: the zone-2 device of the first goes.
    hosts[0].info = {"R9999", "?", "A", "\x12R9999A"};
    emit hosts[0].events()->connectedChanged(true);
    QTRY_COMPARE(m_watcher->configsOf(nodeA).size(),
                 int(std::count_if(HubEntities::all().cbegin(), HubEntities::all().cend(),
                                   [](const HubEntities::Entity &e) { return !e.zone2; })));

    QTRY_COMPARE(m_watcher->last.value(a.baseTopic() + "/receiver"), QByteArray("online"));
    bridges[0].reset();
    QTRY_COMPARE(m_watcher->last.value(a.baseTopic() + "/status"), QByteArray("offline"));
    QCOMPARE(m_watcher->last.value(a.baseTopic() + "/receiver"), QByteArray("offline"));
    QCOMPARE(m_watcher->last.value(b.baseTopic() + "/status"), QByteArray("online"));
    QVERIFY(bridges[1]->isConnected());
}

void tst_MqttBridge::brokerGoneAndBack()
{
    m_notes.clear();
    m_broker.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!m_notes.isEmpty(), 5000);
    QVERIFY(m_notes.first().contains(u"no connection"));
    // The retry 1 s later sleeps before it, is refused at once and is not told again.
    const double cpuBefore = cpuSeconds();
    QTest::qWait(1500);
    const double cpu = cpuSeconds() - cpuBefore;
    QVERIFY2(cpu < 0.2, qPrintable(QStringLiteral("%1 s of CPU in 1.5 s").arg(cpu)));
    QCOMPARE(m_notes.size(), 1);

    m_watcher->last.clear();
    QVERIFY2(m_broker.start(), qPrintable(m_broker.errorString()));
    // The new broker remembers nothing: what arrives was published again.
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value(kBase + "/status"), QByteArray("online"),
                              10000);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_watcher->last.contains(QStringLiteral("homeassistant/switch/%1/power/config").arg(kNode)),
        5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value(topic("input_mode")), QByteArray("DTS"), 5000);
    QCOMPARE(m_notes.size(), 2);
    QVERIFY(m_notes.last().contains(u"again"));
}

void tst_MqttBridge::tlsWithPassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("foreignCa");
    QTest::addColumn<QString>("said"); // empty: accepted
    QTest::newRow("right password") << "s3cret-right" << false << "";
    QTest::newRow("wrong password") << "s3cret-wrong" << false << "refused the login";
    QTest::newRow("certificate of another CA") << "s3cret-right" << true << "not trusted: ";
}

void tst_MqttBridge::tlsWithPassword()
{
    QFETCH(QString, password);
    QFETCH(bool, foreignCa);
    QFETCH(QString, said);
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
    const QString foreign = dir.filePath("foreign.pem");
    QFile extFile(ext);
    QVERIFY(extFile.open(QIODevice::WriteOnly));
    extFile.write("subjectAltName=IP:127.0.0.1\n");
    extFile.close();
    for (const QString &authority : {ca, foreign})
        QVERIFY(run(openssl,
                    {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                     "-nodes", "-keyout", authority == ca ? caKey : foreign + ".key", "-out",
                     authority, "-days", "2", "-subj", "/CN=Test CA"}));
    QVERIFY(run(openssl,
                {"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-keyout",
                 key, "-out", csr, "-subj", "/CN=127.0.0.1"}));
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
                         {"CAFile", foreignCa ? foreign : ca},
                         {"User", "hub"},
                         {"Password", password},
                         {"Topic", "tls-test"}});
    FakeProgramHost host;
    FakeClock time;
    MqttBridge bridge(host, nullptr, &settings, nullptr, &time);
    QStringList notes;
    connect(&bridge, &MqttBridge::logged, this, [&notes](const QString &line) { notes << line; });
    bool connectedToBroker = false;
    connect(&bridge, &MqttBridge::brokerConnected, this, [&] { connectedToBroker = true; });
    bridge.start();
    if (said.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(connectedToBroker, 10000);
        QVERIFY(notes.isEmpty());
        return;
    }
    // The attempt at once and the one a second later (each of two connections): one
    // message for both. The broker counts only connections past TLS.
    QTRY_VERIFY_WITH_TIMEOUT(!notes.isEmpty(), 10000);
    if (!foreignCa)
        QTRY_VERIFY_WITH_TIMEOUT(broker.log().count(u"New connection from") >= 4, 10000);
    QVERIFY(!connectedToBroker);
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes.first().contains(said), qPrintable(notes.first()));
    QVERIFY(!notes.first().contains(password));
}

void tst_MqttBridge::cleanEndSaysOffline()
{
    m_window.reset();
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->last.value(kBase + "/status"), QByteArray("offline"),
                              5000);
    QCOMPARE(m_watcher->last.value(kBase + "/receiver"), QByteArray("offline"));
    m_watcher.reset();
    m_port.reset();
    m_receiver.stop();
    m_broker.stop();
}

QTEST_MAIN(tst_MqttBridge)
#include "tst_mqtt_bridge.moc"
