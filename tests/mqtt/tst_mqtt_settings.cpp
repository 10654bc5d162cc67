// The bridge's settings: broker addresses, topics, and a settings file that holds the
// password readable by its owner only.

#include "mqtt/MqttSettings.h"
#include "platform/QSettingsStore.h"

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
