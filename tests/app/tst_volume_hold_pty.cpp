// Holding volume + against the virtual receiver on a pseudo-terminal, over the real
// serial code: the volume rises on the display, and the run is measured (steps sent
// per second, and how many of them were answered in time for their own step).

#include "tests/support/EndToEndHarness.h"
#include "tests/support/MainWindowFixture.h"

#include <QRegularExpression>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

// The real port, with a record of the volume frames that pass it.
class RecordingPort : public SerialPort
{
public:
    explicit RecordingPort(SerialPort *inner)
        : m_inner(inner)
    {
        connect(inner, &SerialPort::dataArrived, this, &SerialPort::dataArrived);
        connect(inner, &SerialPort::portLost, this, &SerialPort::portLost);
    }

    void open(int portNumber) override { m_inner->open(portNumber); }
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    qint64 bytesWaiting() override { return m_inner->bytesWaiting(); }

    void write(const QByteArray &bytes) override
    {
        if (bytes
            == QByteArray("\x02"
                          "07A1A\x03"))
            m_events.append({Event::Step, m_clock.elapsed()});
        m_inner->write(bytes);
    }

    QByteArray readAll() override
    {
        const QByteArray bytes = m_inner->readAll();
        static const QRegularExpression volumeReport(QStringLiteral("\x02..26[0-9A-F]{2}\x03"));
        if (volumeReport.match(QString::fromLatin1(bytes)).hasMatch())
            m_events.append({Event::Reply, m_clock.elapsed()});
        return bytes;
    }

    void startRecording()
    {
        m_events.clear();
        m_clock.start();
    }

    struct Event
    {
        enum Kind { Step, Reply } kind;
        qint64 at;
    };
    const QList<Event> &events() const { return m_events; }

private:
    SerialPort *m_inner;
    QElapsedTimer m_clock;
    QList<Event> m_events;
};

double decibelsOf(const QString &line1)
{
    static const QRegularExpression volume(QStringLiteral("^VOLUME\\s*(-?[0-9]*\\.?[0-9]*)"));
    const QRegularExpressionMatch match = volume.match(line1);
    return match.hasMatch() ? match.captured(1).toDouble() : -1000;
}

} // namespace

class tst_volume_hold_pty : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void holdingVolumeUpRaisesTheVolume();
    void cleanupTestCase();

private:
    EndToEndHarness m_e2e;
    std::unique_ptr<RecordingPort> m_port;
    std::unique_ptr<MainWindowFixture> m_f;
};

void tst_volume_hold_pty::initTestCase()
{
    if (!ReceiverProcess::isBuilt())
        QSKIP("orvane-receiver not found (ORVANE_BUILD_DIR)");

    QVERIFY2(m_e2e.startReceiver(), qPrintable(m_e2e.errorString()));
    m_port = std::make_unique<RecordingPort>(m_e2e.serialPort());
    m_f = std::make_unique<MainWindowFixture>(ReceiverModel::Options {}, m_port.get());
    // The real serial line with a real receiver process: the receiver's own timing.
    LinkTimings::set(LinkTimings {});
    m_f->w().link()->setCommPort(1);
    inside(m_f->w()).ConnectToOrvane(0);
    QTRY_VERIFY_WITH_TIMEOUT(ui(m_f->w()).Timer_Check.isActive(), 10000);
}

void tst_volume_hold_pty::holdingVolumeUpRaisesTheVolume()
{
    Form_ControlCenter &w = m_f->w();
    // Start at the bottom (-80 dB) so the hold does not reach the top too soon.
    m_e2e.receiver().writeLine("002627");
    QTRY_COMPARE_WITH_TIMEOUT(w.host().line1(), QStringLiteral("VOLUME -80.0dB"), 5000);

    constexpr auto kHold = 3000ms;
    m_port->startRecording();
    QElapsedTimer held;
    held.start();
    inside(w).Image_VolUP_MouseDown(Qt::LeftButton);
    MainWindowFixture::runFor(kHold);
    inside(w).Image_VolUP_MouseUp(Qt::LeftButton);
    const qint64 heldFor = held.elapsed();
    MainWindowFixture::runFor(1000ms);

    // A step counts as answered when its reply arrived before the next step went out
    // and within the answer wait.
    const QList<RecordingPort::Event> &events = m_port->events();
    int steps = 0;
    int answered = 0;
    qint64 longestRoundTrip = 0;
    for (qsizetype i = 0; i < events.size(); ++i) {
        if (events[i].kind != RecordingPort::Event::Step)
            continue;
        ++steps;
        for (qsizetype j = i + 1; j < events.size(); ++j) {
            if (events[j].kind == RecordingPort::Event::Step)
                break;
            if (events[j].at - events[i].at <= LinkTimings::current().answerWait.count()) {
                ++answered;
                longestRoundTrip = std::max(longestRoundTrip, events[j].at - events[i].at);
                break;
            }
        }
    }
    const double stepsPerSecond = steps * 1000.0 / double(heldFor);
    qInfo("held %lld ms: %d steps (%.1f per second), %d answered in time (%.1f %%), "
          "longest round trip %lld ms; the line allows %.0f frames per second",
          heldFor, steps, stepsPerSecond, answered, steps ? 100.0 * answered / steps : 0.0,
          longestRoundTrip, 9600.0 / 10 / 7);

    QVERIFY2(steps >= 30, "the hold repeats");
    QVERIFY2(steps <= heldFor / 10 + 1, "at most one step per tick");
    QVERIFY(answered >= steps * 9 / 10);
    const double reached = decibelsOf(w.host().line1());
    QVERIFY2(reached > -80, qPrintable(w.host().line1()));
    QCOMPARE(w.host().line2().size() >= 20, true);
    QVERIFY(m_f->errors.isEmpty());
}

void tst_volume_hold_pty::cleanupTestCase()
{
    if (m_f && m_f->w().link()->PortOpen())
        m_f->w().link()->ClosePort();
    m_f.reset();
    m_port.reset();
    m_e2e.stop();
}

QTEST_MAIN(tst_volume_hold_pty)
#include "tst_volume_hold_pty.moc"
