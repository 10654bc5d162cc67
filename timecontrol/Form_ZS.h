#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class Clock;
class Command;
class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QListWidget;
class ProgramValues;
class QRadioButton;
class UserDialogs;
class clsTimeControl;

// The dialog "Time Control": the schedule as a list of schedule lines, composed here,
// saved to and loaded from script files. The list is the master copy; "&Ok" and the
// close box build a new schedule from it. Closing only hides the window while the
// program runs, so the list lasts as long as the program.
class Form_ZS : public QWidget
{
    Q_OBJECT
public:
    // Receives every schedule built from the list.
    using ScheduleSink = std::function<void(std::shared_ptr<clsTimeControl>)>;

    // The actions offered, in drop-down order: "label ,code" for a receiver action, the
    // label alone for a player action.
    static const QStringList &actionItems();
    // The two forms of a schedule line.
    static QString datedLine(const QString &hour, const QString &minute, const QString &day,
                             const QString &month, const QString &year, const QString &action);
    static QString dailyLine(const QString &hour, const QString &minute, const QString &action);

    // While `values` says the program is ending, the close box closes the window for
    // real, without rebuilding the schedule.
    Form_ZS(UserDialogs *dialogs, Clock *clock, ScheduleSink sink, const ProgramValues &values,
            QWidget *parent = nullptr);
    ~Form_ZS() override;

    // The list's lines, first to last.
    QStringList lines() const;

    // Builds a new schedule from every line of the list and hands it on. Lines that
    // cannot be read are left out of it and reported together, once.
    void SetTimeContol();

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdClear_Click();
    void cmdScriptLoad_Click();
    void cmdScriptSave_Click();
    void Command_OK_Click();

    QGroupBox *Frame_Uhrzeit = nullptr;
    QLineEdit *Text_Stunde = nullptr;
    QLineEdit *Text_Minute = nullptr;
    QGroupBox *Frame_Datum = nullptr;
    QLineEdit *Text_Tag = nullptr;
    QLineEdit *Text_Monat = nullptr;
    QLineEdit *Text_Jahr = nullptr;
    // (1) every day, (0) on the date given.
    std::array<QRadioButton *, 2> Option_Auswahl {};
    QComboBox *Combo_Aktion = nullptr;
    QListWidget *List_ZS = nullptr;
    Command *cmdAdd = nullptr;
    Command *cmdRemove = nullptr;
    Command *cmdClear = nullptr;
    Command *cmdScriptLoad = nullptr;
    Command *cmdScriptSave = nullptr;
    Command *cmdOk = nullptr;
    QFrame *ShortcutCaption1 = nullptr;
    QFrame *ShortcutCaption2 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void Form_Load();

    UserDialogs *m_dialogs;
    Clock *m_clock;
    ScheduleSink m_sink;
    QButtonGroup *m_auswahl = nullptr;
    const ProgramValues &m_values;
    // Where the last script was loaded from or saved to.
    QString m_scriptFolder;
};
