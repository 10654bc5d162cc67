#include "timecontrol/Form_ZS.h"

#include "Command.h"
#include "errors/ErrorGuard.h"
#include "errors/OrvaneError.h"
#include "platform/Clock.h"
#include "platform/UserDialogs.h"
#include "program/Modul_Lib.h"
#include "program/ProgramValues.h"
#include "timecontrol/ScheduleScript.h"
#include "timecontrol/clsTimeControl.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValidator>

namespace {
constexpr const char *kModule = "Form_ZS";
const QString kScriptFilter = QStringLiteral("Script (*.txt)|*.txt");

// Keeps typed and pasted text within the characters a script file can hold, so a saved
// list comes back exactly as it was.
class ScriptTextValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return ScheduleScript::isWritable(input) ? Acceptable : Invalid;
    }
};

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString fourDigits(int value)
{
    return QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0'));
}

// A one-character entry gets a leading "0".
void padToTwo(QLineEdit *box)
{
    if (box->text().size() == 1)
        box->setText(QLatin1Char('0') + box->text());
}

// A value above `highest` is replaced by `replacement`.
void clamp(QLineEdit *box, int highest, const QString &replacement)
{
    if (Modul_Lib::Val(box->text()) > highest)
        box->setText(replacement);
}

QFrame *captionStrip(QWidget *parent, const QString &name)
{
    auto *strip = new QFrame(parent);
    strip->setObjectName(name);
    strip->setFixedHeight(6);
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, QColor(0x3A, 0x6E, 0xA5));
    strip->setPalette(palette);
    return strip;
}
} // namespace

const QStringList &Form_ZS::actionItems()
{
    static const QStringList items {
        QStringLiteral("Power On ,07A1D"),      QStringLiteral("Power Off ,07A1E"),
        QStringLiteral("Input Phono ,07A14"),   QStringLiteral("Input CD ,07A15"),
        QStringLiteral("Input Tuner ,07A16"),   QStringLiteral("Input Tape ,07A18"),
        QStringLiteral("Input MD ,07AC9"),      QStringLiteral("Input LD ,07A17"),
        QStringLiteral("Input DVD ,07AC1"),     QStringLiteral("Input D-TV ,07A54"),
        QStringLiteral("Input CBL/SAT ,07AC0"), QStringLiteral("Input VCR1 ,07A0F"),
        QStringLiteral("Input VCR2 ,07A13"),    QStringLiteral("Input VCR3 ,07AC8"),
        QStringLiteral("Input V-AUX ,07A55"),   QStringLiteral("Input 6ch On ,07EA4"),
        QStringLiteral("Input 6ch Off ,07EA5"), QStringLiteral("Zone2 Phono ,07AD0"),
        QStringLiteral("Zone2 CD ,07AD1"),      QStringLiteral("Zone2 Tuner ,07AD2"),
        QStringLiteral("Zone2 Tape ,07AD3"),    QStringLiteral("Zone2 MD ,07ACF"),
        QStringLiteral("Zone2 LD ,07AD5"),      QStringLiteral("Zone2 DVD ,07ACD"),
        QStringLiteral("Zone2 D-TV ,07AD9"),    QStringLiteral("Zone2 Cbl/Sat ,07ACC"),
        QStringLiteral("Zone2 VCR1 ,07AD6"),    QStringLiteral("Zone2 VCR2 ,07AD7"),
        QStringLiteral("Zone2 VCR3 ,07ACE"),    QStringLiteral("Zone2 V-AUX ,07AD8"),
        QStringLiteral("Volume A ,07E75"),      QStringLiteral("Volume B ,07E76"),
        QStringLiteral("Volume C ,07E77"),      QStringLiteral("Volume D ,07E78"),
        QStringLiteral("Volume E ,07E79"),      QStringLiteral("Volume F ,07E7A"),
        QStringLiteral("Dsp Off ,07EE0"),       QStringLiteral("Dsp Normal ,07EFD"),
        QStringLiteral("Dsp Enhanced ,07EFE"),  QStringLiteral("Winamp play"),
        QStringLiteral("Winamp stop"),
    };
    return items;
}

QString Form_ZS::datedLine(const QString &hour, const QString &minute, const QString &day,
                           const QString &month, const QString &year, const QString &action)
{
    return hour + QLatin1Char(':') + minute + QStringLiteral(" ,") + day + QLatin1Char('.') + month
        + QLatin1Char('.') + year + QStringLiteral(" ,") + action;
}

QString Form_ZS::dailyLine(const QString &hour, const QString &minute, const QString &action)
{
    return hour + QLatin1Char(':') + minute + QStringLiteral(" ,Every day  ,") + action;
}

Form_ZS::Form_ZS(UserDialogs *dialogs, Clock *clock, ScheduleSink sink,
                 const ProgramValues &values, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_sink(std::move(sink))
    , m_values(values)
{
    buildWindow();
    Form_Load();
}

Form_ZS::~Form_ZS() = default;

void Form_ZS::buildWindow()
{
    setObjectName(QStringLiteral("Form_ZS"));
    setWindowTitle(tr("Time Control"));
    auto *validator = new ScriptTextValidator(this);

    auto textBox = [&](const char *name, const QString &accessible, int maxLength) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setAccessibleName(accessible);
        box->setMaxLength(maxLength);
        box->setValidator(validator);
        box->setFixedWidth(maxLength == 4 ? 48 : 30);
        box->setAlignment(Qt::AlignCenter);
        return box;
    };
    auto button = [&](const char *name, const QString &caption, void (Form_ZS::*handler)()) {
        auto *command = new Command(this);
        command->setObjectName(QLatin1String(name));
        command->setCaption(caption);
        command->setMinimumWidth(90);
        connect(command, &Command::Click, this, handler);
        return command;
    };

    Frame_Uhrzeit = new QGroupBox(tr("Time"), this);
    Frame_Uhrzeit->setObjectName(QStringLiteral("Frame_Uhrzeit"));
    Text_Stunde = textBox("Text_Stunde", tr("Hour"), 2);
    Text_Stunde->setText(QStringLiteral("09"));
    Text_Minute = textBox("Text_Minute", tr("Minute"), 2);
    Text_Minute->setText(QStringLiteral("00"));
    auto *timeRow = new QHBoxLayout(Frame_Uhrzeit);
    timeRow->addWidget(Text_Stunde);
    timeRow->addWidget(new QLabel(QStringLiteral(":"), Frame_Uhrzeit));
    timeRow->addWidget(Text_Minute);
    timeRow->addStretch();

    Frame_Datum = new QGroupBox(tr("Date"), this);
    Frame_Datum->setObjectName(QStringLiteral("Frame_Datum"));
    Option_Auswahl[0] = new QRadioButton(Frame_Datum);
    Option_Auswahl[0]->setObjectName(QStringLiteral("Option_Auswahl_0"));
    Option_Auswahl[0]->setAccessibleName(tr("On the date"));
    Text_Tag = textBox("Text_Tag", tr("Day"), 2);
    Text_Monat = textBox("Text_Monat", tr("Month"), 2);
    Text_Jahr = textBox("Text_Jahr", tr("Year"), 4);
    auto *dateRow = new QHBoxLayout(Frame_Datum);
    dateRow->addWidget(Option_Auswahl[0]);
    dateRow->addWidget(Text_Tag);
    dateRow->addWidget(new QLabel(QStringLiteral("."), Frame_Datum));
    dateRow->addWidget(Text_Monat);
    dateRow->addWidget(new QLabel(QStringLiteral("."), Frame_Datum));
    dateRow->addWidget(Text_Jahr);
    dateRow->addStretch();

    Option_Auswahl[1] = new QRadioButton(tr("Every Day"), this);
    Option_Auswahl[1]->setObjectName(QStringLiteral("Option_Auswahl_1"));
    // The two choices sit in different frames; the group makes them one choice.
    m_auswahl = new QButtonGroup(this);
    m_auswahl->addButton(Option_Auswahl[0], 0);
    m_auswahl->addButton(Option_Auswahl[1], 1);
    Option_Auswahl[1]->setChecked(true);

    Combo_Aktion = new QComboBox(this);
    Combo_Aktion->setObjectName(QStringLiteral("Combo_Aktion"));
    Combo_Aktion->setAccessibleName(tr("Action"));
    Combo_Aktion->setEditable(true);
    Combo_Aktion->setInsertPolicy(QComboBox::NoInsert);
    Combo_Aktion->setMaxVisibleItems(20);
    Combo_Aktion->addItems(actionItems());
    Combo_Aktion->setValidator(validator);
    Combo_Aktion->setCurrentIndex(-1);
    Combo_Aktion->setEditText(tr("Aktion"));
    Combo_Aktion->setMinimumWidth(180);

    List_ZS = new QListWidget(this);
    List_ZS->setObjectName(QStringLiteral("List_ZS"));
    List_ZS->setAccessibleName(tr("Schedule"));
    List_ZS->setSelectionMode(QAbstractItemView::SingleSelection);
    List_ZS->setSortingEnabled(false);

    cmdAdd = button("cmdAdd", tr("&Add"), &Form_ZS::cmdAdd_Click);
    cmdRemove = button("cmdRemove", tr("&Remove"), &Form_ZS::cmdRemove_Click);
    cmdClear = button("cmdClear", tr("&Clear"), &Form_ZS::cmdClear_Click);
    cmdScriptLoad = button("cmdScriptLoad", tr("Script &load"), &Form_ZS::cmdScriptLoad_Click);
    cmdScriptSave = button("cmdScriptSave", tr("Script &save"), &Form_ZS::cmdScriptSave_Click);
    cmdOk = button("cmdOk", tr("&Ok"), &Form_ZS::Command_OK_Click);

    ShortcutCaption1 = captionStrip(this, QStringLiteral("ShortcutCaption1"));
    ShortcutCaption2 = captionStrip(this, QStringLiteral("ShortcutCaption2"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(ShortcutCaption1, 0, 0, 1, 3);
    grid->addWidget(Frame_Uhrzeit, 1, 0);
    grid->addWidget(Frame_Datum, 1, 1);
    auto *chooseRow = new QHBoxLayout;
    chooseRow->addWidget(Option_Auswahl[1]);
    chooseRow->addWidget(Combo_Aktion, 1);
    grid->addLayout(chooseRow, 2, 0, 1, 2);
    grid->addWidget(cmdAdd, 2, 2);
    grid->addWidget(List_ZS, 3, 0, 1, 2);
    auto *buttons = new QVBoxLayout;
    for (Command *command : {cmdRemove, cmdClear, cmdScriptLoad, cmdScriptSave})
        buttons->addWidget(command);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    grid->addLayout(buttons, 3, 2);
    grid->addWidget(ShortcutCaption2, 4, 0, 1, 3);
    grid->setRowStretch(3, 1);
    resize(460, 360);
}

void Form_ZS::Form_Load()
{
    guarded(kModule, "Form_Load", [&] {
        const QDate today = m_clock->today();
        Text_Tag->setText(twoDigits(today.day()));
        Text_Monat->setText(twoDigits(today.month()));
        Text_Jahr->setText(fourDigits(today.year()));
    });
}

QStringList Form_ZS::lines() const
{
    QStringList result;
    for (int i = 0; i < List_ZS->count(); ++i)
        result << List_ZS->item(i)->text();
    return result;
}

void Form_ZS::cmdAdd_Click()
{
    guarded(kModule, "cmdAdd_Click", [&] {
        for (QLineEdit *box : {Text_Minute, Text_Stunde, Text_Tag, Text_Monat})
            padToTwo(box);
        clamp(Text_Minute, 59, QStringLiteral("00"));
        clamp(Text_Stunde, 23, QStringLiteral("23"));
        clamp(Text_Tag, 31, QStringLiteral("31"));
        clamp(Text_Monat, 12, QStringLiteral("12"));
        if (Text_Jahr->text().size() < 4)
            Text_Jahr->setText(fourDigits(m_clock->today().year()));

        const QString action = Combo_Aktion->currentText();
        if (!action.toLower().contains(QLatin1String("winamp"))
            && !action.contains(QLatin1Char(','))) {
            m_dialogs->inform(tr("Select action first !"));
            return;
        }
        const QString line = Option_Auswahl[0]->isChecked()
            ? datedLine(Text_Stunde->text(), Text_Minute->text(), Text_Tag->text(),
                        Text_Monat->text(), Text_Jahr->text(), action)
            : dailyLine(Text_Stunde->text(), Text_Minute->text(), action);
        List_ZS->addItem(line);
    });
}

void Form_ZS::cmdRemove_Click()
{
    guarded(kModule, "cmdRemove_Click", [&] {
        const QList<QListWidgetItem *> selected = List_ZS->selectedItems();
        if (!selected.isEmpty())
            delete List_ZS->takeItem(List_ZS->row(selected.front()));
    });
}

void Form_ZS::cmdClear_Click()
{
    guarded(kModule, "cmdClear_Click", [&] { List_ZS->clear(); });
}

void Form_ZS::cmdScriptSave_Click()
{
    guarded(kModule, "cmdScriptSave_Click", [&] {
        const QString path = m_dialogs->saveFileName(tr("Save"), kScriptFilter, m_scriptFolder);
        if (path.isEmpty())
            return;
        const QFileInfo file(path);
        m_scriptFolder = file.absolutePath();
        if (file.exists()) {
            UserDialogs::Message question;
            question.text = tr("Overwrite existing file ?");
            question.buttons = UserDialogs::Buttons::YesNo;
            if (m_dialogs->messageBox(question) != UserDialogs::Answer::Yes)
                return;
        }
        // A failed write ends quietly and leaves the old file as it was.
        if (!ScheduleScript::write(path, lines()))
            return;
        m_dialogs->inform(file.absoluteFilePath() + tr(" saved..."));
    });
}

void Form_ZS::cmdScriptLoad_Click()
{
    guarded(kModule, "cmdScriptLoad_Click", [&] {
        const QString path = m_dialogs->openFileName(tr("Open"), kScriptFilter, m_scriptFolder);
        if (path.isEmpty())
            return;
        m_scriptFolder = QFileInfo(path).absolutePath();
        if (ScheduleScript::isTooLarge(path)) {
            m_dialogs->inform(QDir::toNativeSeparators(path)
                                  + tr(" is larger than 1 MB and is not a time control "
                                       "script; nothing was loaded."),
                              UserDialogs::Icon::Exclamation);
            return;
        }
        // A read failure ends quietly; the lines read before it stay in the list.
        ScheduleScript::read(path, [this](const QString &line) { List_ZS->addItem(line); });
    });
}

void Form_ZS::SetTimeContol()
{
    guarded(kModule, "SetTimeContol", [&] {
        auto schedule = std::make_shared<clsTimeControl>();
        QStringList unreadable;
        const QStringList all = lines();
        for (qsizetype i = 0; i < all.size(); ++i) {
            try {
                schedule->Add(all[i]);
            } catch (const OrvaneError &) {
                unreadable << tr("%1: \"%2\"").arg(i + 1).arg(all[i]);
            }
        }
        // The readable lines run at once; the report below waits for the user.
        if (m_sink)
            m_sink(std::move(schedule));
        if (!unreadable.isEmpty()) {
            throw OrvaneError(OrvaneError::kInvalidArgument,
                              tr("Schedule lines without time, day and action, "
                                 "or with a command code that cannot be "
                                 "sent, left out: %1")
                                  .arg(unreadable.join(QStringLiteral(", "))));
        }
    });
}

void Form_ZS::Command_OK_Click()
{
    guarded(kModule, "Command_OK_Click", [&] {
        SetTimeContol();
        hide();
    });
}

void Form_ZS::closeEvent(QCloseEvent *event)
{
    // While the program ends the window goes without touching the schedule.
    if (m_values.AppClosing()) {
        hide();
        event->accept();
        return;
    }
    SetTimeContol();
    event->ignore();
    hide();
}
