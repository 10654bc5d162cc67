// The remote's page in a real browser against the real program and the virtual receiver
// on a pseudo-terminal: sign in, press DVD and see its code on the line, see a
// front-panel change on the page within a second, set the volume with the slider.

#include "BrowserPage.h"
#include "tests/support/EndToEndHarness.h"

#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class tst_WebBrowser : public QObject
{
    Q_OBJECT
private slots:
    void remoteInTheBrowser();
};

void tst_WebBrowser::remoteInTheBrowser()
{
    if (!EndToEndHarness::missing().isEmpty())
        QSKIP(qPrintable(EndToEndHarness::missing()));
    if (!BrowserPage::missing().isEmpty())
        QSKIP(qPrintable(BrowserPage::missing()));
    EndToEndHarness e2e;
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    const QString password = QString::number(QRandomGenerator::global()->generate64(), 36);
    QVERIFY2(e2e.startReceiver({QStringLiteral("--log")}), qPrintable(e2e.errorString()));
    QVERIFY(e2e.writeSettings(QStringLiteral("[Web]\nListen=127.0.0.1:%1\nPassword=%2\n")
                                  .arg(port)
                                  .arg(password)
                                  .toUtf8()));
    QVERIFY2(e2e.startProgram({QStringLiteral("-C1")}), qPrintable(e2e.errorString()));
    ReceiverProcess &receiver = e2e.receiver();
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("20100")), 15000);

    BrowserPage page;
    QVERIFY2(page.open(QStringLiteral("http://127.0.0.1:%1/").arg(port), password),
             qPrintable(page.errorString()));
    QVERIFY(page.ask(QStringLiteral("press DVD")).startsWith(u"pressed"));
    QTRY_VERIFY_WITH_TIMEOUT(receiver.log().contains(QStringLiteral("07AC1")), 5000);

    // The volume knob on the front panel: -10 dB.
    QCOMPARE(page.ask(QStringLiteral("watch volume-db")), QStringLiteral("watching"));
    receiver.writeLine("0026B3");
    QVERIFY2(page.ask(QStringLiteral("wait volume-db 1000 -10.0 dB")).startsWith(u"seen"),
             "the page did not show the new volume within a second");

    // The slider, let go at -13 dB: six steps down, each answered by the receiver.
    QVERIFY(page.ask(QStringLiteral("slide volume -13")).startsWith(u"slid"));
    const QString shown = page.ask(QStringLiteral("wait volume-db 10000 -13.0 dB"));
    QVERIFY2(shown.startsWith(u"seen"), qPrintable(shown));
    QTRY_VERIFY(receiver.log().count(QStringLiteral("07A1B")) >= 6);
}

QTEST_GUILESS_MAIN(tst_WebBrowser)
#include "tst_web_browser.moc"
