#pragma once

#include "platform/PlayerRemote.h"

#include <QDBusConnection>
#include <QObject>
#include <map>
#include <memory>

class MprisPlayer;

// The player remote for media players on the session bus. It follows players as their
// bus names appear and vanish and keeps each one's state from its notifications, so
// find, title and status answer from memory; commands are sent without waiting.
// "The player" is the one that last started playing or was last commanded, for as long
// as it stays on the bus; without one, the one that plays, else the one that appeared
// last.
class MprisPlayerRemote final : public QObject, public PlayerRemote
{
    Q_OBJECT
public:
    explicit MprisPlayerRemote(const QDBusConnection &bus, QObject *parent = nullptr);
    ~MprisPlayerRemote() override;

    bool find() override;
    QString title() override;
    int status() override;

    void playFromStart() override;
    void togglePause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void seekForward() override;
    void seekBack() override;
    void volumeUp() override;
    void volumeDown() override;
    void quit() override;

    // The track as a title line: the artists and the title joined by " - ", the title
    // alone without artists, the artists alone without a title.
    static QString trackTitle(const QStringList &artists, const QString &title);
    // The bus names of the players known now.
    QStringList services() const;

signals:
    // A player appeared, vanished or told of a change.
    void changed();

private slots:
    void onNameOwnerChanged(const QString &name, const QString &oldOwner, const QString &newOwner);

private:
    void listPlayers();
    void addPlayer(const QString &service, const QString &owner);
    void removePlayer(const QString &service);
    MprisPlayer *current() const;
    // The current player, which a command keeps as the current one.
    MprisPlayer *commanded();
    void stepVolume(double step);

    QDBusConnection m_bus;
    std::map<QString, std::unique_ptr<MprisPlayer>> m_players; // by well-known name
    quint64 m_nextOrder = 0;
    QString m_current; // bus name of the player kept as the current one, if any
};
