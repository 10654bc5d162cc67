#include "Command.h"
#include "ControlColour.h"
#include "ctlFrame.h"
#include "ctlLabel.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QLabel>
#include <QtTest>

// The controls as ordinary Qt widgets, on a screen with two device pixels per pixel:
// crisp borders, layouts that follow the size hint, the standard button signals and the
// Qt text and font properties.
class tst_controlsAsQtWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void borderPixelsAreWholeDevicePixels_data();
    void borderPixelsAreWholeDevicePixels();
    void buttonBorderIsCrisp();
    void layoutRefitsAfterChange_data();
    void layoutRefitsAfterChange();
    void userInputEmitsStandardSignals_data();
    void userInputEmitsStandardSignals();
    void qtTextIsTheCaption();
    void qtFontAndFontStayInStep_data();
    void qtFontAndFontStayInStep();
};

namespace {

constexpr quint32 kLight = 0x00FFFFFF;
constexpr quint32 kDark = 0x00008000;
constexpr quint32 kBack = 0x00204060;

QColor rgb(quint32 value)
{
    return ControlColour::toColor(value, QPalette());
}

QWidget *makeBordered(const QString &kind)
{
    if (kind == QLatin1String("label")) {
        auto *label = new ctlLabel;
        label->setBorderStyle(LABELBORDER_SINGLE);
        label->setBackColor(kBack);
        label->setFrameColor1(kLight);
        label->setFrameColor2(kDark);
        label->setCaption(QString());
        return label;
    }
    auto *frame = new ctlFrame;
    frame->setCaption(QString());
    frame->setBackColor(kBack);
    frame->setFrameColor1(kLight);
    frame->setFrameColor2(kDark);
    return frame;
}

} // namespace

void tst_controlsAsQtWidgets::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void tst_controlsAsQtWidgets::borderPixelsAreWholeDevicePixels_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("colour label") << QStringLiteral("label");
    QTest::newRow("colour frame") << QStringLiteral("frame");
}

// On a 100 x 20 control the light rectangle ends at column 98 and the dark right edge is
// column 99; at ratio 2 these are device columns 196-197 and 198-199, each wholly one colour.
void tst_controlsAsQtWidgets::borderPixelsAreWholeDevicePixels()
{
    QFETCH(QString, kind);
    std::unique_ptr<QWidget> control(makeBordered(kind));
    control->resize(100, 20);
    control->show();
    QVERIFY(QTest::qWaitForWindowExposed(control.get()));

    const QImage image = control->grab().toImage();
    QCOMPARE(image.size(), QSize(200, 40));
    for (int y : {4, 20, 35}) {
        QCOMPARE(image.pixelColor(195, y), rgb(kBack));
        QCOMPARE(image.pixelColor(196, y), rgb(kLight));
        QCOMPARE(image.pixelColor(197, y), rgb(kLight));
        QCOMPARE(image.pixelColor(198, y), rgb(kDark));
        QCOMPARE(image.pixelColor(199, y), rgb(kDark));
    }
    // Outer top row (0) light, inner top row (1) dark.
    QCOMPARE(image.pixelColor(50, 1), rgb(kLight));
    QCOMPARE(image.pixelColor(50, 2), rgb(kDark));
    QCOMPARE(image.pixelColor(50, 3), rgb(kDark));
    QCOMPARE(image.pixelColor(50, 4), rgb(kBack));
}

void tst_controlsAsQtWidgets::buttonBorderIsCrisp()
{
    Command button;
    button.resize(80, 24);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    const QImage image = button.grab().toImage();
    QCOMPARE(image.size(), QSize(160, 48));
    const QColor border(0, 60, 116);
    for (int x : {0, 1, 158, 159})
        QCOMPARE(image.pixelColor(x, 24), border);
    QCOMPARE(image.pixelColor(80, 0), border);
    QCOMPARE(image.pixelColor(80, 1), border);
    QVERIFY(image.pixelColor(80, 2) != border);
}

void tst_controlsAsQtWidgets::layoutRefitsAfterChange_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("change");
    QTest::newRow("label caption") << QStringLiteral("label") << QStringLiteral("caption");
    QTest::newRow("label font") << QStringLiteral("label") << QStringLiteral("font");
    QTest::newRow("label auto-size") << QStringLiteral("label") << QStringLiteral("autosize");
    QTest::newRow("frame caption") << QStringLiteral("frame") << QStringLiteral("caption");
    QTest::newRow("frame font") << QStringLiteral("frame") << QStringLiteral("font");
    QTest::newRow("button caption") << QStringLiteral("button") << QStringLiteral("caption");
    QTest::newRow("button Qt text") << QStringLiteral("button") << QStringLiteral("text");
    QTest::newRow("button font") << QStringLiteral("button") << QStringLiteral("font");
}

// A control in a layout that does not stretch it keeps its size hint's width; after the
// change the layout gives it the new hint.
void tst_controlsAsQtWidgets::layoutRefitsAfterChange()
{
    QFETCH(QString, kind);
    QFETCH(QString, change);

    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    QWidget *control = nullptr;
    const QString longCaption = QStringLiteral("A much longer caption than before, to be sure");
    QFont big = window.font();
    big.setPointSizeF(24);
    if (kind == QLatin1String("label")) {
        auto *label = new ctlLabel;
        label->setAutoSize(change != QLatin1String("autosize"));
        label->setCaption(QStringLiteral("Hall"));
        control = label;
    } else if (kind == QLatin1String("frame")) {
        auto *frame = new ctlFrame;
        frame->setCaption(QStringLiteral("Input Mode of zone 2"));
        control = frame;
    } else {
        auto *button = new Command;
        button->setCaption(QStringLiteral("&Send to the receiver"));
        control = button;
    }
    control->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(control);
    layout->addStretch();
    window.resize(900, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int before = control->width();

    if (change == QLatin1String("caption"))
        control->setProperty("Caption", longCaption);
    else if (change == QLatin1String("text"))
        static_cast<Command *>(control)->setText(longCaption);
    else if (change == QLatin1String("font"))
        control->setProperty("Font", big);
    else
        static_cast<ctlLabel *>(control)->setAutoSize(true);
    if (change == QLatin1String("autosize"))
        static_cast<ctlLabel *>(control)->setCaption(longCaption);

    QTRY_VERIFY(control->width() > before);
    QTRY_COMPARE(control->size(), control->sizeHint());
}

void tst_controlsAsQtWidgets::userInputEmitsStandardSignals_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("expected");
    const QStringList all {QStringLiteral("pressed"), QStringLiteral("released"),
                           QStringLiteral("Click"), QStringLiteral("clicked")};
    QTest::newRow("left click") << QStringLiteral("left") << all;
    QTest::newRow("right click: nothing") << QStringLiteral("right") << QStringList();
    QTest::newRow("space") << QStringLiteral("space") << all;
    QTest::newRow("access key") << QStringLiteral("alt+o") << all;
    QTest::newRow("press, leave, release: no click")
        << QStringLiteral("drag-off")
        << QStringList {QStringLiteral("pressed"), QStringLiteral("released")};
}

void tst_controlsAsQtWidgets::userInputEmitsStandardSignals()
{
    QFETCH(QString, input);
    QFETCH(QStringList, expected);

    QWidget window;
    auto *button = new Command(&window);
    button->setCaption(QStringLiteral("&Ok"));
    button->setGeometry(10, 10, 80, 24);
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    button->setFocus();

    QStringList seen;
    connect(button, &QAbstractButton::pressed, [&] { seen << QStringLiteral("pressed"); });
    connect(button, &QAbstractButton::released, [&] { seen << QStringLiteral("released"); });
    connect(button, &QAbstractButton::clicked, [&] { seen << QStringLiteral("clicked"); });
    connect(button, &Command::Click, [&] { seen << QStringLiteral("Click"); });

    if (input == QLatin1String("left")) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (input == QLatin1String("right")) {
        QTest::mouseClick(button, Qt::RightButton);
    } else if (input == QLatin1String("space")) {
        QTest::keyClick(button, Qt::Key_Space);
    } else if (input == QLatin1String("alt+o")) {
        QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
        QTest::qWait(200); // the standard click shows its pressed look for a moment
    } else {
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(150, 60));
    }
    QCOMPARE(seen, expected);
    QVERIFY(!button->isDown());
}

void tst_controlsAsQtWidgets::qtTextIsTheCaption()
{
    QWidget window;
    auto *button = new Command(&window);
    button->setGeometry(10, 10, 80, 24);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    button->setText(QStringLiteral("&&x &Go"));
    QCOMPARE(button->Caption(), QStringLiteral("&&x &Go"));
    QCOMPARE(button->AccessKey(), QStringLiteral("g"));
    QSignalSpy clicks(button, &Command::Click);
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(clicks.size(), 1);

    button->setCaption(QStringLiteral("&Send"));
    QCOMPARE(button->text(), QStringLiteral("&Send"));
    QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
             QStringLiteral("Send"));
}

void tst_controlsAsQtWidgets::qtFontAndFontStayInStep_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("throughQtFont");
    for (const char *kind : {"label", "frame", "button"}) {
        QTest::addRow("%s: Qt font set", kind) << QString::fromLatin1(kind) << true;
        QTest::addRow("%s: Font set", kind) << QString::fromLatin1(kind) << false;
    }
}

void tst_controlsAsQtWidgets::qtFontAndFontStayInStep()
{
    QFETCH(QString, kind);
    QFETCH(bool, throughQtFont);

    std::unique_ptr<QWidget> control;
    if (kind == QLatin1String("label"))
        control = std::make_unique<ctlLabel>();
    else if (kind == QLatin1String("frame"))
        control = std::make_unique<ctlFrame>();
    else
        control = std::make_unique<Command>();

    std::unique_ptr<QSignalSpy> changes;
    if (auto *button = qobject_cast<Command *>(control.get()))
        changes = std::make_unique<QSignalSpy>(button, &Command::PropertyChanged);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSizeF(13.5);
    font.setItalic(true);
    if (throughQtFont)
        control->setFont(font);
    else
        control->setProperty("Font", font);

    const QFont qtFont = control->font();
    const QFont ownFont = control->property("Font").value<QFont>();
    QCOMPARE(qtFont.family(), font.family());
    QCOMPARE(ownFont.family(), font.family());
    QCOMPARE(qtFont.pointSizeF(), 13.5);
    QCOMPARE(ownFont.pointSizeF(), 13.5);
    QVERIFY(qtFont.italic() && ownFont.italic());
    // The button's host property store learns of the change either way.
    if (changes)
        QCOMPARE(changes->count(), 1);
    // The caption is drawn in it.
    if (auto *caption = control->findChild<QLabel *>(QStringLiteral("Label")))
        QCOMPARE(caption->font().pointSizeF(), 13.5);
}

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    tst_controlsAsQtWidgets test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_controlsAsQtWidgets.moc"
