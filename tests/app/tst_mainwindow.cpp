#include "addins/clsAddIns.h"
#include "app/CommandLine.h"
#include "app/ImageButton.h"
#include "app/Modul_Orvane.h"
#include "errors/ShowErrBox.h"
#include "link/Form_Com.h"
#include "link/Form_YInfo.h"
#include "mqtt/MqttDialog.h"
#include "platform/SerialPortError.h"
#include "tests/support/MainWindowFixture.h"
#include "web/WebRemoteDialog.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <ctlFrame.h>

namespace {

const QByteArray kRequest = QByteArrayLiteral("\x11"
                                              "000\x03");
const QByteArray kReset = QByteArrayLiteral("\x13\x7f\x7f\x7f\x03");

int countWrites(const FakeSerialPort &port, const QByteArray &frame)
{
    int count = 0;
    for (const QByteArray &written : port.writes())
        count += written == frame ? 1 : 0;
    return count;
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void designState();
    void loadClosesPanelsAndPlacesMini();
    void miniCorner_data();
    void miniCorner();
    void helpOptionEndsProgram();
    void klappeOpensAndCloses();
    void windowStaysInsideWorkArea();
    void connectAndDisconnect();
    void connectAnswersOnThirdRequest();
    void connectWithoutReceiver();
    void powerOnByConnect_data();
    void powerOnByConnect();
    void modelHiding();
    void extrasKeyChoice_data();
    void extrasKeyChoice();
    void unknownModelOffersMail();
    void portThatCannotOpen();
    void portAndReportTimeMenus();
    void resetMenu();
    void pollKeepsSplitFrame();
    void portVanishesWhileConnected();
    void unloadSavesAndCloses();
    void imageButtonsAreAccessibleButtons();
    void keypadStepsVolume();
    void mediaKeyPollRunsWithItsOption();

private:
    std::unique_ptr<MainWindowFixture> m_w;
    ErrorPresenter *m_previous = nullptr;
};

void tst_MainWindow::init()
{
    m_w = std::make_unique<MainWindowFixture>();
    m_previous = setErrorPresenter(&m_w->errors);
}

void tst_MainWindow::cleanup()
{
    setErrorPresenter(m_previous);
    m_w.reset();
}

void tst_MainWindow::designState()
{
    Form_ControlCenter &f = *m_w->window;
    QCOMPARE(f.windowTitle(), QStringLiteral("Orvane"));
    QVERIFY(ui(f).Menu_Setup_Port(1)->isChecked());
    QVERIFY(ui(f).Menu_Setup_ReportTime(0)->isChecked());
    QVERIFY(ui(f).Menu_Mode_Main->isChecked());
    QVERIFY(!ui(f).Menu_Mode_Zone2->isChecked());
    for (QAction *disabled : {ui(f).Menu_Reset, ui(f).Menu_ZS->menuAction(), ui(f).Menu_Sleep->menuAction(),
                              ui(f).Menu_Volume->menuAction(), ui(f).Menu_Mini,
                              ui(f).Menu_Extras_SendMessage, ui(f).Menu_Extras_YInfo})
        QVERIFY2(!disabled->isEnabled(), qPrintable(disabled->text()));
    QCOMPARE(ui(f).Menu_Volume_Mute->shortcut(), QKeySequence(Qt::Key_F12));
    QCOMPARE(ui(f).Menu_Volume_Load(1)->text(), QStringLiteral("A   "));
    QCOMPARE(ui(f).Menu_Volume_Load(6)->shortcut(), QKeySequence(Qt::Key_F9));
    QCOMPARE(ui(f).Menu_Fragezeichen_Informationen->shortcut(), QKeySequence(Qt::Key_F1));
    QVERIFY(!ui(f).Menu_Send->isVisible());
    QCOMPARE(ui(f).Menu_Extras_61_ES(3)->data().toString(), Form_ControlCenter::kDefaultShell);

    const QList<std::pair<QTimer *, int>> timers = {
        {&ui(f).Timer_WinampView, 2000}, {&ui(f).Timer_CheckKeys, 10}, {&ui(f).Timer_CheckTastenRepeat, 800},
        {&ui(f).Timer_Check, 100},       {&ui(f).Timer_ZS, 500},       {&ui(f).Timer_RePressKey, 10}};
    for (const auto &[timer, interval] : timers)
        QCOMPARE(timer->interval(), interval);

    // The menu bar in its order.
    QStringList captions;
    for (QAction *action : f.menuBar()->actions())
        if (action->isVisible())
            captions << action->text();
    QCOMPARE(captions, QStringList({"&Connect", "&Setup", "&Reset", "&TimeControl", "&Mode",
                                    "S&leepTimer", "&Volume", "M&ini", "E&xtras", "&AddIn",
                                    "&End", "&?"}));
}

void tst_MainWindow::loadClosesPanelsAndPlacesMini()
{
    Form_ControlCenter &f = *m_w->window;
    inside(f).SetKlappe(1);
    QVERIFY(f.Form_Load(QString()));
    QVERIFY(!ui(f).Frame_Input->isVisible() && ui(f).picKlappe->isHidden());
    QVERIFY(ui(f).Line2->text().endsWith(QLatin1Char(' ') + Modul_Orvane::VersionText()));
    QVERIFY(m_w->runtime.oAddIns());
    const QRect area = inside(f).workArea();
    const QRect mini = f.mini()->frameGeometry();
    QCOMPARE(mini.right(), area.right());
    QCOMPARE(mini.bottom(), area.bottom());
    QVERIFY(ui(f).Timer_WinampView.isActive());
    QVERIFY(!ui(f).Timer_Check.isActive());
    QVERIFY(m_w->errors.reports().isEmpty());
}

void tst_MainWindow::miniCorner_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("corner");
    QTest::newRow("default bottom right") << "-P" << "BR";
    QTest::newRow("-TL") << "-TL" << "TL";
    QTest::newRow("-TR") << "-tr" << "TR";
    QTest::newRow("-BL") << "-BL" << "BL";
    QTest::newRow("later check wins") << "-TL -BL" << "BL";
}

void tst_MainWindow::miniCorner()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, corner);
    Form_ControlCenter &f = *m_w->window;
    QVERIFY(f.Form_Load(commandLine));
    const QRect area = inside(f).workArea();
    const QRect mini = f.mini()->frameGeometry();
    const bool left = corner.endsWith(QLatin1Char('L'));
    const bool top = corner.startsWith(QLatin1Char('T'));
    QCOMPARE(left ? mini.left() : mini.right(), left ? area.left() : area.right());
    QCOMPARE(top ? mini.top() : mini.bottom(), top ? area.top() : area.bottom());
}

void tst_MainWindow::helpOptionEndsProgram()
{
    QVERIFY(!m_w->window->Form_Load(QStringLiteral("-C1 /H")));
    QCOMPARE(m_w->dialogs.messageTexts(), QStringList{CommandLine::kOptionsMessage});
    QVERIFY(m_w->dialogs.messages().first().title.isEmpty());
    // Help wins over connecting.
    QCOMPARE(m_w->port.openCount(), 0);
}

void tst_MainWindow::klappeOpensAndCloses()
{
    Form_ControlCenter &f = *m_w->window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    inside(f).SetKlappe(2);
    const int closedHeight = f.frameGeometry().height();
    inside(f).Image_Klappe_Click();
    QVERIFY(ui(f).Frame_Input->isVisible() && ui(f).Frame_InputMode->isVisible());
    QVERIFY(!ui(f).Frame_Leer1->isVisible());
    QVERIFY(f.frameGeometry().height() > closedHeight);
    inside(f).Image_Klappe_Click();
    QVERIFY(!ui(f).Frame_Input->isVisible());
    QCOMPARE(f.frameGeometry().height(), closedHeight);
    // In zone-2 mode the placeholder stands where the three main-zone frames were.
    ui(f).Menu_Mode_Zone2->setChecked(true);
    ui(f).Menu_Mode_Main->setChecked(false);
    inside(f).SetKlappe(1);
    QVERIFY(!ui(f).Frame_InputMode->isVisible() && !ui(f).Frame_61ES->isVisible()
            && !ui(f).Frame_6ChInput->isVisible());
    QVERIFY(ui(f).Frame_Leer1->isVisible());
    inside(f).SetKlappe(7); // other modes do nothing
    QVERIFY(ui(f).Frame_Leer1->isVisible());
}

// Also run by CTest at twice the scale, where the panels are larger than the work area.
void tst_MainWindow::windowStaysInsideWorkArea()
{
    Form_ControlCenter &f = *m_w->window;
    QVERIFY(f.Form_Load(QString()));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QRect area = f.screen()->availableGeometry();
    auto *scroller = qobject_cast<QScrollArea *>(f.centralWidget());
    QVERIFY(scroller);
    QWidget *panel = ui(f).picControls;
    // Open, then closed: the lowest control of each is reached by scrolling.
    for (QWidget *lowest :
         std::initializer_list<QWidget *> {ui(f).Frame_SpeakersB, ui(f).lblNorvik}) {
        inside(f).SetKlappe(lowest == ui(f).lblNorvik ? 2 : 1);
        QVERIFY(f.frameGeometry().width() <= area.width());
        QVERIFY(f.frameGeometry().height() <= area.height());
        scroller->ensureWidgetVisible(lowest, 0, 0);
        QTRY_VERIFY(lowest->mapTo(scroller->viewport(), QPoint(0, lowest->height())).y()
                    <= scroller->viewport()->height());
        QCOMPARE(panel->x(), qMax(0, scroller->widget()->width() / 2 - panel->width() / 2));
    }
    // Closed, the display part fits without a vertical scroll bar.
    QTRY_COMPARE(scroller->verticalScrollBar()->maximum(), 0);

    // The settings dialogs show their wrapped texts whole, inside the work area.
    MqttDialog mqtt(nullptr, nullptr, nullptr, QString());
    WebRemoteDialog web(nullptr, nullptr, nullptr, nullptr);
    for (QDialog *dialog : std::initializer_list<QDialog *> {&mqtt, &web}) {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QVERIFY(dialog->frameGeometry().height() <= area.height());
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            if (label->wordWrap() && label->isVisible())
                QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                         qPrintable(label->text()));
    }
}

void tst_MainWindow::connectAndDisconnect()
{
    Form_ControlCenter &f = *m_w->window;
    inside(f).ConnectToOrvane(0);
    QCOMPARE(ui(f).Line1->text(), QStringLiteral("Connected"));
    QCOMPARE(ui(f).Line2->text(), QStringLiteral("R0161 Softv.C"));
    QCOMPARE(ui(f).Menu_Connect->text(), QStringLiteral("Disconnect"));
    QVERIFY(ui(f).Timer_Check.isActive());
    QVERIFY(ui(f).Menu_Volume->menuAction()->isEnabled() && ui(f).Menu_Reset->isEnabled());
    QVERIFY(!ui(f).Menu_Setup_Port(1)->isEnabled() && !ui(f).Menu_Setup_Port(5)->isEnabled());
    QCOMPARE(inside(f).yinfo()->text_modell->text(), QStringLiteral("VR-161"));
    QCOMPARE(inside(f).yinfo()->text_modellid->text(), QStringLiteral("R0161"));
    QCOMPARE(inside(f).yinfo()->text_softwareversion->text(), QStringLiteral("C"));
    QCOMPARE(inside(f).yinfo()->text_YString->text(), QString::fromLatin1(m_w->model.configurationBlock().mid(1).chopped(1)));
    // Reports on, then the checked report time.
    const QStringList codes = m_w->port.writtenCodes();
    QCOMPARE(codes.mid(codes.size() - 2), QStringList({"20000", "20100"}));
    // The panels show the receiver's state right away.
    QVERIFY(ui(f).Opt_Input.isSelected(8));
    QVERIFY(ui(f).Opt_Dsp.isSelected(1));

    m_w->port.clearWrites();
    inside(f).ConnectToOrvane(0);
    QCOMPARE(ui(f).Line1->text(), QStringLiteral("Connection"));
    QCOMPARE(ui(f).Line2->text(), QStringLiteral("closed"));
    QCOMPARE(ui(f).Menu_Connect->text(), QStringLiteral("Connect"));
    QVERIFY(!ui(f).Timer_Check.isActive());
    QVERIFY(!f.link()->PortOpen());
    QVERIFY(m_w->port.writes().isEmpty());
    QVERIFY(ui(f).Menu_Setup_Port(3)->isEnabled());
    QVERIFY(!ui(f).Menu_Volume->menuAction()->isEnabled());
}

void tst_MainWindow::connectAnswersOnThirdRequest()
{
    ReceiverModel::Options options;
    options.answerFromRequest = 3;
    m_w->model = ReceiverModel(options);
    inside(*m_w->window).ConnectToOrvane(0);
    QCOMPARE(ui(*m_w->window).Line1->text(), QStringLiteral("Connected"));
    QCOMPARE(countWrites(m_w->port, kRequest), 3);
}

void tst_MainWindow::connectWithoutReceiver()
{
    m_w->port.setModel(nullptr);
    QElapsedTimer clock;
    clock.start();
    inside(*m_w->window).ConnectToOrvane(0);
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(ui(*m_w->window).Line1->text(), QStringLiteral("Connect"));
    QCOMPARE(ui(*m_w->window).Line2->text(), QStringLiteral("Error"));
    // The terminal says what was tried and why it failed.
    const QString terminal = MainWindowFixture::com(*m_w->window)->Text_Com->toPlainText();
    QVERIFY2(terminal.contains(QStringLiteral("Connect on Com 1 (")), qPrintable(terminal));
    QVERIFY2(terminal.contains(QStringLiteral("no answer from the receiver to 4 requests")),
             qPrintable(terminal));
    QVERIFY(!m_w->window->link()->PortOpen());
    QVERIFY(!ui(*m_w->window).Timer_Check.isActive());
    QCOMPARE(countWrites(m_w->port, kRequest), 4);
    // Four requests, each waiting the whole answer wait.
    const qint64 answer = LinkTimings::current().answerWait.count();
    QVERIFY2(elapsed >= 4 * (answer - 50) && elapsed < 4 * answer + 2000,
             qPrintable(QString::number(elapsed)));
    QVERIFY(m_w->dialogs.messages().isEmpty());
}

void tst_MainWindow::powerOnByConnect_data()
{
    QTest::addColumn<bool>("standby");
    QTest::addColumn<int>("sw1");
    QTest::addColumn<bool>("powerSent");
    QTest::newRow("standby, -P") << true << 1 << true;
    QTest::newRow("standby, no -P") << true << 0 << false;
    QTest::newRow("on, -P") << false << 1 << false;
}

void tst_MainWindow::powerOnByConnect()
{
    QFETCH(bool, standby);
    QFETCH(int, sw1);
    QFETCH(bool, powerSent);
    ReceiverModel::Options options;
    options.startInStandby = standby;
    m_w->model = ReceiverModel(options);
    inside(*m_w->window).ConnectToOrvane(sw1);
    QCOMPARE(m_w->port.writtenCodes().contains(QStringLiteral("07A1D")), powerSent);
    QCOMPARE(m_w->model.power(), !standby || powerSent);
    if (powerSent) // the snapshot after power-on fills the panels
        QVERIFY(ui(*m_w->window).Opt_Input.isSelected(8));
}

void tst_MainWindow::extrasKeyChoice_data()
{
    // Items checked before (0: none), the item clicked, the input box's answer ("-": no
    // box expected, "cancel": cancelled), then the item checked and the command.
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("command");
    QTest::newRow("another item replaces the checked one") << 2 << 1 << "-" << 1 << "old";
    QTest::newRow("the checked item clears the choice") << 2 << 2 << "-" << 0 << "old";
    QTest::newRow("the checked shell item clears it, no box") << 3 << 3 << "-" << 0 << "old";
    QTest::newRow("shell item cancelled: none checked") << 1 << 3 << "cancel" << 0 << "old";
    QTest::newRow("shell item, empty answer: none checked") << 0 << 3 << "" << 0 << "old";
    QTest::newRow("shell item with a new command") << 2 << 3 << "xterm" << 3 << "xterm";
    QTest::newRow("shell item with the same command") << 1 << 3 << "old" << 3 << "old";
}

void tst_MainWindow::extrasKeyChoice()
{
    QFETCH(int, before);
    QFETCH(int, clicked);
    QFETCH(QString, answer);
    Form_ControlCenter &f = *m_w->window;
    auto &items = ui(f).Menu_Extras_61_ES;
    for (int i = 1; i <= 3; ++i)
        items(i)->setChecked(i == before);
    items(3)->setData(QStringLiteral("old"));
    if (answer != QLatin1String("-"))
        m_w->dialogs.queueInput(answer == QLatin1String("cancel") ? std::nullopt
                                                                  : std::optional(answer));
    items(clicked)->trigger();

    QFETCH(int, after);
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(items(i)->isChecked(), i == after);
    QTEST(items(3)->data().toString(), "command");
    QCOMPARE(m_w->dialogs.inputPrompts().size(), answer == QLatin1String("-") ? 0 : 1);
    for (const auto &prompt : m_w->dialogs.inputPrompts())
        QCOMPARE(QStringList({prompt.prompt, prompt.title, prompt.defaultText}),
                 QStringList({"Shell Command with full Path: ", "Shell Command", "old"}));
    QVERIFY(m_w->errors.reports().isEmpty());
}

void tst_MainWindow::modelHiding()
{
    Form_ControlCenter &f = *m_w->window;
    ReceiverModel::Options options;
    options.modelCode = "R0073";
    m_w->model = ReceiverModel(options);
    inside(f).ConnectToOrvane(0);
    QVERIFY(ui(f).Opt_Input(14)->isHidden());
    QVERIFY(ui(f).Opt_Dsp(31)->isHidden());
    QVERIFY(!ui(f).Menu_MiniPopUp_Input(14)->isVisible());
    QVERIFY(!ui(f).Opt_Input(13)->isHidden());
    QCOMPARE(inside(f).yinfo()->text_modell->text(), QStringLiteral("VR-73"));
    inside(f).ConnectToOrvane(0);
    m_w->model = ReceiverModel();
    inside(f).ConnectToOrvane(0);
    // Another model has them again.
    QVERIFY(!ui(f).Opt_Input(14)->isHidden() && !ui(f).Opt_Dsp(31)->isHidden());
    QVERIFY(ui(f).Menu_MiniPopUp_Input(14)->isVisible());
    QCOMPARE(f.host().panelOptions(ProgramHost::Panel::Input).size(), 14);
}

void tst_MainWindow::unknownModelOffersMail()
{
    ReceiverModel::Options options;
    options.modelCode = "Z9999";
    m_w->model = ReceiverModel(options);
    Form_ControlCenter &f = *m_w->window;
    inside(f).ConnectToOrvane(0);
    QCOMPARE(ui(f).Line1->text(), QStringLiteral("Connected"));
    QCOMPARE(inside(f).yinfo()->text_modell->text(), QStringLiteral("?"));
    m_w->dialogs.queueAnswer(UserDialogs::Answer::Yes);
    inside(f).Menu_Extras_YInfo_Click();
    QVERIFY(inside(f).yinfo()->isVisible());
    const UserDialogs::Message &question = m_w->dialogs.messages().last();
    QCOMPARE(question.title, QStringLiteral("Unknown Orvane Model"));
    QVERIFY(question.text.startsWith(QStringLiteral("New Orvane Model:\r\nTo make")));
    QVERIFY(question.text.endsWith(QStringLiteral("!\n\nSend E-mail ?")));
    QCOMPARE(m_w->shell.openedUrls().size(), 1);
    const QString url = m_w->shell.openedUrls().first();
    QVERIFY(url.startsWith(QStringLiteral("mailto:")));
    QVERIFY(url.contains(QStringLiteral("?Subject=My%20Orvane&Body=Model%3A%20%28Complete")));
    QVERIFY(url.contains(QStringLiteral("Modell-Id%3A Z9999%0D%0ASoftwareversion%3A C")));
    QVERIFY(url.endsWith(QStringLiteral("%0D%0A%0D%0ATo make better in this software:%3A %0D%0A")));

    // A known model asks nothing.
    inside(f).ConnectToOrvane(0);
    m_w->model = ReceiverModel();
    inside(f).ConnectToOrvane(0);
    const qsizetype asked = m_w->dialogs.messages().size();
    inside(f).Menu_Extras_YInfo_Click();
    QCOMPARE(m_w->dialogs.messages().size(), asked);
}

void tst_MainWindow::portThatCannotOpen()
{
    m_w->port.setOpenFailure(true, 8002, QStringLiteral("Invalid port number"));
    Form_ControlCenter &f = *m_w->window;
    // Opening a network bridge can take seconds: meanwhile the display says so.
    QString whileOpening;
    m_w->port.setOpenHook([&] { whileOpening = ui(f).Line1->text() + '/' + ui(f).Line2->text(); });
    inside(f).ConnectToOrvane(0);
    QCOMPARE(whileOpening, QStringLiteral("Connecting/"));
    QCOMPARE(m_w->dialogs.messages().size(), 1);
    const UserDialogs::Message &box = m_w->dialogs.messages().first();
    QCOMPARE(box.icon, UserDialogs::Icon::Exclamation);
    QVERIFY2(QRegularExpression(QStringLiteral("^8002 - Invalid port number \\(\\d+\\)$"))
                 .match(box.text)
                 .hasMatch(),
             qPrintable(box.text));
    // The line is the connection procedure's own, not the line in the port that threw.
    int portLine = -1;
    try {
        FakeSerialPort probe;
        probe.setOpenFailure(true);
        probe.open(1);
    } catch (const SerialPortError &error) {
        portLine = int(error.where().line());
    }
    QVERIFY2(!box.text.endsWith(QStringLiteral("(%1)").arg(portLine)), qPrintable(box.text));
    QCOMPARE(ui(f).Line1->text(), QStringLiteral("Comport Error"));
    QCOMPARE(ui(f).Line2->text(), QString());
    QVERIFY(QRegularExpression(QStringLiteral("Connect on Com \\d .*failed: Invalid port number"))
                .match(MainWindowFixture::com(f)->Text_Com->toPlainText())
                .hasMatch());
    QCOMPARE(ui(f).Menu_Connect->text(), QStringLiteral("Connect"));
    QVERIFY(!ui(f).Timer_Check.isActive());
    QVERIFY(ui(f).Menu_Setup_Port(2)->isEnabled());
    QVERIFY(m_w->errors.reports().isEmpty());
}

void tst_MainWindow::portAndReportTimeMenus()
{
    Form_ControlCenter &f = *m_w->window;
    ui(f).Menu_Setup_Port(3)->trigger();
    QCOMPARE(f.link()->CommPort(), 3);
    QVERIFY(ui(f).Menu_Setup_Port(3)->isChecked() && !ui(f).Menu_Setup_Port(1)->isChecked());
    ui(f).Menu_Setup_Port(3)->trigger(); // choosing the checked item keeps it checked
    QVERIFY(ui(f).Menu_Setup_Port(3)->isChecked());

    ui(f).Menu_Setup_ReportTime(3)->trigger();
    QVERIFY(ui(f).Menu_Setup_ReportTime(3)->isChecked() && !ui(f).Menu_Setup_ReportTime(0)->isChecked());
    QVERIFY(m_w->port.writes().isEmpty()); // disconnected: only the check mark

    inside(f).ConnectToOrvane(0);
    QCOMPARE(m_w->port.lastPortNumber(), 3);
    QCOMPARE(m_w->port.writtenCodes().last(), QStringLiteral("20103"));
    ui(f).Menu_Setup_ReportTime(7)->trigger();
    QCOMPARE(m_w->port.writtenCodes().last(), QStringLiteral("20107"));
    QVERIFY(!ui(f).Menu_Setup_Port(2)->isEnabled());
}

void tst_MainWindow::resetMenu()
{
    Form_ControlCenter &f = *m_w->window;
    inside(f).ConnectToOrvane(0);
    m_w->dialogs.queueAnswer(UserDialogs::Answer::Ok);
    m_w->dialogs.queueAnswer(UserDialogs::Answer::No);
    inside(f).Menu_Reset_Click();
    QCOMPARE(m_w->dialogs.messageTexts(),
             QStringList({"Complete Reset only with 'Diagnostic Menu' !",
                          "Reset all Orvane RS-232 settings ?"}));
    const UserDialogs::Message &question = m_w->dialogs.messages().last();
    QCOMPARE(question.title, QStringLiteral("Orvane Reset"));
    QCOMPARE(question.buttons, UserDialogs::Buttons::YesNo);
    QCOMPARE(question.defaultButton, std::optional(UserDialogs::Answer::No));
    QCOMPARE(countWrites(m_w->port, kReset), 0);

    m_w->dialogs.queueAnswer(UserDialogs::Answer::Ok);
    m_w->dialogs.queueAnswer(UserDialogs::Answer::Yes);
    inside(f).Menu_Reset_Click();
    QCOMPARE(countWrites(m_w->port, kReset), 1);
    QCOMPARE(m_w->model.resets(), 1);
}

void tst_MainWindow::pollKeepsSplitFrame()
{
    Form_ControlCenter &f = *m_w->window;
    inside(f).ConnectToOrvane(0);
    ui(f).Timer_Check.stop(); // ticks are driven by hand here
    QTest::qWait(20);
    inside(f).Timer_Check_Timer();
    m_w->port.injectRaw(QByteArrayLiteral("\x02" "002"));
    inside(f).Timer_Check_Timer();
    m_w->port.injectRaw(QByteArrayLiteral("6C7\x03\x02" "00"));
    inside(f).Timer_Check_Timer();
    QCOMPARE(ui(f).Line1->text(), QStringLiteral("VOLUME  0dB"));
    m_w->port.injectRaw(QByteArrayLiteral("2301\x03"));
    inside(f).Timer_Check_Timer();
    QCOMPARE(ui(f).Line1->text(), QStringLiteral("MUTE ON"));
    QVERIFY(ui(f).Menu_Volume_Mute->isChecked());
}

void tst_MainWindow::portVanishesWhileConnected()
{
    Form_ControlCenter &f = *m_w->window;
    inside(f).ConnectToOrvane(0);
    m_w->port.vanish();
    QCOMPARE(ui(f).Line1->text(), QStringLiteral("Connection"));
    QCOMPARE(ui(f).Line2->text(), QStringLiteral("lost"));
    QCOMPARE(ui(f).Menu_Connect->text(), QStringLiteral("Connect"));
    QVERIFY(!ui(f).Timer_Check.isActive());
    QVERIFY(!f.link()->PortOpen());
    QVERIFY(ui(f).Menu_Setup_Port(1)->isEnabled());
    // The next connect reports the port that cannot be opened.
    inside(f).ConnectToOrvane(0);
    QCOMPARE(ui(f).Line1->text(), QStringLiteral("Comport Error"));
}

void tst_MainWindow::unloadSavesAndCloses()
{
    Form_ControlCenter &f = *m_w->window;
    QVERIFY(f.Form_Load(QString()));
    inside(f).ConnectToOrvane(0);
    QVERIFY(f.Form_Unload());
    QVERIFY(m_w->values.AppClosing());
    QVERIFY(!f.link()->PortOpen());
    QVERIFY(!m_w->runtime.oAddIns());
    QCOMPARE(m_w->settings.readValue(QStringLiteral("Config"), QStringLiteral("Mode")),
             QStringLiteral("1"));
}

void tst_MainWindow::imageButtonsAreAccessibleButtons()
{
    Form_ControlCenter &f = *m_w->window;
    f.show();
    inside(f).ConnectToOrvane(0);
    m_w->port.clearWrites();
    QAccessibleInterface *volume = QAccessible::queryAccessibleInterface(ui(f).Image_VolUP);
    QVERIFY(volume);
    QCOMPARE(volume->role(), QAccessible::Button);
    QCOMPARE(volume->text(QAccessible::Name), QStringLiteral("Volume +"));
    QAccessibleActionInterface *actions = volume->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(m_w->port.writtenCodes().contains(QStringLiteral("07A1A")));
    QCOMPARE(m_w->port.writtenCodes().count(QStringLiteral("07A1A")), 1);

    QAccessibleInterface *line = QAccessible::queryAccessibleInterface(ui(f).Line1);
    QVERIFY(line);
    QCOMPARE(line->role(), QAccessible::StaticText);
    QCOMPARE(line->text(QAccessible::Name), ui(f).Line1->text());
}

void tst_MainWindow::keypadStepsVolume()
{
    Form_ControlCenter &f = *m_w->window;
    inside(f).ConnectToOrvane(0);
    m_w->port.clearWrites();
    QTest::keyClick(&f, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(&f, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&f, Qt::Key_Plus); // the main keyboard's plus is not a volume key
    QCOMPARE(m_w->port.writtenCodes(), QStringList({"07A1A", "07A1B"}));
    // A held key's repeats are no steps.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"),
                     true);
    QCoreApplication::sendEvent(&f, &repeat);
    QCOMPARE(m_w->port.writtenCodes().size(), 2);
}

void tst_MainWindow::mediaKeyPollRunsWithItsOption()
{
    // The global keys are watched while a media-key option is on; a press runs one tick.
    Form_ControlCenter &f = *m_w->window;
    QVERIFY(!m_w->keys.isWatching());
    ui(f).Menu_Extras_MT_Orvane->trigger();
    QVERIFY(ui(f).Menu_Extras_MT_Orvane->isChecked());
    QVERIFY(m_w->keys.isWatching());
    QVERIFY(!ui(f).Timer_CheckKeys.isActive());
    inside(f).ConnectToOrvane(0);
    m_w->port.clearWrites();
    m_w->keys.press(175);
    QTRY_COMPARE(m_w->port.writtenCodes(), QStringList{"07A1A"});
    ui(f).Menu_Extras_MT_Orvane->trigger();
    QVERIFY(!m_w->keys.isWatching());
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
