#include "tests/support/MainWindowFixture.h"

#include <ControlColour.h>
#include <QLabel>
#include <QtTest>
#include <ctlFrame.h>

// Each of the eight panels shows its whole etched border on screen: no control inside a
// panel paints over it.
class tst_panelborders : public QObject
{
    Q_OBJECT

private slots:
    void borderIsWhole_data();
    void borderIsWhole();
};

void tst_panelborders::borderIsWhole_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<bool>("zone2");
    for (const char *panel : {"Frame_Input", "Frame_InputMode", "Frame_DSP", "Frame_SpeakersA",
                              "Frame_SpeakersB", "Frame_61ES", "Frame_6ChInput"})
        QTest::newRow(panel) << QString::fromLatin1(panel) << false;
    QTest::newRow("Frame_Leer1 (zone-2 mode)") << QStringLiteral("Frame_Leer1") << true;
}

void tst_panelborders::borderIsWhole()
{
    QFETCH(QString, panel);
    QFETCH(bool, zone2);

    MainWindowFixture f;
    Form_ControlCenter &w = f.w();
    const QHash<QString, ctlFrame *> frames {{"Frame_Input", ui(w).Frame_Input},
                                             {"Frame_InputMode", ui(w).Frame_InputMode},
                                             {"Frame_DSP", ui(w).Frame_DSP},
                                             {"Frame_SpeakersA", ui(w).Frame_SpeakersA},
                                             {"Frame_SpeakersB", ui(w).Frame_SpeakersB},
                                             {"Frame_61ES", ui(w).Frame_61ES},
                                             {"Frame_6ChInput", ui(w).Frame_6ChInput},
                                             {"Frame_Leer1", ui(w).Frame_Leer1}};
    f.showOpened();
    if (zone2)
        ui(w).Menu_Mode_Zone2->trigger();
    ctlFrame *frame = frames.value(panel);
    QVERIFY(frame->isVisible());
    // Every option shown, so each can be seen to keep off the border.
    for (QWidget *child : frame->findChildren<QWidget *>())
        if (child->objectName() != "Label" && child->objectName() != "Picture1")
            child->show();

    // The panel as the window shows it, with whatever lies over it.
    const QImage image = w.grab(QRect(frame->mapTo(&w, QPoint(0, 0)), frame->size())).toImage();
    const QColor light = ControlColour::toColor(frame->FrameColor1(), frame->palette());
    const QColor dark = ControlColour::toColor(frame->FrameColor2(), frame->palette());
    const int w1 = image.width() - 1;
    const int h1 = image.height() - 1;
    const auto *caption = frame->findChild<QLabel *>("Label");
    const int top = frame->Caption().isEmpty() ? 0 : caption->height() / 2;
    // The sides and the bottom; the top edge runs behind the caption.
    for (int y = top + 2; y <= h1 - 2; ++y) {
        QCOMPARE(image.pixelColor(0, y), light);
        QCOMPARE(image.pixelColor(1, y), dark);
        QCOMPARE(image.pixelColor(w1 - 1, y), light);
        QCOMPARE(image.pixelColor(w1, y), dark);
    }
    for (int x = 2; x <= w1 - 2; ++x) {
        QCOMPARE(image.pixelColor(x, h1 - 1), light);
        QCOMPARE(image.pixelColor(x, h1), dark);
    }
}

QTEST_MAIN(tst_panelborders)
#include "tst_panelborders.moc"
