#include "app/Form_ControlCenter.h"

#include "addins/AddInComponents.h"
#include "addins/AddInRuntime.h"
#include "app/CommandLine.h"
#include "app/Form_Mini.h"
#include "app/ImageButton.h"
#include "app/WindowProgramHost.h"
#include "errors/ErrorGuard.h"
#include "link/Form_Com.h"
#include "link/Form_YInfo.h"
#include "link/LinkTimings.h"
#include "link/ReceiverLink.h"
#include "platform/DeferredBoxes.h"
#include "platform/PlayerRemote.h"
#include "platform/UserDialogs.h"
#include "player/Modul_Winamp.h"
#include "program/Modul_Lib.h"
#include "program/ProgramValues.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <ctlFrame.h>
#include <thread>
#include <utility>

namespace {
constexpr const char *kModule = "Form_ControlCenter";
}

Form_ControlCenter::Form_ControlCenter(const Platform &platform, AddInRuntime &runtime,
                                       ProgramValues &values, ReceiverLink &link, QWidget *parent)
    : QMainWindow(parent)
    , m_platform(platform)
    , m_runtime(runtime)
    , m_values(values)
    , m_link(&link)
{
    m_host = std::make_unique<WindowProgramHost>(*this);
    const auto pause = [this](float seconds) { Pause(seconds); };
    m_volume = std::make_unique<VolumeControl>(
        controls(), *m_link, m_events, m_readings,
        VolumeControl::Window {[this](const char *procedure) { evaluateReceived(procedure); },
                               pause, [this] { SetSettings(); }});
    m_reports = std::make_unique<ReportEvaluation>(
        controls(), *m_link, *m_volume, m_readings, m_platform.player, m_platform.dialogs,
        ReportEvaluation::Window {
            [this](int index, int noSelect, int zone2) { SetInputButton(index, noSelect, zone2); },
            [this] {
                int index = 0;
                GetInputButton(index);
                return index;
            },
            [this](int index, int noSelect) { SetDSPButton(index, noSelect); }, pause,
            [this] { return m_evaluating; }, [this] { toggleWindowFromEsKey(); },
            [this] { RunShellCommand(); }});
    m_keys = std::make_unique<KeyControl>(
        controls(), *this, m_platform.keys, m_platform.player, *m_volume,
        KeyControl::Window {pause, [this](const QString &line) { noteInTerminal(line); }});
    m_connection = std::make_unique<ConnectionControl>(
        controls(), *m_link, m_events, m_readings, m_platform.settings, m_platform.dialogs,
        m_platform.shell,
        ConnectionControl::Window {
            [this] { return yinfo(); }, [this](const QString &line) { noteInTerminal(line); },
            [this] { SetSettings(); }, [this] { noteSettingsBlock(); }, [this] { stopRepeat(); }});
    m_config = std::make_unique<ConfigurationStore>(
        controls(), *m_link, m_platform.settings,
        ConfigurationStore::Window {[this] { showZoneMode(); },
                                    [this](bool shown) {
                                        if (m_com)
                                            m_com->setVisible(shown);
                                    }});
    setWindowTitle(QStringLiteral("Orvane"));
    setObjectName(QStringLiteral("Form_ControlCenter"));
    buildDisplay();
    buildPanels();
    buildMenus();
    buildTimers();
    connectControls();
    // Wide enough for the panels and for every menu of the bar.
    int menuWidth = 0;
    const QFontMetrics metrics(menuBar()->font());
    for (const QAction *action : menuBar()->actions())
        if (action->isVisible())
            menuWidth += metrics.horizontalAdvance(QString(action->text()).remove(QLatin1Char('&')))
                + 2 * metrics.averageCharWidth() + 6;
    resize(qMax(picControls->width(), menuWidth), 620);

    // This window is the link's host. The terminal window and the mini window live,
    // hidden, as long as this window.
    m_link->setHost(this);
    m_com = new Form_Com(m_link, this);
    m_mini = new Form_Mini(this, &m_events, m_values);
    watchLink();
}

void Form_ControlCenter::noteInTerminal(const QString &line)
{
    if (m_com)
        m_com->appendNote(line);
}

Form_ControlCenter::~Form_ControlCenter()
{
    releaseAddIns();
    // The windows this one created are its to release when they are still there.
    delete m_yinfo.data();
    delete m_mini.data();
    delete m_com.data();
}

Form_Com *Form_ControlCenter::com() const
{
    return m_com;
}

Form_Mini *Form_ControlCenter::mini() const
{
    return m_mini;
}

Form_YInfo *Form_ControlCenter::yinfo()
{
    if (!m_yinfo)
        m_yinfo = new Form_YInfo();
    return m_yinfo;
}

bool Form_ControlCenter::Form_Load(const QString &commandLine)
{
    m_values.setAppClosing(false);
    m_values.setMiniMode(false);

    guarded(kModule, "Form_Load", [&] {
        // The title already playing is not announced as new.
        lblWinAmp->setText(Modul_Winamp::GetWinampTitle(m_platform.player));
    });
    guarded(kModule, "Form_Load", [&] {
        const QScreen *screen = QGuiApplication::primaryScreen();
        m_workArea = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        fitWidthIntoWorkArea();
    });
    m_runtime.openAddIns();
    guarded(kModule, "Form_Load", [&] { SetKlappe(2); });
    LoadAddIns();
    guarded(kModule, "Form_Load", [&] {
        Line2->setText(Line2->text() + QLatin1Char(' ') + ProgramValues::VersionText());
    });
    guarded(kModule, "Form_Load", [&] {
        const QSize mini = m_mini->frameGeometry().size();
        m_mini->move(m_workArea.right() + 1 - mini.width(),
                     m_workArea.bottom() + 1 - mini.height());
    });
    LoadConfig();
    emit configurationLoaded();

    if (commandLine.isEmpty())
        return true;
    const CommandLine options = CommandLine::parse(commandLine);
    if (options.help) {
        UserDialogs::Message message;
        message.text = CommandLine::optionsMessage();
        m_platform.dialogs->messageBox(message);
        return false;
    }
    guarded(kModule, "Form_Load", [&] {
        if (options.comPort) {
            m_link->setCommPort(*options.comPort);
            ConnectToOrvane(options.powerOn ? 1 : 0);
        }
        const QSize mini = m_mini->frameGeometry().size();
        if (options.topLeft)
            m_mini->move(m_workArea.left(), m_workArea.top());
        if (options.topRight)
            m_mini->move(m_workArea.right() + 1 - mini.width(), m_workArea.top());
        if (options.bottomLeft)
            m_mini->move(m_workArea.left(), m_workArea.bottom() + 1 - mini.height());
        if (options.mini) {
            if (!m_link->PortOpen())
                ConnectToOrvane(0);
            if (m_link->PortOpen()) {
                hide();
                m_mini->show();
            }
        }
    });
    return true;
}

void Form_ControlCenter::Form_Resize()
{
    ignoringErrors([&] {
        lblWinAmp->setGeometry(Line1->x(), Line1->y(), Line1->width(),
                               Line1->height() + Line2->y() - Line1->y());
        // The scrolled area is the window's inner width, or the panel's when that is wider.
        const int innerWidth = m_controlsArea ? m_controlsArea->width() : width();
        picControls->move(qMax(0, innerWidth / 2 - picControls->width() / 2), picControls->y());
    });
}

void Form_ControlCenter::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
    applyOuterHeightOnShow();
}

bool Form_ControlCenter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controlsArea && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

QRect Form_ControlCenter::currentWorkArea() const
{
    const QScreen *screen = this->screen();
    return screen ? screen->availableGeometry() : m_workArea;
}

void Form_ControlCenter::fitWidthIntoWorkArea()
{
    const int decoration = frameGeometry().width() - geometry().width();
    const int widest = currentWorkArea().width() - decoration;
    if (widest > 0 && width() > widest)
        resize(widest, height());
    // Without a frame yet, the width is checked again once the frame is known.
    if (decoration == 0 && !isVisible())
        m_fitWidthOnShow = true;
}

void Form_ControlCenter::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    applyOuterHeightOnShow();
}

void Form_ControlCenter::applyOuterHeightOnShow()
{
    // The window manager has framed the window: it gets the outer height it was given,
    // and no more width than the work area has.
    if (!isVisible())
        return;
    const int decoration = frameGeometry().height() - geometry().height();
    if (decoration <= 0)
        return;
    if (std::exchange(m_fitWidthOnShow, false))
        fitWidthIntoWorkArea();
    if (!m_outerHeightOnShow)
        return;
    const int outerHeight = *std::exchange(m_outerHeightOnShow, std::nullopt);
    if (!(QMainWindow::windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        resize(width(), qMin(outerHeight, currentWorkArea().height()) - decoration);
}

bool Form_ControlCenter::Form_Unload(bool mayBeCancelled)
{
    if (m_unloaded)
        return true;
    if (!mayBeCancelled)
        m_endForced = true;
    // Events run while bus clients vote; an end asked for meanwhile is left to the
    // unload that is already running.
    if (m_unloading)
        return false;
    m_values.setAppClosing(true);

    long cancel = 0;
    QString refusedBy; // the add-in whose refusal counted in this vote
    m_unloading = true;
    emit m_events.unloadRequested(cancel, refusedBy);
    m_unloading = false;
    if (cancel != 0 && !m_endForced) {
        m_values.setAppClosing(false);
        emit m_events.unloadRefused(refusedBy);
        return false;
    }
    emit m_events.terminating();
    stopTimeControl();
    releaseAddIns();
    m_runtime.closeAddIns();
    SaveConfig();
    guarded(kModule, "Form_Unload", [&] {
        Timer_Check.stop();
        if (m_link->PortOpen())
            m_link->ClosePort();
    });
    guarded(kModule, "Form_Unload", [&] { Modul_Lib::UnloadAllForms(this); });
    m_unloaded = true;
    emit unloaded();
    return true;
}

void Form_ControlCenter::closeEvent(QCloseEvent *event)
{
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

void Form_ControlCenter::Menu_Ende_Click()
{
    close();
}

void Form_ControlCenter::SetKlappe(int mode)
{
    guarded(kModule, "SetKlappe", [&] {
        // The window stays inside the work area; the panels scroll when they are taller.
        const int tallest = currentWorkArea().height();
        auto setOuterHeight = [this, tallest](int outerHeight) {
            const int decoration = frameGeometry().height() - geometry().height();
            // A height still waiting for the frame is replaced by this one before the
            // resize, whose event would otherwise apply the older height.
            m_outerHeightOnShow.reset();
            resize(width(), qMin(outerHeight, tallest) - decoration);
            // Before the first show the window has no frame yet: its height is set again
            // once the frame is known.
            if (decoration == 0 && !isVisible())
                m_outerHeightOnShow = outerHeight;
        };
        const bool normal
            = !(QMainWindow::windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
        // What is shown of the panel is what the scrolled area holds.
        auto holdPanelDownTo = [this](int bottom) {
            if (m_controlsArea)
                m_controlsArea->setMinimumSize(picControls->width(), picControls->y() + bottom);
        };
        if (mode == 2) {
            picKlappe->hide();
            holdPanelDownTo(lblNorvik->y() + lblNorvik->height());
            if (normal)
                setOuterHeight(picControls->y() + lblNorvik->y() + lblNorvik->height()
                               + kKlappeMargin);
            for (ctlFrame *frame : {Frame_Input, Frame_SpeakersA, Frame_SpeakersB, Frame_DSP,
                                    Frame_61ES, Frame_6ChInput, Frame_InputMode, Frame_Leer1})
                frame->hide();
        } else if (mode == 1) {
            picKlappe->show();
            holdPanelDownTo(picControls->height());
            const int wanted = picControls->y() + picControls->height() + kKlappeMargin;
            if (normal && frameGeometry().height() < qMin(wanted, tallest))
                setOuterHeight(wanted);
            for (ctlFrame *frame : {Frame_DSP, Frame_Input, Frame_SpeakersA, Frame_SpeakersB})
                frame->show();
            const bool zone2 = Menu_Mode_Zone2->isChecked();
            Frame_6ChInput->setVisible(!zone2);
            Frame_InputMode->setVisible(!zone2);
            Frame_61ES->setVisible(!zone2);
            Frame_Leer1->setVisible(zone2);
        }
    });
}

void Form_ControlCenter::Image_Klappe_Click()
{
    guarded(kModule, "Image_Klappe_Click", [&] { SetKlappe(Frame_Input->isVisible() ? 2 : 1); });
}

void Form_ControlCenter::Pause(float seconds)
{
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents();
    const auto total = std::chrono::milliseconds(
        qRound64(double(seconds) * 1000.0 * LinkTimings::current().pauseScale));
    const auto left = total - std::chrono::milliseconds(clock.elapsed());
    if (left.count() > 0)
        std::this_thread::sleep_for(left);
}

void Form_ControlCenter::toggleWindowFromEsKey()
{
    constexpr Qt::WindowStates kMinMax = Qt::WindowMinimized | Qt::WindowMaximized;
    const Qt::WindowStates state = QMainWindow::windowState();
    if (state & kMinMax) {
        setWindowState(state & ~kMinMax);
        // Brings the window to the front without leaving it on top.
        Modul_Lib::SetTopMost(true, this);
        Modul_Lib::SetTopMost(false, this);
        raise();
        activateWindow();
    } else {
        setWindowState(state | Qt::WindowMinimized);
    }
}

void Form_ControlCenter::Timer_Check_Timer()
{
    // A tick inside a wait of the running evaluation leaves the text at the port: the
    // next tick reads it, after the evaluation.
    if (m_evaluating)
        return;
    guarded(kModule, "Timer_Check_Timer", [&] {
        QString received;
        m_link->ReadPort(received, true);
    });
    evaluateReceived("Timer_Check_Timer");
}

void Form_ControlCenter::evaluateReceived(const char *procedure)
{
    // A wait inside the running evaluation lets timers run (a scheduled command, a
    // volume step) and the link read. What they receive is newer than the bodies of this
    // evaluation, so it waits its turn in the link's queue, which the loop below empties.
    if (m_evaluating)
        return;
    m_evaluating = true;
    ReportPauseTaken = false;
    bool any = false;
    {
        // A box raised by a report is shown once the evaluation is over.
        DeferredBoxes::Scope boxesAfterwards;
        for (QStringList bodies = m_link->takeReports(); !bodies.isEmpty();
             bodies = m_link->takeReports()) {
            for (const QString &body : std::as_const(bodies)) {
                // Reports of a connection that ended meanwhile are not shown over its end.
                if (!m_link->PortOpen())
                    break;
                any = true;
                guarded(kModule, procedure, [&] {
                    emit m_events.reportReceived(body);
                    DatenAuswerten(body);
                });
            }
        }
    }
    if (any)
        emit m_events.receiverStatusChanged();
    m_evaluating = false;
    // Outside an evaluation every input-mode report pauses.
    ReportPauseTaken = false;
}

bool Form_ControlCenter::pollRunning() const
{
    return Timer_Check.isActive();
}

void Form_ControlCenter::setLine1(const QString &text)
{
    Line1->setText(text);
}

void Form_ControlCenter::setLine2(const QString &text)
{
    Line2->setText(text);
}

void Form_ControlCenter::incomingSettings(const QString &settings)
{
    emit m_events.settingsRead(settings);
}

void Form_ControlCenter::linkLost(const QString &reason)
{
    guarded(kModule, "linkLost", [&] {
        closeConnection(QStringLiteral("Connection"), QStringLiteral("lost"));
        Line2->setToolTip(reason);
    });
}

void Form_ControlCenter::terminalClosed()
{
    Menu_Setup_Debug->setChecked(false);
}

bool Form_ControlCenter::appClosing() const
{
    return m_values.AppClosing();
}
