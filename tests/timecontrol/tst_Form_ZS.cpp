#include "Command.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeUserDialogs.h"
#include "program/ProgramValues.h"
#include "timecontrol/Form_ZS.h"
#include "timecontrol/ScheduleScript.h"
#include "timecontrol/clsTimeControl.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kPowerOn = QStringLiteral("07:30 ,Every day  ,Power On ,07A1D");
const QString kPlay = QStringLiteral("20:00 ,24.12.2006 ,Winamp play");

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}
} // namespace

class tst_Form_ZS : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void addLine_data();
    void addLine();
    void rebuildLeavesOutUnreadableLinesAndReportsOnce();
    void okAndCloseBoxRebuildAndHide();
    void saveAndLoadRoundTrip();
    void load_data();
    void load();
    void saveAsksBeforeOverwritingAndFailsQuietly();

private:
    CollectingErrorPresenter m_errors;
    FakeUserDialogs m_dialogs;
    FakeClock m_clock {QDateTime(QDate(2024, 3, 7), QTime(12, 0))};
    ProgramValues m_values;
    std::unique_ptr<Form_ZS> m_form;
    std::shared_ptr<clsTimeControl> m_schedule;
    int m_builds = 0;
};

void tst_Form_ZS::init()
{
    m_dialogs.clear();
    m_errors.clear();
    m_builds = 0;
    m_values.setAppClosing(false);
    m_form = std::make_unique<Form_ZS>(&m_dialogs, &m_clock,
                                       [this](std::shared_ptr<clsTimeControl> schedule) {
                                           m_schedule = std::move(schedule);
                                           ++m_builds;
                                       },
                                       m_values);
}

void tst_Form_ZS::addLine_data()
{
    // Boxes: hour, minute, day, month, year, as typed and as shown after "&Add".
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("onDate");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("line"); // empty: nothing added, "Select action first !"
    QTest::addColumn<QStringList>("shown");

    const QStringList defaults {"09", "00", "07", "03", "2024"};
    QTest::newRow("defaults, action still the prompt") << defaults << false << "Aktion"
                                                       << "" << defaults;
    QTest::newRow("typed text without a code") << defaults << false << "Power On"
                                               << "" << defaults;
    QTest::newRow("single digits padded, every day")
        << QStringList {"7", "5", "07", "03", "2024"} << false << "Power On ,07A1D"
        << "07:05 ,Every day  ,Power On ,07A1D" << QStringList {"07", "05", "07", "03", "2024"};
    QTest::newRow("player action on a date has two commas")
        << QStringList {"20", "00", "24", "12", "2006"} << true << "Winamp play" << kPlay
        << QStringList {"20", "00", "24", "12", "2006"};
    QTest::newRow("above range clamped, short year becomes this year")
        << QStringList {"99", "75", "45", "13", "06"} << true << "Input CD ,07A15"
        << "23:00 ,31.12.2024 ,Input CD ,07A15" << QStringList {"23", "00", "31", "12", "2024"};
    QTest::newRow("highest values kept")
        << QStringList {"23", "59", "31", "12", "2099"} << true << "Power Off ,07A1E"
        << "23:59 ,31.12.2099 ,Power Off ,07A1E" << QStringList {"23", "59", "31", "12", "2099"};
    QTest::newRow("every day ignores the date")
        << QStringList {"06", "45", "45", "1", "1"} << false << "Dsp Off ,07EE0"
        << "06:45 ,Every day  ,Dsp Off ,07EE0" << QStringList {"06", "45", "31", "01", "2024"};
    QTest::newRow("letters and empty boxes pass as they stand")
        << QStringList {"ab", "", "x", "", "2024"} << true << "WINAMP stop"
        << "ab: ,0x..2024 ,WINAMP stop" << QStringList {"ab", "", "0x", "", "2024"};
}

void tst_Form_ZS::addLine()
{
    QFETCH(QStringList, typed);
    QFETCH(bool, onDate);
    QFETCH(QString, action);
    QFETCH(QString, line);

    Form_ZS &f = *m_form;
    QCOMPARE(f.Combo_Aktion->currentText(), QStringLiteral("Aktion"));
    const QList<QLineEdit *> boxes {f.Text_Stunde, f.Text_Minute, f.Text_Tag, f.Text_Monat,
                                    f.Text_Jahr};
    for (qsizetype i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(typed[i]);
    f.Option_Auswahl[onDate ? 0 : 1]->click();
    const int index = f.Combo_Aktion->findText(action);
    if (index >= 0)
        f.Combo_Aktion->setCurrentIndex(index);
    else
        f.Combo_Aktion->setEditText(action);
    f.cmdAdd->click();

    QCOMPARE(f.lines(), line.isEmpty() ? QStringList {} : QStringList {line});
    QCOMPARE(m_dialogs.messageTexts(),
             line.isEmpty() ? QStringList {"Select action first !"} : QStringList {});
    QStringList shown;
    for (const QLineEdit *box : boxes)
        shown << box->text();
    QTEST(shown, "shown");
}

void tst_Form_ZS::rebuildLeavesOutUnreadableLinesAndReportsOnce()
{
    m_form->List_ZS->addItems({kPowerOn, QStringLiteral("garbage"), kPlay});
    m_form->SetTimeContol();

    QCOMPARE(m_schedule->Count(), 2);
    QCOMPARE(m_schedule->Item(2)->Action, QStringLiteral("Winamp play"));
    QCOMPARE(m_errors.reports().size(), 1);
    const ErrorReport &report = m_errors.reports().front();
    QCOMPARE(report.procedure + '/' + report.module, QStringLiteral("SetTimeContol/Form_ZS"));
    QVERIFY2(report.description.contains(QStringLiteral("2: \"garbage\"")),
             qPrintable(report.description));
    QCOMPARE(m_form->List_ZS->count(), 3);
}

void tst_Form_ZS::okAndCloseBoxRebuildAndHide()
{
    Form_ZS &f = *m_form;
    f.List_ZS->addItem(kPowerOn);
    f.show();
    f.cmdOk->click();
    QVERIFY(!f.isVisible());
    QCOMPARE(m_builds, 1);
    m_schedule->Item(1)->Fired = true;

    // The close box hides and rebuilds; every entry starts armed again.
    f.List_ZS->addItem(kPlay);
    f.show();
    QVERIFY(!f.close());
    QVERIFY(!f.isVisible());
    QCOMPARE(m_builds, 2);
    QCOMPARE(m_schedule->Count(), 2);
    QVERIFY(!m_schedule->Item(1)->Fired);

    // While the program ends, the window closes and the schedule stays as it was.
    f.show();
    m_values.setAppClosing(true);
    QVERIFY(f.close());
    QCOMPARE(m_builds, 2);
}

void tst_Form_ZS::saveAndLoadRoundTrip()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wake.txt"));
    const QString odd = QString::fromLatin1("07:00 ,Every day  ,K\xfc"
                                            "che \x01 ,07A1D");
    m_form->List_ZS->addItems({kPowerOn, kPlay, odd});
    m_dialogs.queueFileName(path);
    m_form->cmdScriptSave->click();

    QCOMPARE(fileContent(path),
             kPowerOn.toLatin1() + "\r\n" + kPlay.toLatin1() + "\r\n" + odd.toLatin1() + "\r\n");
    QCOMPARE(m_dialogs.messageTexts(), QStringList {path + QStringLiteral(" saved...")});
    QCOMPARE(m_dialogs.filePrompts().front().filter, QStringLiteral("Script (*.txt)|*.txt"));

    // Loading appends: into an empty list, then once more.
    m_form->cmdClear->click();
    for (int i = 0; i < 2; ++i) {
        m_dialogs.queueFileName(path);
        m_form->cmdScriptLoad->click();
    }
    QCOMPARE(m_form->lines(), (QStringList {kPowerOn, kPlay, odd, kPowerOn, kPlay, odd}));
    QCOMPARE(m_builds, 0);
}

void tst_Form_ZS::load_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");

    const QByteArray powerOn = kPowerOn.toLatin1();
    QTest::newRow("lines ended by LF alone") << powerOn + '\n' + kPlay.toLatin1() + '\n'
                                             << QStringList {kPowerOn, kPlay};
    QTest::newRow("last line without a line end")
        << powerOn + "\r\n" + kPlay.toLatin1() << QStringList {kPowerOn, kPlay};
    QTest::newRow("empty last line") << powerOn + "\r\n\r\n" << QStringList {kPowerOn};
    QTest::newRow("unparsable line kept for the rebuild to report")
        << "garbage\r\n" + powerOn << QStringList {"garbage", kPowerOn};
    QTest::newRow("empty file") << QByteArray() << QStringList {};
    QTest::newRow("file over 1 MB refused with a message")
        << powerOn + "\r\n" + QByteArray(ScheduleScript::kMaxBytes, 'x') << QStringList {};
}

void tst_Form_ZS::load()
{
    QFETCH(QByteArray, content);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("script.txt"));
    writeFile(path, content);
    m_dialogs.queueFileName(path);
    m_form->cmdScriptLoad->click();
    QTEST(m_form->lines(), "lines");
    const bool refused = content.size() > ScheduleScript::kMaxBytes;
    QCOMPARE(m_dialogs.messageTexts().size(), refused ? 1 : 0);
    if (refused)
        QVERIFY(m_dialogs.messageTexts().front().contains(QStringLiteral("larger than 1 MB")));
}

void tst_Form_ZS::saveAsksBeforeOverwritingAndFailsQuietly()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("old.txt"));
    writeFile(path, "old\r\n");
    m_form->List_ZS->addItem(kPowerOn);

    m_dialogs.queueFileName(path);
    m_dialogs.queueAnswer(UserDialogs::Answer::No);
    m_form->cmdScriptSave->click();
    QCOMPARE(fileContent(path), QByteArray("old\r\n"));
    m_dialogs.queueFileName(path);
    m_dialogs.queueAnswer(UserDialogs::Answer::Yes);
    m_form->cmdScriptSave->click();
    QCOMPARE(fileContent(path), kPowerOn.toLatin1() + "\r\n");
    QCOMPARE(m_dialogs.messageTexts(),
             (QStringList {"Overwrite existing file ?", "Overwrite existing file ?",
                           path + QStringLiteral(" saved...")}));

    // Cancelled dialogs, a folder that is not there and a device end without a word.
    m_dialogs.clear();
    m_form->cmdScriptSave->click();
    m_form->cmdScriptLoad->click();
    m_dialogs.queueFileName(QStringLiteral("/nonexistent-folder/x.txt"));
    m_form->cmdScriptSave->click();
    for (const char *path : {"/nonexistent-folder/x.txt", "/dev/zero"}) {
        m_dialogs.queueFileName(QLatin1String(path));
        m_form->cmdScriptLoad->click();
    }
    QCOMPARE(m_form->lines(), QStringList {kPowerOn});
    QVERIFY(m_dialogs.messages().isEmpty());
    QVERIFY(m_errors.isEmpty());
}

QTEST_MAIN(tst_Form_ZS)
#include "tst_Form_ZS.moc"
