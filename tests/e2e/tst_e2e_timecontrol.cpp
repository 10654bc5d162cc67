// The time control over the real serial code against the virtual receiver on a
// pseudo-terminal: an entry for the current minute reaches the receiver within a second
// of "&Ok" while the time control is on.

#include "Command.h"
#include "tests/support/EndToEndHarness.h"
#include "tests/support/MainWindowFixture.h"
#include "timecontrol/Form_ZS.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

class tst_E2eTimeControl : public QObject
{
    Q_OBJECT
private slots:
    void entryForTheCurrentMinuteFires();
};

void tst_E2eTimeControl::entryForTheCurrentMinuteFires()
{
    if (!ReceiverProcess::isBuilt())
        QSKIP("orvane-receiver not found (ORVANE_BUILD_DIR)");
    EndToEndHarness e2e;
    QVERIFY2(e2e.startReceiver({QStringLiteral("--log")}), qPrintable(e2e.errorString()));
    ReceiverProcess &receiver = e2e.receiver();
    MainWindowFixture f(ReceiverModel::Options {}, e2e.serialPort(), &e2e.portSettings());
    Form_ControlCenter &w = f.w();
    w.link()->setCommPort(1);
    inside(w).ConnectToOrvane(0);
    QTRY_VERIFY_WITH_TIMEOUT(ui(w).Timer_Check.isActive(), 10000);

    const QTime now = QTime::currentTime();
    f.clock.set(QDate::currentDate(), now);
    ui(w).Menu_ZS_Aktiv->trigger();
    QVERIFY(ui(w).Menu_ZS_Aktiv->isChecked());
    ui(w).Menu_ZS_Einstellungen->trigger();
    Form_ZS *zs = inside(w).zs();
    zs->Text_Stunde->setText(now.toString(QStringLiteral("hh")));
    zs->Text_Minute->setText(now.toString(QStringLiteral("mm")));
    zs->Combo_Aktion->setCurrentIndex(
        zs->Combo_Aktion->findText(QStringLiteral("Input CD ,07A15")));
    zs->cmdAdd->click();

    const QString frame = QStringLiteral(">> <STX>07A15<ETX>");
    QVERIFY(!receiver.log().contains(frame));
    QElapsedTimer sinceOk;
    sinceOk.start();
    zs->cmdOk->click();
    QVERIFY(QTest::qWaitFor([&] { return receiver.log().contains(frame); }, 3000));
    const qint64 elapsed = sinceOk.elapsed();
    qInfo("code at the receiver %lld ms after Ok", elapsed);
    QVERIFY2(elapsed <= 1000, qPrintable(QString::number(elapsed)));
    // The receiver's answer is its report of the change, which the window shows.
    QTRY_COMPARE_WITH_TIMEOUT(ui(w).Opt_Input.selected(), std::optional<int>(12), 2000);
    QCOMPARE(f.line1(), QStringLiteral("INPUT CD"));
    QVERIFY(f.errors.isEmpty());

    w.link()->ClosePort();
    receiver.stop();
}

QTEST_MAIN(tst_E2eTimeControl)
#include "tst_e2e_timecontrol.moc"
