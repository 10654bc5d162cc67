#include "program/ProgramHost.h"

ProgramHost::~ProgramHost() = default;

ProgramHost::ReceiverStatus ProgramHost::receiverStatus() const
{
    return {};
}

QList<ProgramHost::PanelOption> ProgramHost::panelOptions(Panel) const
{
    return {};
}
