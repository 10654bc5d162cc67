// The way of the receiver's reports through the real serial code: the main window on a
// pseudo-terminal whose other side is the virtual receiver, served in this process so the
// test can also put bytes on the line that no receiver event makes (half reports, noise).

#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "link/FrameCutter.h"
#include "platform/QtSerialPort.h"
#include "sim/PtyServer.h"
#include "tests/support/MainWindowFixture.h"

#include <QSignalSpy>
#include <functional>

namespace {

QByteArray frame(const QByteArray &body)
{
    return '\x02' + body + '\x03';
}

using Operation = std::function<void(Form_ControlCenter &)>;

} // namespace

Q_DECLARE_METATYPE(Operation)

class tst_E2eReportPath : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void halfReportBeforeAnOperation_data();
    void halfReportBeforeAnOperation();
    void noiseLeavesTheLinkOpen_data();
    void noiseLeavesTheLinkOpen();
    void powerOnFromStandbyIsShownAndHeard();
    void memoryRecall_data();
    void memoryRecall();
    void reportWhileTheEsKeyBoxIsOpen();

private:
    MainWindowControls &form() { return ui(m_window->w()); }
    // Sends a report and waits until the window has shown what `shown` looks for.
    void evaluated(const QByteArray &body, const std::function<bool()> &shown);

    FakeSettingsStore m_portSettings;
    std::unique_ptr<QtSerialPort> m_port;
    std::unique_ptr<MainWindowFixture> m_window;
    std::unique_ptr<PtyServer> m_receiver;
    // What the add-ins hear, through an add-in of the window's list.
    std::unique_ptr<clsAddIn> m_addIn;
    QStringList m_heard;
    QList<float> m_volumesHeard;
};

void tst_E2eReportPath::init()
{
    m_port = std::make_unique<QtSerialPort>(&m_portSettings);
    m_window = std::make_unique<MainWindowFixture>(ReceiverModel::Options {}, m_port.get());
    m_receiver = std::make_unique<PtyServer>(&m_window->model);
    QString error;
    QVERIFY2(m_receiver->open(&error), qPrintable(error));
    m_portSettings.setSection(QStringLiteral("Ports"), {{"Com1", m_receiver->devicePath()}});

    m_window->runtime.openAddIns();
    m_addIn = std::make_unique<clsAddIn>(&m_window->runtime);
    m_window->runtime.oAddIns()->Add(m_addIn.get());
    m_heard.clear();
    m_volumesHeard.clear();
    connect(m_addIn.get(), &clsAddIn::ReceivedCommand, this,
            [this](const QString &body) { m_heard << body; });
    connect(m_addIn.get(), &clsAddIn::VolumeMain, this, [this](float db) { m_volumesHeard << db; });

    m_window->w().link()->setCommPort(1);
    inside(m_window->w()).ConnectToOrvane(0);
    QVERIFY(form().Timer_Check.isActive());
    // The receiver's reports of what the window sends come and go during the tests.
    QTest::qWait(50);
    m_heard.clear();
}

void tst_E2eReportPath::cleanup()
{
    if (m_window && m_window->w().link()->PortOpen())
        m_window->w().link()->ClosePort();
    if (m_window && m_window->runtime.oAddIns())
        m_window->runtime.oAddIns()->Remove(m_addIn->AddInID());
    m_window.reset();
    m_addIn.reset();
    m_receiver.reset();
    m_port.reset();
}

void tst_E2eReportPath::evaluated(const QByteArray &body, const std::function<bool()> &shown)
{
    m_receiver->send(frame(body));
    QTRY_VERIFY_WITH_TIMEOUT(shown(), 3000);
}

void tst_E2eReportPath::halfReportBeforeAnOperation_data()
{
    QTest::addColumn<Operation>("operation");
    // Whether the operation reads the rest of the half report (it then completes the
    // report) or discards what waits (and the half with it).
    QTest::addColumn<bool>("completes");

    QTest::newRow("the link's own read") << Operation([](Form_ControlCenter &) {}) << true;
    QTest::newRow("PowerOn") << Operation([](Form_ControlCenter &w) { w.link()->PowerOn(); })
                             << true;
    QTest::newRow("VolumeSave")
        << Operation([](Form_ControlCenter &w) { ui(w).Menu_Volume_Save(1)->trigger(); }) << true;
    QTest::newRow("VolumeLoad")
        << Operation([](Form_ControlCenter &w) { ui(w).Menu_Volume_Load(1)->trigger(); }) << true;
    QTest::newRow("volume step") << Operation([](Form_ControlCenter &w) {
        QTest::keyClick(&w, Qt::Key_Plus, Qt::KeypadModifier);
    }) << true;
    QTest::newRow("ReadSettings") << Operation([](Form_ControlCenter &w) { w.readSettings(); })
                                  << false;
    QTest::newRow("ClearComPuffer")
        << Operation([](Form_ControlCenter &w) { w.link()->ClearComPuffer(); }) << false;
    QTest::newRow("ReConnect") << Operation([](Form_ControlCenter &w) { w.link()->ReConnect(); })
                               << false;
    QTest::newRow("ResetOrvane")
        << Operation([](Form_ControlCenter &w) { w.link()->ResetOrvane(); }) << false;
}

// The receiver sends the first half of a DVD report; its rest is on the line when an
// operation starts, and a speakers report follows the operation. No body is glued
// together from the two, and the input shown is the one the reports say.
void tst_E2eReportPath::halfReportBeforeAnOperation()
{
    QFETCH(Operation, operation);
    QFETCH(bool, completes);

    Form_ControlCenter &w = m_window->w();
    evaluated("10210C", [&] { return form().Opt_Input.isSelected(7); }); // V-AUX
    evaluated("202E00", [&] { return form().Opt_SpeakersA.isSelected(0); });
    m_heard.clear();

    // The link has read the half when its traffic log lists it.
    w.link()->setTrafficLog(true, false);
    QSignalSpy traffic(w.link(), &ReceiverLink::trafficLogged);
    m_receiver->send("\x02"
                     "10210");
    QTRY_VERIFY_WITH_TIMEOUT(!traffic.isEmpty()
                                 && traffic.last().at(0).toString().endsWith(u"10210"),
                             3000);
    w.link()->setTrafficLog(false, false);

    // The rest is on the line before the operation runs any event.
    m_receiver->send("5\x03");
    operation(w);
    evaluated("202E01", [&] { return form().Opt_SpeakersA.isSelected(1); });
    QTest::qWait(50);

    for (const QString &body : std::as_const(m_heard))
        QVERIFY2(!body.contains(QChar(2)) && body.size() <= FrameCutter::kMaxBody,
                 qPrintable(m_heard.join(u' ')));
    QCOMPARE(m_heard.count(QStringLiteral("102105")), completes ? 1 : 0);
    QCOMPARE(m_heard.count(QStringLiteral("202E01")), 1);
    QVERIFY(form().Opt_Input.isSelected(completes ? 8 : 7));
    QVERIFY(w.link()->PortOpen());
    QVERIFY(m_window->errors.isEmpty());
}

void tst_E2eReportPath::noiseLeavesTheLinkOpen_data()
{
    QTest::addColumn<QByteArray>("noise");

    QTest::newRow("1280 bytes") << QByteArray(1280, 'A');
    QTest::newRow("4 KB") << QByteArray(4096, 'A');
    QTest::newRow("10000 STX and an ETX") << QByteArray(10000, '\x02') + '\x03';
}

// Noise in one write is no lost device: the link stays open, and the report after it is
// evaluated. A flood of STX gives only the few bodies a report could be.
void tst_E2eReportPath::noiseLeavesTheLinkOpen()
{
    QFETCH(QByteArray, noise);

    m_receiver->send(noise);
    evaluated("002C03", [&] { return m_window->line1() == QStringLiteral("SLEEP 30min."); });
    QVERIFY(m_window->w().link()->PortOpen());
    QVERIFY(form().Timer_Check.isActive());
    QVERIFY(m_heard.size() <= FrameCutter::kMaxBody + 2);
    QCOMPARE(m_heard.last(), QStringLiteral("002C03"));
}

void tst_E2eReportPath::powerOnFromStandbyIsShownAndHeard()
{
    m_window->model.setPower(false);
    form().Menu_MiniPopUp_POWER->trigger();
    QVERIFY(m_window->model.power());
    QTRY_COMPARE_WITH_TIMEOUT(m_window->line1(), QStringLiteral("POWER ON"), 3000);
    QVERIFY(m_heard.contains(QStringLiteral("002001")));
    QCOMPARE(m_window->w().receiverStatus().power, std::optional<bool>(true));
    // Nothing that follows the power-on takes it back.
    QTest::qWait(300);
    QCOMPARE(m_window->line1(), QStringLiteral("POWER ON"));
}

void tst_E2eReportPath::memoryRecall_data()
{
    QTest::addColumn<Operation>("recall");

    QTest::newRow("Volume > Load > A")
        << Operation([](Form_ControlCenter &w) { ui(w).Menu_Volume_Load(1)->trigger(); });
    QTest::newRow("F4") << Operation([](Form_ControlCenter &w) { inside(w).CheckKey(115); });
    QTest::newRow("mini pop-up VOLUME > A") << Operation(
        [](Form_ControlCenter &w) { ui(w).Menu_MiniPopUp_Volume_Load(1)->trigger(); });
}

// The receiver answers a recall with the volume; the display, the mini window's bar and
// the add-ins follow it.
void tst_E2eReportPath::memoryRecall()
{
    QFETCH(Operation, recall);

    m_window->model.setVolumeMemory(0, 0x50); // -59.5 dB
    recall(m_window->w());
    QTRY_COMPARE_WITH_TIMEOUT(m_window->line1(), QStringLiteral("VOLUME -59.5dB"), 3000);
    const Form_Mini *mini = m_window->w().mini();
    QCOMPARE(mini->volumeBarFill(), 0x50 * mini->Pic_Vol->width() / 210);
    QCOMPARE(m_volumesHeard, QList<float> {-59.5f});
    QCOMPARE(m_window->w().receiverStatus().mainVolume, std::optional<int>(0x50));
}

// With the player option and no player, the receiver's 6.1/ES key opens a message; a
// report sent while it is open is shown at once.
void tst_E2eReportPath::reportWhileTheEsKeyBoxIsOpen()
{
    form().Menu_Extras_61_ES(2)->setChecked(true);
    bool shownWhileOpen = false;
    m_window->dialogs.setResponder([&](const UserDialogs::Message &) {
        m_receiver->send(frame("102101"));
        shownWhileOpen = QTest::qWaitFor(
            [&] { return m_window->line1() == QStringLiteral("INPUT CD"); }, 3000);
        return UserDialogs::Answer::Ok;
    });
    m_receiver->send(frame("102D00"));
    QTRY_COMPARE_WITH_TIMEOUT(m_window->dialogs.messages().size(), 1, 3000);
    QVERIFY(m_window->dialogs.messageTexts().first().startsWith(
        QStringLiteral("WinAmp muss zuerst gestartet werden,")));
    QVERIFY(shownWhileOpen);
    QVERIFY(m_heard.contains(QStringLiteral("102101")));
}

QTEST_MAIN(tst_E2eReportPath)
#include "tst_e2e_report_path.moc"
