#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// One media player on the session bus, as far as its own notifications tell: playback
// status, the current track and the volume. The state is fetched once without waiting and
// then kept from the player's property changes, so reading it never asks the player.
class MprisPlayer : public QObject
{
    Q_OBJECT
public:
    // `service` is the player's well-known bus name, `owner` the unique name that holds
    // it; `order` grows with each player that appears.
    MprisPlayer(const QDBusConnection &bus, const QString &service, const QString &owner,
                quint64 order, QObject *parent = nullptr);

    QString service() const { return m_service; }
    QString owner() const { return m_owner; }
    quint64 order() const { return m_order; }
    // "Playing", "Paused", "Stopped", or empty until the player has told.
    QString playbackStatus() const { return m_playbackStatus; }
    QString title() const { return m_title; }
    QStringList artists() const { return m_artists; }
    QString trackId() const { return m_trackId; }
    double volume() const { return m_volume; }
    void setVolume(double volume) { m_volume = volume; }

    // Calls a method of the player's control interface without waiting for its answer.
    void call(const QString &method, const QVariantList &arguments = {}) const;
    void callRoot(const QString &method) const;
    void setPlayerProperty(const QString &name, const QVariant &value) const;

signals:
    void changed();
    // The playback status turned to "Playing" (also when first told).
    void startedPlaying();

private slots:
    void onPropertiesChanged(const QString &interface, const QVariantMap &changed,
                             const QStringList &invalidated);

private:
    void fetchAll();
    void apply(const QVariantMap &properties);
    void applyMetadata(const QVariantMap &metadata);

    QDBusConnection m_bus;
    QString m_service;
    QString m_owner;
    quint64 m_order;
    QString m_playbackStatus;
    QString m_title;
    QStringList m_artists;
    QString m_trackId;
    double m_volume = -1.0; // unknown
};
