#pragma once

#include <QString>
#include <QWidget>
#include <chrono>

class Command;
class LinkHost;
class QLineEdit;
class QPlainTextEdit;
class SerialPort;
class UserDialogs;

// The link window: owns the serial port and is the only code that touches it.
// Hidden unless shown as the COM terminal. Every operation is bounded: a closed or
// busy port makes it do nothing, and answers are awaited at most kAnswerWait.
class Form_Com : public QWidget
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kAnswerWait {800};
    static constexpr std::chrono::milliseconds kResetWait {2000};

    Form_Com(SerialPort *port, LinkHost *host, UserDialogs *dialogs, QWidget *parent = nullptr);
    ~Form_Com() override;

    // Port number (COM n) used by the next open.
    int CommPort() const { return m_commPort; }
    void setCommPort(int portNumber) { m_commPort = portNumber; }
    bool PortOpen() const;
    // Opens the port; throws OrvaneError when it cannot be opened.
    void OpenPort();
    void ClosePort();

    // The busy flag: true while a link operation uses the port.
    bool LinkBusy() const { return m_linkBusy; }
    void setLinkBusy(bool busy) { m_linkBusy = busy; }

    // Whether the program is ending (the terminal then closes for real).
    void setAppClosing(bool closing) { m_appClosing = closing; }

    // Link operations.
    void SendCommand(const QString &code, int RefreshSettings = 0);
    void ReadPort(QString &Puffer, bool Direct = false);
    void ClearComPuffer(QString *Puffer = nullptr);
    void ReadSettings(QString &stSettings, QString *stSettingsOrginal = nullptr);
    void ReConnect();
    void ResetOrvane(QString *Ret = nullptr);
    void SendMessage(QString &Message);
    void DebugLog(const QString &Puffer, bool Send = false);

    // Removes the "@E01900" marker some receivers put at the start of the block's data
    // and lowers the length field by its 7 characters; other blocks come back unchanged.
    static QString fixSettingsQuirk(const QString &block);

    // Report control.
    void ReportCommandEnable();
    void ReportCommandDisable();
    void ReportCommandTimeRealTime();
    void ReportCommandTime50ms();
    void ReportCommandTime100ms();
    void ReportCommandTime150ms();
    void ReportCommandTime200ms();
    void ReportCommandTime250ms();
    void ReportCommandTime300ms();
    void ReportCommandTime350ms();

    // Inputs, main zone.
    void InputCd(QString *Ret = nullptr);
    void InputTuner(QString *Ret = nullptr);
    void InputTape(QString *Ret = nullptr);
    void InputCDR(QString *Ret = nullptr);
    void InputMd(QString *Ret = nullptr);
    void InputLd(QString *Ret = nullptr);
    void InputDvd(QString *Ret = nullptr);
    void InputDTv(QString *Ret = nullptr);
    void InputCblSat(QString *Ret = nullptr);
    void InputVcr1(QString *Ret = nullptr);
    void InputVcr2(QString *Ret = nullptr);
    void InputVcr3(QString *Ret = nullptr);
    void InputVAux(QString *Ret = nullptr);
    void InputPhono(QString *Ret = nullptr);

    // Inputs, zone 2 (each takes a fresh settings block first).
    void Zone2InputCd(QString *Ret = nullptr);
    void Zone2InputTuner(QString *Ret = nullptr);
    void Zone2InputTape(QString *Ret = nullptr);
    void Zone2InputCDR(QString *Ret = nullptr);
    void Zone2InputMd(QString *Ret = nullptr);
    void Zone2InputLd(QString *Ret = nullptr);
    void Zone2InputDvd(QString *Ret = nullptr);
    void Zone2InputDTv(QString *Ret = nullptr);
    void Zone2InputCblSat(QString *Ret = nullptr);
    void Zone2InputVcr1(QString *Ret = nullptr);
    void Zone2InputVcr2(QString *Ret = nullptr);
    void Zone2InputVcr3(QString *Ret = nullptr);
    void Zone2InputVAux(QString *Ret = nullptr);
    void Zone2InputPhono(QString *Ret = nullptr);

    // Other operation commands (send only).
    void Input6ChOn(QString *Ret = nullptr);
    void Input6ChOff(QString *Ret = nullptr);
    void InputModeAuto(QString *Ret = nullptr);
    void InputModeDD(QString *Ret = nullptr);
    void InputModeDTS(QString *Ret = nullptr);
    void InputModeDigital(QString *Ret = nullptr);
    void InputModeAnalog(QString *Ret = nullptr);
    void SpeakersAOn(QString *Ret = nullptr);
    void SpeakersAOff(QString *Ret = nullptr);
    void SpeakersBOn(QString *Ret = nullptr);
    void SpeakersBOff(QString *Ret = nullptr);
    void SleepTimerOff(QString *Ret = nullptr);
    void SleepTimer120(QString *Ret = nullptr);
    void SleepTimer90(QString *Ret = nullptr);
    void SleepTimer60(QString *Ret = nullptr);
    void SleepTimer30(QString *Ret = nullptr);
    void Dsp61ESOn(QString *Ret = nullptr);
    void Dsp61ESOff(QString *Ret = nullptr);
    void DspSurroundNormal(QString *Ret = nullptr);
    void DspSurroundEnhanced(QString *Ret = nullptr);
    void DspEffectOff(QString *Ret = nullptr);
    void MasterVolMuteOn(QString *Ret = nullptr);
    void MasterVolMuteOff(QString *Ret = nullptr);
    void Zone2VolMuteOn(QString *Ret = nullptr);
    void Zone2VolMuteOff(QString *Ret = nullptr);
    void PowerOff(QString *Ret = nullptr);

    // Volume steps: the plain members send and read the answer, "Fast" only sends.
    void MasterVolUp(QString *Ret = nullptr);
    void MasterVolUpFast();
    void MasterVolDown(QString *Ret = nullptr);
    void MasterVolDownFast();
    void Zone2VolUp(QString *Ret = nullptr);
    void Zone2VolUpFast();
    void Zone2VolDown(QString *Ret = nullptr);
    void Zone2VolDownFast();

    // Composite members.
    void PowerOn(QString *Ret = nullptr);
    void VolumeSave(const QString &Bank, QString *Ret = nullptr);
    void VolumeLoad(const QString &Bank, QString *Ret = nullptr);

    // Terminal controls (the window shown by "Debug View").
    QPlainTextEdit *Text_Com = nullptr;
    QLineEdit *Text_send = nullptr;
    Command *cmd_send = nullptr;
    Command *cmd_copy = nullptr;
    Command *cmd_clear = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTerminal();
    void cmd_send_Click();
    void cmd_copy_Click();
    void cmd_clear_Click();
    void onPortLost(const QString &reason);
    // Waits while letting events run; returns early when the port has gone.
    void pause(std::chrono::milliseconds duration);
    // One short wait with events running; wakes on new data, the port's loss or `limit`.
    void waitForEvents(std::chrono::milliseconds limit);
    qint64 waitingBytes();
    void writeFrame(const QByteArray &frame);
    void sendAndRead(const QString &code, QString *Ret);

    SerialPort *m_port;
    LinkHost *m_host;
    UserDialogs *m_dialogs;
    int m_commPort = 1;
    bool m_linkBusy = false;
    bool m_appClosing = false;
    // Changes whenever the port is opened, closed or lost, so a wait notices.
    quint64 m_portEpoch = 0;
    // Characters in the listing, counting each line end as CR LF.
    qsizetype m_listingChars = 0;
};
