// The main window's controls, menus and timers, and how they are wired to the
// handlers. Positions are pixels; picKlappe (the fold-out panels) lies inside
// picControls below lblNorvik, so that closing it leaves only the display part.

#include "app/Form_ControlCenter.h"
#include "app/CheckableMenuItemAccessible.h"
#include "app/DisplayLine.h"
#include "app/ImageButton.h"
#include "app/OptionButton.h"
#include "errors/ErrorGuard.h"
#include "link/ReceiverVocabulary.h"
#include "platform/FixedPitchFont.h"
#include "platform/PlayerRemote.h"

#include <PropertyBag.h>
#include <QAction>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollArea>
#include <ctlFrame.h>
#include <ctlLabel.h>

namespace {

constexpr int kPanelWidth = 640;
constexpr int kKlappeTop = 142;
constexpr int kKlappeHeight = 402;

// Colours in the stored 0x00BBGGRR form.
constexpr quint32 kWhite = 0x00FFFFFF;
constexpr quint32 kSilver = 0x00C0C0C0;
constexpr quint32 kDarkRed = 0x00000080;
constexpr quint32 kNavy = 0x00800000;

// The saved properties of one colour frame of the panels.
PropertyBag panelFrameBag(const QString &caption)
{
    return PropertyBag{{QStringLiteral("lblfontbold"), false},
                       {QStringLiteral("lblfontsize"), 8.25},
                       {QStringLiteral("lblfontitalic"), false},
                       {QStringLiteral("lblfontname"), QStringLiteral("Arial")},
                       {QStringLiteral("lframecolor1"), kWhite},
                       {QStringLiteral("lframecolor2"), kSilver},
                       {QStringLiteral("lforecolor"), kDarkRed},
                       {QStringLiteral("lbackcolor"), kWhite},
                       {QStringLiteral("stcaption"), caption},
                       {QStringLiteral("lcenterlabel"), 0},
                       {QStringLiteral("lstyle"), 1}};
}

// The saved properties of a DSP group label: bold caption on white, no border.
PropertyBag groupLabelBag(const QString &caption)
{
    return PropertyBag{{QStringLiteral("lblfontbold"), true},
                       {QStringLiteral("lblfontsize"), 8.25},
                       {QStringLiteral("lblfontitalic"), false},
                       {QStringLiteral("lblfontname"), QStringLiteral("Arial")},
                       {QStringLiteral("lframecolor1"), kWhite},
                       {QStringLiteral("lframecolor2"), 0x00FE8B36u},
                       {QStringLiteral("lforecolor"), kNavy},
                       {QStringLiteral("lbackcolor"), kWhite},
                       {QStringLiteral("stcaption"), caption},
                       {QStringLiteral("lstyle"), 0}};
}

ctlFrame *makeFrame(QWidget *parent, const QString &caption, const QRect &geometry)
{
    auto *frame = new ctlFrame(parent);
    frame->ReadProperties(panelFrameBag(caption));
    frame->setGeometry(geometry);
    frame->setAccessibleName(caption);
    return frame;
}

QRadioButton *makeOption(QWidget *parent, const QString &caption, int x, int y, int width)
{
    auto *button = new OptionButton(caption, parent);
    button->setGeometry(x, y, width, 18);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    button->setFont(font);
    return button;
}

// Keeps a control inside its panel's etched border (two pixels on each side), so the
// panel is drawn whole.
void keepInsideBorder(QWidget *control)
{
    const QRect inner = control->parentWidget()->rect().adjusted(2, 2, -2, -2);
    control->setGeometry(control->geometry().intersected(inner));
}

} // namespace

void Form_ControlCenter::buildDisplay()
{
    // The panels scroll inside the window when the screen's work area is smaller than
    // they are (a small screen or a large scale); otherwise no scroll bar shows.
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("scrollControls"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("controlsArea"));
    scroller->setWidget(central);
    setCentralWidget(scroller);
    m_controlsArea = central;
    central->installEventFilter(this);

    picControls = new QWidget(central);
    picControls->setObjectName(QStringLiteral("picControls"));
    picControls->setGeometry(0, 0, kPanelWidth, kKlappeTop + kKlappeHeight);
    picControls->setAutoFillBackground(true);
    QPalette panelPalette = picControls->palette();
    panelPalette.setColor(QPalette::Window, QColor(0xdd, 0xe3, 0xea));
    picControls->setPalette(panelPalette);

    // The receiver's front display: two fixed-pitch lines on a dark glass.
    auto *glass = new QWidget(picControls);
    glass->setGeometry(150, 8, 340, 62);
    glass->setAutoFillBackground(true);
    QPalette glassPalette = glass->palette();
    glassPalette.setColor(QPalette::Window, QColor(0x10, 0x18, 0x20));
    glass->setPalette(glassPalette);

    QFont displayFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    displayFont.setPointSize(13);
    displayFont.setBold(true);
    displayFont = FixedPitchFont::resolve(displayFont);
    QPalette linePalette;
    linePalette.setColor(QPalette::WindowText, QColor(0x6e, 0xf0, 0xff));
    linePalette.setColor(QPalette::Window, QColor(0x10, 0x18, 0x20));
    auto makeLine = [&](const QString &text, int y) {
        auto *line = new DisplayLine(text, picControls);
        line->setFont(displayFont);
        line->setPalette(linePalette);
        // Opaque, so a new text repaints the line alone and not the glass behind it.
        line->setAutoFillBackground(true);
        line->setGeometry(158, y, 324, 26);
        line->setTextFormat(Qt::PlainText);
        return line;
    };
    Line1 = makeLine(QStringLiteral("Orv"), 12);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setAccessibleDescription(tr("Display line 1"));
    Line2 = makeLine(QStringLiteral("ane"), 40);
    Line2->setObjectName(QStringLiteral("Line2"));
    Line2->setAccessibleDescription(tr("Display line 2"));

    lblWinAmp = new QLabel(picControls);
    lblWinAmp->setObjectName(QStringLiteral("lblWinAmp"));
    lblWinAmp->setFont(displayFont);
    lblWinAmp->setPalette(linePalette);
    lblWinAmp->setAutoFillBackground(true);
    QPalette titlePalette = linePalette;
    titlePalette.setColor(QPalette::Window, QColor(0x10, 0x18, 0x20));
    lblWinAmp->setPalette(titlePalette);
    lblWinAmp->setWordWrap(true);
    lblWinAmp->setTextFormat(Qt::PlainText);
    lblWinAmp->setAccessibleDescription(tr("Player title"));
    lblWinAmp->hide();

    Image_InputDown = new ImageButton(QStringLiteral("◀"), tr("Input -"), picControls);
    Image_InputDown->setGeometry(14, 10, 48, 26);
    Image_InputUP = new ImageButton(QStringLiteral("▶"), tr("Input +"), picControls);
    Image_InputUP->setGeometry(66, 10, 48, 26);
    Image_InputMode = new ImageButton(tr("Mode"), tr("Input Mode"), picControls);
    Image_InputMode->setGeometry(14, 42, 100, 26);
    Image_VolUP = new ImageButton(QStringLiteral("Vol +"), tr("Volume +"), picControls);
    Image_VolUP->setGeometry(526, 10, 100, 26);
    Image_VolDOWN = new ImageButton(QStringLiteral("Vol −"), tr("Volume -"), picControls);
    Image_VolDOWN->setGeometry(526, 42, 100, 26);
    imgWinampPrevious = new ImageButton(QStringLiteral("◀◀"), tr("Winamp previous"), picControls);
    imgWinampPrevious->setGeometry(150, 78, 44, 24);
    imgWinampNext = new ImageButton(QStringLiteral("▶▶"), tr("Winamp next"), picControls);
    imgWinampNext->setGeometry(198, 78, 44, 24);
    Image_Klappe = new ImageButton(QStringLiteral("▼ ▲"), tr("open/close"), picControls);
    Image_Klappe->setGeometry(290, 78, 60, 24);
    Label_Standby = new ImageButton(tr("Standby/On"), tr("Standby/On"), picControls);
    Label_Standby->setGeometry(400, 78, 90, 24);

    Label_Debug = new QLabel(QStringLiteral("DEBUG:"), picControls);
    Label_Debug->setGeometry(14, 80, 90, 18);
    Label_Debug->hide();

    lblNorvik = new QLabel(tr("Orvane — receiver remote control"), picControls);
    lblNorvik->setObjectName(QStringLiteral("lblNorvik"));
    QFont smallFont = lblNorvik->font();
    smallFont.setPointSizeF(7.5);
    lblNorvik->setFont(smallFont);
    lblNorvik->setAlignment(Qt::AlignCenter);
    lblNorvik->setGeometry(0, 112, kPanelWidth, 16);

    picKlappe = new QWidget(picControls);
    picKlappe->setObjectName(QStringLiteral("picKlappe"));
    picKlappe->setGeometry(0, kKlappeTop, kPanelWidth, kKlappeHeight);
}

void Form_ControlCenter::buildPanels()
{
    // Input: fourteen sources in two columns.
    Frame_Input = makeFrame(picKlappe, tr("Input"), QRect(4, 2, 200, 218));
    for (int i = 1; i <= 14; ++i) {
        const int column = (i - 1) / 7;
        const int row = (i - 1) % 7;
        Opt_Input.add(i, makeOption(Frame_Input, ReceiverVocabulary::inputCaption(i),
                                    12 + column * 96, 22 + row * 27, 92));
    }

    Frame_InputMode = makeFrame(picKlappe, tr("Input Mode"), QRect(4, 224, 200, 92));
    for (int i = 1; i <= 5; ++i) {
        const int column = (i - 1) / 3;
        const int row = (i - 1) % 3;
        Opt_InputMode.add(i, makeOption(Frame_InputMode, ReceiverVocabulary::inputModeCaption(i),
                                        12 + column * 96, 22 + row * 22, 92));
    }

    auto makeOnOff = [&](ctlFrame *&frame, OptionArray &options, const QString &caption,
                         const QRect &geometry) {
        frame = makeFrame(picKlappe, caption, geometry);
        options.add(0, makeOption(frame, tr("Off"), 10, 24, 46));
        options.add(1, makeOption(frame, tr("On"), 56, 24, 40));
    };
    makeOnOff(Frame_6ChInput, Opt_6ChInput, QStringLiteral("6 Ch. Input"), QRect(4, 344, 98, 54));
    makeOnOff(Frame_61ES, Opt_61ES, QStringLiteral("6.1/ES"), QRect(106, 344, 98, 54));
    makeOnOff(Frame_SpeakersA, Opt_SpeakersA, tr("Speakers A"), QRect(208, 344, 110, 54));
    makeOnOff(Frame_SpeakersB, Opt_SpeakersB, tr("Speakers B"), QRect(322, 344, 110, 54));

    // The empty frame that stands in zone-2 mode where the three main-zone frames were.
    Frame_Leer1 = makeFrame(picKlappe, QString(), QRect(4, 224, 200, 174));
    Frame_Leer1->setAccessibleName(tr("Zone 2"));

    // DSP programs in three columns, each group under its label.
    Frame_DSP = makeFrame(picKlappe, QStringLiteral("DSP"), QRect(208, 2, 428, 338));
    const QList<ReceiverVocabulary::DspGroup> &groups = ReceiverVocabulary::dspGroups();
    // Groups that start a new column.
    constexpr int kColumnStarts[] = {0, 4, 8};
    constexpr int kColumnWidth = 140;
    int column = -1;
    int y = 0;
    for (int g = 0; g < groups.size(); ++g) {
        if (column + 1 < int(std::size(kColumnStarts)) && g == kColumnStarts[column + 1]) {
            ++column;
            y = 20;
        }
        const int x = 8 + column * kColumnWidth;
        const ReceiverVocabulary::DspGroup &group = groups[g];
        if (!group.label.isEmpty()) {
            auto *label = new ctlLabel(Frame_DSP);
            label->ReadProperties(groupLabelBag(group.label));
            label->setGeometry(x, y, kColumnWidth - 6, 16);
            if (g == 0)
                Label_Effect = label;
            else
                Label_Prog[g] = label;
            y += 17;
        } else {
            y += 4;
        }
        for (int index = group.first; index <= group.last; ++index) {
            Opt_Dsp.add(index, makeOption(Frame_DSP, ReceiverVocabulary::dspCaption(index), x + 6,
                                          y, kColumnWidth - 12));
            y += 19;
        }
        y += 3;
    }

    ctlLabel1 = new ctlLabel(picKlappe);
    ctlLabel1->ReadProperties(groupLabelBag(tr("Sound Field Processor")));
    ctlLabel1->setGeometry(440, 366, 190, 16);

    // Captions are drawn by the frames; the buttons sit on the frames' white surface.
    for (OptionArray *options : {&Opt_Input, &Opt_InputMode, &Opt_Dsp, &Opt_SpeakersA,
                                 &Opt_SpeakersB, &Opt_61ES, &Opt_6ChInput}) {
        for (int index : options->indices()) {
            QRadioButton *button = (*options)(index);
            QPalette palette = button->palette();
            palette.setColor(QPalette::Window, Qt::white);
            palette.setColor(QPalette::WindowText, Qt::black);
            button->setPalette(palette);
            // Opaque, so selecting a button does not repaint the frame behind it.
            button->setAutoFillBackground(true);
            keepInsideBorder(button);
        }
    }
}

void Form_ControlCenter::buildMenus()
{
    CheckableMenuItemAccessible::install();
    QMenuBar *bar = menuBar();
    auto checkable = [](QAction *action, bool checked = false) {
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };

    Menu_Connect = bar->addAction(tr("&Connect"));

    Menu_Setup = bar->addMenu(tr("&Setup"));
    for (int i = 1; i <= 5; ++i)
        Menu_Setup_Port.add(i, checkable(Menu_Setup->addAction(tr("Com %1").arg(i)), i == 1));
    Menu_Setup_Ports = Menu_Setup->addAction(tr("&Ports..."));
    Menu_Setup_HomeAutomation = Menu_Setup->addAction(tr("&Home automation..."));
    Menu_Setup_WebRemote = Menu_Setup->addAction(tr("&Web remote..."));
    Menu_Setup->addSeparator();
    static const char *const kReportTimes[] = {QT_TR_NOOP("Real Time"),
                                               "50 ms",
                                               "100 ms",
                                               "150 ms",
                                               "200 ms",
                                               "250 ms",
                                               "300 ms",
                                               "350 ms"};
    for (int i = 0; i <= 7; ++i)
        Menu_Setup_ReportTime.add(i, checkable(Menu_Setup->addAction(tr(kReportTimes[i])), i == 0));
    Menu_Setup->addSeparator();
    Menu_Setup_Debug = checkable(Menu_Setup->addAction(tr("Debug View")));
    Menu_Setup_Log = checkable(Menu_Setup->addAction(tr("Create Logfile")));

    Menu_Reset = bar->addAction(tr("&Reset"));

    Menu_ZS = bar->addMenu(tr("&TimeControl"));
    Menu_ZS_Aktiv = checkable(Menu_ZS->addAction(tr("Activated")));
    Menu_ZS->addSeparator();
    Menu_ZS_Einstellungen = Menu_ZS->addAction(tr("Config"));

    Menu_Mode = bar->addMenu(tr("&Mode"));
    Menu_Mode_Zone2 = checkable(Menu_Mode->addAction(tr("Zone2")));
    Menu_Mode_Main = checkable(Menu_Mode->addAction(tr("Main/Master")), true);

    Menu_Sleep = bar->addMenu(tr("S&leepTimer"));
    Menu_Sleep_Off = Menu_Sleep->addAction(ReceiverVocabulary::sleepCaption(0));
    Menu_Sleep_120 = Menu_Sleep->addAction(ReceiverVocabulary::sleepCaption(120));
    Menu_Sleep_90 = Menu_Sleep->addAction(ReceiverVocabulary::sleepCaption(90));
    Menu_Sleep_60 = Menu_Sleep->addAction(ReceiverVocabulary::sleepCaption(60));
    Menu_Sleep_30 = Menu_Sleep->addAction(ReceiverVocabulary::sleepCaption(30));

    Menu_Volume = bar->addMenu(tr("&Volume"));
    Menu_Volume_Mute = checkable(Menu_Volume->addAction(tr("Mute")));
    Menu_Volume_Mute->setShortcut(QKeySequence(Qt::Key_F12));
    Menu_Volume_MuteZone2 = checkable(Menu_Volume->addAction(tr("Mute Zone2")));
    Menu_Volume->addSeparator();
    Menu_Volume_S = Menu_Volume->addMenu(tr("Save"));
    Menu_Volume->addSeparator();
    Menu_Volume_L = Menu_Volume->addMenu(tr("Load"));
    for (int i = 1; i <= ReceiverVocabulary::kMemories; ++i) {
        const QString letter = ReceiverVocabulary::memoryLetter(i);
        Menu_Volume_Save.add(i, Menu_Volume_S->addAction(letter));
        QAction *load = Menu_Volume_L->addAction(letter + QStringLiteral("   "));
        load->setShortcut(QKeySequence(Qt::Key_F4 + (i - 1)));
        Menu_Volume_Load.add(i, load);
    }

    Menu_Mini = bar->addAction(tr("M&ini"));

    Menu_Extras = bar->addMenu(tr("E&xtras"));
    Menu_Extras_61_ES.add(1,
                          checkable(Menu_Extras->addAction(tr("6.1/ES Key -Window max/minimize"))));
    Menu_Extras_61_ES.add(
        2, checkable(Menu_Extras->addAction(tr("6.1/ES Key - Winamp Next/Previous Track"))));
    Menu_Extras_61_ES.add(3, checkable(Menu_Extras->addAction(tr("6.1/ES Key - Shell Command"))));
    Menu_Extras_61_ES(3)->setData(kDefaultShell);
    Menu_Extras->addSeparator();
    Menu_Extras_MT_Winamp = checkable(Menu_Extras->addAction(tr("Multimedia Keycontrol Winamp")));
    Menu_Extras_MT_Orvane = checkable(Menu_Extras->addAction(tr("Multimedia Keycontrol Orvane")));
    Menu_Extras->addSeparator();
    Menu_Extras_SendMessage = Menu_Extras->addAction(tr("Send Message to Display - Test"));
    Menu_Extras->addSeparator();
    Menu_Extras_YInfo = Menu_Extras->addAction(tr("Orvane information"));

    // A menu-bar item of its own that opens the add-ins window.
    Menu_AddIn = bar->addAction(tr("&AddIn"));

    Menu_Send = bar->addAction(QStringLiteral("Send"));
    Menu_Send->setVisible(false);

    // The mini window's pop-up: a menu of this window that is never in the bar.
    Menu_MiniPopUp = new QMenu(QStringLiteral("MiniPopup"), this);
    Menu_MiniPopUp_POWER = Menu_MiniPopUp->addAction(tr("POWER"));
    Menu_MiniPopUp->addSeparator();
    // The pop-up names CD-R without its hyphen.
    for (int i = ReceiverVocabulary::kFirstInput; i <= ReceiverVocabulary::kLastInput; ++i)
        Menu_MiniPopUp_Input.add(
            i, Menu_MiniPopUp->addAction(i == 14 ? QStringLiteral("CDR")
                                                 : ReceiverVocabulary::inputCaption(i)));
    Menu_MiniPopUp->addSeparator();
    Menu_MiniPopUp_Volume = Menu_MiniPopUp->addMenu(tr("VOLUME"));
    for (int i = 1; i <= ReceiverVocabulary::kMemories; ++i)
        Menu_MiniPopUp_Volume_Load.add(
            i, Menu_MiniPopUp_Volume->addAction(ReceiverVocabulary::memoryLetter(i)));
    Menu_MiniPopUp->addSeparator();
    Menu_MiniPopUp_Zone2 = checkable(Menu_MiniPopUp->addAction(tr("ZONE 2")));
    Menu_MiniPopUp->addSeparator();
    Menu_MiniPopUp_Mute = Menu_MiniPopUp->addAction(tr("MUTE"));

    Menu_Ende = bar->addAction(tr("&End"));

    Menu_Fragezeichen = bar->addMenu(QStringLiteral("&?"));
    Menu_Fragezeichen_Informationen = Menu_Fragezeichen->addAction(tr("Informationen"));
    Menu_Fragezeichen_Informationen->setShortcut(QKeySequence(Qt::Key_F1));
    Menu_Info = Menu_Fragezeichen->addAction(tr("About Orvane..."));

    // Receiver menus wait for a connection.
    Menu_Reset->setEnabled(false);
    Menu_ZS->menuAction()->setEnabled(false);
    Menu_Sleep->menuAction()->setEnabled(false);
    Menu_Volume->menuAction()->setEnabled(false);
    Menu_Mini->setEnabled(false);
    Menu_Extras_SendMessage->setEnabled(false);
    Menu_Extras_YInfo->setEnabled(false);
}

void Form_ControlCenter::buildTimers()
{
    Timer_WinampView.setInterval(2000);
    Timer_CheckKeys.setInterval(10);
    Timer_CheckTastenRepeat.setInterval(800);
    Timer_Check.setInterval(kPollInterval);
    Timer_ZS.setInterval(500);
    Timer_RePressKey.setInterval(10);
    for (QTimer *timer : {&Timer_WinampView, &Timer_CheckKeys, &Timer_CheckTastenRepeat,
                          &Timer_Check, &Timer_ZS, &Timer_RePressKey})
        timer->setTimerType(Qt::PreciseTimer);
    // One key tick after each press of a global key (see updateKeyWatch).
    Timer_CheckKeys.setSingleShot(true);
    Timer_WinampView.setTimerType(Qt::CoarseTimer);
    Timer_ZS.setTimerType(Qt::CoarseTimer);

    connect(&Timer_WinampView, &QTimer::timeout, this, [this] { Timer_WinampView_Timer(); });
    connect(&Timer_CheckKeys, &QTimer::timeout, this, [this] { Timer_CheckKeys_Timer(); });
    connect(&Timer_CheckTastenRepeat, &QTimer::timeout, this,
            [this] { Timer_CheckTastenRepeat_Timer(); });
    connect(&Timer_Check, &QTimer::timeout, this, [this] { Timer_Check_Timer(); });
    connect(&Timer_ZS, &QTimer::timeout, this, [this] { Timer_ZS_Timer(); });
    connect(&Timer_RePressKey, &QTimer::timeout, this, [this] { Timer_RePressKey_Timer(); });

    // Enabled from the start: the player's title.
    Timer_WinampView.start();
}

void Form_ControlCenter::connectControls()
{
    // Qt flips a checkable item's mark before `triggered` arrives; the handlers decide
    // the marks themselves from the state before the click, so the flip is undone first.
    auto onMenu = [this](QAction *action, auto handler) {
        connect(action, &QAction::triggered, this, [action, handler](bool checked) {
            if (action->isCheckable())
                action->setChecked(!checked);
            handler();
        });
    };

    onMenu(Menu_Connect, [this] { Menu_Connect_Click(); });
    for (int i : Menu_Setup_Port.indices())
        onMenu(Menu_Setup_Port(i), [this, i] { Menu_Setup_Port_Click(i); });
    for (int i : Menu_Setup_ReportTime.indices())
        onMenu(Menu_Setup_ReportTime(i), [this, i] { Menu_Setup_ReportTime_Click(i); });
    onMenu(Menu_Setup_Ports, [this] { Menu_Setup_Ports_Click(); });
    onMenu(Menu_Setup_HomeAutomation, [this] { Menu_Setup_HomeAutomation_Click(); });
    onMenu(Menu_Setup_WebRemote, [this] { Menu_Setup_WebRemote_Click(); });
    onMenu(Menu_Setup_Debug, [this] { Menu_Setup_Debug_Click(); });
    onMenu(Menu_Setup_Log, [this] { Menu_Setup_Log_Click(); });
    onMenu(Menu_Reset, [this] { Menu_Reset_Click(); });
    onMenu(Menu_ZS_Aktiv, [this] { Menu_ZS_Aktiv_Click(); });
    onMenu(Menu_ZS_Einstellungen, [this] { Menu_ZS_Einstellungen_Click(); });
    onMenu(Menu_Mode_Zone2, [this] { Menu_Mode_Zone2_Click(); });
    onMenu(Menu_Mode_Main, [this] { Menu_Mode_Main_Click(); });
    onMenu(Menu_Sleep_Off, [this] { Menu_Sleep_Click(0); });
    onMenu(Menu_Sleep_120, [this] { Menu_Sleep_Click(120); });
    onMenu(Menu_Sleep_90, [this] { Menu_Sleep_Click(90); });
    onMenu(Menu_Sleep_60, [this] { Menu_Sleep_Click(60); });
    onMenu(Menu_Sleep_30, [this] { Menu_Sleep_Click(30); });
    onMenu(Menu_Volume_Mute, [this] { Menu_Volume_Mute_Click(); });
    onMenu(Menu_Volume_MuteZone2, [this] { Menu_Volume_MuteZone2_Click(); });
    for (int i : Menu_Volume_Save.indices())
        onMenu(Menu_Volume_Save(i), [this, i] { Menu_Volume_Save_Click(i); });
    for (int i : Menu_Volume_Load.indices())
        onMenu(Menu_Volume_Load(i), [this, i] { Menu_Volume_Load_Click(i); });
    onMenu(Menu_Mini, [this] { Menu_Mini_Click(); });
    for (int i : Menu_Extras_61_ES.indices())
        onMenu(Menu_Extras_61_ES(i), [this, i] { Menu_Extras_61_ES_Click(i); });
    onMenu(Menu_Extras_MT_Winamp, [this] { Menu_Extras_MT_Winamp_Click(); });
    onMenu(Menu_Extras_MT_Orvane, [this] { Menu_Extras_MT_Orvane_Click(); });
    connect(Menu_Extras_MT_Winamp, &QAction::toggled, this, [this] { updateKeyWatch(); });
    connect(Menu_Extras_MT_Orvane, &QAction::toggled, this, [this] { updateKeyWatch(); });
    onMenu(Menu_Extras_SendMessage, [this] { Menu_Extras_SendMessage_Click(); });
    onMenu(Menu_Extras_YInfo, [this] { Menu_Extras_YInfo_Click(); });
    onMenu(Menu_Info, [this] { Menu_Info_Click(); });
    onMenu(Menu_Fragezeichen_Informationen, [this] { Menu_Fragezeichen_Informationen_Click(); });
    onMenu(Menu_AddIn, [this] { Menu_AddIn_Click(); });
    onMenu(Menu_Send, [this] { Menu_Send_Click(); });
    onMenu(Menu_MiniPopUp_POWER, [this] { Menu_MiniPopUp_POWER_Click(); });
    for (int i : Menu_MiniPopUp_Input.indices())
        onMenu(Menu_MiniPopUp_Input(i), [this, i] { Menu_MiniPopUp_Input_Click(i); });
    for (int i : Menu_MiniPopUp_Volume_Load.indices())
        onMenu(Menu_MiniPopUp_Volume_Load(i), [this, i] { Menu_MiniPopUp_Volume_Load_Click(i); });
    onMenu(Menu_MiniPopUp_Zone2, [this] { Menu_MiniPopUp_Zone2_Click(); });
    onMenu(Menu_MiniPopUp_Mute, [this] { Menu_MiniPopUp_Mute_Click(); });
    onMenu(Menu_Ende, [this] { Menu_Ende_Click(); });

    connect(&Opt_Input, &OptionArray::Click, this, [this](int i) { Opt_Input_Click(i); });
    connect(&Opt_InputMode, &OptionArray::Click, this, [this](int i) { Opt_InputMode_Click(i); });
    connect(&Opt_Dsp, &OptionArray::Click, this, [this](int i) { Opt_Dsp_Click(i); });
    connect(&Opt_SpeakersA, &OptionArray::Click, this, [this](int i) { Opt_SpeakersA_Click(i); });
    connect(&Opt_SpeakersB, &OptionArray::Click, this, [this](int i) { Opt_SpeakersB_Click(i); });
    connect(&Opt_61ES, &OptionArray::Click, this, [this](int i) { Opt_61ES_Click(i); });
    connect(&Opt_6ChInput, &OptionArray::Click, this, [this](int i) { Opt_6ChInput_Click(i); });

    connect(Image_Klappe, &QAbstractButton::clicked, this, [this] { Image_Klappe_Click(); });
    connect(Image_InputUP, &QAbstractButton::clicked, this, [this] { Image_InputUP_Click(); });
    connect(Image_InputDown, &QAbstractButton::clicked, this, [this] { Image_InputDown_Click(); });
    connect(Image_InputMode, &QAbstractButton::clicked, this, [this] { Image_InputMode_Click(); });
    connect(imgWinampNext, &QAbstractButton::clicked, this,
            [this] { playerButton("imgWinampNext_Click", PlayerRemote::NextAlternative); });
    connect(imgWinampNext, &ImageButton::doubleClicked, this,
            [this] { playerButton("imgWinampNext_DblClick", PlayerRemote::Next); });
    connect(imgWinampPrevious, &QAbstractButton::clicked, this, [this] {
        playerButton("imgWinampPrevious_Click", PlayerRemote::PreviousAlternative);
    });
    connect(imgWinampPrevious, &ImageButton::doubleClicked, this,
            [this] { playerButton("imgWinampPrevious_DblClick", PlayerRemote::Previous); });
    connect(Label_Standby, &QAbstractButton::clicked, this, [this] { Label_Standby_Click(); });
    connect(Image_VolUP, &ImageButton::mouseDown, this,
            [this](Qt::MouseButton b) { Image_VolUP_MouseDown(b); });
    connect(Image_VolUP, &ImageButton::mouseUp, this,
            [this](Qt::MouseButton b) { Image_VolUP_MouseUp(b); });
    connect(Image_VolDOWN, &ImageButton::mouseDown, this,
            [this](Qt::MouseButton b) { Image_VolDOWN_MouseDown(b); });
    connect(Image_VolDOWN, &ImageButton::mouseUp, this,
            [this](Qt::MouseButton b) { Image_VolDOWN_MouseUp(b); });
    // Holding is for the mouse; a keyboard or screen-reader press steps once.
    connect(Image_VolUP, &ImageButton::activatedWithoutMouse, this, [this] {
        guarded("Form_ControlCenter", "Image_VolUP_Click", [&] { VolUp(); });
    });
    connect(Image_VolDOWN, &ImageButton::activatedWithoutMouse, this, [this] {
        guarded("Form_ControlCenter", "Image_VolDOWN_Click", [&] { VolDown(); });
    });
}
