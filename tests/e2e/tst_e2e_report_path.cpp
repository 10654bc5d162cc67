// The receiver's reports through the real serial code: the window on a pseudo-terminal
// whose other side is the virtual receiver, served in this process so the test can also
// put on the line what no receiver event makes (half reports, noise). An add-in of the
// window's list tells what the add-ins hear.

#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "link/FrameCutter.h"
#include "platform/QtSerialPort.h"
#include "sim/PtyServer.h"
#include "tests/support/MainWindowFixture.h"

#include <QSignalSpy>
#include <functional>

using Operation = std::function<void(Form_ControlCenter &)>;
Q_DECLARE_METATYPE(Operation)

class tst_E2eReportPath : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_rig.reset(); }
    void halfReportBeforeAnOperation_data();
    void halfReportBeforeAnOperation();
    void noiseLeavesTheLinkOpen_data();
    void noiseLeavesTheLinkOpen();
    void powerOnFromStandbyIsShownAndHeard();
    void memoryRecall_data();
    void memoryRecall();
    void reportWhileTheEsKeyBoxIsOpen();

private:
    struct Rig
    {
        FakeSettingsStore portSettings;
        QtSerialPort port {&portSettings};
        MainWindowFixture f {ReceiverModel::Options {}, &port};
        PtyServer receiver {&f.model};
        clsAddIn addIn {&f.runtime};
        QStringList heard;
        QList<float> volumesHeard;
        ~Rig()
        {
            if (f.runtime.oAddIns())
                f.runtime.oAddIns()->Remove(addIn.AddInID());
        }
    };
    Form_ControlCenter &w() { return m_rig->f.w(); }
    // Sends a report and waits until `shown` holds.
    void send(const QByteArray &body, const std::function<bool()> &shown)
    {
        m_rig->receiver.send('\x02' + body + '\x03');
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 3000);
    }

    std::unique_ptr<Rig> m_rig;
};

void tst_E2eReportPath::init()
{
    m_rig = std::make_unique<Rig>();
    QString error;
    QVERIFY2(m_rig->receiver.open(&error), qPrintable(error));
    m_rig->portSettings.setSection(QStringLiteral("Ports"),
                                   {{"Com1", m_rig->receiver.devicePath()}});
    m_rig->f.runtime.openAddIns();
    m_rig->f.runtime.oAddIns()->Add(&m_rig->addIn);
    connect(&m_rig->addIn, &clsAddIn::ReceivedCommand, this,
            [this](const QString &body) { m_rig->heard << body; });
    connect(&m_rig->addIn, &clsAddIn::VolumeMain, this,
            [this](float db) { m_rig->volumesHeard << db; });
    w().link()->setCommPort(1);
    inside(w()).ConnectToOrvane(0);
    QVERIFY(ui(w()).Timer_Check.isActive());
}

void tst_E2eReportPath::halfReportBeforeAnOperation_data()
{
    QTest::addColumn<Operation>("operation");
    // The operation reads the rest of the half report (which completes it), or discards
    // what waits (and the half with it).
    QTest::addColumn<bool>("completes");

    const auto row = [](const char *name, Operation operation, bool completes) {
        QTest::newRow(name) << operation << completes;
    };
    row(
        "the link's own read", [](Form_ControlCenter &) {}, true);
    row(
        "PowerOn", [](Form_ControlCenter &w) { w.link()->PowerOn(); }, true);
    row(
        "VolumeSave", [](Form_ControlCenter &w) { ui(w).Menu_Volume_Save(1)->trigger(); }, true);
    row(
        "VolumeLoad", [](Form_ControlCenter &w) { ui(w).Menu_Volume_Load(1)->trigger(); }, true);
    row(
        "volume step",
        [](Form_ControlCenter &w) { QTest::keyClick(&w, Qt::Key_Plus, Qt::KeypadModifier); }, true);
    row(
        "ReadSettings", [](Form_ControlCenter &w) { w.host().readSettings(); }, false);
    row(
        "ClearComPuffer", [](Form_ControlCenter &w) { w.link()->ClearComPuffer(); }, false);
    row(
        "ReConnect", [](Form_ControlCenter &w) { w.link()->ReConnect(); }, false);
    row(
        "ResetOrvane", [](Form_ControlCenter &w) { w.link()->ResetOrvane(); }, false);
}

// The link holds the first half of a DVD report, its rest is on the line as an operation
// starts, and a speakers report follows the operation: no body is glued from them, and
// the input shown is the one the reports say.
void tst_E2eReportPath::halfReportBeforeAnOperation()
{
    QFETCH(Operation, operation);
    QFETCH(bool, completes);

    send("10210C", [&] { return ui(w()).Opt_Input.isSelected(7); }); // V-AUX
    send("202E00", [&] { return ui(w()).Opt_SpeakersA.isSelected(0); });
    m_rig->heard.clear();
    // The link has read the half when its traffic log lists it.
    w().link()->setTrafficLog(true, false);
    QSignalSpy traffic(w().link(), &ReceiverLink::trafficLogged);
    m_rig->receiver.send("\x02"
                         "10210");
    QTRY_VERIFY(!traffic.isEmpty() && traffic.last().at(0).toString().endsWith(u"10210"));
    w().link()->setTrafficLog(false, false);

    m_rig->receiver.send("5\x03");
    operation(w());
    send("202E01", [&] { return ui(w()).Opt_SpeakersA.isSelected(1); });

    const QStringList &heard = m_rig->heard;
    for (const QString &body : heard)
        QVERIFY2(!body.contains(QChar(2)) && body.size() <= FrameCutter::kMaxBody,
                 qPrintable(heard.join(u' ')));
    QCOMPARE(heard.count(QStringLiteral("102105")), completes ? 1 : 0);
    QCOMPARE(heard.count(QStringLiteral("202E01")), 1);
    QVERIFY(ui(w()).Opt_Input.isSelected(completes ? 8 : 7));
    QVERIFY(m_rig->f.errors.isEmpty());
}

void tst_E2eReportPath::noiseLeavesTheLinkOpen_data()
{
    QTest::addColumn<QByteArray>("noise");
    QTest::newRow("1280 bytes") << QByteArray(1280, 'A');
    QTest::newRow("4 KB") << QByteArray(4096, 'A');
    QTest::newRow("10000 STX and an ETX") << QByteArray(10000, '\x02') + '\x03';
}

// Noise in one write is no lost device, and a flood of STX gives only the few bodies a
// report could be.
void tst_E2eReportPath::noiseLeavesTheLinkOpen()
{
    QFETCH(QByteArray, noise);
    m_rig->heard.clear();
    m_rig->receiver.send(noise);
    send("002C03", [&] { return m_rig->f.line1() == QStringLiteral("SLEEP 30min."); });
    QVERIFY(w().link()->PortOpen() && ui(w()).Timer_Check.isActive());
    QVERIFY(m_rig->heard.size() <= FrameCutter::kMaxBody + 2);
}

void tst_E2eReportPath::powerOnFromStandbyIsShownAndHeard()
{
    m_rig->f.model.setPower(false);
    ui(w()).Menu_MiniPopUp_POWER->trigger();
    QVERIFY(m_rig->f.model.power());
    QTRY_COMPARE(m_rig->f.line1(), QStringLiteral("POWER ON"));
    QVERIFY(m_rig->heard.contains(QStringLiteral("002001")));
    QCOMPARE(w().host().receiverStatus().power, std::optional<bool>(true));
    QTest::qWait(200);
    QCOMPARE(m_rig->f.line1(), QStringLiteral("POWER ON"));
}

void tst_E2eReportPath::memoryRecall_data()
{
    QTest::addColumn<Operation>("recall");
    QTest::newRow("Volume > Load > A")
        << Operation([](Form_ControlCenter &w) { ui(w).Menu_Volume_Load(1)->trigger(); });
    QTest::newRow("F4") << Operation([](Form_ControlCenter &w) { inside(w).CheckKey(115); });
    QTest::newRow("mini pop-up VOLUME > A")
        << Operation([](Form_ControlCenter &w) { ui(w).Menu_MiniPopUp_Volume_Load(1)->trigger(); });
}

// The receiver answers a recall with the volume: the display, the mini window's bar and
// the add-ins follow it.
void tst_E2eReportPath::memoryRecall()
{
    QFETCH(Operation, recall);
    m_rig->f.model.setVolumeMemory(0, 0x50); // -59.5 dB
    recall(w());
    QTRY_COMPARE(m_rig->f.line1(), QStringLiteral("VOLUME -59.5dB"));
    const Form_Mini *mini = w().mini();
    QCOMPARE(mini->volumeBarFill(), 0x50 * mini->Pic_Vol->width() / 210);
    QCOMPARE(m_rig->volumesHeard, QList<float> {-59.5f});
}

// With the player option and no player, the receiver's 6.1/ES key opens a message; a
// report sent while it is open is shown at once.
void tst_E2eReportPath::reportWhileTheEsKeyBoxIsOpen()
{
    ui(w()).Menu_Extras_61_ES(2)->setChecked(true);
    bool shownWhileOpen = false;
    m_rig->f.dialogs.setResponder([&](const UserDialogs::Message &) {
        m_rig->receiver.send("\x02"
                             "102101\x03");
        shownWhileOpen = QTest::qWaitFor([&] { return m_rig->f.line1() == "INPUT CD"; }, 3000);
        return UserDialogs::Answer::Ok;
    });
    send("102D00", [&] { return m_rig->f.dialogs.messages().size() == 1; });
    QVERIFY(m_rig->f.dialogs.messageTexts().first().startsWith("WinAmp muss zuerst"));
    QVERIFY(shownWhileOpen);
}

QTEST_MAIN(tst_E2eReportPath)
#include "tst_e2e_report_path.moc"
