// Volume display and steps, mute, the volume memories, sleep, the power toggle and
// the way into the mini window. Volume and power are not kept anywhere but on the
// display: it shows what the receiver last reported.

#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "errors/ErrorGuard.h"
#include "link/ConfigurationBlock.h"
#include "link/ReceiverLink.h"
#include "link/ReceiverVocabulary.h"
#include "platform/UserDialogs.h"
#include "program/ProgramValues.h"
#include "state/VolumeText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace {

constexpr const char *kModule = "Form_ControlCenter";
constexpr int kPowerAttempts = 5;
constexpr float kPowerRetryPause = 0.5f;
constexpr int kFirstMemoryKey = 115; // F4
constexpr int kLastMemoryKey = 120; // F9
constexpr int kMuteKey = 123; // F12

using ReceiverVocabulary::Zone;

} // namespace

void Form_ControlCenter::DisplayVolume(VolumeZone zone, int value)
{
    guarded(kModule, "DisplayVolume", [&] {
        if (zone == VolumeZone::Main) {
            m_readings.mainVolume = value;
            const double decibels = VolumeText::mainDecibels(value);
            const QString text
                = QStringLiteral("VOLUME ") + VolumeText::text(decibels) + QStringLiteral("dB");
            // Repeated reports of the same volume redraw nothing and tell no one.
            if (Line1->text() == text)
                return;
            Line1->setText(text);
            Line2->setText(VolumeText::bar(decibels));
            // The mini window's bar and the add-ins follow this event.
            emit m_events.volumeMainShown(float(decibels));
        } else {
            m_readings.zone2Volume = value;
            const double decibels = VolumeText::zone2Decibels(value);
            Line1->setText(QStringLiteral("ZONE2 VOL. ") + VolumeText::text(decibels)
                           + QStringLiteral("dB"));
            Line2->setText(VolumeText::bar(decibels));
            emit m_events.volumeZone2Shown(float(decibels));
        }
    });
    emit m_events.receiverStatusChanged();
}

// The reply of a step is the receiver's volume report. The link has cut it with
// everything else it read; it is shown at once, with the reports before it.
void Form_ControlCenter::VolUp()
{
    guarded(kModule, "VolUp", [&] {
        ReceiverVocabulary::stepVolumeAnswered(*m_link, zone2Mode() ? Zone::Zone2 : Zone::Main,
                                               true);
    });
    evaluateReceived("VolUp");
}

void Form_ControlCenter::VolDown()
{
    guarded(kModule, "VolDown", [&] {
        ReceiverVocabulary::stepVolumeAnswered(*m_link, zone2Mode() ? Zone::Zone2 : Zone::Main,
                                               false);
    });
    evaluateReceived("VolDown");
}

void Form_ControlCenter::Mute(int Zone)
{
    guarded(kModule, "Mute", [&] {
        if (Zone == 0)
            Zone = zone2Mode() ? 2 : 1;
        // The check marks follow the receiver's mute report, not this command.
        if (Zone == 1)
            ReceiverVocabulary::setSwitch(*m_link, ReceiverVocabulary::Switch::MainMute,
                                          !Menu_Volume_Mute->isChecked());
        else if (Zone == 2)
            ReceiverVocabulary::setSwitch(*m_link, ReceiverVocabulary::Switch::Zone2Mute,
                                          !Menu_Volume_MuteZone2->isChecked());
    });
}

void Form_ControlCenter::Image_VolUP_MouseDown(Qt::MouseButton button)
{
    guarded(kModule, "Image_VolUP_MouseDown", [&] {
        if (button == Qt::RightButton)
            Mute(0);
        else
            startRepeat(QStringLiteral("UP"));
    });
}

void Form_ControlCenter::Image_VolUP_MouseUp(Qt::MouseButton)
{
    guarded(kModule, "Image_VolUP_MouseUp", [&] { stopRepeat(); });
}

void Form_ControlCenter::Image_VolDOWN_MouseDown(Qt::MouseButton button)
{
    guarded(kModule, "Image_VolDOWN_MouseDown", [&] {
        if (button == Qt::RightButton)
            Mute(0);
        else
            startRepeat(QStringLiteral("DOWN"));
    });
}

void Form_ControlCenter::Image_VolDOWN_MouseUp(Qt::MouseButton)
{
    guarded(kModule, "Image_VolDOWN_MouseUp", [&] { stopRepeat(); });
}

void Form_ControlCenter::startRepeat(const QString &tag)
{
    Timer_RePressKey_Tag = tag;
    Timer_RePressKey.start();
}

void Form_ControlCenter::stopRepeat()
{
    Timer_RePressKey.stop();
}

// One step per tick. A step waits for the receiver's answer with events running, so
// ticks arrive during that wait; the link is busy then and they send nothing, which
// keeps the line at one frame per step however slow the receiver is.
void Form_ControlCenter::Timer_RePressKey_Timer()
{
    guarded(kModule, "Timer_RePressKey_Timer", [&] {
        if (Timer_RePressKey_Tag == QLatin1String("UP"))
            VolUp();
        else if (Timer_RePressKey_Tag == QLatin1String("DOWN"))
            VolDown();
    });
}

void Form_ControlCenter::Menu_Volume_Mute_Click()
{
    guarded(kModule, "Menu_Volume_Mute_Click", [&] { Mute(1); });
}

void Form_ControlCenter::Menu_Volume_MuteZone2_Click()
{
    guarded(kModule, "Menu_Volume_MuteZone2_Click", [&] { Mute(2); });
}

void Form_ControlCenter::Menu_Volume_Save_Click(int index)
{
    const QString letter = ReceiverVocabulary::memoryLetter(index);
    if (letter.isEmpty())
        return;
    guarded(kModule, "Menu_Volume_Save_Click",
            [&] { ReceiverVocabulary::saveMemory(*m_link, index); });
    guarded(kModule, "Menu_Volume_Save_Click", [&] {
        Line1->setText(QStringLiteral("Save Volume ") + letter);
        Line2->clear();
    });
}

void Form_ControlCenter::Menu_Volume_Load_Click(int index)
{
    const QString letter = ReceiverVocabulary::memoryLetter(index);
    if (letter.isEmpty())
        return;
    guarded(kModule, "Menu_Volume_Load_Click",
            [&] { ReceiverVocabulary::recallMemory(*m_link, index); });
    guarded(kModule, "Menu_Volume_Load_Click", [&] {
        Line1->setText(QStringLiteral("Volume ") + letter);
        Line2->clear();
    });
}

void Form_ControlCenter::Menu_MiniPopUp_Volume_Load_Click(int index)
{
    const QString letter = ReceiverVocabulary::memoryLetter(index);
    if (letter.isEmpty())
        return;
    guarded(kModule, "Menu_MiniPopUp_Volume_Load_Click",
            [&] { ReceiverVocabulary::recallMemory(*m_link, index); });
    guarded(kModule, "Menu_MiniPopUp_Volume_Load_Click", [&] {
        Line1->setText(QStringLiteral("Volume ") + letter);
        Line2->clear();
    });
}

void Form_ControlCenter::Menu_MiniPopUp_Mute_Click()
{
    guarded(kModule, "Menu_MiniPopUp_Mute_Click", [&] { Mute(0); });
}

// The display follows the receiver's sleep report.
void Form_ControlCenter::Menu_Sleep_Click(int minutes)
{
    guarded(kModule, "Menu_Sleep_Click", [&] { ReceiverVocabulary::setSleep(*m_link, minutes); });
}

// The receiver's configuration block tells whether it is on: in standby it carries
// only the leading data characters.
void Form_ControlCenter::Label_Standby_Click()
{
    guarded(kModule, "Label_Standby_Click", [&] {
        for (int attempt = 0; attempt < kPowerAttempts; ++attempt) {
            m_link->ReadSettings(SettingsBlock);
            if (!SettingsBlock.isEmpty())
                break;
            Pause(kPowerRetryPause);
        }
    });
    guarded(kModule, "Label_Standby_Click", [&] {
        const ConfigurationBlock block(SettingsBlock);
        if (!block.isFramed() || block.dataAt(1) != QLatin1Char('0'))
            return;
        if (block.carriesFullData()) {
            m_link->PowerOff();
        } else {
            // PowerOn keeps the receiver's fresh block as the snapshot.
            m_link->PowerOn();
            SetSettings();
        }
    });
}

void Form_ControlCenter::Menu_MiniPopUp_POWER_Click()
{
    Label_Standby_Click();
}

void Form_ControlCenter::Menu_Mini_Click()
{
    guarded(kModule, "Menu_Mini_Click", [&] {
        if (!m_link->PortOpen()) {
            m_platform.dialogs->inform(QStringLiteral("Connect first !"));
            return;
        }
        m_values.setMiniMode(true);
        hide();
        m_mini->show();
    });
}

void Form_ControlCenter::showMiniPopUp(const QPoint &globalPosition)
{
    Menu_MiniPopUp_Zone2->setChecked(Menu_Mode_Zone2->isChecked());
    Menu_MiniPopUp->popup(globalPosition);
}

void Form_ControlCenter::showMainWindow()
{
    show();
}

void Form_ControlCenter::CheckKey(int keyCode)
{
    if (keyCode >= kFirstMemoryKey && keyCode <= kLastMemoryKey)
        Menu_Volume_Load_Click(keyCode - kFirstMemoryKey + 1);
    else if (keyCode == kMuteKey)
        Mute(0);
}
