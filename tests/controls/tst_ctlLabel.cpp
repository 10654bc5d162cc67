#include "ChromellErrors.h"
#include "ControlColour.h"
#include "ctlLabel.h"

#include <QAccessible>
#include <QLabel>
#include <QtTest>

namespace {

constexpr quint32 kLight = 0x00FFFFFF;
constexpr quint32 kDark = 0x00FE8B36;
constexpr quint32 kBack = 0x00204060;

QColor rgb(quint32 value)
{
    return ControlColour::toColor(value, QPalette());
}

} // namespace

class tst_ctlLabel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void borderPixels_data();
    void borderPixels();
    void autoSizeFitsText_data();
    void autoSizeFitsText();
    void systemColoursFollowThePalette_data();
    void systemColoursFollowThePalette();

    void emptyBagGivesDefaults();
    void writeThenReadRestoresState();
    void writesEveryKeyInOrder();
    void keysMatchWithoutCase();
    void badStoredValueIsReportedAndReadingGoesOn_data();
    void badStoredValueIsReportedAndReadingGoesOn();

    void accessibleAsLabelNamedByCaption();

private:
    QList<ChromellErrors::Report> m_reports;
};

void tst_ctlLabel::init()
{
    m_reports.clear();
    ChromellErrors::setHandler([this](const ChromellErrors::Report &r) { m_reports.append(r); });
}

void tst_ctlLabel::cleanup()
{
    ChromellErrors::setHandler({});
}

void tst_ctlLabel::borderPixels_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<quint32>("colour");

    // A 100 x 20 label: light rectangle over pixels 0..98 x 0..18, dark lines on
    // row 19, column 99, row 1 and column 1.
    QTest::newRow("light top left corner") << 1 << QPoint(0, 0) << kLight;
    QTest::newRow("light top right corner") << 1 << QPoint(98, 0) << kLight;
    QTest::newRow("light bottom left corner") << 1 << QPoint(0, 18) << kLight;
    QTest::newRow("light bottom right corner") << 1 << QPoint(98, 18) << kLight;
    QTest::newRow("dark bottom row") << 1 << QPoint(0, 19) << kDark;
    QTest::newRow("dark bottom right pixel") << 1 << QPoint(99, 19) << kDark;
    QTest::newRow("dark right column") << 1 << QPoint(99, 10) << kDark;
    QTest::newRow("right column starts at row 1") << 1 << QPoint(99, 0) << kBack;
    QTest::newRow("dark inner top row") << 1 << QPoint(50, 1) << kDark;
    QTest::newRow("inner top row stops before the light edge") << 1 << QPoint(98, 1) << kLight;
    QTest::newRow("dark inner left column") << 1 << QPoint(1, 10) << kDark;
    QTest::newRow("inner left column stops above the light edge") << 1 << QPoint(1, 18) << kLight;
    QTest::newRow("inside stays background") << 1 << QPoint(2, 5) << kBack;
    QTest::newRow("no border: corner is background") << 0 << QPoint(0, 0) << kBack;
    QTest::newRow("no border: last pixel is background") << 0 << QPoint(99, 19) << kBack;
}

void tst_ctlLabel::borderPixels()
{
    QFETCH(int, style);
    QFETCH(QPoint, at);
    QFETCH(quint32, colour);

    ctlLabel label;
    label.setCaption(QString());
    label.setBackColor(kBack);
    label.setBorderStyle(static_cast<LABELBORDERSTYLE>(style));
    label.resize(100, 20);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));

    QCOMPARE(label.grab().toImage().pixelColor(at), rgb(colour));
}

void tst_ctlLabel::autoSizeFitsText_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QSize>("extra");
    QTest::newRow("etched border adds 6 x 4") << 1 << QSize(6, 4);
    QTest::newRow("no border: exactly the text") << 0 << QSize(0, 0);
}

void tst_ctlLabel::autoSizeFitsText()
{
    QFETCH(int, style);
    QFETCH(QSize, extra);

    ctlLabel label;
    label.setBorderStyle(static_cast<LABELBORDERSTYLE>(style));
    label.setAutoSize(true);
    label.setCaption(QStringLiteral("A much longer caption"));
    const auto *text = label.findChild<QLabel *>(QStringLiteral("Label"));
    QVERIFY(text);
    QCOMPARE(label.size(), text->size() + extra);
    QCOMPARE(text->size(), text->sizeHint());
    // The surface follows the fit, so the border is drawn at the new size.
    QCOMPARE(label.findChild<QLabel *>(QStringLiteral("Picture1"))->size(), label.size());
}

void tst_ctlLabel::systemColoursFollowThePalette_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("role");
    QTest::newRow("button face") << 0x8000000Fu << int(QPalette::Button);
    QTest::newRow("button text") << 0x80000012u << int(QPalette::ButtonText);
    QTest::newRow("window background") << 0x80000005u << int(QPalette::Base);
    QTest::newRow("window text") << 0x80000008u << int(QPalette::Text);
    QTest::newRow("highlight") << 0x8000000Du << int(QPalette::Highlight);
}

void tst_ctlLabel::systemColoursFollowThePalette()
{
    QFETCH(quint32, value);
    QFETCH(int, role);

    QPalette palette;
    palette.setColor(static_cast<QPalette::ColorRole>(role), QColor(1, 2, 3));
    QCOMPARE(ControlColour::toColor(value, palette), QColor(1, 2, 3));

    ctlLabel label;
    label.setPalette(palette);
    label.setCaption(QString());
    label.setBackColor(value);
    label.resize(40, 10);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QCOMPARE(label.grab().toImage().pixelColor(20, 5), QColor(1, 2, 3));
}

void tst_ctlLabel::emptyBagGivesDefaults()
{
    ctlLabel label;
    label.ReadProperties(PropertyBag());
    QCOMPARE(label.Caption(), QStringLiteral("Label"));
    QCOMPARE(label.FrameColor1(), 0x00FFFFFFu);
    QCOMPARE(label.FrameColor2(), 0x00FE8B36u);
    QCOMPARE(label.BorderStyle(), LABELBORDER_NO);
    QCOMPARE(label.Font().pointSizeF(), 8.25);
    QCOMPARE(label.Font().family(), QStringLiteral("Arial"));
    QVERIFY(m_reports.isEmpty());
}

void tst_ctlLabel::writeThenReadRestoresState()
{
    ctlLabel source;
    source.setCaption(QStringLiteral("Stereo"));
    source.setForeColor(0x00000080);
    source.setBackColor(ControlColour::kWindowBackground);
    source.setFrameColor1(0x00C0C0C0);
    source.setFrameColor2(0x00123456);
    source.setBorderStyle(LABELBORDER_SINGLE);
    QFont font(QStringLiteral("Courier"));
    font.setPointSizeF(12);
    font.setBold(true);
    font.setItalic(true);
    source.setCaptionFont(font);
    source.setAutoSize(true);
    source.setEnabled(false);

    PropertyBag bag;
    source.WriteProperties(bag);
    ctlLabel restored;
    restored.ReadProperties(bag);

    QCOMPARE(restored.Caption(), source.Caption());
    QCOMPARE(restored.ForeColor(), source.ForeColor());
    QCOMPARE(restored.BackColor(), ControlColour::kWindowBackground);
    QCOMPARE(restored.FrameColor1(), source.FrameColor1());
    QCOMPARE(restored.FrameColor2(), source.FrameColor2());
    QCOMPARE(restored.BorderStyle(), LABELBORDER_SINGLE);
    QCOMPARE(restored.Font().family(), QStringLiteral("Courier"));
    QCOMPARE(restored.Font().pointSizeF(), 12.0);
    QVERIFY(restored.Font().bold());
    QVERIFY(restored.Font().italic());
    // Neither auto-size nor the enabled state is kept.
    QVERIFY(!restored.AutoSize());
    QVERIFY(restored.Enabled());
}

void tst_ctlLabel::writesEveryKeyInOrder()
{
    ctlLabel label;
    PropertyBag bag;
    label.WriteProperties(bag);
    const QStringList expected {"lblFontBold",  "lblFontSize",  "lblFontItalic", "lblFontName",
                                "lFrameColor1", "lFrameColor2", "lForeColor",    "lBackColor",
                                "stCaption",    "lStyle"};
    QCOMPARE(bag.keys(), expected);
}

void tst_ctlLabel::keysMatchWithoutCase()
{
    // Host forms store the keys in lower case and colours as signed numbers.
    ctlLabel label;
    label.ReadProperties(PropertyBag {{"lblfontbold", true},
                                      {"stcaption", "DSP"},
                                      {"lforecolor", qint32(0x80000012)},
                                      {"LSTYLE", 1}});
    QVERIFY(label.Font().bold());
    QCOMPARE(label.Caption(), QStringLiteral("DSP"));
    QCOMPARE(label.ForeColor(), 0x80000012u);
    QCOMPARE(label.BorderStyle(), LABELBORDER_SINGLE);
}

void tst_ctlLabel::badStoredValueIsReportedAndReadingGoesOn_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("colour that is no number")
        << "lForeColor" << QVariant("red") << "13, Type mismatch";
    QTest::newRow("colour beyond 32 bits") << "lFrameColor1" << QVariant(1e12) << "6, Overflow";
    QTest::newRow("style that is no number")
        << "lStyle" << QVariant("single") << "13, Type mismatch";
    QTest::newRow("negative font size")
        << "lblFontSize" << QVariant(-3.0) << "380, Invalid property value";
}

void tst_ctlLabel::badStoredValueIsReportedAndReadingGoesOn()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QString, message);

    ctlLabel label;
    PropertyBag bag {{"stCaption", "Input"}, {"lblFontName", "Courier"}};
    bag.WriteProperty(key, value);
    label.ReadProperties(bag);

    QCOMPARE(m_reports.size(), 1);
    const ChromellErrors::Report &report = m_reports.first();
    QVERIFY(report.title.startsWith(QStringLiteral("Fehler in tst_ctlLabel")));
    QVERIFY2(report.text.startsWith(
                 QStringLiteral("Fehler in ctlLabel-UserControl_ReadProperties:\n") + message),
             qPrintable(report.text));
    QVERIFY(report.text.contains(QStringLiteral(" (Zeile ")));
    // The statements after the failing one still ran.
    QCOMPARE(label.Caption(), QStringLiteral("Input"));
    QCOMPARE(label.Font().family(), QStringLiteral("Courier"));
}

void tst_ctlLabel::accessibleAsLabelNamedByCaption()
{
    ctlLabel label;
    label.setCaption(QStringLiteral("Hall"));
    label.show();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&label);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::StaticText);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Hall"));
    QCOMPARE(iface->childCount(), 0);
    label.setEnabled(false);
    QVERIFY(iface->state().disabled);
}

QTEST_MAIN(tst_ctlLabel)
#include "tst_ctlLabel.moc"
