// The program as the features see it: the program interface and its events, driven
// without touching the window's controls.

#include "ChromellErrors.h"
#include "addins/clsAddIns.h"
#include "app/LinuxPlatform.h"
#include "app/Modul_Orvane.h"
#include "errors/ErrorGuard.h"
#include "state/VolumeText.h"
#include "tests/support/MainWindowFixture.h"

#include <QSignalSpy>

using namespace std::chrono_literals;

class tst_ProgramHost : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void connectAndDisconnect();
    void reportReachesListenersBeforeEvaluation();
    void volumeShownInDecibels_data();
    void volumeShownInDecibels();
    void lostPortTellsListeners();
    void refusedUnloadKeepsRunning();
    void unloadTerminatesOnce();
    void signalDuringRefusedVoteEndsOnce();
    void showAndHide_data();
    void showAndHide();
    void colourControlErrorsWithoutAScreenAreLogged();

private:
    std::unique_ptr<MainWindowFixture> m_w;
    ErrorPresenter *m_previous = nullptr;
    ProgramHost &host() { return m_w->w().host(); }
    ProgramEvents &events() { return *host().events(); }
};

void tst_ProgramHost::init()
{
    ReceiverModel::Options options;
    options.reportsOn = true;
    m_w = std::make_unique<MainWindowFixture>(options);
    m_previous = setErrorPresenter(&m_w->errors);
}

void tst_ProgramHost::cleanup()
{
    setErrorPresenter(m_previous);
    m_w.reset();
}

void tst_ProgramHost::connectAndDisconnect()
{
    QSignalSpy connected(&events(), &ProgramEvents::connectedChanged);
    QSignalSpy settings(&events(), &ProgramEvents::settingsRead);
    host().connectReceiver(false);
    QVERIFY(host().isConnected());
    QCOMPARE(connected.size(), 1);
    QCOMPARE(connected.at(0).at(0).toBool(), true);
    const QString block = QString::fromLatin1(m_w->model.configurationBlock());
    QCOMPARE(settings.size(), 1);
    QCOMPARE(settings.at(0).at(0).toString(), block.mid(1).chopped(1));
    const ProgramHost::ModelInformation info = host().modelInformation();
    QCOMPARE(info.modelId, QStringLiteral("R0161"));
    QCOMPARE(info.model, QStringLiteral("VR-161"));
    QCOMPARE(info.version, QStringLiteral("C"));
    QCOMPARE(info.returnString, block.mid(1).chopped(1));
    QCOMPARE(host().readSettings(), block);

    m_w->port.clearWrites();
    host().sendCommand(QStringLiteral("07A15"));
    QCOMPARE(m_w->port.writtenCodes(), QStringList {QStringLiteral("07A15")});

    host().disconnectReceiver();
    QVERIFY(!host().isConnected());
    QCOMPARE(connected.size(), 2);
    QCOMPARE(connected.at(1).at(0).toBool(), false);
    host().disconnectReceiver(); // already closed: nothing more
    QCOMPARE(connected.size(), 2);
    QVERIFY(m_w->errors.isEmpty());
}

void tst_ProgramHost::reportReachesListenersBeforeEvaluation()
{
    host().connectReceiver(false);
    QStringList seen;
    connect(&events(), &ProgramEvents::reportReceived, this,
            [&](const QString &body) { seen << body + QLatin1Char('|') + host().line1(); });
    m_w->port.injectRaw(QByteArrayLiteral("\x02"
                                          "002301\x03"));
    QTRY_COMPARE(host().line1(), QStringLiteral("MUTE ON"));
    QCOMPARE(seen, QStringList {QStringLiteral("002301|Connected")});
}

void tst_ProgramHost::volumeShownInDecibels_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("zone2");
    QTest::addColumn<double>("db"); // NaN: a value the display rejects, nobody hears of it
    QTest::newRow("main 0 dB") << "0026C7" << false << VolumeText::mainDecibels(0xC7);
    QTest::newRow("main minimum") << "002627" << false << VolumeText::mainDecibels(0x27);
    QTest::newRow("zone 2") << "002740" << true << VolumeText::zone2Decibels(0x40);
    for (const char *malformed : {"0026-1", "0026 F", "0026+A", "0027-5"})
        QTest::newRow(malformed) << malformed << (malformed[3] == '7') << qQNaN();
}

// The whole way of a report: the display's reading is the one the events and the
// program interface give.
void tst_ProgramHost::volumeShownInDecibels()
{
    QFETCH(QString, body);
    QFETCH(bool, zone2);
    QFETCH(double, db);
    QSignalSpy main(&events(), &ProgramEvents::volumeMainShown);
    QSignalSpy second(&events(), &ProgramEvents::volumeZone2Shown);
    m_w->receive(QByteArray('\x02' + body.toLatin1() + '\x03'));
    QSignalSpy &shown = zone2 ? second : main;
    const ProgramHost::ReceiverStatus status = host().receiverStatus();
    const std::optional<int> value = zone2 ? status.zone2Volume : status.mainVolume;
    QCOMPARE((zone2 ? main : second).size(), 0);
    if (qIsNaN(db)) {
        QCOMPARE(shown.size(), 0);
        QCOMPARE(value, std::nullopt);
        return;
    }
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).at(0).toFloat(), float(db));
    QCOMPARE(value, std::optional<int>(body.mid(4).toInt(nullptr, 16)));
}

void tst_ProgramHost::lostPortTellsListeners()
{
    host().connectReceiver(false);
    QSignalSpy connected(&events(), &ProgramEvents::connectedChanged);
    m_w->port.vanish();
    QCOMPARE(connected.size(), 1);
    QCOMPARE(connected.at(0).at(0).toBool(), false);
    QVERIFY(!host().isConnected());
}

void tst_ProgramHost::refusedUnloadKeepsRunning()
{
    QSignalSpy terminating(&events(), &ProgramEvents::terminating);
    // A second listener that allows must not clear the first one's refusal.
    connect(&events(), &ProgramEvents::unloadRequested, this, [](long &cancel) { cancel = 1; });
    connect(&events(), &ProgramEvents::unloadRequested, this, [](long &) {});
    m_w->w().show();
    host().quitProgram();
    QVERIFY(host().programVisible());
    QVERIFY(!m_w->values.AppClosing());
    QCOMPARE(terminating.size(), 0);
}

void tst_ProgramHost::unloadTerminatesOnce()
{
    int unload = 0;
    connect(&events(), &ProgramEvents::unloadRequested, this, [&](long &) { ++unload; });
    QSignalSpy terminating(&events(), &ProgramEvents::terminating);
    m_w->w().show();
    host().quitProgram();
    QVERIFY(!host().programVisible());
    QVERIFY(m_w->values.AppClosing());
    QCOMPARE(unload, 1);
    QCOMPARE(terminating.size(), 1);
}

void tst_ProgramHost::signalDuringRefusedVoteEndsOnce()
{
    int asked = 0;
    connect(&events(), &ProgramEvents::unloadRequested, this, [&](long &cancel) {
        cancel = ++asked;
        QVERIFY(!m_w->w().Form_Unload(false)); // the signal leaves it to the running unload
    });
    QSignalSpy unloaded(&m_w->w(), &Form_ControlCenter::unloaded);
    QVERIFY(m_w->w().Form_Unload());
    QCOMPARE(asked, 1);
    QCOMPARE(unloaded.size(), 1);
}

void tst_ProgramHost::showAndHide_data()
{
    QTest::addColumn<bool>("mini");
    QTest::addColumn<QString>("calls"); // "min" is the user's, the others the host's
    QTest::addColumn<int>("state"); // minimised (1) is hidden here, normal (0) shown
    QTest::newRow("hide minimises, then hides") << false << "hide" << 1;
    QTest::newRow("show restores a minimised window") << false << "min show" << 0;
    QTest::newRow("mini window: hide, then show") << true << "hide show" << 0;
}

void tst_ProgramHost::showAndHide()
{
    QFETCH(bool, mini);
    QFETCH(QString, calls);
    QFETCH(int, state);
    m_w->values.setMiniMode(mini);
    QWidget *shown = mini ? static_cast<QWidget *>(m_w->w().mini()) : &m_w->w();
    shown->show();
    for (const QString &call : calls.split(' '))
        call == "min" ? shown->showMinimized()
                      : (call == "show" ? host().showProgram() : host().hideProgram());
    QCOMPARE(host().programVisible(), state == 0);
    QCOMPARE(int(host().windowState()), state);
}

void tst_ProgramHost::colourControlErrorsWithoutAScreenAreLogged()
{
    if (LinuxPlatform::hasScreen())
        QSKIP("needs Qt without a screen (QT_QPA_PLATFORM=offscreen, as ctest runs it)");
    {
        LinuxPlatform platform;
        // The library's own box would wait here for ever.
        ChromellErrors::report(QStringLiteral("ctlLabel"), QStringLiteral("Caption"), 5,
                               QStringLiteral("Invalid procedure call"), 0);
    }
    QVERIFY2(!ChromellErrors::setHandler({}), "the platform's end restores the library's box");
}

QTEST_MAIN(tst_ProgramHost)
#include "tst_programhost.moc"
