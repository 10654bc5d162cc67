#include "platform/SerialPortError.h"
#include "sim/ReceiverModel.h"
#include "tests/support/FakeSerialPort.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QByteArray kRequest("\x11"
                          "000\x03");
const QByteArray kVolumeUp("\x02"
                           "07A1A\x03");

} // namespace

class tst_FakeSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void answerComesFromTheEventLoop();
    void answerInPieces();
    void withoutReceiverNothingAnswers();
    void failures_data();
    void failures();
    void stalledWrite();
    void vanishedDevice();
    void closingLosesWhatIsUnderWay();
};

void tst_FakeSerialPort::answerComesFromTheEventLoop()
{
    ReceiverModel model;
    FakeSerialPort port(&model);
    port.open(1);
    QSignalSpy arrived(&port, &SerialPort::dataArrived);

    port.write(kRequest);
    QCOMPARE(port.bytesWaiting(), 0);
    QVERIFY(arrived.wait(1000));
    QCOMPARE(port.readAll(), model.configurationBlock());
    QCOMPARE(port.bytesWaiting(), 0);
}

void tst_FakeSerialPort::answerInPieces()
{
    ReceiverModel model;
    model.setReportsEnabled(true);
    FakeSerialPort port(&model);
    port.setChunkSize(4);
    port.setLatency(5ms);
    port.open(2);
    QSignalSpy arrived(&port, &SerialPort::dataArrived);

    port.write(kVolumeUp);
    QVERIFY(arrived.wait(1000));
    const QByteArray first = port.readAll();
    QCOMPARE(first,
             QByteArray("\x02"
                        "002"));
    QTRY_COMPARE(port.bytesWaiting(), 4);
    QCOMPARE(first + port.readAll(),
             QByteArray("\x02"
                        "0026A0\x03"));
}

void tst_FakeSerialPort::withoutReceiverNothingAnswers()
{
    FakeSerialPort port;
    port.open(1);
    port.write(kRequest);
    port.write(kVolumeUp);
    QTest::qWait(50);
    QCOMPARE(port.bytesWaiting(), 0);
    QCOMPARE(port.writes(), (QList<QByteArray> {kRequest, kVolumeUp}));
    QCOMPARE(port.writtenCodes(), QStringList {"07A1A"});
}

void tst_FakeSerialPort::failures_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("number");

    QTest::newRow("scripted open failure") << "failing open" << 8002;
    QTest::newRow("opening an open port") << "open twice" << 8005;
    QTest::newRow("writing to a closed port") << "write closed" << 8018;
    QTest::newRow("scripted write failure") << "failing write" << int(SerialPortError::kPortError);
}

void tst_FakeSerialPort::failures()
{
    QFETCH(QString, action);
    QFETCH(int, number);

    FakeSerialPort port;
    int thrown = 0;
    try {
        if (action == "failing open") {
            port.setOpenFailure(true);
            port.open(3);
        } else if (action == "open twice") {
            port.open(3);
            port.open(3);
        } else if (action == "write closed") {
            port.write(kVolumeUp);
        } else if (action == "failing write") {
            port.open(3);
            port.setWriteFailure(true);
            port.write(kVolumeUp);
        }
    } catch (const SerialPortError &error) {
        thrown = error.number();
    }
    QCOMPARE(thrown, number);
    QVERIFY(port.writes().isEmpty());
}

void tst_FakeSerialPort::stalledWrite()
{
    FakeSerialPort port;
    port.open(1);
    port.setWriteStall(100ms, 1);

    QElapsedTimer timer;
    timer.start();
    port.write(kVolumeUp);
    QVERIFY(timer.elapsed() >= 100);
    timer.restart();
    port.write(kVolumeUp);
    QVERIFY(timer.elapsed() < 100);
}

void tst_FakeSerialPort::vanishedDevice()
{
    FakeSerialPort port;
    port.open(1);
    QSignalSpy lost(&port, &SerialPort::portLost);

    port.vanish();
    QCOMPARE(lost.count(), 1);
    QVERIFY(!port.isOpen());
    QVERIFY_THROWS_EXCEPTION(SerialPortError, port.open(1));

    port.reappear();
    port.open(1);
    QVERIFY(port.isOpen());
}

void tst_FakeSerialPort::closingLosesWhatIsUnderWay()
{
    ReceiverModel model;
    FakeSerialPort port(&model);
    port.open(1);
    port.write(kRequest);
    port.close();
    port.open(1);
    QTest::qWait(50);
    QCOMPARE(port.bytesWaiting(), 0);
}

QTEST_GUILESS_MAIN(tst_FakeSerialPort)
#include "tst_FakeSerialPort.moc"
