#include "app/VolumeControl.h"

#include "app/MainWindowControls.h"
#include "errors/ErrorGuard.h"
#include "link/ConfigurationBlock.h"
#include "link/ReceiverLink.h"
#include "link/ReceiverVocabulary.h"
#include "program/ProgramEvents.h"
#include "state/ReceiverReadings.h"
#include "state/VolumeText.h"

#include <QAction>
#include <QLabel>

namespace {

// Errors are reported as the window's, whose handlers these are.
constexpr const char *kModule = "Form_ControlCenter";
constexpr int kPowerAttempts = 5;
constexpr float kPowerRetryPause = 0.5f;
constexpr int kFirstMemoryKey = 115; // F4
constexpr int kLastMemoryKey = 120; // F9
constexpr int kMuteKey = 123; // F12

} // namespace

VolumeControl::VolumeControl(MainWindowControls &ui, ReceiverLink &link, ProgramEvents &events,
                             ReceiverReadings &readings, Window window)
    : m_ui(ui)
    , m_link(link)
    , m_events(events)
    , m_readings(readings)
    , m_window(std::move(window))
{
}

void VolumeControl::DisplayVolume(Zone zone, int value)
{
    guarded(kModule, "DisplayVolume", [&] {
        if (zone == Zone::Main) {
            m_readings.mainVolume = value;
            const double decibels = VolumeText::mainDecibels(value);
            const QString text
                = QStringLiteral("VOLUME ") + VolumeText::text(decibels) + QStringLiteral("dB");
            // Repeated reports of the same volume redraw nothing and tell no one.
            if (m_ui.Line1->text() == text)
                return;
            m_ui.Line1->setText(text);
            m_ui.Line2->setText(VolumeText::bar(decibels));
            // The mini window's bar and the add-ins follow this event.
            emit m_events.volumeMainShown(float(decibels));
        } else {
            m_readings.zone2Volume = value;
            const double decibels = VolumeText::zone2Decibels(value);
            m_ui.Line1->setText(QStringLiteral("ZONE2 VOL. ") + VolumeText::text(decibels)
                                + QStringLiteral("dB"));
            m_ui.Line2->setText(VolumeText::bar(decibels));
            emit m_events.volumeZone2Shown(float(decibels));
        }
    });
    emit m_events.receiverStatusChanged();
}

// The reply of a step is the receiver's volume report. The link has cut it with
// everything else it read; it is shown at once, with the reports before it.
void VolumeControl::VolUp()
{
    guarded(kModule, "VolUp", [&] {
        ReceiverVocabulary::stepVolumeAnswered(m_link,
                                               m_ui.zone2Mode() ? ReceiverVocabulary::Zone::Zone2
                                                                : ReceiverVocabulary::Zone::Main,
                                               true);
    });
    m_window.evaluate("VolUp");
}

void VolumeControl::VolDown()
{
    guarded(kModule, "VolDown", [&] {
        ReceiverVocabulary::stepVolumeAnswered(m_link,
                                               m_ui.zone2Mode() ? ReceiverVocabulary::Zone::Zone2
                                                                : ReceiverVocabulary::Zone::Main,
                                               false);
    });
    m_window.evaluate("VolDown");
}

void VolumeControl::Mute(int zone)
{
    guarded(kModule, "Mute", [&] {
        if (zone == 0)
            zone = m_ui.zone2Mode() ? 2 : 1;
        // The check marks follow the receiver's mute report, not this command.
        if (zone == 1)
            ReceiverVocabulary::setSwitch(m_link, ReceiverVocabulary::Switch::MainMute,
                                          !m_ui.Menu_Volume_Mute->isChecked());
        else if (zone == 2)
            ReceiverVocabulary::setSwitch(m_link, ReceiverVocabulary::Switch::Zone2Mute,
                                          !m_ui.Menu_Volume_MuteZone2->isChecked());
    });
}

void VolumeControl::buttonDown(Qt::MouseButton button, const QString &tag, const char *procedure)
{
    guarded(kModule, procedure, [&] {
        if (button == Qt::RightButton)
            Mute(0);
        else
            startRepeat(tag);
    });
}

void VolumeControl::buttonUp(const char *procedure)
{
    guarded(kModule, procedure, [&] { stopRepeat(); });
}

void VolumeControl::startRepeat(const QString &tag)
{
    m_ui.Timer_RePressKey_Tag = tag;
    m_ui.Timer_RePressKey.start();
}

void VolumeControl::stopRepeat()
{
    m_ui.Timer_RePressKey.stop();
}

// One step per tick. A step waits for the receiver's answer with events running, so
// ticks arrive during that wait; the link is busy then and they send nothing, which
// keeps the line at one frame per step however slow the receiver is.
void VolumeControl::repeatTick()
{
    guarded(kModule, "Timer_RePressKey_Timer", [&] {
        if (m_ui.Timer_RePressKey_Tag == QLatin1String("UP"))
            VolUp();
        else if (m_ui.Timer_RePressKey_Tag == QLatin1String("DOWN"))
            VolDown();
    });
}

void VolumeControl::saveMemory(int index)
{
    const QString letter = ReceiverVocabulary::memoryLetter(index);
    if (letter.isEmpty())
        return;
    guarded(kModule, "Menu_Volume_Save_Click",
            [&] { ReceiverVocabulary::saveMemory(m_link, index); });
    guarded(kModule, "Menu_Volume_Save_Click", [&] {
        m_ui.Line1->setText(QStringLiteral("Save Volume ") + letter);
        m_ui.Line2->clear();
    });
}

void VolumeControl::loadMemory(int index, const char *procedure)
{
    const QString letter = ReceiverVocabulary::memoryLetter(index);
    if (letter.isEmpty())
        return;
    guarded(kModule, procedure, [&] { ReceiverVocabulary::recallMemory(m_link, index); });
    guarded(kModule, procedure, [&] {
        m_ui.Line1->setText(QStringLiteral("Volume ") + letter);
        m_ui.Line2->clear();
    });
}

// The display follows the receiver's sleep report.
void VolumeControl::setSleep(int minutes)
{
    guarded(kModule, "Menu_Sleep_Click", [&] { ReceiverVocabulary::setSleep(m_link, minutes); });
}

// The receiver's configuration block tells whether it is on: in standby it carries
// only the leading data characters.
void VolumeControl::togglePower()
{
    QString &block = m_ui.SettingsBlock;
    guarded(kModule, "Label_Standby_Click", [&] {
        for (int attempt = 0; attempt < kPowerAttempts; ++attempt) {
            m_link.ReadSettings(block);
            if (!block.isEmpty())
                break;
            m_window.pause(kPowerRetryPause);
        }
    });
    guarded(kModule, "Label_Standby_Click", [&] {
        const ConfigurationBlock settings(block);
        if (!settings.isFramed() || settings.dataAt(1) != QLatin1Char('0'))
            return;
        if (settings.carriesFullData()) {
            m_link.PowerOff();
        } else {
            // PowerOn keeps the receiver's fresh block as the snapshot.
            m_link.PowerOn();
            m_window.showSettings();
        }
    });
}

void VolumeControl::CheckKey(int keyCode)
{
    if (keyCode >= kFirstMemoryKey && keyCode <= kLastMemoryKey)
        loadMemory(keyCode - kFirstMemoryKey + 1, "Menu_Volume_Load_Click");
    else if (keyCode == kMuteKey)
        Mute(0);
}
