// The main window over the real serial code against the virtual receiver on a
// pseudo-terminal: the panels fill on connecting, and front-panel events typed into the
// receiver show on the display.

#include "tests/support/EndToEndHarness.h"
#include "tests/support/MainWindowFixture.h"

#include <QtTest>

class tst_E2eReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void panelsShowTheReceiverAfterConnecting();
    void frontPanelEvents_data();
    void frontPanelEvents();
    void clickTravelsToTheReceiverAndBack();
    void reportIsEvaluatedAsItArrives();
    void cleanupTestCase();

private:
    EndToEndHarness m_e2e;
    std::unique_ptr<MainWindowFixture> m_window;
};

void tst_E2eReports::initTestCase()
{
    if (!ReceiverProcess::isBuilt())
        QSKIP("orvane-receiver not found (ORVANE_BUILD_DIR)");
    QVERIFY2(m_e2e.startReceiver(), qPrintable(m_e2e.errorString()));
    m_window = std::make_unique<MainWindowFixture>(ReceiverModel::Options {}, m_e2e.serialPort(),
                                                   &m_e2e.portSettings());
    m_window->window->link()->setCommPort(1);
    inside(*m_window->window).ConnectToOrvane(0);
    QTRY_VERIFY_WITH_TIMEOUT(ui(*m_window->window).Timer_Check.isActive(), 10000);
}

void tst_E2eReports::panelsShowTheReceiverAfterConnecting()
{
    // The virtual receiver starts on DVD, Auto, Hall A, speakers A on and B off.
    const Form_ControlCenter &form = *m_window->window;
    QCOMPARE(ui(form).Opt_Input.selected(), std::optional<int>(8));
    QCOMPARE(ui(form).Opt_InputMode.selected(), std::optional<int>(1));
    QCOMPARE(ui(form).Opt_Dsp.selected(), std::optional<int>(1));
    QCOMPARE(ui(form).Opt_SpeakersA.selected(), std::optional<int>(1));
    QCOMPARE(ui(form).Opt_SpeakersB.selected(), std::optional<int>(0));
    QCOMPARE(ui(form).Opt_61ES.selected(), std::optional<int>(0));
    QCOMPARE(ui(form).Opt_6ChInput.selected(), std::optional<int>(0));
}

void tst_E2eReports::frontPanelEvents_data()
{
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");

    QTest::newRow("input report V-AUX") << QByteArray("10210C") << "INPUT V-AUX"
                                        << "";
    QTest::newRow("headphones plugged in") << QByteArray("headphones on") << "Head Phone"
                                           << "ON";
    QTest::newRow("warning over heat") << QByteArray("warning 3") << "Warning"
                                       << "Over Heat";
    QTest::newRow("sleep 90 minutes") << QByteArray("002C01") << "SLEEP 90min."
                                      << "";
}

void tst_E2eReports::frontPanelEvents()
{
    QFETCH(QByteArray, event);
    QFETCH(QString, line1);
    QFETCH(QString, line2);

    Form_ControlCenter &form = *m_window->window;
    ui(form).Line1->setText(QStringLiteral("-"));
    m_e2e.receiver().writeLine(event);
    QTRY_COMPARE_WITH_TIMEOUT(ui(form).Line1->text(), line1, 5000);
    QCOMPARE(ui(form).Line2->text(), line2);
    QVERIFY(m_window->errors.isEmpty());
}

void tst_E2eReports::clickTravelsToTheReceiverAndBack()
{
    Form_ControlCenter &form = *m_window->window;
    ui(form).Opt_Input(12)->click(); // CD
    QTRY_COMPARE_WITH_TIMEOUT(ui(form).Line1->text(), QStringLiteral("INPUT CD"), 5000);
    QCOMPARE(ui(form).Opt_Input.selected(), std::optional<int>(12));
}

void tst_E2eReports::reportIsEvaluatedAsItArrives()
{
    // With the poll's period far away, only the port's data notification runs the tick.
    Form_ControlCenter &form = *m_window->window;
    ui(form).Timer_Check.start(std::chrono::minutes(10));
    ui(form).Line1->setText(QStringLiteral("-"));
    m_e2e.receiver().writeLine("002C03");
    QTRY_COMPARE_WITH_TIMEOUT(ui(form).Line1->text(), QStringLiteral("SLEEP 30min."), 2000);
    ui(form).Timer_Check.start(Form_ControlCenter::kPollInterval);
}

void tst_E2eReports::cleanupTestCase()
{
    if (m_window && m_window->window->link()->PortOpen())
        m_window->window->link()->ClosePort();
    m_window.reset();
    m_e2e.stop();
}

QTEST_MAIN(tst_E2eReports)
#include "tst_e2e_reports.moc"
