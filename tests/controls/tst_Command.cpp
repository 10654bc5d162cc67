#include "Command.h"

#include <QAccessible>
#include <QtTest>

namespace {

struct Rgb
{
    int r, g, b;
};

QColor colour(const Rgb &c)
{
    return QColor(c.r, c.g, c.b);
}

} // namespace

Q_DECLARE_METATYPE(Rgb)

// A shown window holding one 100 x 30 button and a second focusable button.
class ButtonWindow : public QWidget
{
public:
    ButtonWindow()
    {
        resize(300, 120);
        button.setGeometry(10, 10, 100, 30);
        other.setGeometry(10, 60, 100, 30);
    }
    Command button {this};
    Command other {this};

    QPoint global(const QPoint &local) const { return button.mapToGlobal(local); }
    void moveTo(const QPoint &local, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QCursor::setPos(global(local));
        QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(global(local)), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(&button, &move);
    }
    void pointerAway() { QCursor::setPos(mapToGlobal(QPoint(250, 110))); }
    // Shown and active, with the focus on the other button.
    bool showActive()
    {
        pointerAway();
        show();
        activateWindow();
        if (!QTest::qWaitForWindowActive(this))
            return false;
        other.setFocus();
        return other.hasFocus();
    }
};

class tst_Command : public QObject
{
    Q_OBJECT

private slots:
    void faces_data();
    void faces();
    void regionLeavesOutTheCorners_data();
    void regionLeavesOutTheCorners();

    void eventSequences_data();
    void eventSequences();
    void doubleClickClicksTwice();
    void hoverStartsOnMoveAndEndsAtTick();
    void disablingWhileHoveredShowsDisabledLook();

    void accessKey_data();
    void accessKey();
    void accessKeyClicks();

    void writesOnlyWhatDiffers_data();
    void writesOnlyWhatDiffers();
    void readRestoresAndFallsBack();

    void accessibleAsPushButton();
};

void tst_Command::faces_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Rgb>("expected");

    // Rows of a 100 x 30 button: R = 99, B = 30.
    QTest::newRow("normal: first gradient row") << "normal" << QPoint(50, 3) << Rgb {255, 255, 253};
    QTest::newRow("normal: gradient falls by one a row")
        << "normal" << QPoint(50, 25) << Rgb {233, 233, 231};
    QTest::newRow("normal: row B-4") << "normal" << QPoint(50, 26) << Rgb {236, 235, 230};
    QTest::newRow("normal: row B-3") << "normal" << QPoint(50, 27) << Rgb {226, 223, 214};
    QTest::newRow("normal: row B-2") << "normal" << QPoint(50, 28) << Rgb {214, 208, 197};
    QTest::newRow("border: edge") << "normal" << QPoint(0, 15) << Rgb {0, 60, 116};
    QTest::newRow("border: bottom edge") << "normal" << QPoint(50, 29) << Rgb {0, 60, 116};
    QTest::newRow("border: top left shade") << "normal" << QPoint(1, 0) << Rgb {122, 149, 168};
    QTest::newRow("border: top left inner shade") << "normal" << QPoint(1, 1) << Rgb {37, 87, 131};
    QTest::newRow("border: bottom right shade")
        << "normal" << QPoint(99, 28) << Rgb {122, 149, 168};
    QTest::newRow("border: bottom right inner shade")
        << "normal" << QPoint(98, 28) << Rgb {37, 87, 131};

    QTest::newRow("hover: row T+1") << "hover" << QPoint(50, 1) << Rgb {255, 240, 207};
    QTest::newRow("hover: row T+2") << "hover" << QPoint(50, 2) << Rgb {253, 216, 137};
    QTest::newRow("hover: outer side starts") << "hover" << QPoint(1, 3) << Rgb {253, 220, 147};
    QTest::newRow("hover: inner side starts") << "hover" << QPoint(2, 3) << Rgb {252, 210, 121};
    QTest::newRow("hover: inner side right") << "hover" << QPoint(97, 4) << Rgb {251, 206, 113};
    QTest::newRow("hover: outer colour stops below 49 blue")
        << "hover" << QPoint(98, 26) << Rgb {238, 175, 42};
    QTest::newRow("hover: row B-3 in the inner colour reached")
        << "hover" << QPoint(50, 27) << Rgb {243, 174, 49};
    QTest::newRow("hover: row B-2") << "hover" << QPoint(50, 28) << Rgb {229, 151, 0};

    QTest::newRow("focus: row T+1") << "focus" << QPoint(50, 1) << Rgb {206, 231, 251};
    QTest::newRow("focus: row T+2") << "focus" << QPoint(50, 2) << Rgb {188, 212, 246};
    QTest::newRow("focus: 2-pixel side starts") << "focus" << QPoint(1, 2) << Rgb {186, 211, 246};
    QTest::newRow("focus: right side") << "focus" << QPoint(97, 2) << Rgb {186, 211, 246};
    QTest::newRow("focus: side steps down") << "focus" << QPoint(2, 3) << Rgb {182, 208, 245};
    QTest::newRow("focus: row B-3 in the colour reached")
        << "focus" << QPoint(50, 27) << Rgb {110, 154, 227};
    QTest::newRow("focus: bottom end pixel") << "focus" << QPoint(2, 28) << Rgb {77, 125, 193};
    QTest::newRow("focus: row B-2") << "focus" << QPoint(50, 28) << Rgb {97, 125, 229};
    QTest::newRow("focus: other end pixel") << "focus" << QPoint(97, 28) << Rgb {77, 125, 193};

    QTest::newRow("pressed: row T+1") << "pressed" << QPoint(50, 1) << Rgb {209, 204, 192};
    QTest::newRow("pressed: row T+2") << "pressed" << QPoint(50, 2) << Rgb {220, 216, 207};
    QTest::newRow("pressed: first band") << "pressed" << QPoint(50, 4) << Rgb {226, 225, 218};
    QTest::newRow("pressed: later band") << "pressed" << QPoint(50, 5) << Rgb {225, 224, 217};
    QTest::newRow("pressed: row B-3") << "pressed" << QPoint(50, 27) << Rgb {234, 233, 227};
    QTest::newRow("pressed: row B-2") << "pressed" << QPoint(50, 28) << Rgb {242, 241, 238};
    QTest::newRow("pressed: border") << "pressed" << QPoint(0, 15) << Rgb {0, 60, 116};

    QTest::newRow("disabled: fill") << "disabled" << QPoint(50, 3) << Rgb {245, 244, 234};
    QTest::newRow("disabled: frame") << "disabled" << QPoint(0, 15) << Rgb {201, 199, 186};
    QTest::newRow("disabled: corner neighbour")
        << "disabled" << QPoint(1, 0) << Rgb {216, 213, 199};
    QTest::newRow("disabled: corner diagonal")
        << "disabled" << QPoint(98, 28) << Rgb {216, 213, 199};
    QTest::newRow("disabled: one step further in")
        << "disabled" << QPoint(2, 1) << Rgb {234, 233, 222};
    QTest::newRow("disabled: bottom right further in")
        << "disabled" << QPoint(98, 27) << Rgb {234, 233, 222};
}

void tst_Command::faces()
{
    QFETCH(QString, state);
    QFETCH(QPoint, at);
    QFETCH(Rgb, expected);

    ButtonWindow window;
    window.button.setCaption(QString());
    QVERIFY(window.showActive());
    if (state == "hover") {
        window.moveTo(QPoint(50, 15));
        QVERIFY(window.button.isHovering());
    } else if (state == "focus") {
        window.button.setFocus();
        QVERIFY(window.button.hasFocus());
    } else if (state == "pressed") {
        QTest::mousePress(&window.button, Qt::LeftButton, {}, QPoint(50, 15));
    } else if (state == "disabled") {
        window.button.setEnabled(false);
    }
    QCOMPARE(window.button.grab().toImage().pixelColor(at), colour(expected));
}

void tst_Command::regionLeavesOutTheCorners_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("100 x 30") << QSize(100, 30);
    QTest::newRow("2 pixels high") << QSize(40, 2);
}

void tst_Command::regionLeavesOutTheCorners()
{
    QFETCH(QSize, size);
    ButtonWindow window;
    window.button.resize(size);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRegion mask = window.button.mask();
    const int r = size.width() - 1;
    const int b = size.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
        QVERIFY(!mask.contains(corner));
    QVERIFY(mask.contains(QPoint(1, 0)));
    QVERIFY(mask.contains(QPoint(r - 1, b)));
    // Rows computed from the bottom may lie outside; the border is still drawn.
    QCOMPARE(window.button.grab().toImage().pixelColor(size.width() / 2, 0), QColor(0, 60, 116));
}

void tst_Command::eventSequences_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("left click") << "left" << QStringList {"MouseDown 1 0", "MouseUp 1 0", "Click"};
    QTest::newRow("right click raises no Click")
        << "right" << QStringList {"MouseDown 2 0", "MouseUp 2 0"};
    QTest::newRow("shift left click")
        << "shift-left" << QStringList {"MouseDown 1 1", "MouseUp 1 1", "Click"};
    QTest::newRow("space") << "space"
                           << QStringList {"KeyDown 32 0", "KeyPress 32", "Click", "KeyUp 32 0"};
    QTest::newRow("enter") << "enter"
                           << QStringList {"KeyDown 13 0", "KeyPress 13", "Click", "KeyUp 13 0"};
    QTest::newRow("space down, enter up: no Click")
        << "space-enter" << QStringList {"KeyDown 32 0", "KeyPress 32", "KeyUp 13 0"};
    QTest::newRow("a letter") << "a" << QStringList {"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0"};
}

void tst_Command::eventSequences()
{
    QFETCH(QString, input);
    QFETCH(QStringList, events);

    ButtonWindow window;
    window.pointerAway();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Command &button = window.button;
    QStringList seen;
    const auto mouse = [&seen](const char *name) {
        return [&seen, name](short &b, short &shift, float &, float &) {
            seen << QStringLiteral("%1 %2 %3").arg(name).arg(b).arg(shift);
        };
    };
    const auto key = [&seen](const char *name) {
        return [&seen, name](short &code, short &shift) {
            seen << QStringLiteral("%1 %2 %3").arg(name).arg(code).arg(shift);
        };
    };
    connect(&button, &Command::MouseDown, this, mouse("MouseDown"));
    connect(&button, &Command::MouseUp, this, mouse("MouseUp"));
    connect(&button, &Command::KeyDown, this, key("KeyDown"));
    connect(&button, &Command::KeyUp, this, key("KeyUp"));
    connect(&button, &Command::KeyPress, this,
            [&](short &ascii) { seen << QStringLiteral("KeyPress %1").arg(ascii); });
    connect(&button, &Command::Click, this, [&] { seen << "Click"; });

    const QPoint inside(50, 15);
    if (input == "left")
        QTest::mouseClick(&button, Qt::LeftButton, {}, inside);
    else if (input == "right")
        QTest::mouseClick(&button, Qt::RightButton, {}, inside);
    else if (input == "shift-left")
        QTest::mouseClick(&button, Qt::LeftButton, Qt::ShiftModifier, inside);
    else if (input == "space")
        QTest::keyClick(&button, Qt::Key_Space);
    else if (input == "enter")
        QTest::keyClick(&button, Qt::Key_Return);
    else if (input == "space-enter") {
        QTest::keyPress(&button, Qt::Key_Space);
        QTest::keyRelease(&button, Qt::Key_Return);
    } else if (input == "a")
        QTest::keyClick(&button, Qt::Key_A);
    QCOMPARE(seen, events);
}

void tst_Command::doubleClickClicksTwice()
{
    ButtonWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicks(&window.button, &Command::Click);
    int downs = 0;
    connect(&window.button, &Command::MouseDown, this,
            [&](short &, short &, float &, float &) { ++downs; });
    QTest::mouseClick(&window.button, Qt::LeftButton);
    // The window system's second click: a press, the double click, a release.
    QTest::mousePress(&window.button, Qt::LeftButton);
    QTest::mouseDClick(&window.button, Qt::LeftButton);
    QTest::mouseRelease(&window.button, Qt::LeftButton);
    QCOMPARE(clicks.size(), 2);
    QCOMPARE(downs, 2);
}

void tst_Command::hoverStartsOnMoveAndEndsAtTick()
{
    ButtonWindow window;
    QVERIFY(window.showActive());
    QSignalSpy over(&window.button, &Command::MouseOver);
    QSignalSpy out(&window.button, &Command::MouseOut);
    int moves = 0;
    connect(&window.button, &Command::MouseMove, this,
            [&](short &, short &, float &, float &) { ++moves; });

    window.moveTo(QPoint(40, 10));
    QCOMPARE(over.size(), 1);
    QVERIFY(window.button.isHovering());
    window.moveTo(QPoint(41, 10));
    window.moveTo(QPoint(42, 10));
    window.moveTo(QPoint(43, 10));
    // Moves over the button are thinned out: only the first two are reported.
    QCOMPARE(moves, 2);
    QCOMPARE(over.size(), 1);

    // Still over it: the ticks keep the hover.
    QTest::qWait(20);
    QCOMPARE(out.size(), 0);

    window.pointerAway();
    QTRY_COMPARE(out.size(), 1);
    QVERIFY(!window.button.isHovering());
    QCOMPARE(window.button.grab().toImage().pixelColor(50, 1),
             window.button.palette().color(QPalette::Base));
}

void tst_Command::disablingWhileHoveredShowsDisabledLook()
{
    ButtonWindow window;
    window.pointerAway();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy out(&window.button, &Command::MouseOut);
    window.moveTo(QPoint(40, 10));
    window.button.setEnabled(false);
    QCOMPARE(window.button.grab().toImage().pixelColor(50, 3), QColor(245, 244, 234));
    QTest::qWait(10);
    QCOMPARE(out.size(), 0);
    window.pointerAway();
    QTRY_COMPARE(out.size(), 1);
}

void tst_Command::accessKey_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("marked letter, lower case") << "&Send"
                                               << "s";
    QTest::newRow("marker inside the word") << "Cl&ear"
                                            << "e";
    QTest::newRow("doubled marker before a single one") << "Save && &Load"
                                                        << "l";
    QTest::newRow("only a doubled marker") << "&&"
                                           << "";
    QTest::newRow("marker as last character") << "Ok&"
                                              << "";
    QTest::newRow("no marker") << "Ok"
                               << "";
    QTest::newRow("single character") << "&"
                                      << "";
}

void tst_Command::accessKey()
{
    QFETCH(QString, caption);
    QFETCH(QString, key);
    Command button;
    button.setCaption(caption);
    QCOMPARE(button.AccessKey(), key);
}

void tst_Command::accessKeyClicks()
{
    ButtonWindow window;
    window.button.setCaption(QStringLiteral("&Copy"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.other.setFocus();
    QSignalSpy clicks(&window.button, &Command::Click);
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    QCOMPARE(clicks.size(), 1);
}

void tst_Command::writesOnlyWhatDiffers_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("as placed") << "" << QStringList {"ForeColor"};
    QTest::newRow("disabled") << "enabled" << QStringList {"Enabled", "ForeColor"};
    QTest::newRow("own caption") << "caption" << QStringList {"Caption", "ForeColor"};
    QTest::newRow("own font") << "font" << QStringList {"Font", "ForeColor"};
    QTest::newRow("hover colour") << "forehover" << QStringList {"ForeColor", "ForeHover"};
}

void tst_Command::writesOnlyWhatDiffers()
{
    QFETCH(QString, change);
    QFETCH(QStringList, keys);

    QWidget container;
    Command button(&container);
    button.setObjectName(QStringLiteral("cmdOk"));
    button.ReadProperties(PropertyBag());
    QCOMPARE(button.Caption(), QStringLiteral("cmdOk"));
    if (change == "enabled")
        button.setEnabled(false);
    else if (change == "caption")
        button.setCaption(QStringLiteral("&Ok"));
    else if (change == "font")
        button.setCaptionFont(QFont(QStringLiteral("Courier"), 17));
    else if (change == "forehover")
        button.setForeHover(0x000000FF);

    PropertyBag bag;
    button.WriteProperties(bag);
    QCOMPARE(bag.keys(), keys);
}

void tst_Command::readRestoresAndFallsBack()
{
    QWidget container;
    Command source(&container);
    source.setObjectName(QStringLiteral("cmdSend"));
    source.setCaption(QStringLiteral("&Send"));
    source.setEnabled(false);
    source.setCaptionFont(QFont(QStringLiteral("Courier"), 17));
    source.setForeColor(0x00000080);
    source.setForeHover(0x00FF0000);
    PropertyBag bag;
    source.WriteProperties(bag);

    Command restored(&container);
    restored.setObjectName(QStringLiteral("cmdSend"));
    restored.ReadProperties(bag);
    QCOMPARE(restored.Caption(), QStringLiteral("&Send"));
    QCOMPARE(restored.AccessKey(), QStringLiteral("s"));
    QVERIFY(!restored.Enabled());
    QCOMPARE(restored.Font().family(), QStringLiteral("Courier"));
    QCOMPARE(restored.ForeColor(), 0x00000080u);
    QCOMPARE(restored.ForeHover(), 0x00FF0000u);

    // Keys match without regard to case; a missing caption is the button's name.
    Command lower(&container);
    lower.setObjectName(QStringLiteral("cmdClear"));
    lower.ReadProperties(PropertyBag {{"enabled", false}, {"forecolor", 255}});
    QVERIFY(!lower.Enabled());
    QCOMPARE(lower.ForeColor(), 255u);
    QCOMPARE(lower.Caption(), QStringLiteral("cmdClear"));
}

void tst_Command::accessibleAsPushButton()
{
    ButtonWindow window;
    window.button.setCaption(QStringLiteral("&Send"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&window.button);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Send"));

    QSignalSpy clicks(&window.button, &Command::Click);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(clicks.size(), 1);

    window.button.setEnabled(false);
    QVERIFY(iface->state().disabled);
}

QTEST_MAIN(tst_Command)
#include "tst_Command.moc"
