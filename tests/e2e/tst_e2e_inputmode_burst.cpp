// Input-mode reports over the real serial code: each shows its mode for half a second
// without handling events, but a burst of them in one poll tick pauses once, so the
// window is answering again within a second.

#include "link/LinkTimings.h"
#include "tests/support/EndToEndHarness.h"
#include "tests/support/MainWindowFixture.h"

#include <QtTest>

class tst_E2eInputModeBurst : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reports_data();
    void reports();
    void cleanupTestCase();

private:
    EndToEndHarness m_e2e;
    std::unique_ptr<MainWindowFixture> m_window;
};

void tst_E2eInputModeBurst::initTestCase()
{
    if (!ReceiverProcess::isBuilt())
        QSKIP("orvane-receiver not found (ORVANE_BUILD_DIR)");
    QVERIFY2(m_e2e.startReceiver(), qPrintable(m_e2e.errorString()));
    m_window = std::make_unique<MainWindowFixture>(ReceiverModel::Options {}, m_e2e.serialPort(),
                                                   &m_e2e.portSettings());
    // The pauses measured here are the receiver's own, not the fixture's shortened ones.
    LinkTimings::set(LinkTimings {});
    m_window->window->link()->setCommPort(1);
    inside(*m_window->window).ConnectToOrvane(0);
    QTRY_VERIFY_WITH_TIMEOUT(ui(*m_window->window).Timer_Check.isActive(), 10000);
}

void tst_E2eInputModeBurst::reports_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("maxPauses");

    QTest::newRow("one report shows its mode for half a second") << 1 << 1;
    QTest::newRow("a burst of 20 pauses once per poll tick") << 20 << 2;
}

void tst_E2eInputModeBurst::reports()
{
    QFETCH(int, count);
    QFETCH(int, maxPauses);

    Form_ControlCenter &form = *m_window->window;
    ui(form).Line2->setText(QStringLiteral("-"));
    QTest::qWait(300);

    // A 10 ms timer stands for the user: its silences are the pauses the window took.
    QElapsedTimer clock;
    qint64 last = 0;
    QList<qint64> gaps;
    QTimer probe;
    probe.setInterval(10);
    connect(&probe, &QTimer::timeout, this, [&] {
        gaps.append(clock.elapsed() - last);
        last = clock.elapsed();
    });
    probe.start();
    clock.start();
    // Auto, DD, digital and analog in turn; the last report is DTS.
    const QByteArray modes[] = {"002200", "002201", "002203", "002204"};
    for (int i = 0; i < count - 1; ++i)
        m_e2e.receiver().writeLine(modes[i % 4]);
    m_e2e.receiver().writeLine("002202");
    QTRY_COMPARE_WITH_TIMEOUT(ui(form).Line2->text(), QStringLiteral("DTS"), 15000);
    const qint64 shown = clock.elapsed();
    QTest::qWait(700);
    probe.stop();

    QCOMPARE(ui(form).Opt_InputMode.selected(), std::optional<int>(5));
    const auto pauses = std::count_if(gaps.begin(), gaps.end(), [](qint64 g) { return g >= 400; });
    const qint64 longest = *std::max_element(gaps.begin(), gaps.end());
    QVERIFY2(pauses >= 1 && pauses <= maxPauses,
             qPrintable(QStringLiteral("%1 pauses of 0.4 s or more").arg(pauses)));
    QVERIFY2(longest < 1000, qPrintable(QStringLiteral("froze for %1 ms").arg(longest)));
    QVERIFY2(shown < 1500, qPrintable(QStringLiteral("last report shown after %1 ms").arg(shown)));
    QVERIFY(m_window->errors.isEmpty());
}

void tst_E2eInputModeBurst::cleanupTestCase()
{
    if (m_window && m_window->window->link()->PortOpen())
        m_window->window->link()->ClosePort();
    m_window.reset();
    m_e2e.stop();
}

QTEST_MAIN(tst_E2eInputModeBurst)
#include "tst_e2e_inputmode_burst.moc"
