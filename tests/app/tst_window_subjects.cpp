// The window's report evaluation and volume on controls built here, without the window:
// what a report shows, the check marks it sets, the player rules and the volume steps
// it sends.

#include "app/MainWindowControls.h"
#include "app/ReportEvaluation.h"
#include "app/VolumeControl.h"
#include "link/ReceiverLink.h"
#include "platform/PlayerRemote.h"
#include "program/ProgramEvents.h"
#include "sim/ReceiverModel.h"
#include "state/ReceiverReadings.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeLinkHost.h"
#include "tests/support/FakePlayerRemote.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeUserDialogs.h"
#include "tests/support/ShortWaits.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

// The controls the two subjects read and write, the link on a fake port, and the
// subjects on them as the window wires them.
struct Subjects
{
    Subjects()
    {
        ui.Line1 = &line1;
        ui.Line2 = &line2;
        ui.lblWinAmp = &title;
        ui.Menu_Volume_Mute = &mute;
        ui.Menu_Volume_MuteZone2 = &muteZone2;
        ui.Menu_Mode_Zone2 = &zone2;
        for (QAction *action : {&mute, &muteZone2, &zone2, &esWindow, &esPlayer, &esShell})
            action->setCheckable(true);
        ui.Menu_Extras_61_ES.add(1, &esWindow);
        ui.Menu_Extras_61_ES.add(2, &esPlayer);
        ui.Menu_Extras_61_ES.add(3, &esShell);
        link.setCommPort(1);
        link.OpenPort();
    }

    ShortWaits waits;
    CollectingErrorPresenter errors;
    ReceiverModel model;
    FakeSerialPort port {&model};
    FakeUserDialogs dialogs;
    FakePlayerRemote player;
    FakeLinkHost host;
    ReceiverLink link {&port, &host, &dialogs};
    ProgramEvents events;
    ReceiverReadings readings;
    QLabel line1, line2, title;
    QAction mute, muteZone2, zone2, esWindow, esPlayer, esShell;
    MainWindowControls ui;
    int evaluations = 0;
    int windowToggles = 0;
    VolumeControl volume {
        ui, link, events, readings, {[this](const char *) { ++evaluations; }, [](float) {}, [] {}}};
    ReportEvaluation reports {ui,
                              link,
                              volume,
                              readings,
                              &player,
                              &dialogs,
                              {[](int, int, int) {}, [] { return 0; }, [](int, int) {},
                               [](float) {}, [] { return false; }, [this] { ++windowToggles; },
                               [] {}}};
};

} // namespace

class tst_window_subjects : public QObject
{
    Q_OBJECT

private slots:
    void report_data();
    void report();
    void esKeySecondPress();
    void volumeStepsFollowTheMode();
};

void tst_window_subjects::report_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("playerOption");
    QTest::addColumn<int>("playerStatus");
    QTest::addColumn<QString>("shown"); // Line1 "|" Line2
    QTest::addColumn<QString>("marks"); // main mute, zone-2 mute
    QTest::addColumn<QList<int>>("commands");

    const QList<int> none;
    QTest::newRow("mute on") << "002301" << false << int(PlayerRemote::Playing) << "MUTE ON|"
                             << "10" << none;
    QTest::newRow("mute on pauses the playing player")
        << "002301" << true << int(PlayerRemote::Playing) << "MUTE ON|Winamp pause"
        << "10" << QList<int> {PlayerRemote::Pause};
    QTest::newRow("mute off plays the stopped player")
        << "002300" << true << int(PlayerRemote::Stopped) << "MUTE OFF|Winamp play"
        << "00" << QList<int> {PlayerRemote::Play};
    QTest::newRow("mute off leaves a playing player")
        << "002300" << true << int(PlayerRemote::Playing) << "MUTE OFF|"
        << "00" << none;
    QTest::newRow("zone-2 mute") << "002501" << true << int(PlayerRemote::Playing)
                                 << "ZONE2 MUTE ON|"
                                 << "01" << none;
    QTest::newRow("main volume") << "0026C7" << true << int(PlayerRemote::Playing)
                                 << "VOLUME  0dB|" + QString(20, QChar(0x7F)) << "00" << none;
    QTest::newRow("zone-2 volume, value not hexadecimal")
        << "0027ZZ" << false << int(PlayerRemote::Playing) << "before|before"
        << "00" << none;
}

void tst_window_subjects::report()
{
    QFETCH(QString, body);
    QFETCH(bool, playerOption);
    QFETCH(int, playerStatus);
    QFETCH(QString, shown);
    QFETCH(QString, marks);
    QFETCH(QList<int>, commands);
    Subjects s;
    s.line1.setText(QStringLiteral("before"));
    s.line2.setText(QStringLiteral("before"));
    s.esPlayer.setChecked(playerOption);
    s.player.setPresent(true);
    s.player.setStatus(playerStatus);

    s.reports.DatenAuswerten(body);

    QCOMPARE(s.line1.text() + QLatin1Char('|') + s.line2.text(), shown);
    QCOMPARE(QString::number(s.mute.isChecked()) + QString::number(s.muteZone2.isChecked()), marks);
    QCOMPARE(s.player.postedCommands(), commands);
    QVERIFY(!s.ui.UpdatingFromReceiver);
    QVERIFY(s.errors.reports().isEmpty());
}

void tst_window_subjects::esKeySecondPress()
{
    // A press arms the second-press timer; a second one within it goes back a title, and
    // one that stays alone goes on a title once the timer runs out.
    Subjects s;
    s.esPlayer.setChecked(true);
    s.esWindow.setChecked(true);
    s.player.setPresent(true);
    s.reports.DatenAuswerten(QStringLiteral("102D00"));
    QVERIFY(s.ui.Timer_CheckTastenRepeat.isActive());
    s.reports.DatenAuswerten(QStringLiteral("112D00"));
    QVERIFY(!s.ui.Timer_CheckTastenRepeat.isActive());
    QCOMPARE(s.player.postedCommands(), QList<int> {PlayerRemote::Previous});
    QCOMPARE(s.windowToggles, 2);

    s.player.clearCommands();
    s.reports.DatenAuswerten(QStringLiteral("102D00"));
    s.reports.secondPressMissed();
    QCOMPARE(s.player.postedCommands(), QList<int> {PlayerRemote::Next});
    QVERIFY(!s.ui.Timer_CheckTastenRepeat.isActive());
}

void tst_window_subjects::volumeStepsFollowTheMode()
{
    // Each step is evaluated at once; the mode picks the zone it steps.
    Subjects s;
    s.volume.VolUp();
    s.zone2.setChecked(true);
    s.volume.VolDown();
    const QStringList codes = s.port.writtenCodes();
    QCOMPARE(codes.size(), 2);
    QVERIFY(codes.at(0) != codes.at(1));
    QCOMPARE(s.evaluations, 2);
}

QTEST_MAIN(tst_window_subjects)
#include "tst_window_subjects.moc"
