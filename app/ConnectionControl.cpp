#include "app/ConnectionControl.h"

#include "app/MainWindowControls.h"
#include "errors/ErrorGuard.h"
#include "errors/Form_ErrBox.h"
#include "link/ConfigurationBlock.h"
#include "link/Form_YInfo.h"
#include "link/ReceiverLink.h"
#include "link/ReceiverModels.h"
#include "platform/SerialDeviceNames.h"
#include "platform/Shell.h"
#include "platform/UserDialogs.h"
#include "program/ProgramEvents.h"
#include "state/ReceiverReadings.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <cstdio>
#include <source_location>

namespace {
// Errors are reported as the window's, whose handlers these are.
constexpr const char *kModule = "Form_ControlCenter";
constexpr int kConnectAttempts = 4;

// What a connect tried: "Connect on Com 1 (/dev/ttyUSB0)".
QString connectAttempt(SettingsStore *settings, int port)
{
    QString text = ConnectionControl::tr("Connect on Com %1").arg(port);
    if (settings)
        text += QStringLiteral(" (%1)").arg(serialDeviceForPort(*settings, port));
    return text;
}
} // namespace

ConnectionControl::ConnectionControl(MainWindowControls &ui, ReceiverLink &link,
                                     ProgramEvents &events, ReceiverReadings &readings,
                                     SettingsStore *settings, UserDialogs *dialogs, Shell *shell,
                                     Window window)
    : m_ui(ui)
    , m_link(link)
    , m_events(events)
    , m_readings(readings)
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_shell(shell)
    , m_window(std::move(window))
{
}

void ConnectionControl::ConnectToOrvane(int Sw1)
{
    // The message names the line of this procedure that failed, not a line of the port's
    // code: the line of each step that can throw is noted before it runs.
    std::uint_least32_t step = 0;
    try {
        if (!m_link.PortOpen()) {
            m_link.setLinkBusy(false);
            // Opening a network bridge can take seconds: the display says what goes on.
            m_ui.Line1->setText(QStringLiteral("Connecting"));
            m_ui.Line2->clear();
            step = std::source_location::current().line();
            m_link.OpenPort();
            step = 0;

            // A block from an earlier connection must not pass for an answer.
            m_ui.SettingsBlock.clear();
            for (int attempt = 1; attempt <= kConnectAttempts; ++attempt) {
                m_ui.Line1->setText(QStringLiteral("Connecting"));
                m_ui.Line2->setText(QString(attempt, QLatin1Char('.')));
                m_link.ClearComPuffer();
                m_link.ReadSettings(m_ui.SettingsBlock);
                if (!m_ui.SettingsBlock.isEmpty())
                    break;
                // The port may have gone while waiting.
                if (!m_link.PortOpen())
                    break;
            }
            if (m_ui.SettingsBlock.isEmpty()) {
                // The display says only "Error": the terminal and the error output say what
                // was tried and why it failed.
                const QString why = m_link.PortOpen()
                    ? tr("no answer from the receiver to %1 requests for its settings; is it "
                         "switched on and its cable plugged in?")
                          .arg(kConnectAttempts)
                    : tr("the port was lost while waiting for the receiver");
                const QString note
                    = connectAttempt(m_settings, m_link.CommPort()) + QStringLiteral(": ") + why;
                std::fprintf(stderr, "Orvane: %s\n", qPrintable(note));
                m_window.note(note);
                closeConnection(QStringLiteral("Connect"), QStringLiteral("Error"), false);
                return;
            }

            SetMenu(true);
            const ConfigurationBlock block(m_ui.SettingsBlock);
            const QString modelCode = block.modelCode();
            const QString version = block.softwareVersion();
            m_ui.Line1->setText(QStringLiteral("Connected"));
            m_ui.Line2->setText(modelCode + QStringLiteral(" Softv.") + version);

            m_identification = m_ui.SettingsBlock;
            Form_YInfo *info = m_window.info();
            info->text_modell->setText(modelName(modelCode));
            info->text_modellid->setText(modelCode);
            info->text_softwareversion->setText(version);
            info->text_YString->setText(block.withoutFrame());

            SetInputButtonVisible(modelCode);
            m_readings.clear();
            m_window.noteSettingsBlock();
            if (block.inStandby() && Sw1 == 1)
                m_link.PowerOn();
            m_window.showSettings();
            m_ui.Menu_Connect->setText(tr("Disconnect"));
            m_link.ReportCommandEnable();
            for (int i = 0; i <= 7; ++i)
                if (m_ui.Menu_Setup_ReportTime(i)->isChecked())
                    sendReportTime(i);
            // What the receiver reported while connecting is older than the block the
            // panels now show.
            m_link.takeReports();
            m_ui.Timer_Check.start();
            m_connected = true;
            emit m_events.connectedChanged(true);
            emit m_events.receiverStatusChanged();
        } else {
            step = std::source_location::current().line();
            closeConnection(QStringLiteral("Connection"), QStringLiteral("closed"));
        }
    } catch (const std::exception &e) {
        // Opening a port that does not exist or is in use lands here: the procedure
        // tells the user itself and leaves the program disconnected.
        int number = OrvaneError::kInvalidArgument;
        QString description = QString::fromLocal8Bit(e.what());
        int line = 0;
        if (const auto *error = dynamic_cast<const OrvaneError *>(&e)) {
            number = error->number();
            description = error->description();
            line = reportedLine(*error, std::source_location::current());
        }
        if (step != 0)
            line = int(step);
        // The port's own words say why: not found, refused, permission denied, in use.
        m_window.note(
            tr("%1 failed: %2").arg(connectAttempt(m_settings, m_link.CommPort()), description));
        // An outside program's connect answers at once: its failure waits in the error
        // box's queue instead of a message box that holds the call.
        if (ErrorsWithoutWaiting::active()) {
            ShowErrBox(QStringLiteral("ConnectToOrvane"), QString::fromLatin1(kModule), number,
                       description, line);
            closeConnection(QStringLiteral("Comport Error"), QString());
            return;
        }
        UserDialogs::Message message;
        message.text = QStringLiteral("%1 - %2 (%3)").arg(number).arg(description).arg(line);
        message.icon = UserDialogs::Icon::Exclamation;
        m_dialogs->messageBox(message);
        closeConnection(QStringLiteral("Comport Error"), QString());
    }
}

void ConnectionControl::closeConnection(const QString &line1, const QString &line2,
                                        bool resetCaption)
{
    ignoringErrors([&] {
        if (m_link.PortOpen())
            m_link.ClosePort();
    });
    ignoringErrors([&] { SetMenu(false); });
    if (resetCaption)
        m_ui.Menu_Connect->setText(tr("Connect"));
    m_ui.Timer_Check.stop();
    m_window.stopRepeat();
    m_ui.UpdatingFromReceiver = false;
    m_link.setLinkBusy(false);
    m_ui.Line1->setText(line1);
    m_ui.Line2->setText(line2);
    if (m_connected) {
        m_connected = false;
        emit m_events.connectedChanged(false);
        emit m_events.receiverStatusChanged();
    }
}

void ConnectionControl::sendReportTime(int index)
{
    using Member = void (ReceiverLink::*)();
    static constexpr Member kReportTimes[]
        = {&ReceiverLink::ReportCommandTimeRealTime, &ReceiverLink::ReportCommandTime50ms,
           &ReceiverLink::ReportCommandTime100ms,    &ReceiverLink::ReportCommandTime150ms,
           &ReceiverLink::ReportCommandTime200ms,    &ReceiverLink::ReportCommandTime250ms,
           &ReceiverLink::ReportCommandTime300ms,    &ReceiverLink::ReportCommandTime350ms};
    if (index < 0 || index >= int(std::size(kReportTimes)))
        return;
    ReceiverLink *com = &m_link;
    const Member member = kReportTimes[index];
    (com->*member)();
}

void ConnectionControl::SetMenu(bool enabled)
{
    guarded(kModule, "SetMenu", [&] {
        m_ui.Menu_Volume->menuAction()->setEnabled(enabled);
        m_ui.Menu_Reset->setEnabled(enabled);
        m_ui.Menu_ZS->menuAction()->setEnabled(enabled);
        m_ui.Menu_Mini->setEnabled(enabled);
        m_ui.Menu_Sleep->menuAction()->setEnabled(enabled);
        m_ui.Menu_Extras_YInfo->setEnabled(enabled);
        m_ui.Menu_Extras_SendMessage->setEnabled(enabled);
        for (int i = 1; i <= 5; ++i)
            m_ui.Menu_Setup_Port(i)->setEnabled(!enabled);
    });
}

void ConnectionControl::SetInputButtonVisible(const QString &modelCode)
{
    guarded(kModule, "SetInputButtonVisible", [&] {
        // Every model but R0073 has CD-R and 8 Ch Stereo; they come back after it.
        const bool shown = modelCode != QLatin1String("R0073");
        m_ui.Opt_Input(14)->setVisible(shown);
        m_ui.Opt_Dsp(31)->setVisible(shown);
        // A folded panel hides its buttons too; this tells the model's apart.
        m_ui.Opt_Input(14)->setProperty(kHiddenForModel, !shown);
        m_ui.Opt_Dsp(31)->setProperty(kHiddenForModel, !shown);
        m_ui.Menu_MiniPopUp_Input(14)->setVisible(shown);
    });
}

void ConnectionControl::Menu_Setup_Port_Click(int index)
{
    guarded(kModule, "Menu_Setup_Port_Click", [&] {
        m_link.setCommPort(index);
        for (int i = 1; i <= 5; ++i)
            m_ui.Menu_Setup_Port(i)->setChecked(false);
        m_ui.Menu_Setup_Port(index)->setChecked(true);
    });
}

void ConnectionControl::Menu_Setup_ReportTime_Click(int index)
{
    guarded(kModule, "Menu_Setup_ReportTime_Click", [&] {
        for (int i = 0; i <= 7; ++i)
            m_ui.Menu_Setup_ReportTime(i)->setChecked(false);
        m_ui.Menu_Setup_ReportTime(index)->setChecked(true);
        sendReportTime(index);
    });
}

void ConnectionControl::Menu_Reset_Click()
{
    guarded(kModule, "Menu_Reset_Click", [&] {
        UserDialogs::Message notice;
        notice.text = tr("Complete Reset only with 'Diagnostic Menu' !");
        notice.icon = UserDialogs::Icon::Information;
        m_dialogs->messageBox(notice);

        UserDialogs::Message question;
        question.text = tr("Reset all Orvane RS-232 settings ?");
        question.title = tr("Orvane Reset");
        question.icon = UserDialogs::Icon::Question;
        question.buttons = UserDialogs::Buttons::YesNo;
        question.defaultButton = UserDialogs::Answer::No;
        if (m_dialogs->messageBox(question) == UserDialogs::Answer::Yes) {
            m_link.ResetOrvane();
            m_window.showSettings();
        }
    });
}

void ConnectionControl::Menu_Extras_YInfo_Click()
{
    guarded(kModule, "Menu_Extras_YInfo_Click", [&] {
        Form_YInfo *info = m_window.info();
        info->show();
        info->raise();
        if (info->text_modell->text() != QLatin1String("?"))
            return;
        UserDialogs::Message question;
        question.title = tr("Unknown Orvane Model");
        question.buttons = UserDialogs::Buttons::YesNo;
        question.text = tr("New Orvane Model:") + QStringLiteral("\r\n")
            + tr("To make this Software better :") + QLatin1Char('\n')
            + tr("Send a email to the Software developer with Orvane connection string !")
            + QLatin1Char('\n') + tr("Complete the Email with the Orvane model description !")
            + QLatin1Char('\n') + QLatin1Char('\n') + tr("Send E-mail ?");
        if (m_dialogs->messageBox(question) != UserDialogs::Answer::Yes)
            return;
        const QString url = QStringLiteral("mailto:") + Form_ErrBox::reportAddress()
            + QStringLiteral("?Subject=My%20Orvane&Body=Model%3A%20%28Complete%20here%20your%20"
                             "Model%20desctiption%20Example:%3AVR-73%29%0D%0A%0D%0AModell-Id%3A ")
            + info->text_modellid->text() + QStringLiteral("%0D%0ASoftwareversion%3A ")
            + info->text_softwareversion->text() + QStringLiteral("%0D%0AAnswerstring%3A ")
            + info->text_YString->text()
            + QStringLiteral("%0D%0A%0D%0ATo make better in this software:%3A %0D%0A");
        m_shell->openUrl(url);
    });
}
