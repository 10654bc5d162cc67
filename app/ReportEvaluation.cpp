#include "app/ReportEvaluation.h"

#include "app/MainWindowControls.h"
#include "app/VolumeControl.h"
#include "errors/ErrorGuard.h"
#include "link/HexDigits.h"
#include "link/ReceiverLink.h"
#include "platform/PlayerRemote.h"
#include "platform/UserDialogs.h"
#include "state/DspTable.h"
#include "state/ReceiverReadings.h"
#include "state/ReceiverUpdateScope.h"
#include "state/ReportTables.h"

#include <QAction>
#include <QLabel>
#include <chrono>

namespace {

// Errors are reported as the window's, whose evaluation this is.
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

ReportEvaluation::ReportEvaluation(MainWindowControls &ui, ReceiverLink &link,
                                   VolumeControl &volume, ReceiverReadings &readings,
                                   PlayerRemote *player, UserDialogs *dialogs, Window window)
    : m_ui(ui)
    , m_link(link)
    , m_volume(volume)
    , m_readings(readings)
    , m_player(player)
    , m_dialogs(dialogs)
    , m_window(std::move(window))
{
}

void ReportEvaluation::DatenAuswerten(const QString &body)
{
    const QStringView text(body);
    const QStringView fromCode = text.mid(2); // code and data, characters 3 to the end

    // Volume reports go to the volume display and nowhere else; one whose value is not
    // two hexadecimal digits shows nothing.
    const bool mainVolume = fromCode == u"2600" || text.mid(1, 3) == u"026";
    if (mainVolume || text.mid(1, 3) == u"027") {
        if (const std::optional<int> value = HexDigits::twoDigits(text.mid(4, 2)))
            m_volume.DisplayVolume(
                mainVolume ? VolumeControl::Zone::Main : VolumeControl::Zone::Zone2, *value);
        return;
    }

    ReceiverUpdateScope updating(m_ui.UpdatingFromReceiver);

    // Whole-body reports.
    guarded(kModule, kProcedure, [&] {
        if (text == u"102D00" || text == u"112D00") {
            runEsKeyActions();
        } else if (text == u"202E00" || text == u"202E01") {
            m_ui.Opt_SpeakersA.select(text.back() == u'1' ? 1 : 0);
        } else if (text == u"202F00" || text == u"202F01") {
            m_ui.Opt_SpeakersB.select(text.back() == u'1' ? 1 : 0);
        } else if (text == u"2F000" || text == u"2F001" || text == u"2F002") {
            m_link.SendCommand(body);
            m_ui.Line1->setText(QStringLiteral("RS232 TEST"));
            m_ui.Line2->clear();
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
        if (head != u"1021" && !(zone2 && m_ui.zone2Mode()))
            return;
        if (input != 0)
            m_window.setInputButton(input, 0, zone2 ? 1 : 0);
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
            m_ui.Opt_61ES.select(data == u"01" ? 1 : 0);
        } else if (fromCode == u"2300") {
            m_ui.Menu_Volume_Mute->setChecked(false);
            m_ui.Line1->setText(QStringLiteral("MUTE OFF"));
            m_ui.Line2->clear();
            playerRuleMuteOff();
        } else if (fromCode == u"2301") {
            m_ui.Menu_Volume_Mute->setChecked(true);
            m_ui.Line1->setText(QStringLiteral("MUTE ON"));
            m_ui.Line2->clear();
            playerRuleMuteOn();
        } else if (fromCode == u"2500" || fromCode == u"2501") {
            const bool muted = data == u"01";
            m_ui.Menu_Volume_MuteZone2->setChecked(muted);
            m_ui.Line1->setText(muted ? QStringLiteral("ZONE2 MUTE ON")
                                      : QStringLiteral("ZONE2 MUTE OFF"));
            m_ui.Line2->clear();
        } else if (fromCode == u"3400" || fromCode == u"3401") {
            const bool headphones = data == u"01";
            m_ui.Opt_SpeakersA.setAllEnabled(!headphones);
            m_ui.Opt_SpeakersB.setAllEnabled(!headphones);
            m_ui.Line1->setText(QStringLiteral("Head Phone"));
            m_ui.Line2->setText(headphones ? QStringLiteral("ON") : QStringLiteral("OFF"));
        } else if (fromCode == u"2001") {
            if (!esKeyOption(m_ui, kEsPlayer)) {
                m_ui.Line1->setText(QStringLiteral("POWER ON"));
                m_ui.Line2->clear();
            } else if (PlayerRemote *player = findPlayer(m_player);
                       player && player->status() == PlayerRemote::Playing) {
                player->postCommand(PlayerRemote::NextAlternative);
                player->postCommand(PlayerRemote::NextAlternative);
            }
        } else {
            if (const auto mode = ReportTables::inputMode(fromCode)) {
                m_ui.Opt_InputMode.select(mode->mode);
                // Show the input again with the new mode under it.
                m_window.setInputButton(m_window.selectedInput(), 1, 0);
                m_ui.Line2->setText(mode->text);
                // Within one poll tick only the first such report pauses: a burst would
                // otherwise hold the window half a second per report.
                if (!m_ui.ReportPauseTaken) {
                    m_ui.ReportPauseTaken = m_window.evaluating();
                    m_window.pause(kInputModeTextSeconds);
                }
            } else if (const auto shown = ReportTables::displayText(fromCode)) {
                m_ui.Line1->setText(shown->line1);
                m_ui.Line2->setText(shown->line2);
            }
        }
    });

    // The 6-channel input; input reports of code "21" land here too.
    guarded(kModule, kProcedure, [&] {
        const QStringView sixCh = text.mid(2, 3);
        if (sixCh != u"210" && sixCh != u"211")
            return;
        const bool on = sixCh == u"211";
        m_ui.Opt_6ChInput.select(on ? 1 : 0);
        if (on) {
            m_ui.Line1->clear();
            m_ui.Line2->setText(QStringLiteral("6CH INPUT"));
        }
        // The surround settings do not apply to the 6-channel input.
        m_ui.Opt_Dsp.setAllEnabled(!on);
        m_ui.Opt_InputMode.setAllEnabled(!on);
        m_ui.Opt_61ES.setAllEnabled(!on);
    });
}

void ReportEvaluation::runEsKeyActions()
{
    if (esKeyOption(m_ui, kEsWindow))
        guarded(kModule, kProcedure, [&] { m_window.toggleWindow(); });

    if (esKeyOption(m_ui, kEsPlayer)) {
        guarded(kModule, kProcedure, [&] {
            PlayerRemote *player = findPlayer(m_player);
            if (!player) {
                if (m_dialogs)
                    m_dialogs->inform(
                        tr("WinAmp muss zuerst gestartet werden,") + QStringLiteral("\r\n")
                        + tr("um ihn auch fernsteuern zu können.") + QStringLiteral("\r\n\r\n")
                        + tr("Falls Sie Winamp3 benutzen dieser wird nicht "
                             "unterstützt..."));
                return;
            }
            if (m_ui.Timer_CheckTastenRepeat.isActive()) {
                m_ui.Timer_CheckTastenRepeat.stop();
                showPlayerAction(m_ui, m_window.pause, player, QStringLiteral("Previous"),
                                 PlayerRemote::Previous);
            } else {
                // A single press acts only when no second press follows.
                m_ui.Timer_CheckTastenRepeat.start(kEsKeySecondPress);
            }
        });
    }

    if (esKeyOption(m_ui, kEsShell))
        guarded(kModule, kProcedure, [&] { m_window.runShellCommand(); });
}

void ReportEvaluation::secondPressMissed()
{
    guarded(kModule, "Timer_CheckTastenRepeat_Timer", [&] {
        showPlayerAction(m_ui, m_window.pause, m_player, QStringLiteral("Next"),
                         PlayerRemote::Next);
    });
    m_ui.Timer_CheckTastenRepeat.stop();
}

void ReportEvaluation::playerRuleMuteOff()
{
    if (!esKeyOption(m_ui, kEsPlayer))
        return;
    PlayerRemote *player = findPlayer(m_player);
    if (!player)
        return;
    if (player->status() == PlayerRemote::Stopped) {
        player->postCommand(PlayerRemote::Play);
        m_ui.Line2->setText(QStringLiteral("Winamp play"));
    }
    if (player->status() == PlayerRemote::Paused) {
        player->postCommand(PlayerRemote::Pause);
        m_ui.Line2->setText(QStringLiteral("Winamp play"));
    }
}

void ReportEvaluation::playerRuleMuteOn()
{
    if (!esKeyOption(m_ui, kEsPlayer))
        return;
    PlayerRemote *player = findPlayer(m_player);
    if (player && player->status() == PlayerRemote::Playing) {
        player->postCommand(PlayerRemote::Pause);
        m_ui.Line2->setText(QStringLiteral("Winamp pause"));
    }
}

bool ReportEvaluation::selectDspFromData(const QString &data)
{
    const int index = DspTable::indexFromData(data);
    if (index < 0)
        return false;
    m_window.setDspButton(index, 0);
    return true;
}
