#include "player/MprisPlayer.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <cmath>

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// Values inside a{sv} arrive either already converted or as a bus argument still to read.
// A player may send any type; a value of another type than expected reads as empty.
QVariantMap toMap(const QVariant &value)
{
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentSignature() != QLatin1String("a{sv}"))
            return {};
        return qdbus_cast<QVariantMap>(argument);
    }
    return value.toMap();
}

QStringList toStringList(const QVariant &value)
{
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentSignature() != QLatin1String("as"))
            return {};
        return qdbus_cast<QStringList>(argument);
    }
    if (value.userType() == QMetaType::QString)
        return {value.toString()};
    return value.toStringList();
}

QString toPath(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return {};
}

} // namespace

MprisPlayer::MprisPlayer(const QDBusConnection &bus, const QString &service, const QString &owner,
                         quint64 order, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_service(service)
    , m_owner(owner)
    , m_order(order)
{
    // Signals are matched by the unique name: no look-up of the owner is needed.
    m_bus.connect(m_owner, kPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    fetchAll();
}

void MprisPlayer::fetchAll()
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_owner, kPath, kPropertiesInterface,
                                                          QStringLiteral("GetAll"));
    message << kPlayerInterface;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<QVariantMap> reply = *call;
                if (reply.isError())
                    return;
                apply(reply.value());
                emit changed();
            });
}

void MprisPlayer::onPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                      const QStringList &invalidated)
{
    if (interface != kPlayerInterface)
        return;
    apply(changed);
    // A player may only say that a value changed; then it is asked for all of them.
    if (invalidated.contains(QStringLiteral("PlaybackStatus"))
        || invalidated.contains(QStringLiteral("Metadata")))
        fetchAll();
    emit this->changed();
}

void MprisPlayer::apply(const QVariantMap &properties)
{
    const auto status = properties.constFind(QStringLiteral("PlaybackStatus"));
    if (status != properties.cend()) {
        const bool wasPlaying = m_playbackStatus == QLatin1String("Playing");
        m_playbackStatus
            = status->userType() == QMetaType::QString ? status->toString() : QString();
        if (!wasPlaying && m_playbackStatus == QLatin1String("Playing"))
            emit startedPlaying();
    }
    const auto metadata = properties.constFind(QStringLiteral("Metadata"));
    if (metadata != properties.cend())
        applyMetadata(toMap(*metadata));
    const auto volume = properties.constFind(QStringLiteral("Volume"));
    if (volume != properties.cend()) {
        const double value = volume->userType() == QMetaType::Double ? volume->toDouble() : -1.0;
        m_volume = std::isfinite(value) && value >= 0.0 ? value : -1.0;
    }
}

void MprisPlayer::applyMetadata(const QVariantMap &metadata)
{
    const QVariant title = metadata.value(QStringLiteral("xesam:title"));
    m_title = title.userType() == QMetaType::QString ? title.toString() : QString();
    m_artists = toStringList(metadata.value(QStringLiteral("xesam:artist")));
    m_artists.removeAll(QString());
    m_trackId = toPath(metadata.value(QStringLiteral("mpris:trackid")));
}

void MprisPlayer::call(const QString &method, const QVariantList &arguments) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_owner, kPath, kPlayerInterface, method);
    message.setArguments(arguments);
    // Sent without waiting: the answer, if any, is dropped by the bus library.
    m_bus.send(message);
}

void MprisPlayer::callRoot(const QString &method) const
{
    m_bus.send(QDBusMessage::createMethodCall(m_owner, kPath, kRootInterface, method));
}

void MprisPlayer::setPlayerProperty(const QString &name, const QVariant &value) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_owner, kPath, kPropertiesInterface,
                                                          QStringLiteral("Set"));
    message << kPlayerInterface << name << QVariant::fromValue(QDBusVariant(value));
    m_bus.send(message);
}
