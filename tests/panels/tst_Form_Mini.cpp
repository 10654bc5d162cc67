// The mini window: placement, dragging, the pop-up, the volume buttons, keys, and
// going into and out of mini mode.

#include "app/Modul_Orvane.h"
#include "tests/panels/PanelsFixture.h"

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

} // namespace

class tst_Form_Mini : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void captionSizeAndTopMost();
    void placement_data();
    void placement();
    void dragging();
    void popUpCopiesZone2_data();
    void popUpCopiesZone2();
    void volumeButtons_data();
    void volumeButtons();
    void keyboardPressIsOneStep();
    void keys_data();
    void keys();
    void topMostTickKeepsMinimised();
    void enteringAndLeaving();
};

void tst_Form_Mini::cleanup()
{
    if (QMenu *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
        popup->close();
    Modul_Orvane::MiniMode = false;
}

void tst_Form_Mini::captionSizeAndTopMost()
{
    PanelsFixture f;
    Form_Mini *mini = f.w().mini();
    QCOMPARE(mini->windowTitle(), QStringLiteral("Orvane"));
    QCOMPARE(mini->size(), Form_Mini::kSize);
    QVERIFY(mini->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(mini->isHidden());
    QVERIFY(mini->Timer_Fenster.isActive());
    QCOMPARE(mini->Label_Min->accessibleName(), QStringLiteral("minimize"));
    QCOMPARE(mini->Label_Close->accessibleName(), QStringLiteral("close"));
}

enum class Corner { BottomRight, TopLeft, TopRight, BottomLeft };

void tst_Form_Mini::placement_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<Corner>("corner");

    QTest::newRow("default bottom right") << "" << Corner::BottomRight;
    QTest::newRow("-TL") << "-TL" << Corner::TopLeft;
    QTest::newRow("-TR") << "-TR" << Corner::TopRight;
    QTest::newRow("-BL") << "-BL" << Corner::BottomLeft;
    QTest::newRow("lower case -tr") << "-tr" << Corner::TopRight;
    QTest::newRow("-TL -BL: bottom left wins") << "-TL -BL" << Corner::BottomLeft;
}

void tst_Form_Mini::placement()
{
    QFETCH(QString, commandLine);
    QFETCH(Corner, corner);

    PanelsFixture f;
    QVERIFY(f.w().Form_Load(commandLine));
    const QRect area = f.w().workArea();
    const QRect mini = f.w().mini()->frameGeometry();
    const bool left = corner == Corner::TopLeft || corner == Corner::BottomLeft;
    const bool top = corner == Corner::TopLeft || corner == Corner::TopRight;
    if (left)
        QCOMPARE(mini.left(), area.left());
    else
        QCOMPARE(mini.right(), area.right());
    if (top)
        QCOMPARE(mini.top(), area.top());
    else
        QCOMPARE(mini.bottom(), area.bottom());
    QVERIFY(f.w().mini()->isHidden());
}

// The anchor is where the left button went down, in the window's own coordinates;
// the window follows the pointer, without limits.
void tst_Form_Mini::dragging()
{
    PanelsFixture f;
    Form_Mini *mini = f.w().mini();
    mini->move(300, 200);
    mini->show();
    QVERIFY(QTest::qWaitForWindowExposed(mini));
    const QPoint start = mini->pos();

    const QPoint anchor(40, 12); // on the bar, which belongs to the window
    QTest::mousePress(mini, Qt::LeftButton, {}, anchor);
    sendMove(mini, anchor + QPoint(25, 10), Qt::LeftButton);
    QCOMPARE(mini->pos(), start + QPoint(25, 10));
    // The pointer is at the anchor again relative to the moved window.
    sendMove(mini, anchor, Qt::LeftButton);
    QCOMPARE(mini->pos(), start + QPoint(25, 10));
    sendMove(mini, anchor + QPoint(-5000, 4000), Qt::LeftButton);
    QCOMPARE(mini->pos(), start + QPoint(25 - 5000, 10 + 4000));
    QTest::mouseRelease(mini, Qt::LeftButton, {}, anchor);

    // Moving without the left button does not drag.
    const QPoint resting = mini->pos();
    sendMove(mini, anchor + QPoint(30, 30), Qt::NoButton);
    QCOMPARE(mini->pos(), resting);
    QVERIFY(f.errors.isEmpty());
}

void tst_Form_Mini::popUpCopiesZone2_data()
{
    QTest::addColumn<bool>("zone2");
    QTest::addColumn<bool>("onVolumeButton");
    QTest::newRow("main zone, free area") << false << false;
    QTest::newRow("zone 2, free area") << true << false;
    QTest::newRow("main zone, volume button") << false << true;
    QTest::newRow("zone 2, volume button") << true << true;
}

void tst_Form_Mini::popUpCopiesZone2()
{
    QFETCH(bool, zone2);
    QFETCH(bool, onVolumeButton);

    PanelsFixture f;
    Form_Mini *mini = f.w().mini();
    mini->show();
    QVERIFY(QTest::qWaitForWindowExposed(mini));
    if (zone2)
        f.w().Menu_Mode_Zone2_Click();
    f.w().Menu_MiniPopUp_Zone2->setChecked(!zone2);

    if (onVolumeButton)
        QTest::mousePress(mini->Label_VolUp, Qt::RightButton);
    else
        QTest::mousePress(mini, Qt::RightButton, {}, QPoint(40, 12));

    QCOMPARE(f.w().Menu_MiniPopUp_Zone2->isChecked(), zone2);
    QTRY_VERIFY(f.w().Menu_MiniPopUp->isVisible());
    QVERIFY(!f.w().Timer_RePressKey.isActive());
    f.w().Menu_MiniPopUp->close();
    if (onVolumeButton)
        QTest::mouseRelease(mini->Label_VolUp, Qt::RightButton);
    QVERIFY(f.errors.isEmpty());
}

void tst_Form_Mini::volumeButtons_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left on volume +") << true << Qt::LeftButton;
    QTest::newRow("left on volume -") << false << Qt::LeftButton;
    QTest::newRow("middle on volume -") << false << Qt::MiddleButton;
}

// Held down, a volume button runs the main window's repeat; released, it stops.
void tst_Form_Mini::volumeButtons()
{
    QFETCH(bool, up);
    QFETCH(Qt::MouseButton, button);

    ReceiverModel::Options options;
    options.reportsOn = true;
    PanelsFixture f(options);
    f.openPort();
    Form_Mini *mini = f.w().mini();
    mini->show();
    QVERIFY(QTest::qWaitForWindowExposed(mini));
    const int before = f.model.mainVolume();

    ImageButton *target = up ? mini->Label_VolUp : mini->Label_VolDown;
    QTest::mousePress(target, button);
    QVERIFY(f.w().Timer_RePressKey.isActive());
    QCOMPARE(f.w().Timer_RePressKey_Tag, up ? QStringLiteral("UP") : QStringLiteral("DOWN"));
    PanelsFixture::runFor(100ms);
    QTest::mouseRelease(target, button);
    QVERIFY(!f.w().Timer_RePressKey.isActive());

    const int after = f.model.mainVolume();
    QVERIFY2(up ? after > before + 1 : after < before - 1,
             qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
    // The mini window's bar follows the display.
    QCOMPARE(mini->volumeBarFill(), after * mini->Pic_Vol->width() / Form_Mini::kFullBarValue);
    QVERIFY(f.errors.isEmpty());
}

void tst_Form_Mini::keyboardPressIsOneStep()
{
    PanelsFixture f;
    f.openPort();
    Form_Mini *mini = f.w().mini();
    const int before = f.model.mainVolume();
    QTest::keyClick(mini->Label_VolDown, Qt::Key_Space);
    QCOMPARE(f.model.mainVolume(), before - 1);
    QVERIFY(!f.w().Timer_RePressKey.isActive());
}

void tst_Form_Mini::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<bool>("muted");

    QTest::newRow("F4 recalls A") << int(Qt::Key_F4) << "Volume A" << false;
    QTest::newRow("F7 recalls D") << int(Qt::Key_F7) << "Volume D" << false;
    QTest::newRow("F9 recalls F") << int(Qt::Key_F9) << "Volume F" << false;
    QTest::newRow("F12 mutes") << int(Qt::Key_F12) << "keep" << true;
    QTest::newRow("F3 does nothing") << int(Qt::Key_F3) << "keep" << false;
    QTest::newRow("F10 does nothing") << int(Qt::Key_F10) << "keep" << false;
    QTest::newRow("a letter does nothing") << int(Qt::Key_M) << "keep" << false;
}

void tst_Form_Mini::keys()
{
    QFETCH(int, key);
    QFETCH(QString, line1);
    QFETCH(bool, muted);

    PanelsFixture f;
    f.openPort();
    f.w().Line1->setText(QStringLiteral("keep"));
    QTest::keyClick(f.w().mini(), Qt::Key(key));
    QCOMPARE(f.line1(), line1);
    QCOMPARE(f.model.mainMute(), muted);
    QCOMPARE(f.port.writtenCodes().isEmpty(), line1 == QLatin1String("keep") && !muted);
}

void tst_Form_Mini::topMostTickKeepsMinimised()
{
    PanelsFixture f;
    Form_Mini *mini = f.w().mini();
    // Hidden: the tick does not show it.
    mini->Timer_Fenster_Timer();
    QVERIFY(mini->isHidden());

    mini->show();
    QVERIFY(QTest::qWaitForWindowExposed(mini));
    mini->Label_Min->click();
    QTRY_VERIFY(mini->isMinimized());
    mini->Timer_Fenster_Timer();
    QVERIFY(mini->isMinimized());
    QVERIFY(mini->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f.errors.isEmpty());
}

void tst_Form_Mini::enteringAndLeaving()
{
    PanelsFixture f;
    Form_Mini *mini = f.w().mini();
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));

    // Not connected: only the message.
    f.w().Menu_Mini->setEnabled(true);
    f.w().Menu_Mini->trigger();
    QCOMPARE(f.dialogs.messageTexts(), QStringList {QStringLiteral("Connect first !")});
    QVERIFY(f.w().isVisible());
    QVERIFY(mini->isHidden());
    QVERIFY(!Modul_Orvane::MiniMode);

    f.openPort();
    f.w().Menu_Mini->trigger();
    QVERIFY(Modul_Orvane::MiniMode);
    QVERIFY(f.w().isHidden());
    QVERIFY(mini->isVisible());

    mini->Label_Close->click();
    QVERIFY(!Modul_Orvane::MiniMode);
    QVERIFY(f.w().isVisible());
    QVERIFY(mini->isHidden());

    // Closing it from the window manager leaves mini mode the same way; the window
    // stays loaded for the next time.
    f.w().Menu_Mini->trigger();
    QVERIFY(mini->isVisible());
    QVERIFY(!mini->close());
    QVERIFY(!Modul_Orvane::MiniMode);
    QVERIFY(f.w().isVisible());
    QVERIFY(mini->isHidden());
    QVERIFY(f.w().mini());
    QCOMPARE(f.dialogs.messageTexts().size(), 1);
}

QTEST_MAIN(tst_Form_Mini)
#include "tst_Form_Mini.moc"
