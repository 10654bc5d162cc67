#include "mqtt/MqttSettings.h"

#include "platform/SettingsStore.h"
#include "state/VolumeText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>
#include <QUrl>
#include <cmath>

namespace {
const QString kKeyBroker = QStringLiteral("Broker");
const QString kKeyUser = QStringLiteral("User");
const QString kKeyCaFile = QStringLiteral("CAFile");
const QString kKeyTopic = QStringLiteral("Topic");
const QString kKeyDiscovery = QStringLiteral("Discovery");
const QString kKeyMaxVolume = QStringLiteral("MaxVolume");
const QString kKeyInstallation = QStringLiteral("Installation");

bool isInstallationId(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9a-f]{12}$"));
    return form.match(text).hasMatch();
}

// The stored id, or a new one saved now; the machine's id when it cannot be saved, so
// that it stays the same from run to run.
QString installationOf(SettingsStore &store)
{
    const QString stored = store.readValue(MqttSettings::kSection, kKeyInstallation).trimmed();
    if (isInstallationId(stored))
        return stored;
    const quint64 random = QRandomGenerator::system()->generate64();
    const QString made = QString::number(random & 0xFFFFFFFFFFFFull, 16).rightJustified(12, u'0');
    store.writeValue(MqttSettings::kSection, kKeyInstallation, made);
    if (!store.flush().isEmpty())
        return MqttSettings::legacyInstallation();
    return made;
}
} // namespace

QString MqttSettings::legacyInstallation()
{
    const QByteArray seed = QSysInfo::machineUniqueId() + '/' + QDir::homePath().toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(seed, QCryptographicHash::Sha256).toHex().left(12));
}

QString MqttSettings::defaultTopic(const QString &installation)
{
    return kTopicPrefix + QLatin1Char('/') + installation;
}

double MqttSettings::receiverTop()
{
    return VolumeText::mainDecibels(VolumeText::kMainHighest);
}

double MqttSettings::receiverBottom()
{
    return VolumeText::mainDecibels(VolumeText::kMainLowest);
}

std::optional<MqttSettings::Address> MqttSettings::parseBroker(const QString &text, QString *error)
{
    const auto fail = [error](const QString &reason) -> std::optional<Address> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    // Messages never repeat a password someone put into the address.
    const QString shown = url.isValid()   ? url.toString(QUrl::RemoveUserInfo)
        : text.contains(QLatin1Char('@')) ? QStringLiteral("(not shown)")
                                          : text.trimmed();
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"mqtt" && scheme != u"mqtts"))
        return fail(QStringLiteral("The broker must be written mqtt://host[:port] or "
                                   "mqtts://host[:port], not \"%1\".")
                        .arg(shown));
    if (url.host().isEmpty())
        return fail(QStringLiteral("The broker address \"%1\" names no host.").arg(shown));
    if (!url.path().isEmpty() && url.path() != u"/")
        return fail(QStringLiteral("The broker address \"%1\" may not have a path.").arg(shown));
    if (!url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return fail(QStringLiteral("The broker address \"%1\" may hold only host and port; "
                                   "the user and password have their own fields.")
                        .arg(shown));
    Address address;
    address.tls = scheme == u"mqtts";
    address.host = url.host();
    address.port = url.port(address.tls ? 8883 : 1883);
    if (address.port <= 0 || address.port > 65535)
        return fail(QStringLiteral("The broker's port must be 1 to 65535."));
    return address;
}

QString MqttSettings::checkTopic(const QString &what, const QString &topic)
{
    if (topic.isEmpty())
        return QStringLiteral("The %1 may not be empty.").arg(what);
    if (topic.contains(QLatin1Char('#')) || topic.contains(QLatin1Char('+')))
        return QStringLiteral("The %1 \"%2\" may not contain # or +: those are wildcards, "
                              "not topic names.")
            .arg(what, topic);
    for (const QChar c : topic)
        if (c.category() == QChar::Other_Control || c.isNonCharacter())
            return QStringLiteral("The %1 may not contain control characters.").arg(what);
    if (topic.startsWith(QLatin1Char('/')) || topic.endsWith(QLatin1Char('/')))
        return QStringLiteral("The %1 \"%2\" may not begin or end with /.").arg(what, topic);
    if (topic.toUtf8().size() > 200)
        return QStringLiteral("The %1 is too long (at most 200 bytes).").arg(what);
    return {};
}

std::optional<double> MqttSettings::parseMaxVolume(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return receiverTop();
    bool ok = false;
    const double decibels = QString(trimmed).remove(QStringLiteral("dB")).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(decibels))
        return std::nullopt;
    const double stepped = std::round(decibels * 2) / 2;
    if (stepped < receiverBottom() || stepped > receiverTop())
        return std::nullopt;
    return stepped;
}

QString MqttSettings::problems() const
{
    QStringList found;
    QString error;
    if (enabled() && !parseBroker(broker, &error))
        found << error;
    for (const auto &[what, value] : {std::pair {QStringLiteral("base topic"), baseTopic()},
                                      std::pair {QStringLiteral("discovery prefix"), discovery}}) {
        const QString reason = checkTopic(what, value);
        if (!reason.isEmpty())
            found << reason;
    }
    if (std::isnan(maxVolume))
        found << QStringLiteral("The maximum volume must be a number of dB from %1 to %2.")
                     .arg(receiverBottom())
                     .arg(receiverTop());
    return found.join(QLatin1Char('\n'));
}

MqttSettings MqttSettings::load(SettingsStore &store)
{
    MqttSettings settings;
    for (const auto &[key, value] : store.readSection(kSection)) {
        if (key == kKeyBroker)
            settings.broker = value.trimmed();
        else if (key == kKeyUser)
            settings.user = value;
        else if (key == kKeyCaFile)
            settings.caFile = value;
        else if (key == kKeyTopic)
            settings.topic = value;
        else if (key == kKeyDiscovery && !value.isEmpty())
            settings.discovery = value;
        else if (key == kKeyMaxVolume)
            settings.maxVolume = parseMaxVolume(value).value_or(std::nan(""));
    }
    settings.installation = installationOf(store);
    return settings;
}

void MqttSettings::save(SettingsStore &store) const
{
    store.writeValue(kSection, kKeyBroker, broker.trimmed());
    store.writeValue(kSection, kKeyUser, user);
    store.writeValue(kSection, kKeyCaFile, caFile);
    store.writeValue(kSection, kKeyTopic, topic);
    store.writeValue(kSection, kKeyDiscovery, discovery);
    store.writeValue(kSection, kKeyMaxVolume,
                     maxVolume == receiverTop() ? QString() : QString::number(maxVolume));
}

std::optional<MosquittoClient::Options> MqttSettings::clientOptions(const QString &password) const
{
    const auto address = parseBroker(broker);
    if (!address)
        return std::nullopt;
    MosquittoClient::Options options;
    options.host = address->host;
    options.port = address->port;
    options.tls = address->tls;
    options.caFile = caFile;
    options.user = user;
    options.password = password;
    return options;
}
