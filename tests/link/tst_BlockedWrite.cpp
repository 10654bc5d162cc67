// Writes into a line that takes nothing more: the real serial port on a pseudo-terminal
// whose other side nobody reads. Such a write must count as blocked, so the link
// reconnects, instead of queueing commands without limit.

#include "link/ReceiverLink.h"
#include "platform/QtSerialPort.h"
#include "tests/support/FakeLinkHost.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/PseudoTerminal.h"

#include <QElapsedTimer>
#include <QTest>

class tst_BlockedWrite : public QObject
{
    Q_OBJECT
private slots:
    void stalledLine_data();
    void stalledLine();
};

void tst_BlockedWrite::stalledLine_data()
{
    QTest::addColumn<bool>("read");

    QTest::newRow("nobody reads: the link reconnects") << false;
    QTest::newRow("the line is read: no reconnect") << true;
}

void tst_BlockedWrite::stalledLine()
{
    QFETCH(bool, read);

    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    FakeSettingsStore settings;
    settings.setSection(QStringLiteral("Ports"), {{QStringLiteral("Com1"), pty.slavePath()}});
    QtSerialPort port(&settings);
    FakeLinkHost host;
    ReceiverLink link(&port, &host, nullptr);
    link.setCommPort(1);
    link.OpenPort();
    QVERIFY(link.PortOpen());
    if (read)
        pty.startReading();

    // 70,000 bytes: far more than any buffer between here and the other side holds.
    constexpr int kFrames = 10'000;
    QElapsedTimer clock;
    clock.start();
    int sent = 0;
    while (sent < kFrames && !host.line2History.contains(QStringLiteral("Reconnect"))
           && clock.elapsed() < 60'000) {
        link.SendCommand(QStringLiteral("07A1A"));
        ++sent;
    }

    if (read) {
        QVERIFY2(host.line2History.isEmpty(), qPrintable(host.line2History.join(',')));
        QCOMPARE(sent, kFrames);
        QTRY_COMPARE_WITH_TIMEOUT(pty.bytesRead(), qint64(kFrames) * 7, 10000);
    } else {
        QCOMPARE(host.line2History, (QStringList {QStringLiteral("Reconnect"),
                                                  QStringLiteral("Done")}));
        QVERIFY(link.PortOpen());
        // The stalled write took the line's limit, not more.
        QVERIFY2(clock.elapsed() < 10'000, qPrintable(QString::number(clock.elapsed())));
    }
    QVERIFY(host.lostReasons.isEmpty());
    QVERIFY(!link.LinkBusy());
}

QTEST_GUILESS_MAIN(tst_BlockedWrite)
#include "tst_BlockedWrite.moc"
