#include "ChromellErrors.h"
#include "ControlColour.h"
#include "ctlFrame.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

constexpr quint32 kLight = 0x00FFFFFF;
constexpr quint32 kDark = 0x00C0C0C0;
constexpr quint32 kBack = 0x00204060;

QColor rgb(quint32 value)
{
    return ControlColour::toColor(value, QPalette());
}

QLabel *captionOf(ctlFrame &frame)
{
    return frame.findChild<QLabel *>(QStringLiteral("Label"));
}

QLabel *surfaceOf(ctlFrame &frame)
{
    return frame.findChild<QLabel *>(QStringLiteral("Picture1"));
}

// A shown 200 x 100 frame in known colours.
void prepare(ctlFrame &frame, const QString &caption)
{
    frame.setBackColor(kBack);
    frame.setFrameColor1(kLight);
    frame.setFrameColor2(kDark);
    frame.setCaption(caption);
    frame.resize(200, 100);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
}

} // namespace

class tst_ctlFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionPosition_data();
    void captionPosition();
    void borderTopFollowsCaption_data();
    void borderTopFollowsCaption();
    void noBorderKeepsCaptionVisibility();

    void mouseOnCaptionOrSurface_data();
    void mouseOnCaptionOrSurface();
    void hostedControlsLieAbove();

    void emptyBagGivesDefaults();
    void writeThenReadRestoresState();
    void accessibleAsGroupingNamedByCaption();

private:
    QList<ChromellErrors::Report> m_reports;
};

void tst_ctlFrame::init()
{
    m_reports.clear();
    ChromellErrors::setHandler([this](const ChromellErrors::Report &r) { m_reports.append(r); });
}

void tst_ctlFrame::cleanup()
{
    ChromellErrors::setHandler({});
    QVERIFY(m_reports.isEmpty());
}

void tst_ctlFrame::captionPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("left");
    QTest::newRow("left: 8 pixels in") << int(FRAME_LEFT) << 8;
    QTest::newRow("centre") << int(FRAME_CENETR) << 85;
    QTest::newRow("right: 200 wide, caption 30 wide") << int(FRAME_RIGHT) << 162;
}

void tst_ctlFrame::captionPosition()
{
    QFETCH(int, position);
    QFETCH(int, left);

    ctlFrame frame;
    prepare(frame, QStringLiteral("DSP"));
    QLabel *caption = captionOf(frame);
    caption->resize(30, caption->height());
    frame.setCaptionPos(static_cast<FRAMECAPTIONPOSITION>(position));
    QCOMPARE(caption->x(), left);
    QCOMPARE(caption->y(), 0);
    QVERIFY(caption->isVisible());
}

void tst_ctlFrame::borderTopFollowsCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("caption: top edge through its middle") << QStringLiteral("DSP");
    QTest::newRow("no caption: top edge at the top") << QString();
}

void tst_ctlFrame::borderTopFollowsCaption()
{
    QFETCH(QString, caption);

    ctlFrame frame;
    prepare(frame, caption);
    const int top = caption.isEmpty() ? 0 : captionOf(frame)->height() / 2;
    QCOMPARE(captionOf(frame)->isVisible(), !caption.isEmpty());
    if (!caption.isEmpty())
        QVERIFY(top > 0);

    const QImage image = frame.grab().toImage();
    QCOMPARE(image.pixelColor(0, top), rgb(kLight));
    QCOMPARE(image.pixelColor(4, top), rgb(kLight));
    QCOMPARE(image.pixelColor(198, top), rgb(kLight));
    QCOMPARE(image.pixelColor(4, top + 1), rgb(kDark));
    QCOMPARE(image.pixelColor(199, top + 1), rgb(kDark));
    QCOMPARE(image.pixelColor(199, top), rgb(kBack));
    QCOMPARE(image.pixelColor(1, 98), rgb(kLight));
    QCOMPARE(image.pixelColor(1, 99), rgb(kDark));
    if (top > 0)
        QCOMPARE(image.pixelColor(0, top - 1), rgb(kBack));
}

void tst_ctlFrame::noBorderKeepsCaptionVisibility()
{
    // Restored with no border, the caption stays hidden until it is set.
    ctlFrame frame;
    frame.ReadProperties(PropertyBag {{"stCaption", "Zone"}, {"lStyle", 0}, {"lBackColor", kBack}});
    frame.resize(200, 100);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(!captionOf(frame)->isVisible());
    QCOMPARE(frame.grab().toImage().pixelColor(0, 0), rgb(kBack));

    frame.setCaption(QStringLiteral("Zone 2"));
    QVERIFY(captionOf(frame)->isVisible());
    QCOMPARE(frame.grab().toImage().pixelColor(0, 10), rgb(kBack));
}

void tst_ctlFrame::mouseOnCaptionOrSurface_data()
{
    QTest::addColumn<bool>("onCaption");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("click on the surface")
        << false << false << QStringList {"down 1 2 30,50", "up 1 2 30,50", "click"};
    QTest::newRow("click on the caption")
        << true << false << QStringList {"down 1 2 3,4", "up 1 2 3,4", "click"};
    QTest::newRow("double click on the caption")
        << true << true << QStringList {"down 1 2 3,4", "up 1 2 3,4", "click",
                                        "down 1 2 3,4", "dblclick",   "up 1 2 3,4"};
}

void tst_ctlFrame::mouseOnCaptionOrSurface()
{
    QFETCH(bool, onCaption);
    QFETCH(bool, doubleClick);
    QFETCH(QStringList, events);

    ctlFrame frame;
    prepare(frame, QStringLiteral("Input"));
    QStringList seen;
    const auto record = [&](const char *name) {
        return [&seen, name](short &button, short &shift, float &x, float &y) {
            seen << QStringLiteral("%1 %2 %3 %4,%5").arg(name).arg(button).arg(shift).arg(x).arg(y);
        };
    };
    connect(&frame, &ctlFrame::MouseDown, this, record("down"));
    connect(&frame, &ctlFrame::MouseUp, this, record("up"));
    connect(&frame, &ctlFrame::Click, this, [&] { seen << "click"; });
    connect(&frame, &ctlFrame::DblClick, this, [&] { seen << "dblclick"; });

    QWidget *target = onCaption ? static_cast<QWidget *>(captionOf(frame)) : surfaceOf(frame);
    const QPoint at = onCaption ? QPoint(3, 4) : QPoint(30, 50);
    QTest::mouseClick(target, Qt::LeftButton, Qt::ControlModifier, at);
    if (doubleClick) {
        // The window system's second click: a press, the double click, a release.
        QTest::mousePress(target, Qt::LeftButton, Qt::ControlModifier, at);
        QTest::mouseDClick(target, Qt::LeftButton, Qt::ControlModifier, at);
        QTest::mouseRelease(target, Qt::LeftButton, Qt::ControlModifier, at);
    }
    QCOMPARE(seen, events);
}

void tst_ctlFrame::hostedControlsLieAbove()
{
    ctlFrame frame;
    prepare(frame, QStringLiteral("Input"));
    QPushButton button(QStringLiteral("DVD"), &frame);
    button.setGeometry(20, 20, 60, 25);
    button.show();
    QCOMPARE(frame.childAt(30, 30), &button);

    QSignalSpy clicks(&frame, &ctlFrame::Click);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks.size(), 0);
}

void tst_ctlFrame::emptyBagGivesDefaults()
{
    ctlFrame frame;
    frame.ReadProperties(PropertyBag());
    QCOMPARE(frame.Caption(), QStringLiteral("Frame"));
    QCOMPARE(frame.BorderStyle(), FARMEBORDER_SINGLE);
    QCOMPARE(frame.CaptionPos(), FRAME_LEFT);
    QCOMPARE(frame.FrameColor1(), 0x00FFFFFFu);
    QCOMPARE(frame.FrameColor2(), 0x00FE8B36u);
    QCOMPARE(frame.Font().family(), QStringLiteral("Arial"));
}

void tst_ctlFrame::writeThenReadRestoresState()
{
    ctlFrame source;
    source.setCaption(QStringLiteral("Input"));
    source.setCaptionPos(FRAME_RIGHT);
    source.setBorderStyle(FRAMEBORDER_NO);
    source.setForeColor(0x00000080);
    source.setBackColor(0x00FFFFFF);
    source.setFrameColor2(0x00C0C0C0);

    PropertyBag bag;
    source.WriteProperties(bag);
    const QStringList expected {"lblFontBold",  "lblFontSize",  "lblFontItalic", "lblFontName",
                                "lFrameColor1", "lFrameColor2", "lForeColor",    "lBackColor",
                                "stCaption",    "lCenterLabel", "lStyle"};
    QCOMPARE(bag.keys(), expected);

    ctlFrame restored;
    restored.ReadProperties(bag);
    QCOMPARE(restored.Caption(), QStringLiteral("Input"));
    QCOMPARE(restored.CaptionPos(), FRAME_RIGHT);
    QCOMPARE(restored.BorderStyle(), FRAMEBORDER_NO);
    QCOMPARE(restored.ForeColor(), 0x00000080u);
    QCOMPARE(restored.BackColor(), 0x00FFFFFFu);
    QCOMPARE(restored.FrameColor2(), 0x00C0C0C0u);
}

void tst_ctlFrame::accessibleAsGroupingNamedByCaption()
{
    ctlFrame frame;
    prepare(frame, QStringLiteral("Speakers A"));
    QPushButton button(QStringLiteral("On"), &frame);
    button.show();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&frame);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Grouping);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Speakers A"));
    // Only the hosted button is a child; the frame's own parts are not.
    QCOMPARE(iface->childCount(), 1);
    QCOMPARE(iface->child(0)->object(), &button);
}

QTEST_MAIN(tst_ctlFrame)
#include "tst_ctlFrame.moc"
