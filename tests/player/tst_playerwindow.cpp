// The main window driving the player: the media-key rules with a fake key state, the
// player buttons, and the title shown over the display for one period.

#include "tests/support/MainWindowFixture.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

using namespace std::chrono_literals;

class tst_PlayerWindow : public QObject
{
    Q_OBJECT

private slots:
    void keyRules_data();
    void keyRules();
    void pressWithoutPlayerIsDropped();
    void playerButtons_data();
    void playerButtons();
    void titleShownForOnePeriod();
};

void tst_PlayerWindow::keyRules_data()
{
    QTest::addColumn<bool>("winampOption");
    QTest::addColumn<bool>("orvaneOption");
    QTest::addColumn<bool>("zone2");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("status");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("commands");
    QTest::addColumn<QStringList>("codes");
    // The text left on Line2; not checked where the volume display writes it.
    QTest::addColumn<QString>("line2");

    const QStringList none;
    QTest::newRow("play/pause starts a stopped player")
        << true << false << false << true << 0 << QList<int> {179} << QList<int> {40045} << none
        << "Winamp play";
    QTest::newRow("play/pause pauses a playing player")
        << true << false << false << true << 1 << QList<int> {179} << QList<int> {40046} << none
        << "Winamp pause";
    QTest::newRow("play/pause resumes a paused player")
        << true << false << false << true << 3 << QList<int> {179} << QList<int> {40046} << none
        << "Winamp play";
    QTest::newRow("two presses: pause, then resume")
        << true << false << false << true << 1 << QList<int> {179, 179} << QList<int> {40046, 40046}
        << none << "Winamp play";
    QTest::newRow("stop while playing") << true << false << false << true << 1 << QList<int> {178}
                                        << QList<int> {40047} << none << "Winamp stop";
    QTest::newRow("stop while paused does nothing")
        << true << false << false << true << 3 << QList<int> {178} << QList<int> {} << none << "";
    QTest::newRow("next") << true << false << false << true << 1 << QList<int> {176}
                          << QList<int> {40048} << none << "Winamp next";
    QTest::newRow("previous") << true << false << false << true << 1 << QList<int> {177}
                              << QList<int> {40198} << none << "Winamp prev";
    QTest::newRow("transport keys without a player")
        << true << false << false << false << 1 << QList<int> {179, 178, 176, 177} << QList<int> {}
        << none << "";
    QTest::newRow("transport keys without their option")
        << false << true << false << true << 1 << QList<int> {179, 178, 176, 177} << QList<int> {}
        << none << "";
    QTest::newRow("volume and mute keys drive the main zone")
        << false << true << false << false << 0 << QList<int> {175, 174, 173} << QList<int> {}
        << QStringList {"07A1A", "07A1B", "07EA2"} << QString();
    QTest::newRow("volume keys in zone-2 mode step zone 2")
        << false << true << true << false << 0 << QList<int> {175, 174, 173} << QList<int> {}
        << QStringList {"07ADA", "07ADB", "07EA0"} << QString();
    QTest::newRow("volume keys without their option")
        << true << false << false << true << 1 << QList<int> {175, 174, 173} << QList<int> {}
        << none << "";
    // Qt's key codes: the key goes down while the window has the focus.
    QTest::newRow("focused window's volume keys")
        << false << true << false << false << 0
        << QList<int> {Qt::Key_VolumeUp, Qt::Key_VolumeDown, Qt::Key_VolumeMute} << QList<int> {}
        << QStringList {"07A1A", "07A1B", "07EA2"} << QString();
    QTest::newRow("focused window's transport keys")
        << true << false << false << true << 1
        << QList<int> {Qt::Key_MediaPause, Qt::Key_MediaTogglePlayPause, Qt::Key_MediaStop,
                       Qt::Key_MediaPlay, Qt::Key_MediaNext}
        << QList<int> {40046, 40046, 40047, 40045, 40048} << none << "Winamp next";
    QTest::newRow("focused window's previous key")
        << true << false << false << true << 1 << QList<int> {Qt::Key_MediaPrevious}
        << QList<int> {40198} << none << "Winamp prev";
    QTest::newRow("focused window's keys without their options")
        << false << false << false << true << 1
        << QList<int> {Qt::Key_VolumeUp, Qt::Key_MediaPause, Qt::Key_MediaNext} << QList<int> {}
        << none << "";
    QTest::newRow("one press seen by the desktop and the focused window acts once")
        << true << true << false << true << 1
        << QList<int> {Qt::Key_VolumeUp, 175, 176, Qt::Key_MediaNext} << QList<int> {40048}
        << QStringList {"07A1A"} << QString();
    QTest::newRow("two presses seen both ways act twice")
        << false << true << false << false << 0
        << QList<int> {175, Qt::Key_VolumeUp, Qt::Key_VolumeUp, 175} << QList<int> {}
        << QStringList {"07A1A", "07A1A"} << QString();
    QTest::newRow("both options: each key to its own target")
        << true << true << false << true << 0 << QList<int> {175, 174, 179} << QList<int> {40045}
        << QStringList {"07A1A", "07A1B"} << "Winamp play";
}

void tst_PlayerWindow::keyRules()
{
    QFETCH(bool, winampOption);
    QFETCH(bool, orvaneOption);
    QFETCH(bool, zone2);
    QFETCH(bool, present);
    QFETCH(int, status);
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, commands);
    QFETCH(QStringList, codes);
    QFETCH(QString, line2);

    MainWindowFixture w;
    Form_ControlCenter &form = *w.window;
    inside(form).ConnectToOrvane(0);
    ui(form).Menu_Mode_Zone2->setChecked(zone2);
    ui(form).Menu_Extras_MT_Winamp->setChecked(winampOption);
    ui(form).Menu_Extras_MT_Orvane->setChecked(orvaneOption);
    w.player.setPresent(present);
    w.player.setStatus(status);
    ui(form).Line2->clear();
    w.port.clearWrites();

    for (int key : keys) {
        if (key >= Qt::Key_Escape) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(&form, &press);
        } else {
            w.keys.press(key);
            w.keys.release(key);
        }
        // The tick runs after the press; the player's new status arrives after that.
        MainWindowFixture::runFor(60ms);
    }
    QCOMPARE(w.player.postedCommands(), commands);
    QCOMPARE(w.port.writtenCodes(), codes);
    if (!line2.isNull())
        QCOMPARE(w.line2(), line2);
    QVERIFY(w.errors.isEmpty());
}

void tst_PlayerWindow::pressWithoutPlayerIsDropped()
{
    MainWindowFixture w;
    ui(*w.window).Menu_Extras_MT_Winamp->setChecked(true);
    w.keys.press(179);
    w.keys.release(179);
    MainWindowFixture::runFor(50ms);
    // A player that starts later is not driven by the earlier press.
    w.player.setPresent(true);
    w.keys.press(176);
    MainWindowFixture::runFor(50ms);
    QCOMPARE(w.player.postedCommands(), QList<int> {40048});
}

void tst_PlayerWindow::playerButtons_data()
{
    QTest::addColumn<bool>("next");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QList<int>>("commands");

    QTest::newRow("next: click seeks forward") << true << false << true << QList<int> {40060};
    QTest::newRow("next: double click is next") << true << true << true << QList<int> {40048};
    QTest::newRow("previous: click seeks back") << false << false << true << QList<int> {40061};
    QTest::newRow("previous: double click is previous")
        << false << true << true << QList<int> {40198};
    QTest::newRow("no player: nothing sent") << true << true << false << QList<int> {};
}

void tst_PlayerWindow::playerButtons()
{
    QFETCH(bool, next);
    QFETCH(bool, doubleClick);
    QFETCH(bool, present);
    QFETCH(QList<int>, commands);

    MainWindowFixture w;
    w.player.setPresent(present);
    ImageButton *button = next ? ui(*w.window).imgWinampNext : ui(*w.window).imgWinampPrevious;
    if (doubleClick)
        emit button->doubleClicked();
    else
        button->click();
    QCOMPARE(w.player.postedCommands(), commands);
    QVERIFY(w.errors.isEmpty());
}

void tst_PlayerWindow::titleShownForOnePeriod()
{
    struct Step
    {
        const char *what;
        bool present;
        QString title;
        bool shown;
        QString text;
    };
    const QList<Step> steps = {
        {"a new title shows, its suffix cut", true, "Band - Song - WINAMP", true, "Band - Song"},
        {"the same title a tick later hides", true, "Band - Song - Winamp", false, "Band - Song"},
        {"the next track shows", true, "Band - Other", true, "Band - Other"},
        {"the player leaves while its title shows", false, "Band - Other", false, "Band - Other"},
        {"the player is back with the same title", true, "Band - Other", false, "Band - Other"},
        {"an empty title hides", true, "", false, "Band - Other"},
    };

    MainWindowFixture w;
    Form_ControlCenter &form = *w.window;
    // The title playing at load is not announced.
    w.player.setPresent(true);
    w.player.setTitle(QStringLiteral("At Start - Winamp"));
    QVERIFY(form.Form_Load(QString()));
    QCOMPARE(ui(form).lblWinAmp->text(), QStringLiteral("At Start"));
    MainWindowFixture::winampViewTick(form);
    QVERIFY(ui(form).lblWinAmp->isHidden());

    for (const Step &step : steps) {
        w.player.setPresent(step.present);
        w.player.setTitle(step.title);
        MainWindowFixture::winampViewTick(form);
        QVERIFY2(ui(form).lblWinAmp->isHidden() != step.shown, step.what);
        QVERIFY2(ui(form).lblWinAmp->text() == step.text, step.what);
    }
    QVERIFY(w.errors.isEmpty());
}

QTEST_MAIN(tst_PlayerWindow)
#include "tst_playerwindow.moc"
