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
    Form_ZS *zs = w.zs();
    QVERIFY(zs && zs->isVisible() && !zs->isModal());
    QVERIFY(!w.oTimeControl);
    zs->Text_Stunde->setText(QStringLiteral("07"));
    zs->Text_Minute->setText(QStringLiteral("30"));
    for (const char *action : {"Input CD ,07A15", "Winamp play"}) {
        zs->Combo_Aktion->setCurrentIndex(zs->Combo_Aktion->findText(QLatin1String(action)));
        zs->cmdAdd->click();
    }
    f.port.clearWrites();
    zs->cmdOk->click();
    QVERIFY(!zs->isVisible());
    QCOMPARE(w.oTimeControl->Count(), 2);

    // The first entry within the next tick, the second a second after it.
    QTRY_COMPARE_WITH_TIMEOUT(f.port.writtenCodes().value(0), QStringLiteral("07A15"), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(f.player.postedCommands(), QList<int> {40045}, 2500);
    QCOMPARE(f.line2(), QStringLiteral("Winamp play"));

    // Unloading lets the schedule go and closes the dialog.
    ui(w).Menu_ZS_Einstellungen->trigger();
    QVERIFY(zs->isVisible());
    QVERIFY(w.Form_Unload());
    QVERIFY(!zs->isVisible());
    QVERIFY(!w.oTimeControl);
    QVERIFY(!ui(w).Timer_ZS.isActive());
    QVERIFY(f.errors.isEmpty());
}

QTEST_MAIN(tst_TimeControlMainWindow)
#include "tst_timecontrol_mainwindow.moc"
