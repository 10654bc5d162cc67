#include "errors/ErrBoxPresenter.h"
#include "errors/Form_ErrBox.h"
#include "platform/DeferredBoxes.h"
#include "tests/support/FakeShell.h"
#include "tests/support/FakeUserDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

int rightEdge(const QWidget *w)
{
    return w->x() + w->width();
}

} // namespace

class TestErrBox : public QObject
{
    Q_OBJECT
private slots:
    void labels_data();
    void labels();
    void shortTextsKeepDesignWidth();
    void longDescriptionWidensBox();
    void reportText();
    void sendOpensMailtoLink();
    void failedSendKeepsReportOnClipboard();
    void reportDuringOpenBoxIsQueued();
    void reportDuringAnEvaluationFollowsIt();
};

void TestErrBox::labels_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("label2");

    QTest::newRow("line 0 has no line part") << 0 << "53, File not found";
    QTest::newRow("negative line treated as 0") << -4 << "53, File not found";
    QTest::newRow("line 1 shown") << 1 << "53, File not found (Line 1)";
    QTest::newRow("larger line shown") << 120 << "53, File not found (Line 120)";
}

void TestErrBox::labels()
{
    QFETCH(int, line);
    QFETCH(QString, label2);

    Form_ErrBox box(nullptr, nullptr);
    box.prepare("LoadConfig", "Form_ControlCenter", 53, "File not found", line);
    QCOMPARE(box.Label1->text(), QString("Error in Form_ControlCenter-LoadConfig:"));
    QCOMPARE(box.Label2->text(), label2);
    QCOMPARE(box.windowTitle(), QString("Error in tst_errbox"));
}

void TestErrBox::shortTextsKeepDesignWidth()
{
    Form_ErrBox box(nullptr, nullptr);
    const int designWidth = box.width();
    const QPoint sendPos = box.cmdSend->pos();
    box.prepare("P", "M", 5, "x", 0);
    QCOMPARE(designWidth * Form_ErrBox::kTwipsPerPixel, Form_ErrBox::kDesignWidthTwips);
    QCOMPARE(box.width(), designWidth);
    QCOMPARE(box.cmdSend->pos(), sendPos);
}

void TestErrBox::longDescriptionWidensBox()
{
    Form_ErrBox box(nullptr, nullptr);
    const int designWidth = box.width();
    const int textRight = rightEdge(box.Text1);
    const int sendRight = rightEdge(box.cmdSend);
    const int closeRight = rightEdge(box.cmdClose);

    box.prepare("Timer_Check_Timer", "Form_ControlCenter", 8002,
                "The device reported an input/output error on the serial line", 12);

    const int grow = box.width() - designWidth;
    QVERIFY(grow > 0);
    // The label fits with its right margin; text box and buttons follow the new edge.
    const int marginPx = Form_ErrBox::kLabelRightMarginTwips / Form_ErrBox::kTwipsPerPixel;
    QVERIFY(rightEdge(box.Label2) + marginPx <= box.width());
    QVERIFY(rightEdge(box.Label2) + marginPx > box.width() - 2);
    QCOMPARE(rightEdge(box.Text1), textRight + grow);
    QCOMPARE(rightEdge(box.cmdSend), sendRight + grow);
    QCOMPARE(rightEdge(box.cmdClose), closeRight + grow);
}

void TestErrBox::reportText()
{
    Form_ErrBox box(nullptr, nullptr);
    box.prepare("SetKlappe", "Form_ControlCenter", 9, "Subscript out of range", 2);
    box.Text1->setPlainText("clicked the flap\ntwice & more");
    const QString version = QString("Version: %1.%2.%3")
                                .arg(ORVANE_VERSION_MAJOR)
                                .arg(ORVANE_VERSION_MINOR)
                                .arg(ORVANE_VERSION_PATCH);
    QCOMPARE(box.reportText(),
             "Error in tst_errbox\r\n"
             "Error in Form_ControlCenter-SetKlappe:\r\n"
             "9, Subscript out of range (Line 2)\r\n"
                 + version
                 + "\r\nBeschreibung:\r\n"
                   "clicked the flap\r\ntwice & more");
}

void TestErrBox::sendOpensMailtoLink()
{
    FakeShell shell;
    Form_ErrBox box(&shell, nullptr);
    box.prepare("Proc", "Mod", 5, "100% wrong", 0);
    box.Text1->setPlainText(QString::fromUtf8("A & B, gr\u00fcn"));
    box.show();
    QTest::mouseClick(box.cmdSend, Qt::LeftButton);

    QVERIFY(!box.isVisible());
    QCOMPARE(shell.openedUrls().size(), 1);
    const QString link = shell.openedUrls().first();
    QVERIFY(link.startsWith("mailto:orvane-reports@example.org?subject=Error%20in%20tst_errbox"
                            "&body=Error%20in%20tst_errbox%0D%0AError%20in%20Mod-Proc:%0D%0A"
                            "5,%20100%25%20wrong%0D%0AVersion:%20"));
    QVERIFY(link.endsWith("%0D%0ABeschreibung:%0D%0AA%20%26%20B,%20gr%FCn"));
    // Exactly one separator between subject and body, so the user's "&" stays in the body.
    QCOMPARE(link.count('&'), 1);
    const QUrl url(link, QUrl::TolerantMode);
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), QString("mailto"));
}

void TestErrBox::failedSendKeepsReportOnClipboard()
{
    FakeShell shell;
    shell.setResult(false);
    FakeUserDialogs dialogs;
    Form_ErrBox box(&shell, &dialogs);
    box.prepare("Proc", "Mod", 5, "bad", 0);
    box.show();
    QTest::mouseClick(box.cmdSend, Qt::LeftButton);

    QVERIFY(!box.isVisible());
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messageTexts().first().contains("orvane-reports@example.org"));
    QCOMPARE(QGuiApplication::clipboard()->text(), box.reportText());
}

void TestErrBox::reportDuringOpenBoxIsQueued()
{
    FakeShell shell;
    ErrBoxPresenter presenter(&shell, nullptr);
    const ErrorReport first {"Timer_Check_Timer", "Form_ControlCenter", 6, "Overflow", 0};
    const ErrorReport second {"Timer_ZS_Timer", "Form_ControlCenter", 13, "Type mismatch", 4};

    QStringList shown;
    bool nestedReturnedAtOnce = false;
    QTimer driver;
    driver.setInterval(10);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto *box = qobject_cast<Form_ErrBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown.append(box->Label1->text());
        if (shown.size() == 1) {
            // A timer failing while the box waits: twice the same, once the first again.
            presenter.present(second);
            presenter.present(second);
            presenter.present(first);
            nestedReturnedAtOnce
                = QApplication::activeModalWidget() == box && presenter.queuedCount() == 1;
        }
        box->cmdClose->click();
    });
    driver.start();
    presenter.present(first);
    driver.stop();

    QVERIFY(nestedReturnedAtOnce);
    QCOMPARE(shown,
             QStringList({"Error in Form_ControlCenter-Timer_Check_Timer:",
                          "Error in Form_ControlCenter-Timer_ZS_Timer:"}));
    QVERIFY(!presenter.isShowing());
    QCOMPARE(presenter.queuedCount(), 0);
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestErrBox::reportDuringAnEvaluationFollowsIt()
{
    FakeShell shell;
    ErrBoxPresenter presenter(&shell, nullptr);
    QStringList shown;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<Form_ErrBox *>(QApplication::activeModalWidget())) {
            shown.append(box->Label1->text());
            box->cmdClose->click();
        }
    });
    driver.start(10);
    {
        DeferredBoxes::Scope evaluating;
        presenter.present({"DatenAuswerten", "Form_ControlCenter", 6, "Overflow", 0});
        QVERIFY(!QApplication::activeModalWidget());
    }
    QTRY_COMPARE(shown, QStringList {"Error in Form_ControlCenter-DatenAuswerten:"});
}

QTEST_MAIN(TestErrBox)
#include "tst_errbox.moc"
