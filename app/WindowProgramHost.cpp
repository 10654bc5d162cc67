#include "app/WindowProgramHost.h"

#include "app/ConnectionControl.h"
#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "errors/ErrorGuard.h"
#include "link/ConfigurationBlock.h"
#include "link/ReceiverLink.h"
#include "link/ReceiverModels.h"
#include "program/ProgramValues.h"

#include <QAction>
#include <QLabel>

namespace {
// Errors are reported as the window's, whose these are.
constexpr const char *kModule = "Form_ControlCenter";

int selectedOr(const OptionArray &options, int none)
{
    return options.selected().value_or(none);
}
} // namespace

WindowProgramHost::WindowProgramHost(Form_ControlCenter &window)
    : m_window(window)
{
}

QWidget *WindowProgramHost::shownWindow() const
{
    // In mini mode the mini window stands for the program.
    if (m_window.m_values.MiniMode() && m_window.m_mini)
        return m_window.m_mini;
    return &m_window;
}

ProgramEvents *WindowProgramHost::events()
{
    return &m_window.m_events;
}

ProgramHost::SendResult WindowProgramHost::sendCommand(const QString &code)
{
    if (m_window.m_link->SendCommand(code))
        return SendResult::Sent;
    // A failed write may have closed the port.
    return m_window.m_link->PortOpen() ? SendResult::LinkBusy : SendResult::NotConnected;
}

QString WindowProgramHost::line1() const
{
    return m_window.Line1->text();
}

QString WindowProgramHost::line2() const
{
    return m_window.Line2->text();
}

void WindowProgramHost::setLine2Text(const QString &text)
{
    m_window.Line2->setText(text);
}

ProgramHost::ModelInformation WindowProgramHost::modelInformation() const
{
    ModelInformation info;
    const QString &identification = m_window.m_connection->identification();
    if (identification.isEmpty())
        return info;
    const ConfigurationBlock block(identification);
    info.modelId = block.modelCode();
    info.model = modelName(info.modelId);
    info.version = block.softwareVersion();
    info.returnString = block.withoutFrame();
    return info;
}

void WindowProgramHost::connectReceiver(bool powerOn)
{
    if (!m_window.m_link->PortOpen())
        m_window.ConnectToOrvane(powerOn ? 1 : 0);
    else
        guarded(kModule, "connectReceiver", [&] { m_window.m_link->PowerOn(); });
}

void WindowProgramHost::disconnectReceiver()
{
    if (m_window.m_link->PortOpen())
        m_window.ConnectToOrvane(0);
}

bool WindowProgramHost::isConnected() const
{
    return m_window.m_link->PortOpen();
}

QString WindowProgramHost::readSettings()
{
    QString fixed;
    QString original;
    m_window.m_link->ReadSettings(fixed, &original);
    return original;
}

void WindowProgramHost::showProgram()
{
    guarded(kModule, "showProgram", [&] {
        QWidget *shown = shownWindow();
        shown->setWindowState(shown->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        shown->show();
        shown->raise();
        shown->activateWindow();
    });
}

void WindowProgramHost::hideProgram()
{
    guarded(kModule, "hideProgram", [&] {
        QWidget *shown = shownWindow();
        // Minimised first, so the window state reads "minimised" while it is hidden.
        shown->setWindowState(shown->windowState() | Qt::WindowMinimized);
        shown->hide();
    });
}

bool WindowProgramHost::programVisible() const
{
    return shownWindow()->isVisible();
}

ProgramHost::WindowState WindowProgramHost::windowState() const
{
    const QWidget *shown = shownWindow();
    const Qt::WindowStates state = shown->windowState();
    if (state & Qt::WindowMinimized)
        return Minimized;
    if (state & Qt::WindowMaximized)
        return Maximized;
    return Normal;
}

void WindowProgramHost::showAbout()
{
    m_window.showIntro(true);
}

void WindowProgramHost::quitProgram()
{
    m_window.close();
}

ProgramHost::ReceiverStatus WindowProgramHost::receiverStatus() const
{
    ReceiverStatus status;
    status.connected = m_window.m_link->PortOpen();
    status.power = m_window.m_readings.power;
    status.input = selectedOr(m_window.Opt_Input, 0);
    status.inputMode = selectedOr(m_window.Opt_InputMode, 0);
    status.dspProgram = selectedOr(m_window.Opt_Dsp, -1);
    status.speakersA = selectedOr(m_window.Opt_SpeakersA, -1);
    status.speakersB = selectedOr(m_window.Opt_SpeakersB, -1);
    status.es61 = selectedOr(m_window.Opt_61ES, -1);
    status.sixChInput = selectedOr(m_window.Opt_6ChInput, -1);
    status.mainMute = m_window.Menu_Volume_Mute->isChecked();
    status.zone2Mute = m_window.Menu_Volume_MuteZone2->isChecked();
    status.zone2Mode = m_window.zone2Mode();
    status.mainVolume = m_window.m_readings.mainVolume;
    status.zone2Volume = m_window.m_readings.zone2Volume;
    status.zone2Input = m_window.m_readings.zone2Input;
    status.line1 = m_window.Line1->text();
    status.line2 = m_window.Line2->text();
    return status;
}

QList<ProgramHost::PanelOption> WindowProgramHost::panelOptions(Panel panel) const
{
    const OptionArray &options = panel == Panel::Input ? m_window.Opt_Input
        : panel == Panel::InputMode                    ? m_window.Opt_InputMode
                                                       : m_window.Opt_Dsp;
    QList<PanelOption> result;
    for (int index : options.indices())
        if (!options(index)->property(ConnectionControl::kHiddenForModel).toBool())
            result.append({index, options(index)->text()});
    return result;
}
