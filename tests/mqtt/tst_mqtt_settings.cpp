// The bridge's settings: broker addresses, topics, the hub's maximum volume, the
// installation's own default topic, and a settings file that holds the password readable
// by its owner only.

#include "mqtt/MqttSettings.h"
#include "platform/QSettingsStore.h"
#include "tests/support/FakeSettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_MqttSettings : public QObject
{
    Q_OBJECT

private slots:
    void broker_data();
    void broker();
    void topics_data();
    void topics();
    void maxVolume_data();
    void maxVolume();
    void defaultTopicIsTheInstallations();
    void passwordFileIsOwnerOnly();
};

void tst_MqttSettings::broker_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("host"); // empty: refused
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("tls");

    QTest::newRow("plain, default port") << "mqtt://hub.local"
                                         << "hub.local" << 1883 << false;
    QTest::newRow("TLS, default port") << "mqtts://hub.local"
                                       << "hub.local" << 8883 << true;
    QTest::newRow("port and spaces") << "  mqtt://192.168.1.5:1884 "
                                     << "192.168.1.5" << 1884 << false;
    QTest::newRow("upper-case scheme") << "MQTTS://h:9"
                                       << "h" << 9 << true;
    QTest::newRow("IPv6") << "mqtt://[::1]:1883"
                          << "::1" << 1883 << false;
    QTest::newRow("no scheme") << "hub.local:1883"
                               << "" << 0 << false;
    QTest::newRow("other scheme") << "http://hub.local"
                                  << "" << 0 << false;
    QTest::newRow("no host") << "mqtt://:1883"
                             << "" << 0 << false;
    QTest::newRow("port out of range") << "mqtt://h:70000"
                                       << "" << 0 << false;
    QTest::newRow("credentials in the address") << "mqtt://u:p@h"
                                                << "" << 0 << false;
    QTest::newRow("a path") << "mqtt://h/x"
                            << "" << 0 << false;
}

void tst_MqttSettings::broker()
{
    QFETCH(QString, text);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, tls);
    QString error;
    const auto address = MqttSettings::parseBroker(text, &error);
    QCOMPARE(address.has_value(), !host.isEmpty());
    if (!address) {
        QVERIFY(!error.isEmpty());
        QVERIFY(!error.contains(QLatin1String(":p@")));
        return;
    }
    QCOMPARE(address->host, host);
    QCOMPARE(address->port, port);
    QCOMPARE(address->tls, tls);
}

void tst_MqttSettings::topics_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<bool>("usable");

    QTest::newRow("default") << "orvane" << true;
    QTest::newRow("levels") << "home/living room/receiver" << true;
    QTest::newRow("multi-level wildcard") << "orvane/#" << false;
    QTest::newRow("single-level wildcard") << "home/+/receiver" << false;
    QTest::newRow("control character") << "orv\nane" << false;
    QTest::newRow("NUL") << QString::fromUtf16(u"orv\u0000ane", 7) << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("leading slash") << "/orvane" << false;
}

void tst_MqttSettings::topics()
{
    QFETCH(QString, topic);
    QFETCH(bool, usable);
    const QString reason = MqttSettings::checkTopic(QStringLiteral("base topic"), topic);
    QCOMPARE(reason.isEmpty(), usable);
    MqttSettings settings;
    settings.broker = QStringLiteral("mqtt://h");
    settings.discovery = topic;
    QCOMPARE(settings.problems().contains(u"discovery prefix"), !usable);
}

void tst_MqttSettings::maxVolume_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("decibels"); // NaN: refused

    QTest::newRow("not set: the receiver's top") << "" << 16.5;
    QTest::newRow("with unit") << "-10 dB" << -10.0;
    QTest::newRow("rounded to half dB steps") << "-10.3" << -10.5;
    QTest::newRow("the bottom") << "-80" << -80.0;
    QTest::newRow("above the receiver's top") << "17" << qQNaN();
    QTest::newRow("not a number") << "loud" << qQNaN();
    QTest::newRow("infinite") << "inf" << qQNaN();
}

void tst_MqttSettings::maxVolume()
{
    QFETCH(QString, text);
    QFETCH(double, decibels);
    FakeSettingsStore store;
    store.setSection(MqttSettings::kSection, {{QStringLiteral("MaxVolume"), text}});
    const MqttSettings settings = MqttSettings::load(store);
    QCOMPARE(qIsNaN(settings.maxVolume), qIsNaN(decibels));
    QCOMPARE(settings.problems().contains(u"maximum volume"), qIsNaN(decibels));
    if (!qIsNaN(decibels))
        QCOMPARE(settings.maxVolume, decibels);
}

void tst_MqttSettings::defaultTopicIsTheInstallations()
{
    // Made on the first read and kept; a topic the user set stays as written.
    FakeSettingsStore store;
    const MqttSettings first = MqttSettings::load(store);
    QCOMPARE(first.installation.size(), 12);
    QCOMPARE(first.baseTopic(), QStringLiteral("orvane/") + first.installation);
    QCOMPARE(MqttSettings::load(store).installation, first.installation);
    FakeSettingsStore other;
    QVERIFY(MqttSettings::load(other).installation != first.installation);
    // A file that cannot be written gives the machine's id, the same on every run.
    FakeSettingsStore readOnly;
    readOnly.setFlushFailure(QStringLiteral("read-only"));
    QCOMPARE(MqttSettings::load(readOnly).installation, MqttSettings::legacyInstallation());
    store.writeValue(MqttSettings::kSection, QStringLiteral("Topic"), QStringLiteral("orvane"));
    QCOMPARE(MqttSettings::load(store).baseTopic(), QStringLiteral("orvane"));
}

void tst_MqttSettings::passwordFileIsOwnerOnly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Orvane.conf"));
    QSettingsStore store(path);
    store.restrictToOwner();
    store.writeValue(MqttSettings::kSection, MqttSettings::kPasswordKey, QStringLiteral("pw"));
    QVERIFY(store.flush().isEmpty());
    const QFile::Permissions others
        = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QCOMPARE(QFile::permissions(path) & others, QFile::Permissions());
    QVERIFY(QFile::permissions(path) & QFile::ReadOwner);
}

QTEST_MAIN(tst_MqttSettings)
#include "tst_mqtt_settings.moc"
