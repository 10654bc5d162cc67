#include "platform/QtSerialPort.h"
#include "platform/SerialDeviceNames.h"
#include "platform/SerialPortError.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ReadFrame.h"
#include "tests/support/ReceiverProcess.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <unistd.h>

namespace {

// A port on COM 1 opened on a pseudo-terminal the test plays the receiver on.
struct PtyPort
{
    PseudoTerminal pty;
    FakeSettingsStore settings;
    QtSerialPort port {&settings};

    bool open()
    {
        if (!pty.isValid())
            return false;
        settings.setSection("Ports", {{"Com1", pty.slavePath()}});
        port.open(1);
        return port.isOpen();
    }
};
} // namespace

class tst_QtSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void deviceNames_data();
    void deviceNames();
    void openFailureSaysWhy();
    void ptyTrafficAndVanish();
    void burstArrivesWhole_data();
    void burstArrivesWhole();
    void simulatedReceiver();
};

void tst_QtSerialPort::deviceNames_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("device");

    QTest::newRow("COM 1 default") << "" << 1 << "/dev/ttyS0";
    QTest::newRow("COM 12 default") << "" << 12 << "/dev/ttyS11";
    QTest::newRow("configured adapter") << "/dev/ttyUSB0" << 1 << "/dev/ttyUSB0";
    QTest::newRow("configured with blanks") << " /dev/pts/4 " << 1 << "/dev/pts/4";
    QTest::newRow("other port not configured") << "/dev/ttyUSB0" << 2 << "/dev/ttyS1";
}

void tst_QtSerialPort::deviceNames()
{
    QFETCH(QString, configured);
    QFETCH(int, port);
    QFETCH(QString, device);

    FakeSettingsStore settings;
    if (!configured.isEmpty())
        settings.setSection("Ports", {{"Com1", configured}});
    QCOMPARE(serialDeviceForPort(settings, port), device);
}

void tst_QtSerialPort::openFailureSaysWhy()
{
    FakeSettingsStore settings;
    settings.setSection("Ports", {{"Com2", "/nonexistent/ttyX"}});
    QtSerialPort port(&settings);
    try {
        port.open(2);
        QFAIL("open did not fail");
    } catch (const SerialPortError &e) {
        QVERIFY2(e.description().startsWith("Cannot open /nonexistent/ttyX: "),
                 qPrintable(e.description()));
    }
    QVERIFY(!port.isOpen());
    QCOMPARE(port.bytesWaiting(), 0);
    QVERIFY_THROWS_EXCEPTION(SerialPortError, port.write("x"));
}

void tst_QtSerialPort::ptyTrafficAndVanish()
{
    PtyPort line;
    QVERIFY(line.open());
    PseudoTerminal &pty = line.pty;
    QtSerialPort &port = line.port;
    QCOMPARE(port.deviceName(), pty.slavePath());

    // Bytes go out unchanged (no line-end translation) and come in unchanged.
    const QByteArray frame("\x02"
                           "07A15\x03",
                           7);
    port.write(frame);
    QCOMPARE(pty.receive(frame.size()), frame);
    const QByteArray report("\x02"
                            "0026\x80\xff\x0d\x0a\x03",
                            10);
    QVERIFY(pty.send(report));
    QCOMPARE(readFrame(port), report);

    // The device goes away: closed and reported once, without an endless error flood.
    QSignalSpy lost(&port, &SerialPort::portLost);
    pty.closeMaster();
    QVERIFY(lost.wait(2000));
    QVERIFY(!port.isOpen());
    QTest::qWait(300);
    QCOMPARE(lost.size(), 1);
    QCOMPARE(port.bytesWaiting(), 0);
}

void tst_QtSerialPort::burstArrivesWhole_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<bool>("readAtOnce");

    QTest::newRow("1 KB, read after each notification") << 1024 << true;
    QTest::newRow("1280 bytes, read after each notification") << 1280 << true;
    QTest::newRow("4 KB, read after each notification") << 4096 << true;
    QTest::newRow("64 KB, read after each notification") << 65536 << true;
    QTest::newRow("4 KB, read only when it is all there") << 4096 << false;
}

// A burst in one write, followed by a report: all of it arrives, in order, and the port
// stays open, whether the reader takes the bytes as they are announced or later.
void tst_QtSerialPort::burstArrivesWhole()
{
    QFETCH(int, bytes);
    QFETCH(bool, readAtOnce);

    PtyPort line;
    QVERIFY(line.open());
    QtSerialPort &port = line.port;
    QSignalSpy lost(&port, &SerialPort::portLost);
    QByteArray received;
    // As the link does: one read from the event loop after the notification.
    connect(&port, &SerialPort::dataArrived, this, [&] {
        if (readAtOnce)
            QTimer::singleShot(0, this, [&] { received += port.readAll(); });
    });
    const QByteArray report("\x02"
                            "002680\x03");
    const QByteArray burst = QByteArray(bytes, 'A') + report;
    line.pty.startWriting(burst);
    QTRY_VERIFY_WITH_TIMEOUT((received += port.readAll()).endsWith(report) || !lost.isEmpty(),
                             5000);
    QTest::qWait(100);
    received += port.readAll();
    QCOMPARE(lost.size(), 0);
    QVERIFY(port.isOpen());
    QCOMPARE(received.size(), burst.size());
    QVERIFY(received == burst);
}

void tst_QtSerialPort::simulatedReceiver()
{
    if (!ReceiverProcess::isBuilt())
        QSKIP("orvane-receiver is not built");

    ReceiverProcess receiver;
    QVERIFY2(receiver.start({"--model", "R0073"}), qPrintable(receiver.errorString()));
    const QString device = receiver.device();

    FakeSettingsStore settings;
    settings.setSection("Ports", {{"Com3", device}});
    QtSerialPort port(&settings);
    port.open(3);
    port.write(QByteArray("\x11"
                          "000\x03"));
    const QByteArray block = readFrame(port);
    QVERIFY2(block.startsWith("\x12R0073"), block.toHex().constData());

    QSignalSpy lost(&port, &SerialPort::portLost);
    receiver.kill();
    QVERIFY(lost.wait(2000));
    QTest::qWait(300);
    QCOMPARE(lost.size(), 1);
    QVERIFY(!port.isOpen());
}

QTEST_GUILESS_MAIN(tst_QtSerialPort)
#include "tst_QtSerialPort.moc"
