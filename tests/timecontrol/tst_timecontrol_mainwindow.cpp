// The time control in the main window: its menu, its dialog and Timer_ZS.

#include "Command.h"
#include "tests/support/MainWindowFixture.h"
#include "timecontrol/Form_ZS.h"
#include "timecontrol/clsTimeControl.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

class tst_TimeControlMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void switchingNeedsAnOpenPort();
    void confirmedEntryFiresWithTheTimeControlOn();
    void answerReachesTheReportPath_data();
    void answerReachesTheReportPath();
};

void tst_TimeControlMainWindow::switchingNeedsAnOpenPort()
{
    MainWindowFixture f;
    Form_ControlCenter &w = f.w();
    ui(w).Menu_ZS_Aktiv->trigger();
    QVERIFY(!ui(w).Menu_ZS_Aktiv->isChecked());
    f.openPort();
    ui(w).Menu_ZS_Aktiv->trigger();
    QVERIFY(ui(w).Menu_ZS_Aktiv->isChecked());
    QVERIFY(ui(w).Timer_ZS.isActive());
    QCOMPARE(ui(w).Timer_ZS.interval(), 500);

    // Switching off with the port closed is refused as well.
    w.link()->ClosePort();
    ui(w).Menu_ZS_Aktiv->trigger();
    QVERIFY(ui(w).Menu_ZS_Aktiv->isChecked());
    QVERIFY(ui(w).Timer_ZS.isActive());
    QCOMPARE(f.dialogs.messageTexts(), (QStringList {"Connect first !", "Connect first !"}));
}

void tst_TimeControlMainWindow::confirmedEntryFiresWithTheTimeControlOn()
{
    MainWindowFixture f;
    Form_ControlCenter &w = f.w();
    f.clock.set(QDate(2024, 1, 1), QTime(7, 30, 10));
    f.player.setPresent(true);
    f.openPort();
    ui(w).Menu_ZS_Aktiv->trigger();

    ui(w).Menu_ZS_Einstellungen->trigger();
    Form_ZS *zs = inside(w).zs();
    QVERIFY(zs && zs->isVisible() && !zs->isModal());
    QVERIFY(!inside(w).timeControl());
    zs->Text_Stunde->setText(QStringLiteral("07"));
    zs->Text_Minute->setText(QStringLiteral("30"));
    for (const char *action : {"Input CD ,07A15", "Winamp play"}) {
        zs->Combo_Aktion->setCurrentIndex(zs->Combo_Aktion->findText(QLatin1String(action)));
        zs->cmdAdd->click();
    }
    f.port.clearWrites();
    zs->cmdOk->click();
    QVERIFY(!zs->isVisible());
    QCOMPARE(inside(w).timeControl()->Count(), 2);

    // The first entry within the next tick, the second a second after it.
    QTRY_COMPARE_WITH_TIMEOUT(f.port.writtenCodes().value(0), QStringLiteral("07A15"), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(f.player.postedCommands(), QList<int> {40045}, 2500);
    QCOMPARE(f.line2(), QStringLiteral("Winamp play"));

    // Unloading lets the schedule go and closes the dialog.
    ui(w).Menu_ZS_Einstellungen->trigger();
    QVERIFY(zs->isVisible());
    QVERIFY(w.Form_Unload());
    QVERIFY(!zs->isVisible());
    QVERIFY(!inside(w).timeControl());
    QVERIFY(!ui(w).Timer_ZS.isActive());
    QVERIFY(f.errors.isEmpty());
}

void tst_TimeControlMainWindow::answerReachesTheReportPath_data()
{
    QTest::addColumn<bool>("insidePollPause");
    QTest::newRow("tick on its own") << false;
    // An input-mode report makes the poll pause; the tick runs in that pause.
    QTest::newRow("tick inside the poll's pause") << true;
}

// The receiver answers a scheduled command with its report of the change: the window
// and the listeners of the program's events see it, after the poll's own reports.
void tst_TimeControlMainWindow::answerReachesTheReportPath()
{
    QFETCH(bool, insidePollPause);
    ReceiverModel::Options options;
    options.reportsOn = true;
    MainWindowFixture f(options);
    Form_ControlCenter &w = f.w();
    f.clock.set(QDate(2024, 1, 1), QTime(7, 30, 10));
    f.openPort();
    ui(w).Menu_ZS_Einstellungen->trigger();
    Form_ZS *zs = inside(w).zs();
    zs->Text_Stunde->setText(QStringLiteral("07"));
    zs->Text_Minute->setText(QStringLiteral("30"));
    zs->Combo_Aktion->setCurrentIndex(
        zs->Combo_Aktion->findText(QStringLiteral("Input CD ,07A15")));
    zs->cmdAdd->click();
    zs->cmdOk->click();
    QStringList reported;
    connect(w.events(), &ProgramEvents::reportReceived, this,
            [&](const QString &body) { reported << body; });

    if (insidePollPause) {
        QTimer::singleShot(0, &w, [&] { inside(w).Timer_ZS_Timer(); });
        f.port.injectRaw(QByteArrayLiteral("\x02"
                                           "002203\x03"));
        inside(w).Timer_Check_Timer();
    } else {
        inside(w).Timer_ZS_Timer();
    }

    QCOMPARE(f.port.writtenCodes(), QStringList {QStringLiteral("07A15")});
    QCOMPARE(reported.last(), QStringLiteral("102101"));
    QCOMPARE(reported.size(), insidePollPause ? 2 : 1);
    QCOMPARE(ui(w).Opt_Input.selected(), std::optional<int>(12));
    QCOMPARE(f.line1(), QStringLiteral("INPUT CD"));
    QVERIFY(f.errors.isEmpty());
}

QTEST_MAIN(tst_TimeControlMainWindow)
#include "tst_timecontrol_mainwindow.moc"
