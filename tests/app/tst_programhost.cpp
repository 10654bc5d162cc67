// The program as the features see it: the program interface and its events, driven
// without touching the window's controls.

#include "addins/clsAddIns.h"
#include "app/Form_Intro.h"
#include "app/Modul_Orvane.h"
#include "errors/ErrorGuard.h"
#include "state/VolumeText.h"
#include "tests/support/MainWindowFixture.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>

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
    void voteAndForcedEnd_data();
    void voteAndForcedEnd();
    void showAndHide_data();
    void showAndHide();
    void aboutAnswersAtOnce();

private:
    std::unique_ptr<MainWindowFixture> m_w;
    ErrorPresenter *m_previous = nullptr;
    ProgramHost &host() { return m_w->w().host(); }
    ProgramEvents &events() { return *host().events(); }
};

void tst_ProgramHost::init()
{
    Modul_Orvane::AppClosing = false;
    Modul_Orvane::MiniMode = false;
    ReceiverModel::Options options;
    options.reportsOn = true;
    m_w = std::make_unique<MainWindowFixture>(options);
    m_previous = setErrorPresenter(&m_w->errors);
}

void tst_ProgramHost::cleanup()
{
    setErrorPresenter(m_previous);
    m_w.reset();
    delete Modul_Orvane::oAddIns;
    Modul_Orvane::oAddIns = nullptr;
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
    QCOMPARE(info.model, QStringLiteral("RX-V2400"));
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
    QTest::addColumn<double>("db");
    QTest::newRow("main 0 dB") << "0026C7" << false << VolumeText::mainDecibels(0xC7);
    QTest::newRow("main minimum") << "002627" << false << VolumeText::mainDecibels(0x27);
    QTest::newRow("zone 2") << "002740" << true << VolumeText::zone2Decibels(0x40);
}

void tst_ProgramHost::volumeShownInDecibels()
{
    QFETCH(QString, body);
    QFETCH(bool, zone2);
    QFETCH(double, db);
    QSignalSpy main(&events(), &ProgramEvents::volumeMainShown);
    QSignalSpy second(&events(), &ProgramEvents::volumeZone2Shown);
    m_w->w().DisplayVolume(QChar(2) + body + QChar(3));
    QSignalSpy &shown = zone2 ? second : main;
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).at(0).toFloat(), float(db));
    QCOMPARE((zone2 ? main : second).size(), 0);
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
    QVERIFY(!Modul_Orvane::AppClosing);
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
    QVERIFY(Modul_Orvane::AppClosing);
    QCOMPARE(unload, 1);
    QCOMPARE(terminating.size(), 1);
}

void tst_ProgramHost::voteAndForcedEnd_data()
{
    QTest::addColumn<bool>("forced");
    QTest::addColumn<bool>("signalDuringVote");
    QTest::addColumn<bool>("ends");
    // The End menu and Quit honour a refusal; a termination signal does not, and one that
    // arrives while the add-ins vote ends the running unload instead of starting another.
    QTest::newRow("quit, refused") << false << false << false;
    QTest::newRow("signal, refused") << true << false << true;
    QTest::newRow("quit, refused, signal during the vote") << false << true << true;
}

void tst_ProgramHost::voteAndForcedEnd()
{
    QFETCH(bool, forced);
    QFETCH(bool, signalDuringVote);
    QFETCH(bool, ends);
    Form_ControlCenter &w = m_w->w();
    int asked = 0;
    connect(&events(), &ProgramEvents::unloadRequested, this, [&](long &cancel) {
        ++asked;
        if (signalDuringVote)
            QVERIFY(!w.Form_Unload(false));
        cancel = 1;
    });
    QSignalSpy terminating(&events(), &ProgramEvents::terminating);
    QSignalSpy unloaded(&w, &Form_ControlCenter::unloaded);
    QCOMPARE(w.Form_Unload(!forced), ends);
    QCOMPARE(asked, 1);
    QCOMPARE(terminating.size(), ends ? 1 : 0);
    QCOMPARE(unloaded.size(), ends ? 1 : 0);
    QCOMPARE(Modul_Orvane::AppClosing, ends);
}

void tst_ProgramHost::showAndHide_data()
{
    QTest::addColumn<bool>("mini");
    QTest::addColumn<QString>("before"); // the window's state before the calls
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("state");
    const int normal = ProgramHost::Normal;
    const int minimized = ProgramHost::Minimized;
    QTest::newRow("hide minimises, then hides")
        << false << "normal" << QStringList {"hide"} << false << minimized;
    QTest::newRow("show restores a minimised window")
        << false << "minimized" << QStringList {"show"} << true << normal;
    QTest::newRow("show restores a maximised window")
        << false << "maximized" << QStringList {"show"} << true << normal;
    QTest::newRow("hide, then show")
        << false << "normal" << QStringList {"hide", "show"} << true << normal;
    QTest::newRow("mini mode: hide")
        << true << "normal" << QStringList {"hide"} << false << minimized;
    QTest::newRow("mini mode: hide, then show")
        << true << "normal" << QStringList {"hide", "show"} << true << normal;
}

void tst_ProgramHost::showAndHide()
{
    QFETCH(bool, mini);
    QFETCH(QString, before);
    QFETCH(QStringList, calls);
    QFETCH(bool, visible);
    QFETCH(int, state);
    Modul_Orvane::MiniMode = mini;
    QWidget *shown = mini ? static_cast<QWidget *>(m_w->w().mini()) : &m_w->w();
    if (before == QLatin1String("minimized"))
        shown->showMinimized();
    else if (before == QLatin1String("maximized"))
        shown->showMaximized();
    else
        shown->show();
    for (const QString &call : std::as_const(calls))
        call == QLatin1String("show") ? host().showProgram() : host().hideProgram();
    QCOMPARE(host().programVisible(), visible);
    QCOMPARE(int(host().windowState()), state);
    if (visible)
        QTRY_COMPARE(QApplication::activeWindow(), shown);
    QVERIFY(m_w->errors.isEmpty());
}

void tst_ProgramHost::aboutAnswersAtOnce()
{
    // A nested wait would hold the caller until the window closes; close it after a
    // while so that such a fault fails instead of hanging.
    QTimer closer;
    closer.setSingleShot(true);
    connect(&closer, &QTimer::timeout, this, [this] {
        for (Form_Intro *intro : m_w->w().findChildren<Form_Intro *>())
            intro->close();
    });
    closer.start(3000);
    QElapsedTimer clock;
    clock.start();
    host().showAbout();
    host().showAbout();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    const QList<Form_Intro *> intros = m_w->w().findChildren<Form_Intro *>();
    QCOMPARE(intros.size(), 1);
    QVERIFY(intros.first()->isVisible());
    QCOMPARE(intros.first()->windowModality(), Qt::ApplicationModal);
    intros.first()->close();
}

QTEST_MAIN(tst_ProgramHost)
#include "tst_programhost.moc"
