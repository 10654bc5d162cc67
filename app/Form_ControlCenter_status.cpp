// The receiver state as outside parties read it, and reports evaluated as they arrive.

#include "app/Form_ControlCenter.h"
#include "link/ConfigurationBlock.h"
#include "link/ReceiverLink.h"
#include "state/ReportTables.h"

#include <QAction>
#include <QLabel>

namespace {
int selectedOr(const OptionArray &options, int none)
{
    return options.selected().value_or(none);
}
} // namespace

ProgramHost::ReceiverStatus Form_ControlCenter::receiverStatus() const
{
    ReceiverStatus status;
    status.connected = m_link->PortOpen();
    status.power = m_readings.power;
    status.input = selectedOr(Opt_Input, 0);
    status.inputMode = selectedOr(Opt_InputMode, 0);
    status.dspProgram = selectedOr(Opt_Dsp, -1);
    status.speakersA = selectedOr(Opt_SpeakersA, -1);
    status.speakersB = selectedOr(Opt_SpeakersB, -1);
    status.es61 = selectedOr(Opt_61ES, -1);
    status.sixChInput = selectedOr(Opt_6ChInput, -1);
    status.mainMute = Menu_Volume_Mute->isChecked();
    status.zone2Mute = Menu_Volume_MuteZone2->isChecked();
    status.zone2Mode = zone2Mode();
    status.mainVolume = m_readings.mainVolume;
    status.zone2Volume = m_readings.zone2Volume;
    status.zone2Input = m_readings.zone2Input;
    status.line1 = Line1->text();
    status.line2 = Line2->text();
    return status;
}

QList<ProgramHost::PanelOption> Form_ControlCenter::panelOptions(Panel panel) const
{
    const OptionArray &options = panel == Panel::Input ? Opt_Input
        : panel == Panel::InputMode                    ? Opt_InputMode
                                                       : Opt_Dsp;
    QList<PanelOption> result;
    for (int index : options.indices())
        if (!options(index)->property(ConnectionControl::kHiddenForModel).toBool())
            result.append({index, options(index)->text()});
    return result;
}

void Form_ControlCenter::noteSettingsBlock()
{
    const ConfigurationBlock block(SettingsBlock);
    if (!block.isFramed())
        return;
    m_readings.power = !block.inStandby();
    if (const auto digit = block.hexDigitAt(7))
        m_readings.zone2Input = ReportTables::inputFromBlockDigit(*digit);
}

void Form_ControlCenter::watchLink()
{
    // A report is evaluated as soon as the link has read it, as the poll would. While
    // not connected (during the connection procedure) the reports wait: the connection
    // decides what becomes of them.
    connect(m_link, &ReceiverLink::reportsReady, this, [this] {
        if (Timer_Check.isActive())
            evaluateReceived("Timer_Check_Timer");
    });
    const auto tellLink = [this] {
        m_link->setTrafficLog(Menu_Setup_Debug->isChecked(), Menu_Setup_Log->isChecked());
    };
    connect(Menu_Setup_Debug, &QAction::toggled, this, tellLink);
    connect(Menu_Setup_Log, &QAction::toggled, this, tellLink);
    tellLink();
}
