#include "app/Form_ControlCenter.h"
#include "errors/ErrorGuard.h"
#include "link/HexDigits.h"
#include "link/ReceiverLink.h"
#include "platform/PlayerRemote.h"
#include "platform/UserDialogs.h"
#include "program/Modul_Lib.h"
#include "state/DspTable.h"
#include "state/ReceiverUpdateScope.h"
#include "state/ReportTables.h"

#include <QLabel>
#include <chrono>

namespace {

constexpr char kModule[] = "Form_ControlCenter";
constexpr char kProcedure[] = "DatenAuswerten";

// A second press of the receiver's 6.1/ES key within this window means "previous track".
constexpr std::chrono::milliseconds kEsKeySecondPress {800};
// How long a player action stays on the display before the previous texts return.
constexpr float kPlayerTextSeconds = 0.5F;
constexpr float kInputModeTextSeconds = 0.5F;

enum EsKeyOption { kEsWindow = 1, kEsPlayer = 2, kEsShell = 3 };

// One of the three things the receiver's 6.1/ES key can be set to do.
bool esKeyOption(const MainWindowControls &form, EsKeyOption option)
{
    return form.Menu_Extras_61_ES.contains(option) && form.Menu_Extras_61_ES(option)->isChecked();
}

PlayerRemote *findPlayer(PlayerRemote *player)
{
    return player && player->find() ? player : nullptr;
}

// Shows "Winamp" and the action over the display while the player acts, then puts the
// display back. The title label and its timer step aside so the text stays visible.
template<typename Pause>
void showPlayerAction(MainWindowControls &form, const Pause &pause, PlayerRemote *player,
                      const QString &action, int command)
{
    const QString line1 = form.Line1->text();
    const QString line2 = form.Line2->text();
    form.lblWinAmp->hide();
    form.Timer_WinampView.stop();
    form.Timer_WinampView.start();
    form.Line1->setText(QStringLiteral("Winamp"));
    form.Line2->setText(action);
    if (player)
        player->postCommand(command);
    pause(kPlayerTextSeconds);
    form.Line1->setText(line1);
    form.Line2->setText(line2);
}

} // namespace

void Form_ControlCenter::DatenAuswerten(const QString &body)
{
    const QStringView text(body);
    const QStringView fromCode = text.mid(2); // code and data, characters 3 to the end

    // Volume reports go to the volume display and nowhere else; one whose value is not
    // two hexadecimal digits shows nothing.
    const bool mainVolume = fromCode == u"2600" || text.mid(1, 3) == u"026";
    if (mainVolume || text.mid(1, 3) == u"027") {
        if (const std::optional<int> value = HexDigits::twoDigits(text.mid(4, 2)))
            DisplayVolume(mainVolume ? VolumeZone::Main : VolumeZone::Zone2, *value);
        return;
    }

    ReceiverUpdateScope updating(UpdatingFromReceiver);

    // Whole-body reports.
    guarded(kModule, kProcedure, [&] {
        if (text == u"102D00" || text == u"112D00") {
            runEsKeyActions();
        } else if (text == u"202E00" || text == u"202E01") {
            Opt_SpeakersA.select(text.back() == u'1' ? 1 : 0);
        } else if (text == u"202F00" || text == u"202F01") {
            Opt_SpeakersB.select(text.back() == u'1' ? 1 : 0);
        } else if (text == u"2F000" || text == u"2F001" || text == u"2F002") {
            m_link->SendCommand(body);
            Line1->setText(QStringLiteral("RS232 TEST"));
            Line2->clear();
        }
    });

    // Input reports: main zone, or zone 2 while the panel shows zone 2. The zone-2
    // input is noted either way, for those who ask for it.
    guarded(kModule, kProcedure, [&] {
        const QStringView head = text.left(4);
        const bool zone2 = head == u"2024";
        const int input = text.isEmpty() ? 0 : ReportTables::inputFromReportDigit(text.back());
        if (zone2 && input != 0)
            m_readings.zone2Input = input;
        if (head != u"1021" && !(zone2 && zone2Mode()))
            return;
        if (input != 0)
            SetInputButton(input, 0, zone2 ? 1 : 0);
    });

    // Code and data; characters 1 and 2 do not matter.
    guarded(kModule, kProcedure, [&] {
        if (fromCode.size() != 4)
            return;
        const QStringView code = fromCode.left(2);
        const QStringView data = fromCode.mid(2);
        if (fromCode == u"2000" || fromCode == u"2001")
            m_readings.power = fromCode == u"2001";

        if (code == u"28") {
            selectDspFromData(data.toString());
        } else if (fromCode == u"2D00" || fromCode == u"2D01") {
            Opt_61ES.select(data == u"01" ? 1 : 0);
        } else if (fromCode == u"2300") {
            Menu_Volume_Mute->setChecked(false);
            Line1->setText(QStringLiteral("MUTE OFF"));
            Line2->clear();
            playerRuleMuteOff();
        } else if (fromCode == u"2301") {
            Menu_Volume_Mute->setChecked(true);
            Line1->setText(QStringLiteral("MUTE ON"));
            Line2->clear();
            playerRuleMuteOn();
        } else if (fromCode == u"2500" || fromCode == u"2501") {
            const bool muted = data == u"01";
            Menu_Volume_MuteZone2->setChecked(muted);
            Line1->setText(muted ? QStringLiteral("ZONE2 MUTE ON")
                                 : QStringLiteral("ZONE2 MUTE OFF"));
            Line2->clear();
        } else if (fromCode == u"3400" || fromCode == u"3401") {
            const bool headphones = data == u"01";
            Opt_SpeakersA.setAllEnabled(!headphones);
            Opt_SpeakersB.setAllEnabled(!headphones);
            Line1->setText(QStringLiteral("Head Phone"));
            Line2->setText(headphones ? QStringLiteral("ON") : QStringLiteral("OFF"));
        } else if (fromCode == u"2001") {
            if (!esKeyOption(controls(), kEsPlayer)) {
                Line1->setText(QStringLiteral("POWER ON"));
                Line2->clear();
            } else if (PlayerRemote *player = findPlayer(m_platform.player);
                       player && player->status() == PlayerRemote::Playing) {
                player->postCommand(PlayerRemote::NextAlternative);
                player->postCommand(PlayerRemote::NextAlternative);
            }
        } else {
            if (const auto mode = ReportTables::inputMode(fromCode)) {
                Opt_InputMode.select(mode->mode);
                // Show the input again with the new mode under it.
                int input = 0;
                GetInputButton(input);
                SetInputButton(input, 1, 0);
                Line2->setText(mode->text);
                // Within one poll tick only the first such report pauses: a burst would
                // otherwise hold the window half a second per report.
                if (!ReportPauseTaken) {
                    ReportPauseTaken = m_evaluating;
                    Pause(kInputModeTextSeconds);
                }
            } else if (const auto shown = ReportTables::displayText(fromCode)) {
                Line1->setText(shown->line1);
                Line2->setText(shown->line2);
            }
        }
    });

    // The 6-channel input; input reports of code "21" land here too.
    guarded(kModule, kProcedure, [&] {
        const QStringView sixCh = text.mid(2, 3);
        if (sixCh != u"210" && sixCh != u"211")
            return;
        const bool on = sixCh == u"211";
        Opt_6ChInput.select(on ? 1 : 0);
        if (on) {
            Line1->clear();
            Line2->setText(QStringLiteral("6CH INPUT"));
        }
        // The surround settings do not apply to the 6-channel input.
        Opt_Dsp.setAllEnabled(!on);
        Opt_InputMode.setAllEnabled(!on);
        Opt_61ES.setAllEnabled(!on);
    });
}

void Form_ControlCenter::runEsKeyActions()
{
    if (esKeyOption(controls(), kEsWindow)) {
        guarded(kModule, kProcedure, [&] {
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
        });
    }

    if (esKeyOption(controls(), kEsPlayer)) {
        guarded(kModule, kProcedure, [&] {
            PlayerRemote *player = findPlayer(m_platform.player);
            if (!player) {
                if (m_platform.dialogs)
                    m_platform.dialogs->inform(
                        QStringLiteral("WinAmp muss zuerst gestartet werden,\r\n"
                                       "um ihn auch fernsteuern zu können.\r\n\r\n"
                                       "Falls Sie Winamp3 benutzen dieser wird nicht "
                                       "unterstützt..."));
                return;
            }
            if (Timer_CheckTastenRepeat.isActive()) {
                Timer_CheckTastenRepeat.stop();
                showPlayerAction(
                    controls(), [this](float seconds) { Pause(seconds); }, player,
                    QStringLiteral("Previous"), PlayerRemote::Previous);
            } else {
                // A single press acts only when no second press follows.
                Timer_CheckTastenRepeat.start(kEsKeySecondPress);
            }
        });
    }

    if (esKeyOption(controls(), kEsShell))
        guarded(kModule, kProcedure, [&] { RunShellCommand(); });
}

void Form_ControlCenter::Timer_CheckTastenRepeat_Timer()
{
    guarded(kModule, "Timer_CheckTastenRepeat_Timer", [&] {
        showPlayerAction(
            controls(), [this](float seconds) { Pause(seconds); }, m_platform.player,
            QStringLiteral("Next"), PlayerRemote::Next);
    });
    Timer_CheckTastenRepeat.stop();
}

void Form_ControlCenter::playerRuleMuteOff()
{
    if (!esKeyOption(controls(), kEsPlayer))
        return;
    PlayerRemote *player = findPlayer(m_platform.player);
    if (!player)
        return;
    if (player->status() == PlayerRemote::Stopped) {
        player->postCommand(PlayerRemote::Play);
        Line2->setText(QStringLiteral("Winamp play"));
    }
    if (player->status() == PlayerRemote::Paused) {
        player->postCommand(PlayerRemote::Pause);
        Line2->setText(QStringLiteral("Winamp play"));
    }
}

void Form_ControlCenter::playerRuleMuteOn()
{
    if (!esKeyOption(controls(), kEsPlayer))
        return;
    PlayerRemote *player = findPlayer(m_platform.player);
    if (player && player->status() == PlayerRemote::Playing) {
        player->postCommand(PlayerRemote::Pause);
        Line2->setText(QStringLiteral("Winamp pause"));
    }
}

bool Form_ControlCenter::selectDspFromData(const QString &data)
{
    const int index = DspTable::indexFromData(data);
    if (index < 0)
        return false;
    SetDSPButton(index, 0);
    return true;
}
