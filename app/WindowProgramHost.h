#pragma once

#include "program/ProgramHost.h"

class Form_ControlCenter;
class QWidget;

// The main window as the features see it: its display lines, the receiver's state on
// its controls, the connection, whether it (or the mini window in mini mode) is shown,
// the about window and the end of the program. The window owns one.
class WindowProgramHost final : public ProgramHost
{
public:
    explicit WindowProgramHost(Form_ControlCenter &window);

    SendResult sendCommand(const QString &code) override;
    QString line1() const override;
    QString line2() const override;
    void setLine2Text(const QString &text) override;
    ModelInformation modelInformation() const override;
    ReceiverStatus receiverStatus() const override;
    QList<PanelOption> panelOptions(Panel panel) const override;
    void connectReceiver(bool powerOn) override;
    void disconnectReceiver() override;
    bool isConnected() const override;
    QString readSettings() override;
    void showProgram() override;
    void hideProgram() override;
    bool programVisible() const override;
    WindowState windowState() const override;
    void showAbout() override;
    void quitProgram() override;
    ProgramEvents *events() override;

private:
    // The window that stands for the program: the mini window in mini mode.
    QWidget *shownWindow() const;

    Form_ControlCenter &m_window;
};
