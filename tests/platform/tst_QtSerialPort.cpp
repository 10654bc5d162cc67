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
    for (int bytes : {1024, 1280, 4096, 65536})
        QTest::newRow(qPrintable(QString::number(bytes))) << bytes;
}

// A burst in one write, read as the link reads (once after each notification): all of
// it arrives, in order, and the port stays open.
void tst_QtSerialPort::burstArrivesWhole()
{
    QFETCH(int, bytes);
    PtyPort line;
    QVERIFY(line.open());
    QSignalSpy lost(&line.port, &SerialPort::portLost);
    QByteArray received;
    connect(&line.port, &SerialPort::dataArrived, this, [&] {
        QTimer::singleShot(0, this, [&] { received += line.port.readAll(); });
    });
    const QByteArray burst = QByteArray(bytes, 'A') + "\x02" "002680\x03";
    line.pty.startWriting(burst);
    QTRY_VERIFY(received.size() >= burst.size() || !lost.isEmpty());
    QCOMPARE(lost.size(), 0);
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
