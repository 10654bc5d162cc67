// The serial line over a network bridge: address parsing, opening that fails with a
// clear reason in bounded time, raw bytes both ways, reads in serial-sized pieces, and a
// bridge that goes away taking the lost-port path. Against a scripted bridge and against
// the virtual receiver served over TCP.

#include "platform/NetworkPortAddress.h"
#include "platform/SerialPortError.h"
#include "platform/SwitchingSerialPort.h"
#include "platform/TcpSerialPort.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/ReadFrame.h"
#include "tests/support/ReceiverProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
// A bridge played by the test: one listening socket on the loopback and the
// connection the port under test makes to it.
struct Bridge
{
    QTcpServer server;
    QTcpSocket *client = nullptr;

    bool listen() { return server.listen(QHostAddress::LocalHost, 0); }
    QString address() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort()); }
    bool accept()
    {
        if (!client && !server.hasPendingConnections())
            server.waitForNewConnection(2000);
        if (!client)
            client = server.nextPendingConnection();
        return client != nullptr;
    }
};
} // namespace

class tst_TcpSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void addresses_data();
    void addresses();
    void openFailures_data();
    void openFailures();
    void rawBytesBothWays();
    void longSendArrivesInSerialSizedReads();
    void bridgeClosesMidFrame();
    void stalledBridgeBlocksWritesForABoundedTime();
    void virtualReceiverOverTcp();
    void deviceWithoutPermission();
    void permissionAdvice_data();
    void permissionAdvice();
};

void tst_TcpSerialPort::addresses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("network");
    QTest::addColumn<QString>("address"); // empty: not a valid address

    QTest::newRow("host and port") << "tcp://bridge.local:4001" << true
                                   << "tcp://bridge.local:4001";
    QTest::newRow("IPv4, upper-case scheme, blanks") << " TCP://192.168.1.20:23 " << true
                                                     << "tcp://192.168.1.20:23";
    QTest::newRow("IPv6 in brackets") << "tcp://[::1]:7000" << true << "tcp://[::1]:7000";
    QTest::newRow("trailing slash") << "tcp://bridge:4001/" << true << "tcp://bridge:4001";
    QTest::newRow("no port") << "tcp://bridge" << true << "";
    QTest::newRow("port 0") << "tcp://bridge:0" << true << "";
    QTest::newRow("port too large") << "tcp://bridge:65536" << true << "";
    QTest::newRow("no host") << "tcp://:4001" << true << "";
    QTest::newRow("path") << "tcp://bridge:4001/dev/ttyS0" << true << "";
    QTest::newRow("device path") << "/dev/ttyUSB0" << false << "";
    QTest::newRow("other scheme") << "telnet://bridge:23" << false << "";
}

void tst_TcpSerialPort::addresses()
{
    QFETCH(QString, name);
    QFETCH(bool, network);
    QFETCH(QString, address);

    QCOMPARE(NetworkPortAddress::isNetworkName(name), network);
    const auto parsed = NetworkPortAddress::parse(name);
    QCOMPARE(parsed ? parsed->toString() : QString(), address);
}

void tst_TcpSerialPort::openFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");

    // A port nobody listens on: take a free one and close it again.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const QString refused = QStringLiteral("tcp://127.0.0.1:%1").arg(probe.serverPort());
    probe.close();

    QTest::newRow("not a valid address") << "tcp://bridge" << "Cannot open tcp://bridge: not a network address";
    QTest::newRow("nobody listening") << refused << "Cannot connect to " + refused + ": ";
    QTest::newRow("unknown host") << "tcp://no-such-host.invalid:4001"
                                  << "Cannot connect to tcp://no-such-host.invalid:4001: ";
    // A documentation-only address: either unroutable at once or no answer in time.
    QTest::newRow("address that does not answer") << "tcp://192.0.2.1:4001"
                                                   << "Cannot connect to tcp://192.0.2.1:4001: ";
    QTest::newRow("neither device nor address") << "no-such-port" << "Cannot open no-such-port: ";
}

void tst_TcpSerialPort::openFailures()
{
    QFETCH(QString, name);
    QFETCH(QString, message);

    FakeSettingsStore settings;
    settings.setSection("Ports", {{"Com1", name}});
    SwitchingSerialPort port(&settings);
    port.network().setConnectTimeout(500ms);
    QElapsedTimer clock;
    clock.start();
    try {
        port.open(1);
        QFAIL("open did not fail");
    } catch (const SerialPortError &e) {
        QVERIFY2(e.description().startsWith(message), qPrintable(e.description()));
    }
    QVERIFY2(clock.elapsed() < 3000, "opening was not bounded");
    QVERIFY(!port.isOpen());
    QCOMPARE(port.bytesWaiting(), 0);
    QVERIFY_THROWS_EXCEPTION(SerialPortError, port.write("x"));
}

void tst_TcpSerialPort::rawBytesBothWays()
{
    Bridge bridge;
    QVERIFY(bridge.listen());
    FakeSettingsStore settings;
    settings.setSection("Ports", {{"Com2", bridge.address()}});
    SwitchingSerialPort port(&settings);
    port.open(2);
    QVERIFY(port.isOpen());
    QCOMPARE(port.deviceName(), bridge.address());
    QVERIFY(bridge.accept());

    const QByteArray frame("\x02"
                           "07A15\x03",
                           7);
    port.write(frame);
    QTRY_COMPARE(bridge.client->bytesAvailable(), qint64(frame.size()));
    QCOMPARE(bridge.client->readAll(), frame);
    const QByteArray report("\x02"
                            "0026\x80\xff\x0d\x0a\x00\x03",
                            11);
    bridge.client->write(report);
    QCOMPARE(readFrame(port), report);
    port.close();
    QVERIFY(!port.isOpen());
}

void tst_TcpSerialPort::longSendArrivesInSerialSizedReads()
{
    Bridge bridge;
    QVERIFY(bridge.listen());
    TcpSerialPort port(nullptr);
    port.openName(bridge.address());
    QVERIFY(bridge.accept());

    // A bridge sending garbage fast: never more than a serial read buffer at once.
    const QByteArray garbage(64 * 1024, '\x02');
    bridge.client->write(garbage);
    QByteArray received;
    qsizetype longest = 0;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const QByteArray read = port.readAll();
            longest = std::max(longest, read.size());
            received += read;
            return received.size() == garbage.size();
        }(),
        5000);
    QCOMPARE(received, garbage);
    QVERIFY(longest <= TcpSerialPort::kReadBufferBytes);
}

void tst_TcpSerialPort::bridgeClosesMidFrame()
{
    Bridge bridge;
    QVERIFY(bridge.listen());
    TcpSerialPort port(nullptr);
    port.openName(bridge.address());
    QVERIFY(bridge.accept());
    QSignalSpy lost(&port, &SerialPort::portLost);

    bridge.client->write("\x02"
                         "00");
    bridge.client->flush();
    bridge.client->close();
    QVERIFY(lost.wait(2000));
    QVERIFY2(lost.first().first().toString().startsWith(bridge.address()),
             qPrintable(lost.first().first().toString()));
    QVERIFY(!port.isOpen());
    QCOMPARE(port.bytesWaiting(), 0);
    QVERIFY_THROWS_EXCEPTION(SerialPortError, port.write("x"));
    QTest::qWait(200);
    QCOMPARE(lost.size(), 1);

    // The same bridge accepts again: the port opens anew.
    bridge.client = nullptr;
    port.openName(bridge.address());
    QVERIFY(port.isOpen());
}

void tst_TcpSerialPort::stalledBridgeBlocksWritesForABoundedTime()
{
    Bridge bridge;
    QVERIFY(bridge.listen());
    TcpSerialPort port(nullptr);
    port.openName(bridge.address());
    QVERIFY(bridge.accept());

    // The bridge reads nothing: once the system's buffers are full, a write waits at most
    // the blocked-write limit and the port stays open for the link to reconnect.
    const QByteArray chunk(64 * 1024, 'x');
    QElapsedTimer clock;
    qint64 slowest = 0;
    for (int i = 0; i < 200 && slowest < 700; ++i) {
        clock.start();
        port.write(chunk);
        slowest = std::max(slowest, clock.elapsed());
    }
    QVERIFY2(slowest >= 700, "the write never blocked");
    QVERIFY2(slowest < 1500, "the write blocked beyond its limit");
    QVERIFY(port.isOpen());
}

void tst_TcpSerialPort::virtualReceiverOverTcp()
{
    if (!ReceiverProcess::isBuilt())
        QSKIP("orvane-receiver is not built");
    ReceiverProcess receiver;
    QVERIFY2(receiver.start({"--tcp", "0", "--model", "R0073"}),
             qPrintable(receiver.errorString()));
    QVERIFY2(receiver.device().startsWith("tcp://127.0.0.1:"), qPrintable(receiver.device()));

    FakeSettingsStore settings;
    settings.setSection("Ports", {{"Com3", receiver.device()}});
    SwitchingSerialPort port(&settings);
    port.open(3);
    port.write(QByteArray("\x11"
                          "000\x03"));
    QVERIFY(readFrame(port).startsWith("\x12R0073"));

    // Reports on, then a command: the receiver answers with the input report.
    port.write(QByteArray("\x02"
                          "20000\x03"
                          "\x02"
                          "07A15\x03"));
    QCOMPARE(readFrame(port), QByteArray("\x02"
                                         "102101\x03"));
    receiver.writeLine("headphones on");
    QCOMPARE(readFrame(port), QByteArray("\x02"
                                         "003401\x03"));

    // The bridge drops the connection: lost once, and it can be opened again.
    QSignalSpy lost(&port, &SerialPort::portLost);
    receiver.writeLine("drop");
    QVERIFY(lost.wait(2000));
    QVERIFY(!port.isOpen());
    port.open(3);
    QVERIFY(port.isOpen());

    // The bridge goes away altogether.
    receiver.kill();
    QVERIFY(lost.wait(2000));
    QCOMPARE(lost.size(), 2);
    QVERIFY(!port.isOpen());
}

void tst_TcpSerialPort::deviceWithoutPermission()
{
    if (::geteuid() == 0)
        QSKIP("root may open any device");
    QTemporaryDir folder;
    const QString device = folder.filePath("ttyLocked");
    QFile file(device);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::Permissions()));

    FakeSettingsStore settings;
    settings.setSection("Ports", {{"Com1", device}});
    SwitchingSerialPort port(&settings);
    try {
        port.open(1);
        QFAIL("open did not fail");
    } catch (const SerialPortError &e) {
        QVERIFY2(e.description().startsWith("Cannot open " + device + ": permission denied."),
                 qPrintable(e.description()));
        QVERIFY(e.description().contains("sudo adduser $USER"));
    }
    QCOMPARE(SwitchingSerialPort::permissionProblem(folder.filePath("absent")), QString());
}

void tst_TcpSerialPort::permissionAdvice_data()
{
    using P = QFileDevice;
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QFileDevice::Permissions>("permissions");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("never"); // advice that would not help

    const QString join = QStringLiteral("sudo adduser $USER dialout");
    QTest::newRow("crw-rw---- root dialout")
        << "root" << "dialout" << (P::ReadOwner | P::WriteOwner | P::ReadGroup | P::WriteGroup)
        << "Add it to the group \"dialout\"" << "udev";
    QTest::newRow("crw------- root root: no group to join")
        << "root" << "root" << (P::ReadOwner | P::WriteOwner)
        << "Only its owner, root, may read and write" << "group \"root\"";
    QTest::newRow("crw-r----- root uucp: the group may only read")
        << "root" << "uucp" << (P::ReadOwner | P::WriteOwner | P::ReadGroup)
        << "udev rule" << "group \"uucp\"";
    QTest::newRow("c--------- nobody may")
        << "root" << "dialout" << P::Permissions() << "No user but root" << "Add it to the group";
    QTest::newRow("crw-rw---- group without a name")
        << "root" << "" << (P::ReadOwner | P::WriteOwner | P::ReadGroup | P::WriteGroup) << join
        << "group \"\"";
}

void tst_TcpSerialPort::permissionAdvice()
{
    QFETCH(QString, owner);
    QFETCH(QString, group);
    QFETCH(QFileDevice::Permissions, permissions);
    QFETCH(QString, says);
    QFETCH(QString, never);
    const QString advice = SwitchingSerialPort::permissionAdvice(
        QStringLiteral("/dev/ttyUSB0"), owner, group, permissions);
    QVERIFY2(advice.startsWith("Cannot open /dev/ttyUSB0: permission denied."), qPrintable(advice));
    QVERIFY2(advice.contains(says), qPrintable(advice));
    QVERIFY2(!advice.contains(never), qPrintable(advice));
}

QTEST_GUILESS_MAIN(tst_TcpSerialPort)
#include "tst_TcpSerialPort.moc"
