// The real program with both media-key options on, a real player on a private session bus
// and real key presses on a private X server: the keys drive the player.

#include "player/MprisPlayerRemote.h"
#include "tests/support/EndToEndHarness.h"
#include "tests/support/MediaPlayerProcess.h"

#include <QDBusConnection>
#include <QTemporaryDir>
#include <QTest>

class tst_E2ePlayer : public QObject
{
    Q_OBJECT

private slots:
    void mediaKeysDriveThePlayer();
};

void tst_E2ePlayer::mediaKeysDriveThePlayer()
{
    for (const QString &missing : {MediaPlayerProcess::missing(), XvfbProcess::missing()})
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    QVERIFY2(EndToEndHarness::missing().isEmpty(), qPrintable(EndToEndHarness::missing()));
    EndToEndHarness e2e;
    if (!e2e.startBus() || !e2e.startDisplay())
        QSKIP(qPrintable(e2e.errorString()));
    const QString address = e2e.bus().address();

    QTemporaryDir dir;
    const QStringList tracks
        = {dir.filePath(QStringLiteral("a.wav")), dir.filePath(QStringLiteral("b.wav"))};
    QVERIFY(MediaPlayerProcess::writeTrack(tracks[0], "Song A", "Artist A"));
    QVERIFY(MediaPlayerProcess::writeTrack(tracks[1], "Song B", "Artist B"));
    MediaPlayerProcess player;
    QVERIFY(player.start(address, tracks));
    QDBusConnection connection = QDBusConnection::connectToBus(address, QStringLiteral("e2e"));
    MprisPlayerRemote observer(connection);
    QTRY_COMPARE_WITH_TIMEOUT(observer.title(), QStringLiteral("Artist A - Song A"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(observer.status(), 1, 5000);

    QVERIFY(e2e.writeSettings("[Config]\nMediaKeyWinamp=1\nMediaKeyOrvane=1\n"));
    QVERIFY2(e2e.startProgram(), qPrintable(e2e.errorString()));
    QProcess &orvane = e2e.program();
    XvfbProcess &server = e2e.display();
    QTest::qWait(3000); // the program's start-up wait and load

    QVERIFY(server.xdotool({"key", "XF86AudioPlay"}));
    QTRY_COMPARE_WITH_TIMEOUT(observer.status(), 3, 3000);
    QVERIFY(server.xdotool({"key", "XF86AudioPlay"}));
    QTRY_COMPARE_WITH_TIMEOUT(observer.status(), 1, 3000);
    QVERIFY(server.xdotool({"key", "XF86AudioNext"}));
    QTRY_COMPARE_WITH_TIMEOUT(observer.title(), QStringLiteral("Artist B - Song B"), 3000);
    QTest::qWait(700); // the half-second the display shows "Winamp next"
    QVERIFY(server.xdotool({"key", "XF86AudioStop"}));
    QTRY_COMPARE_WITH_TIMEOUT(observer.status(), 0, 3000);

    QCOMPARE(orvane.state(), QProcess::Running);
    orvane.terminate();
    QVERIFY(orvane.waitForFinished(10000));
    QDBusConnection::disconnectFromBus(QStringLiteral("e2e"));
}

QTEST_GUILESS_MAIN(tst_E2ePlayer)
#include "tst_e2e_player.moc"
