#include "player/MprisPlayerRemote.h"

#include "player/MprisPlayer.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <algorithm>
#include <chrono>

namespace {

const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");
const QString kPlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

constexpr std::chrono::microseconds kSeekStep {std::chrono::seconds(5)};
constexpr double kVolumeStep = 0.05;

bool isPlayerName(const QString &name)
{
    return name.startsWith(kPlayerPrefix) && name.size() > kPlayerPrefix.size();
}

} // namespace

MprisPlayerRemote::MprisPlayerRemote(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    m_bus.connect(kBusService, kBusPath, kBusService, QStringLiteral("NameOwnerChanged"), this,
                  SLOT(onNameOwnerChanged(QString, QString, QString)));
    listPlayers();
}

MprisPlayerRemote::~MprisPlayerRemote() = default;

// The players already running: their names first, then each name's owner, both asked
// without waiting.
void MprisPlayerRemote::listPlayers()
{
    const QDBusMessage list = QDBusMessage::createMethodCall(kBusService, kBusPath, kBusService,
                                                             QStringLiteral("ListNames"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(list), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<QStringList> names = *call;
                if (names.isError())
                    return;
                for (const QString &name : names.value()) {
                    if (!isPlayerName(name))
                        continue;
                    QDBusMessage ask = QDBusMessage::createMethodCall(
                        kBusService, kBusPath, kBusService, QStringLiteral("GetNameOwner"));
                    ask << name;
                    auto *owner = new QDBusPendingCallWatcher(m_bus.asyncCall(ask), this);
                    connect(owner, &QDBusPendingCallWatcher::finished, this,
                            [this, name](QDBusPendingCallWatcher *answer) {
                                answer->deleteLater();
                                const QDBusPendingReply<QString> reply = *answer;
                                // A player that appeared meanwhile is known already.
                                if (reply.isError() || m_players.contains(name))
                                    return;
                                addPlayer(name, reply.value());
                                emit changed();
                            });
                }
            });
}

void MprisPlayerRemote::onNameOwnerChanged(const QString &name, const QString &oldOwner,
                                           const QString &newOwner)
{
    if (!isPlayerName(name))
        return;
    Q_UNUSED(oldOwner);
    removePlayer(name);
    if (!newOwner.isEmpty())
        addPlayer(name, newOwner);
    emit changed();
}

void MprisPlayerRemote::addPlayer(const QString &service, const QString &owner)
{
    auto player = std::make_unique<MprisPlayer>(m_bus, service, owner, m_nextOrder++);
    connect(player.get(), &MprisPlayer::changed, this, &MprisPlayerRemote::changed);
    connect(player.get(), &MprisPlayer::startedPlaying, this,
            [this, service] { m_current = service; });
    m_players[service] = std::move(player);
}

void MprisPlayerRemote::removePlayer(const QString &service)
{
    m_players.erase(service);
    if (service == m_current)
        m_current.clear();
}

QStringList MprisPlayerRemote::services() const
{
    QStringList names;
    for (const auto &[name, player] : m_players)
        names << name;
    return names;
}

MprisPlayer *MprisPlayerRemote::current() const
{
    if (!m_current.isEmpty()) {
        const auto kept = m_players.find(m_current);
        if (kept != m_players.end())
            return kept->second.get();
    }
    MprisPlayer *latest = nullptr;
    MprisPlayer *latestPlaying = nullptr;
    for (const auto &[name, player] : m_players) {
        if (!latest || player->order() > latest->order())
            latest = player.get();
        if (player->playbackStatus() == QLatin1String("Playing")
            && (!latestPlaying || player->order() > latestPlaying->order()))
            latestPlaying = player.get();
    }
    return latestPlaying ? latestPlaying : latest;
}

MprisPlayer *MprisPlayerRemote::commanded()
{
    MprisPlayer *player = current();
    if (player)
        m_current = player->service();
    return player;
}

QString MprisPlayerRemote::trackTitle(const QStringList &artists, const QString &title)
{
    const QString artist = artists.join(QStringLiteral(", "));
    if (artist.isEmpty())
        return title;
    if (title.isEmpty())
        return artist;
    return artist + QStringLiteral(" - ") + title;
}

bool MprisPlayerRemote::find()
{
    return !m_players.empty();
}

QString MprisPlayerRemote::title()
{
    const MprisPlayer *player = current();
    return player ? trackTitle(player->artists(), player->title()) : QString();
}

int MprisPlayerRemote::status()
{
    const MprisPlayer *player = current();
    if (!player)
        return Stopped;
    if (player->playbackStatus() == QLatin1String("Playing"))
        return Playing;
    if (player->playbackStatus() == QLatin1String("Paused"))
        return Paused;
    return Stopped;
}

void MprisPlayerRemote::playFromStart()
{
    const MprisPlayer *player = commanded();
    if (!player)
        return;
    if (status() != Stopped) {
        const QString track = player->trackId();
        if (!track.isEmpty() && track != kNoTrack)
            player->call(QStringLiteral("SetPosition"),
                         {QVariant::fromValue(QDBusObjectPath(track)), qlonglong(0)});
        else // a position before the start means the start
            player->call(QStringLiteral("Seek"), {qlonglong(-(qlonglong(1) << 50))});
    }
    player->call(QStringLiteral("Play"));
}

void MprisPlayerRemote::togglePause()
{
    const MprisPlayer *player = commanded();
    if (!player)
        return;
    if (status() == Playing)
        player->call(QStringLiteral("Pause"));
    else if (status() == Paused)
        player->call(QStringLiteral("Play"));
}

void MprisPlayerRemote::stop()
{
    if (const MprisPlayer *player = commanded())
        player->call(QStringLiteral("Stop"));
}

void MprisPlayerRemote::next()
{
    if (const MprisPlayer *player = commanded())
        player->call(QStringLiteral("Next"));
}

void MprisPlayerRemote::previous()
{
    if (const MprisPlayer *player = commanded())
        player->call(QStringLiteral("Previous"));
}

void MprisPlayerRemote::seekForward()
{
    if (const MprisPlayer *player = commanded())
        player->call(QStringLiteral("Seek"), {qlonglong(kSeekStep.count())});
}

void MprisPlayerRemote::seekBack()
{
    if (const MprisPlayer *player = commanded())
        player->call(QStringLiteral("Seek"), {qlonglong(-kSeekStep.count())});
}

void MprisPlayerRemote::stepVolume(double step)
{
    MprisPlayer *player = commanded();
    if (!player || player->volume() < 0.0)
        return;
    // Never below silence; never past full unless the player already is.
    const double ceiling = std::max(1.0, player->volume());
    const double volume = std::clamp(player->volume() + step, 0.0, ceiling);
    // Kept at once, so quick steps add up before the player's notification arrives.
    player->setVolume(volume);
    player->setPlayerProperty(QStringLiteral("Volume"), volume);
}

void MprisPlayerRemote::volumeUp()
{
    stepVolume(kVolumeStep);
}

void MprisPlayerRemote::volumeDown()
{
    stepVolume(-kVolumeStep);
}

void MprisPlayerRemote::quit()
{
    if (const MprisPlayer *player = commanded())
        player->callRoot(QStringLiteral("Quit"));
}
