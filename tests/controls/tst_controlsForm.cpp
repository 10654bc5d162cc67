#include "Command.h"
#include "ControlColour.h"
#include "ctlFrame.h"
#include "ctlLabel.h"
#include "ui_controlsForm.h"

#include <QtTest>

// The controls placed on a form designed in a .ui file.
class tst_controlsForm : public QObject
{
    Q_OBJECT

private slots:
    void propertiesComeFromTheForm();
    void controlsInsideTheFrameWork();
};

void tst_controlsForm::propertiesComeFromTheForm()
{
    QWidget form;
    Ui::ControlsForm ui;
    ui.setupUi(&form);

    QCOMPARE(ui.Frame_Input->Caption(), QStringLiteral("Input"));
    QCOMPARE(ui.Frame_Input->CaptionPos(), FRAME_RIGHT);
    QCOMPARE(ui.Frame_Input->ForeColor(), 0x00000080u);
    QCOMPARE(ui.Frame_Input->FrameColor2(), 0x00C0C0C0u);
    QCOMPARE(ui.Label_Effect->Caption(), QStringLiteral("Hall in Vienna"));
    QCOMPARE(ui.Label_Effect->BorderStyle(), LABELBORDER_SINGLE);
    QCOMPARE(ui.Label_Effect->BackColor(), ControlColour::kWindowBackground);
    QCOMPARE(ui.cmdSend->Caption(), QStringLiteral("&Send"));
    QCOMPARE(ui.cmdSend->AccessKey(), QStringLiteral("s"));
    QCOMPARE(ui.cmdSend->ForeHover(), 0x000000FFu);

    // The same properties by name, as style-free code sets them.
    QVERIFY(ui.Frame_Input->setProperty("CaptionPos", int(FRAME_CENETR)));
    QCOMPARE(ui.Frame_Input->CaptionPos(), FRAME_CENETR);
    QVERIFY(ui.Label_Effect->setProperty("BorderStyle", QStringLiteral("LABELBORDER_NO")));
    QCOMPARE(ui.Label_Effect->BorderStyle(), LABELBORDER_NO);
}

void tst_controlsForm::controlsInsideTheFrameWork()
{
    QWidget form;
    Ui::ControlsForm ui;
    ui.setupUi(&form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(ui.Label_Effect->parentWidget(), ui.Frame_Input);
    QCOMPARE(ui.Frame_Input->childAt(20, 70), ui.cmdSend);
    // The label's etched border shows inside the frame.
    const QImage label = ui.Label_Effect->grab().toImage();
    QCOMPARE(label.pixelColor(0, 0), QColor(255, 255, 255));
    QCOMPARE(label.pixelColor(119, 19), QColor(0x36, 0x8B, 0xFE));

    QSignalSpy clicks(ui.cmdSend, &Command::Click);
    QSignalSpy frameClicks(ui.Frame_Input, &ctlFrame::Click);
    QTest::mouseClick(ui.cmdSend, Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(frameClicks.size(), 0);
}

QTEST_MAIN(tst_controlsForm)
#include "tst_controlsForm.moc"
