// Writes into a line that takes nothing more: the real serial port on a pseudo-terminal
// whose other side nobody reads. Such a write must count as blocked, so the link
// reconnects, instead of queueing commands without limit.

#include "link/ReceiverLink.h"
#include "platform/QtSerialPort.h"
#include "tests/support/FakeLinkHost.h"
#include "tests/support/FakeSettingsStore.h"

#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <thread>
#include <unistd.h>

namespace {
// The master side of a pseudo-terminal; optionally drained by a reader thread.
class Pty
{
public:
    Pty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)) {
            ::close(m_master);
            m_master = -1;
        }
    }
    ~Pty()
    {
        m_stop = true;
        if (m_reader.joinable())
            m_reader.join();
        if (m_master >= 0)
            ::close(m_master);
    }
    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return QString::fromLocal8Bit(::ptsname(m_master)); }
    void startReading()
    {
        m_reader = std::thread([this] {
            char buffer[4096];
            while (!m_stop) {
                pollfd fd {m_master, POLLIN, 0};
                if (::poll(&fd, 1, 20) > 0 && (fd.revents & POLLIN))
                    m_read += ::read(m_master, buffer, sizeof buffer);
            }
        });
    }
    qint64 bytesRead() const { return m_read; }

private:
    int m_master = -1;
    std::thread m_reader;
    std::atomic<bool> m_stop {false};
    std::atomic<qint64> m_read {0};
};
} // namespace

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

    Pty pty;
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
