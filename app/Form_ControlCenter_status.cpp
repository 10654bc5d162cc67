// Receiver state outside the controls, and reports evaluated as they arrive.

#include "app/Form_ControlCenter.h"
#include "link/ConfigurationBlock.h"
#include "link/ReceiverLink.h"
#include "state/ReportTables.h"

#include <QAction>
#include <QLabel>

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
