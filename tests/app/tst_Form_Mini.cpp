// The mini window (placed by the main window's load, tested there): dragging, the pop-up, the
// volume buttons, keys, and going into and out of mini mode.

#include "tests/support/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>

using namespace std::chrono_literals;

namespace {

void sendMove(QWidget *window, const QPoint &local, Qt::MouseButtons buttons)
{
    QMouseEvent event(QEvent::MouseMove, local, window->mapToGlobal(local), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

void showMini(MainWindowFixture &f)
{
    f.w().mini()->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.w().mini()));
}

} // namespace

class tst_Form_Mini : public QObject
{
    Q_OBJECT

private slots:
    void dragging();
    void popUpCopiesZone2_data();
    void popUpCopiesZone2();
    void volumeButtons();
    void keys_data();
    void keys();
    void enteringAndLeaving();
};

// The anchor is in the window's own coordinates, so the pointer back at the anchor
// means no further move; dragging far off the screen is not limited.
void tst_Form_Mini::dragging()
{
    MainWindowFixture f;
    Form_Mini *mini = f.w().mini();
    mini->move(300, 200);
    showMini(f);
    const QPoint start = mini->pos();
    const QPoint anchor(40, 12); // on the bar, which belongs to the window

    QTest::mousePress(mini, Qt::LeftButton, {}, anchor);
    sendMove(mini, anchor + QPoint(25, 10), Qt::LeftButton);
    QCOMPARE(mini->pos(), start + QPoint(25, 10));
    sendMove(mini, anchor, Qt::LeftButton);
    QCOMPARE(mini->pos(), start + QPoint(25, 10));
    sendMove(mini, anchor + QPoint(-5000, 4000), Qt::LeftButton);
    QCOMPARE(mini->pos(), start + QPoint(-4975, 4010));
    QTest::mouseRelease(mini, Qt::LeftButton, {}, anchor);
    sendMove(mini, anchor + QPoint(30, 30), Qt::NoButton);
    QCOMPARE(mini->pos(), start + QPoint(-4975, 4010));
}

void tst_Form_Mini::popUpCopiesZone2_data()
{
    QTest::addColumn<bool>("zone2");
    QTest::addColumn<bool>("onVolumeButton");
    QTest::newRow("main zone, free area") << false << false;
    QTest::newRow("zone 2, free area") << true << false;
    QTest::newRow("zone 2, right button on volume +") << true << true;
}

void tst_Form_Mini::popUpCopiesZone2()
{
    QFETCH(bool, zone2);
    QFETCH(bool, onVolumeButton);

    MainWindowFixture f;
    Form_Mini *mini = f.w().mini();
    showMini(f);
    if (zone2)
        inside(f.w()).Menu_Mode_Zone2_Click();
    ui(f.w()).Menu_MiniPopUp_Zone2->setChecked(!zone2);

    if (onVolumeButton)
        QTest::mousePress(mini->Label_VolUp, Qt::RightButton);
    else
        QTest::mousePress(mini, Qt::RightButton, {}, QPoint(40, 12));

    QCOMPARE(ui(f.w()).Menu_MiniPopUp_Zone2->isChecked(), zone2);
    QTRY_VERIFY(ui(f.w()).Menu_MiniPopUp->isVisible());
    QVERIFY(!ui(f.w()).Timer_RePressKey.isActive());
    ui(f.w()).Menu_MiniPopUp->close();
}

// Held, a volume button runs the main window's repeat; a keyboard or assistive
// press is one step.
void tst_Form_Mini::volumeButtons()
{
    ReceiverModel::Options options;
    options.reportsOn = true;
    MainWindowFixture f(options);
    f.openPort();
    Form_Mini *mini = f.w().mini();
    showMini(f);
    const int before = f.model.mainVolume();

    QTest::mousePress(mini->Label_VolUp, Qt::LeftButton);
    QCOMPARE(ui(f.w()).Timer_RePressKey_Tag, QStringLiteral("UP"));
    MainWindowFixture::runFor(100ms);
    QTest::mouseRelease(mini->Label_VolUp, Qt::LeftButton);
    QVERIFY(!ui(f.w()).Timer_RePressKey.isActive());
    const int raised = f.model.mainVolume();
    QVERIFY(raised > before + 1);
    QCOMPARE(mini->volumeBarFill(), raised * mini->Pic_Vol->width() / 210);

    QTest::keyClick(mini->Label_VolDown, Qt::Key_Space);
    QCOMPARE(f.model.mainVolume(), raised - 1);
    QVERIFY(!ui(f.w()).Timer_RePressKey.isActive());
    QVERIFY(f.errors.isEmpty());
}

void tst_Form_Mini::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<bool>("muted");

    QTest::newRow("F4 recalls A") << int(Qt::Key_F4) << "Volume A" << false;
    QTest::newRow("F9 recalls F") << int(Qt::Key_F9) << "Volume F" << false;
    QTest::newRow("F12 mutes") << int(Qt::Key_F12) << "keep" << true;
    QTest::newRow("F10 does nothing") << int(Qt::Key_F10) << "keep" << false;
}

void tst_Form_Mini::keys()
{
    QFETCH(int, key);
    QFETCH(QString, line1);
    QFETCH(bool, muted);

    MainWindowFixture f;
    f.openPort();
    ui(f.w()).Line1->setText(QStringLiteral("keep"));
    QTest::keyClick(f.w().mini(), Qt::Key(key));
    QCOMPARE(f.line1(), line1);
    QCOMPARE(f.model.mainMute(), muted);
    QCOMPARE(f.port.writtenCodes().isEmpty(), line1 == QLatin1String("keep") && !muted);
}

void tst_Form_Mini::enteringAndLeaving()
{
    MainWindowFixture f;
    Form_Mini *mini = f.w().mini();
    f.w().show();
    ui(f.w()).Menu_Mini->setEnabled(true);

    // Not connected: only the message.
    ui(f.w()).Menu_Mini->trigger();
    QCOMPARE(f.dialogs.messageTexts(), QStringList {QStringLiteral("Connect first !")});
    QVERIFY(f.w().isVisible());
    QVERIFY(mini->isHidden());
    QVERIFY(!f.values.MiniMode());

    f.openPort();
    ui(f.w()).Menu_Mini->trigger();
    QVERIFY(f.values.MiniMode());
    QVERIFY(f.w().isHidden());
    QVERIFY(mini->isVisible());

    mini->Label_Close->click();
    QVERIFY(!f.values.MiniMode());
    QVERIFY(f.w().isVisible());
    QVERIFY(mini->isHidden());

    // A close from the window manager leaves mini mode the same way, and the window
    // stays loaded for the next time.
    ui(f.w()).Menu_Mini->trigger();
    QVERIFY(!mini->close());
    QVERIFY(!f.values.MiniMode());
    QVERIFY(f.w().isVisible());
    QVERIFY(mini->isHidden());
}

QTEST_MAIN(tst_Form_Mini)
#include "tst_Form_Mini.moc"
