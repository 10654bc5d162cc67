// The player remote against a real media player on a private session bus: what each
// command identifier does to the player, players that come, go, hang or run side by side,
// and the title rule.

#include "platform/PlayerRemote.h"
#include "player/Modul_Winamp.h"
#include "player/MprisPlayerRemote.h"
#include "tests/support/FakePlayerRemote.h"
#include "tests/support/MediaPlayerProcess.h"
#include "tests/support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QString kTrackA = QStringLiteral("Artist A - Song A");
const QString kTrackB = QStringLiteral("Artist B - Song B");
constexpr int kSettle = 5000; // ms a player gets to start or to act

// A player of the test's own that tells its state with values of any type, either when
// asked or only by change notifications.
class OddPlayer : public QDBusVirtualObject
{
public:
    QVariantMap properties;
    bool answers = true;

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.member() == QLatin1String("GetAll")) {
            if (answers)
                connection.send(message.createReply(QVariant::fromValue(properties)));
            return true;
        }
        return message.type() == QDBusMessage::MethodCallMessage; // commands: no answer
    }
};

} // namespace

class tst_MprisPlayerRemote : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void titleRule_data();
    void titleRule();
    void commands_data();
    void commands();
    void playerAppearsAfterStart();
    void playerLeavesWhileTitleShows();
    void twoPlayersAtOnce();
    void hangingPlayerHoldsNothing();
    void oddPlayerValues_data();
    void oddPlayerValues();

private:
    // A player on the bus with both tracks, and the remote once it knows the player.
    void startPlayer(MediaPlayerProcess &player, bool paused = false);
    QVariant playerProperty(const QString &service, const QString &name);

    std::unique_ptr<PrivateBus> m_bus;
    QDBusConnection m_connection {QString()};
    QTemporaryDir m_dir;
    QStringList m_tracks;
    QString m_skip;
};

void tst_MprisPlayerRemote::initTestCase()
{
    m_skip = MediaPlayerProcess::missing();
    if (!m_skip.isEmpty())
        return;
    m_bus = std::make_unique<PrivateBus>();
    if (!m_bus->start()) {
        m_skip = m_bus->errorString();
        return;
    }
    m_connection = QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("test"));
    if (!m_connection.isConnected()) {
        m_skip = QStringLiteral("the private session bus cannot be reached");
        return;
    }
    m_tracks = {m_dir.filePath(QStringLiteral("a.wav")), m_dir.filePath(QStringLiteral("b.wav"))};
    QVERIFY(MediaPlayerProcess::writeTrack(m_tracks[0], QStringLiteral("Song A"),
                                           QStringLiteral("Artist A")));
    QVERIFY(MediaPlayerProcess::writeTrack(m_tracks[1], QStringLiteral("Song B"),
                                           QStringLiteral("Artist B")));
}

void tst_MprisPlayerRemote::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("test"));
}

void tst_MprisPlayerRemote::startPlayer(MediaPlayerProcess &player, bool paused)
{
    QVERIFY(player.start(m_bus->address(), m_tracks, paused));
}

QVariant tst_MprisPlayerRemote::playerProperty(const QString &service, const QString &name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.mpris.MediaPlayer2.Player") << name;
    const QDBusReply<QDBusVariant> reply = m_connection.call(get, QDBus::Block, 2000);
    return reply.isValid() ? reply.value().variant() : QVariant();
}

void tst_MprisPlayerRemote::titleRule_data()
{
    QTest::addColumn<QStringList>("artists");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");

    QTest::newRow("artist and title") << QStringList {"Band"} << "Song"
                                      << "Band - Song";
    QTest::newRow("title alone without artist") << QStringList {} << "Song"
                                                << "Song";
    QTest::newRow("two artists") << QStringList {"A", "B"} << "Song"
                                 << "A, B - Song";
    QTest::newRow("suffix cut at the end") << QStringList {"Band"} << "Song - Winamp"
                                           << "Band - Song";
    QTest::newRow("suffix cut in any case") << QStringList {} << "Song - wINAMP"
                                            << "Song";
    QTest::newRow("suffix cut mid title") << QStringList {} << "Live - Winamp Tour"
                                          << "Live Tour";
    QTest::newRow("suffix cut twice") << QStringList {} << "A - Winamp B - winamp"
                                      << "A B";
}

void tst_MprisPlayerRemote::titleRule()
{
    QFETCH(QStringList, artists);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    FakePlayerRemote player;
    player.setPresent(true);
    player.setTitle(MprisPlayerRemote::trackTitle(artists, title));
    QCOMPARE(Modul_Winamp::GetWinampTitle(&player), shown);
    player.setPresent(false);
    QCOMPARE(Modul_Winamp::GetWinampTitle(&player), QString());
}

void tst_MprisPlayerRemote::commands_data()
{
    QTest::addColumn<bool>("paused");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("title");
    // Position in seconds after the commands, checked when the bounds are given.
    QTest::addColumn<double>("positionFrom");
    QTest::addColumn<double>("positionTo");
    // The player's volume after the commands, checked when not negative.
    QTest::addColumn<double>("volume");

    const double any = -1;
    QTest::newRow("40046 pauses a playing player")
        << false << QList<int> {40046} << 3 << kTrackA << any << any << any;
    QTest::newRow("40046 resumes a paused player")
        << true << QList<int> {40046} << 1 << kTrackA << any << any << any;
    QTest::newRow("40046 leaves a stopped player stopped")
        << false << QList<int> {40047, 40046} << 0 << QString() << any << any << any;
    QTest::newRow("40047 stops") << false << QList<int> {40047} << 0 << QString() << any << any
                                 << any;
    QTest::newRow("40045 plays a paused track from its start")
        << true << QList<int> {40060, 40060, 40045} << 1 << kTrackA << 0.0 << 3.0 << any;
    QTest::newRow("40048 goes to the next track")
        << false << QList<int> {40048} << 1 << kTrackB << any << any << any;
    QTest::newRow("40198 goes back to the previous track")
        << false << QList<int> {40048, 40198} << 1 << kTrackA << any << any << any;
    QTest::newRow("40060 seeks 5 seconds forward")
        << true << QList<int> {40060} << 3 << kTrackA << 4.9 << 5.5 << any;
    QTest::newRow("40061 seeks 5 seconds back")
        << true << QList<int> {40060, 40060, 40061} << 3 << kTrackA << 4.9 << 5.5 << any;
    QTest::newRow("40059 lowers the volume")
        << true << QList<int> {40059, 40059} << 3 << kTrackA << any << any << 0.90;
    QTest::newRow("40058 raises the volume")
        << true << QList<int> {40059, 40059, 40058} << 3 << kTrackA << any << any << 0.95;
    QTest::newRow("40001 asks the player to quit")
        << false << QList<int> {40001} << 0 << QString() << any << any << any;
    QTest::newRow("ids without a player action do nothing")
        << false << QList<int> {40029, 40037, 40040, 40155, 40191, 40194, 12345} << 1 << kTrackA
        << any << any << any;
}

void tst_MprisPlayerRemote::commands()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    QFETCH(bool, paused);
    QFETCH(QList<int>, ids);
    QFETCH(int, status);
    QFETCH(QString, title);
    QFETCH(double, positionFrom);
    QFETCH(double, positionTo);
    QFETCH(double, volume);

    MprisPlayerRemote remote(m_connection);
    MediaPlayerProcess player;
    startPlayer(player, paused);
    QTRY_COMPARE_WITH_TIMEOUT(remote.title(), kTrackA, kSettle);
    QTRY_COMPARE_WITH_TIMEOUT(remote.status(), paused ? 3 : 1, kSettle);
    const QString service = remote.services().value(0);

    for (int id : ids) {
        Modul_Winamp::WinampSendCommand(&remote, id);
        // Each command acts on the state the one before it left.
        QTest::qWait(400);
    }
    QTRY_COMPARE_WITH_TIMEOUT(Modul_Winamp::WinampGetStatus(&remote), status, kSettle);
    QTRY_COMPARE_WITH_TIMEOUT(remote.title(), title, kSettle);
    if (positionFrom >= 0) {
        const double seconds
            = playerProperty(service, QStringLiteral("Position")).toLongLong() / 1e6;
        QVERIFY2(seconds >= positionFrom && seconds <= positionTo,
                 qPrintable(QString::number(seconds)));
    }
    if (volume >= 0)
        QTRY_VERIFY_WITH_TIMEOUT(
            qAbs(playerProperty(service, QStringLiteral("Volume")).toDouble() - volume) < 0.01,
            kSettle);
}

void tst_MprisPlayerRemote::playerAppearsAfterStart()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    MprisPlayerRemote remote(m_connection);
    QTest::qWait(200);
    QVERIFY(!Modul_Winamp::FindWinamp(&remote));
    QCOMPARE(Modul_Winamp::WinampGetStatus(&remote), 0);

    MediaPlayerProcess player;
    startPlayer(player);
    QTRY_VERIFY_WITH_TIMEOUT(Modul_Winamp::FindWinamp(&remote), kSettle);
    QTRY_COMPARE_WITH_TIMEOUT(Modul_Winamp::GetWinampTitle(&remote), kTrackA, kSettle);
    QTRY_COMPARE_WITH_TIMEOUT(Modul_Winamp::WinampGetStatus(&remote), 1, kSettle);

    // A remote made while the player runs finds it from the bus's list of names.
    MprisPlayerRemote later(m_connection);
    QTRY_COMPARE_WITH_TIMEOUT(later.title(), kTrackA, kSettle);
    QCOMPARE(later.status(), 1);
}

void tst_MprisPlayerRemote::playerLeavesWhileTitleShows()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    MprisPlayerRemote remote(m_connection);
    MediaPlayerProcess player;
    startPlayer(player);
    QTRY_COMPARE_WITH_TIMEOUT(Modul_Winamp::GetWinampTitle(&remote), kTrackA, kSettle);

    player.kill(); // as a crash: no goodbye on the bus
    QTRY_VERIFY_WITH_TIMEOUT(!Modul_Winamp::FindWinamp(&remote), kSettle);
    QCOMPARE(Modul_Winamp::GetWinampTitle(&remote), QString());
    QCOMPARE(Modul_Winamp::WinampGetStatus(&remote), 0);
    Modul_Winamp::WinampSendCommand(&remote, 40045); // to nobody, without harm
}

void tst_MprisPlayerRemote::twoPlayersAtOnce()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    MprisPlayerRemote remote(m_connection);
    MediaPlayerProcess first;
    startPlayer(first);
    QTRY_COMPARE_WITH_TIMEOUT(remote.status(), 1, kSettle);

    // A second, paused player appears: the playing one stays the player.
    const QString firstName = remote.services().value(0);
    MediaPlayerProcess second;
    QVERIFY(second.start(m_bus->address(), {m_tracks[1]}, true));
    QTRY_COMPARE_WITH_TIMEOUT(remote.services().size(), 2, kSettle);
    QTest::qWait(300);
    QCOMPARE(remote.title(), kTrackA);

    // Paused, it is still the player although another appeared later: Play/Pause
    // resumes it.
    Modul_Winamp::WinampSendCommand(&remote, 40046);
    QTRY_COMPARE_WITH_TIMEOUT(remote.status(), 3, kSettle);
    QTest::qWait(300);
    QCOMPARE(remote.title(), kTrackA);
    Modul_Winamp::WinampSendCommand(&remote, 40046);
    QTRY_COMPARE_WITH_TIMEOUT(remote.status(), 1, kSettle);
    QCOMPARE(remote.title(), kTrackA);

    // The other player starting to play takes over.
    QStringList others = remote.services();
    others.removeAll(firstName);
    QCOMPARE(others.size(), 1);
    m_connection.asyncCall(QDBusMessage::createMethodCall(
        others.front(), QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Play")));
    QTRY_COMPARE_WITH_TIMEOUT(remote.title(), kTrackB, kSettle);
    QTRY_COMPARE_WITH_TIMEOUT(remote.status(), 1, kSettle);

    // The player that leaves is forgotten; the other one is the player again.
    second.kill();
    QTRY_COMPARE_WITH_TIMEOUT(remote.services().size(), 1, kSettle);
    QCOMPARE(remote.title(), kTrackA);
    QCOMPARE(remote.status(), 1);
}

void tst_MprisPlayerRemote::hangingPlayerHoldsNothing()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    MediaPlayerProcess player;
    startPlayer(player);
    MprisPlayerRemote remote(m_connection);
    QTRY_COMPARE_WITH_TIMEOUT(remote.title(), kTrackA, kSettle);

    player.hold(true);
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < 20; ++round) {
        for (int id : {40045, 40046, 40047, 40048, 40198, 40060, 40061, 40058, 40059})
            Modul_Winamp::WinampSendCommand(&remote, id);
        QVERIFY(Modul_Winamp::FindWinamp(&remote));
        QCOMPARE(Modul_Winamp::GetWinampTitle(&remote), kTrackA);
    }
    QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));

    // A remote made now asks for the hung player's state without waiting for it.
    clock.restart();
    MprisPlayerRemote later(m_connection);
    QTest::qWait(100);
    QVERIFY(later.find());
    QCOMPARE(later.status(), 0);
    player.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!later.find() && !remote.find(), kSettle);
}

void tst_MprisPlayerRemote::oddPlayerValues_data()
{
    QTest::addColumn<QVariantMap>("properties");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("title");

    const auto metadata = [](const QVariant &artist, const QVariant &title) {
        return QVariantMap {{"xesam:artist", artist}, {"xesam:title", title}};
    };
    QTest::newRow("status of another type")
        << QVariantMap {{"PlaybackStatus", 42}, {"Metadata", metadata(QStringList {"A"}, "T")}} << 0
        << "A - T";
    QTest::newRow("metadata not a map")
        << QVariantMap {{"PlaybackStatus", "Playing"}, {"Metadata", QStringList {"x"}}} << 1 << "";
    QTest::newRow("artist and title of other types")
        << QVariantMap {{"PlaybackStatus", "Paused"},
                        {"Metadata", metadata(7, QStringList {"x"})},
                        {"Volume", "loud"}}
        << 3 << "";
    QTest::newRow("artist as one text")
        << QVariantMap {{"Metadata", metadata("Solo", "T")}, {"Volume", -3.0}} << 0 << "Solo - T";
    QTest::newRow("track id as text")
        << QVariantMap {{"PlaybackStatus", "Playing"},
                        {"Metadata", QVariantMap {{"mpris:trackid", "x y"}, {"xesam:title", "T"}}}}
        << 1 << "T";
}

void tst_MprisPlayerRemote::oddPlayerValues()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    QFETCH(QVariantMap, properties);
    QFETCH(int, status);
    QFETCH(QString, title);

    for (bool bySignal : {false, true}) {
        MprisPlayerRemote remote(m_connection);
        QDBusConnection own = QDBusConnection::connectToBus(m_bus->address(), "odd");
        OddPlayer odd;
        odd.properties = properties;
        odd.answers = !bySignal;
        QVERIFY(own.registerVirtualObject(QStringLiteral("/org/mpris/MediaPlayer2"), &odd));
        QVERIFY(own.registerService(QStringLiteral("org.mpris.MediaPlayer2.odd")));
        QTRY_VERIFY_WITH_TIMEOUT(remote.find(), kSettle);
        if (bySignal) {
            QDBusMessage change
                = QDBusMessage::createSignal(QStringLiteral("/org/mpris/MediaPlayer2"),
                                             QStringLiteral("org.freedesktop.DBus.Properties"),
                                             QStringLiteral("PropertiesChanged"));
            change << QStringLiteral("org.mpris.MediaPlayer2.Player") << properties
                   << QStringList();
            QTest::qWait(100);
            QVERIFY(own.send(change));
        }
        QTest::qWait(300);
        QCOMPARE(remote.status(), status);
        QCOMPARE(remote.title(), title);
        // Every command goes out without harm, whatever the player told.
        for (int id : {40045, 40046, 40047, 40048, 40198, 40060, 40061, 40058, 40059})
            remote.postCommand(id);
        QTest::qWait(100);
        own.unregisterService(QStringLiteral("org.mpris.MediaPlayer2.odd"));
        QTRY_VERIFY_WITH_TIMEOUT(!remote.find(), kSettle);
        QDBusConnection::disconnectFromBus(QStringLiteral("odd"));
    }
}

QTEST_GUILESS_MAIN(tst_MprisPlayerRemote)
#include "tst_mprisplayerremote.moc"
