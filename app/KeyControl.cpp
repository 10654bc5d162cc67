#include "app/KeyControl.h"

#include "app/MainWindowControls.h"
#include "app/MediaKeyInput.h"
#include "app/VolumeControl.h"
#include "errors/ErrorGuard.h"
#include "platform/KeyState.h"
#include "platform/PlayerRemote.h"
#include "player/Modul_Winamp.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>
#include <cstdio>

namespace {
// Errors are reported as the window's, whose keys these are.
constexpr const char *kModule = "Form_ControlCenter";
// Virtual-key codes of the global keys.
constexpr int kKeypadPlus = 107;
constexpr int kKeypadMinus = 109;
constexpr int kVolumeMute = 173;
constexpr int kVolumeDown = 174;
constexpr int kVolumeUp = 175;
constexpr int kNextTrack = 176;
constexpr int kPreviousTrack = 177;
constexpr int kStop = 178;
constexpr int kPlayPause = 179;

constexpr const char *kNoGlobalKeys
    = QT_TRANSLATE_NOOP("KeyControl",
                        "Global keys are unavailable on this desktop: only the "
                        "keys of the focused Orvane window work.");
} // namespace

KeyControl::KeyControl(MainWindowControls &ui, QWidget &window, KeyState *keys,
                       PlayerRemote *player, VolumeControl &volume, Window hooks)
    : m_ui(ui)
    , m_window(window)
    , m_keys(keys)
    , m_player(player)
    , m_volume(volume)
    , m_hooks(std::move(hooks))
{
}

void KeyControl::Timer_CheckKeys_Timer()
{
    KeyState *keys = m_keys;
    MediaKeyInput *media = m_mediaKeys;
    if (!media)
        return;
    // A tick that pauses lets events run; presses seen meanwhile wait for the next tick.
    if (m_checkingKeys) {
        m_ui.Timer_CheckKeys.start();
        return;
    }
    m_checkingKeys = true;
    guarded(kModule, "Timer_CheckKeys_Timer", [&] {
        PlayerRemote *player = m_player;
        if (!m_ui.Menu_Extras_MT_Winamp->isChecked() || !Modul_Winamp::FindWinamp(player)) {
            // Presses with no player to drive are dropped, not kept for a later player.
            for (int key : {kStop, kPlayPause, kNextTrack, kPreviousTrack})
                media->wentDown(key);
            return;
        }
        auto show = [this](const QString &text) {
            m_ui.Line1->setText(QString());
            m_ui.Line2->setText(text);
        };
        if (media->wentDown(kStop)
            && Modul_Winamp::WinampGetStatus(player) == PlayerRemote::Playing) {
            Modul_Winamp::WinampSendCommand(player, PlayerRemote::Stop);
            show(QStringLiteral("Winamp stop"));
        }
        if (media->wentDown(kPlayPause)) {
            // The status is the one last reported by the player, so one branch acts.
            if (Modul_Winamp::WinampGetStatus(player) == PlayerRemote::Stopped) {
                Modul_Winamp::WinampSendCommand(player, PlayerRemote::Play);
                show(QStringLiteral("Winamp play"));
            }
            if (Modul_Winamp::WinampGetStatus(player) == PlayerRemote::Playing) {
                Modul_Winamp::WinampSendCommand(player, PlayerRemote::Pause);
                show(QStringLiteral("Winamp pause"));
            }
            if (Modul_Winamp::WinampGetStatus(player) == PlayerRemote::Paused) {
                Modul_Winamp::WinampSendCommand(player, PlayerRemote::Pause);
                show(QStringLiteral("Winamp play"));
            }
        }
        if (media->wentDown(kNextTrack)) {
            Modul_Winamp::WinampSendCommand(player, PlayerRemote::Next);
            show(QStringLiteral("Winamp next"));
            m_hooks.pause(0.5f);
        }
        if (media->wentDown(kPreviousTrack)) {
            Modul_Winamp::WinampSendCommand(player, PlayerRemote::Previous);
            show(QStringLiteral("Winamp prev"));
            m_hooks.pause(0.5f);
        }
    });
    guarded(kModule, "Timer_CheckKeys_Timer", [&] {
        const bool on = m_ui.Menu_Extras_MT_Orvane->isChecked();
        if (media->wentDown(kVolumeDown) && on)
            m_volume.VolDown();
        if (media->wentDown(kVolumeUp) && on)
            m_volume.VolUp();
        if (media->wentDown(kVolumeMute) && on)
            m_volume.Mute(0);
        // The keypad keys act as key events of this window (keyPressEvent).
        if (keys) {
            keys->wentDown(kKeypadPlus);
            keys->wentDown(kKeypadMinus);
        }
    });
    m_checkingKeys = false;
}

bool KeyControl::keyPressed(const QKeyEvent &event)
{
    // One step per press: the held key's repeats are not steps.
    if (!event.modifiers().testFlag(Qt::KeypadModifier) || event.isAutoRepeat())
        return false;
    if (event.key() == Qt::Key_Plus) {
        guarded(kModule, "Timer_CheckKeys_Timer", [&] { m_volume.VolUp(); });
        return true;
    }
    if (event.key() == Qt::Key_Minus) {
        guarded(kModule, "Timer_CheckKeys_Timer", [&] { m_volume.VolDown(); });
        return true;
    }
    return false;
}

void KeyControl::updateKeyWatch()
{
    if (!m_mediaKeys) {
        // A press, global or in a focused window, starts one tick.
        const QPointer<QWidget> window(&m_window);
        QTimer *tick = &m_ui.Timer_CheckKeys;
        m_mediaKeys = new MediaKeyInput(
            m_keys,
            [window, tick] {
                if (window && !tick->isActive())
                    tick->start();
            },
            &m_window);
        if (m_keys) {
            const auto note = m_hooks.note;
            m_keys->whenUnavailable([window, note] {
                const QString text = QCoreApplication::translate("KeyControl", kNoGlobalKeys);
                std::fprintf(stderr, "Orvane: %s\n", qPrintable(text));
                if (window)
                    note(text);
            });
            m_keys->whenNotice([window, note](const QString &text) {
                std::fprintf(stderr, "Orvane: %s\n", qPrintable(text));
                if (window)
                    note(text);
            });
        }
    }
    QList<int> wanted;
    if (m_ui.Menu_Extras_MT_Winamp->isChecked())
        wanted << kStop << kPlayPause << kNextTrack << kPreviousTrack;
    if (m_ui.Menu_Extras_MT_Orvane->isChecked())
        wanted << kVolumeDown << kVolumeUp << kVolumeMute;
    m_mediaKeys->watch(wanted);
    if (wanted.isEmpty())
        m_ui.Timer_CheckKeys.stop();
}
