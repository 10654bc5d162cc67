#include "Command.h"
#include "app/Modul_Orvane.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeUserDialogs.h"
#include "timecontrol/Form_ZS.h"
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
const QString kCd = QStringLiteral("06:45 ,Every day  ,Input CD ,07A15");

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
    void cleanup();
    void opensWithItsDefaults();
    void addLine_data();
    void addLine();
    void selectActionFirst_data();
    void selectActionFirst();
    void removeAndClear();
    void rebuildLeavesOutUnreadableLinesAndReportsOnce();
    void okAndCloseBoxRebuildAndHide();
    void closingWithTheProgramKeepsTheSchedule();
    void saveAndLoadRoundTrip();
    void load_data();
    void load();
    void saveAsksBeforeOverwriting();
    void cancelledOrFailedFileOperationsEndQuietly();

private:
    QStringList listLines() const { return m_form->lines(); }

    CollectingErrorPresenter m_errors;
    FakeUserDialogs m_dialogs;
    FakeClock m_clock {QDateTime(QDate(2024, 3, 7), QTime(12, 0))};
    std::unique_ptr<Form_ZS> m_form;
    std::shared_ptr<clsTimeControl> m_schedule;
    int m_builds = 0;
};

void tst_Form_ZS::init()
{
    m_dialogs.clear();
    m_errors.clear();
    m_builds = 0;
    m_schedule.reset();
    m_form = std::make_unique<Form_ZS>(&m_dialogs, &m_clock,
                                       [this](std::shared_ptr<clsTimeControl> schedule) {
                                           m_schedule = std::move(schedule);
                                           ++m_builds;
                                       });
}

void tst_Form_ZS::cleanup()
{
    m_form.reset();
    Modul_Orvane::AppClosing = false;
}

void tst_Form_ZS::opensWithItsDefaults()
{
    const Form_ZS &f = *m_form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Time Control"));
    QCOMPARE(f.Text_Stunde->text(), QStringLiteral("09"));
    QCOMPARE(f.Text_Minute->text(), QStringLiteral("00"));
    QCOMPARE(f.Text_Tag->text(), QStringLiteral("07"));
    QCOMPARE(f.Text_Monat->text(), QStringLiteral("03"));
    QCOMPARE(f.Text_Jahr->text(), QStringLiteral("2024"));
    QVERIFY(f.Option_Auswahl[1]->isChecked());
    QVERIFY(!f.Option_Auswahl[0]->isChecked());
    QCOMPARE(f.Combo_Aktion->currentText(), QStringLiteral("Aktion"));
    QCOMPARE(f.Combo_Aktion->count(), 41);
    QCOMPARE(f.Combo_Aktion->itemText(0), QStringLiteral("Power On ,07A1D"));
    QCOMPARE(f.Combo_Aktion->itemText(25), QStringLiteral("Zone2 Cbl/Sat ,07ACC"));
    QCOMPARE(f.Combo_Aktion->itemText(40), QStringLiteral("Winamp stop"));
    QCOMPARE(f.List_ZS->count(), 0);
    QStringList captions;
    for (Command *c : {f.cmdAdd, f.cmdRemove, f.cmdClear, f.cmdScriptLoad, f.cmdScriptSave, f.cmdOk})
        captions << c->Caption();
    QCOMPARE(captions, (QStringList {"&Add", "&Remove", "&Clear", "Script &load", "Script &save",
                                     "&Ok"}));
}

void tst_Form_ZS::addLine_data()
{
    QTest::addColumn<QStringList>("boxes"); // hour, minute, day, month, year as typed
    QTest::addColumn<bool>("onDate");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("shown"); // the boxes afterwards

    QTest::newRow("single digits padded, every day")
        << QStringList {"7", "5", "07", "03", "2024"} << false << "Power On ,07A1D"
        << "07:05 ,Every day  ,Power On ,07A1D" << QStringList {"07", "05", "07", "03", "2024"};
    QTest::newRow("player action on a date has two commas")
        << QStringList {"20", "00", "24", "12", "2006"} << true << "Winamp play" << kPlay
        << QStringList {"20", "00", "24", "12", "2006"};
    QTest::newRow("values above range clamped, short year becomes this year")
        << QStringList {"99", "75", "45", "13", "06"} << true << "Input CD ,07A15"
        << "23:00 ,31.12.2024 ,Input CD ,07A15" << QStringList {"23", "00", "31", "12", "2024"};
    QTest::newRow("highest values kept") << QStringList {"23", "59", "31", "12", "2099"} << true
                                         << "Power Off ,07A1E" << "23:59 ,31.12.2099 ,Power Off ,07A1E"
                                         << QStringList {"23", "59", "31", "12", "2099"};
    QTest::newRow("every day ignores the date")
        << QStringList {"06", "45", "45", "13", "1"} << false << "Input CD ,07A15" << kCd
        << QStringList {"06", "45", "31", "12", "2024"};
    QTest::newRow("letters and empty boxes pass as they stand")
        << QStringList {"ab", "", "x", "", "2024"} << true << "Power On ,07A1D"
        << "ab: ,0x..2024 ,Power On ,07A1D" << QStringList {"ab", "", "0x", "", "2024"};
    QTest::newRow("typed action with a code")
        << QStringList {"07", "30", "01", "01", "2024"} << false << "Mine ,07A15"
        << "07:30 ,Every day  ,Mine ,07A15" << QStringList {"07", "30", "01", "01", "2024"};
}

void tst_Form_ZS::addLine()
{
    QFETCH(QStringList, boxes);
    QFETCH(bool, onDate);
    QFETCH(QString, action);

    Form_ZS &f = *m_form;
    const QList<QLineEdit *> edits {f.Text_Stunde, f.Text_Minute, f.Text_Tag, f.Text_Monat,
                                    f.Text_Jahr};
    for (qsizetype i = 0; i < edits.size(); ++i)
        edits[i]->setText(boxes[i]);
    f.Option_Auswahl[onDate ? 0 : 1]->click();
    const int index = f.Combo_Aktion->findText(action);
    if (index >= 0)
        f.Combo_Aktion->setCurrentIndex(index);
    else
        f.Combo_Aktion->setEditText(action);
    f.cmdAdd->click();

    QFETCH(QString, line);
    QCOMPARE(listLines(), QStringList {line});
    QStringList shown;
    for (const QLineEdit *edit : edits)
        shown << edit->text();
    QTEST(shown, "shown");
    QVERIFY(m_dialogs.messages().isEmpty());
}

void tst_Form_ZS::selectActionFirst_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("added");

    QTest::newRow("drop-down still showing its prompt") << "Aktion" << false;
    QTest::newRow("empty action") << "" << false;
    QTest::newRow("typed text without a code") << "Power On" << false;
    QTest::newRow("typed player action in any case") << "WINAMP pause" << true;
}

void tst_Form_ZS::selectActionFirst()
{
    QFETCH(QString, action);
    QFETCH(bool, added);
    m_form->Combo_Aktion->setEditText(action);
    m_form->cmdAdd->click();
    QCOMPARE(m_form->List_ZS->count(), added ? 1 : 0);
    QCOMPARE(m_dialogs.messageTexts(),
             added ? QStringList {} : QStringList {"Select action first !"});
}

void tst_Form_ZS::removeAndClear()
{
    Form_ZS &f = *m_form;
    f.List_ZS->addItems({kPowerOn, kPlay, kCd});
    f.List_ZS->clearSelection();
    f.cmdRemove->click();
    QCOMPARE(listLines(), (QStringList {kPowerOn, kPlay, kCd}));
    f.List_ZS->item(1)->setSelected(true);
    f.cmdRemove->click();
    QCOMPARE(listLines(), (QStringList {kPowerOn, kCd}));
    f.cmdClear->click();
    QVERIFY(listLines().isEmpty());
}

void tst_Form_ZS::rebuildLeavesOutUnreadableLinesAndReportsOnce()
{
    m_form->List_ZS->addItems({kPowerOn, QStringLiteral("garbage"), kPlay});
    m_form->SetTimeContol();

    QVERIFY(m_schedule);
    QCOMPARE(m_schedule->Count(), 2);
    QCOMPARE(m_schedule->Item(1)->Code, QStringLiteral("07A1D"));
    QCOMPARE(m_schedule->Item(2)->Action, QStringLiteral("Winamp play"));
    QCOMPARE(m_errors.reports().size(), 1);
    const ErrorReport &report = m_errors.reports().front();
    QCOMPARE(report.procedure, QStringLiteral("SetTimeContol"));
    QCOMPARE(report.module, QStringLiteral("Form_ZS"));
    QVERIFY2(report.description.contains(QStringLiteral("2: \"garbage\"")),
             qPrintable(report.description));
    // The list is the master copy: the line stays there.
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

    f.List_ZS->addItem(kCd);
    f.show();
    QVERIFY(!f.close());
    QVERIFY(!f.isVisible());
    QCOMPARE(m_builds, 2);
    // A rebuild starts with every entry armed again.
    QCOMPARE(m_schedule->Count(), 2);
    QVERIFY(!m_schedule->Item(1)->Fired);
    QCOMPARE(listLines(), (QStringList {kPowerOn, kCd}));
}

void tst_Form_ZS::closingWithTheProgramKeepsTheSchedule()
{
    m_form->List_ZS->addItem(kPowerOn);
    m_form->show();
    Modul_Orvane::AppClosing = true;
    QVERIFY(m_form->close());
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_builds, 0);
}

void tst_Form_ZS::saveAndLoadRoundTrip()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wake.txt"));
    const QString odd = QString::fromLatin1("07:00 ,Every day  ,K\xfc" "che \x01 ,07A1D");
    m_form->List_ZS->addItems({kPowerOn, kPlay, odd});
    m_dialogs.queueFileName(path);
    m_form->cmdScriptSave->click();

    QCOMPARE(fileContent(path),
             kPowerOn.toLatin1() + "\r\n" + kPlay.toLatin1() + "\r\n" + odd.toLatin1() + "\r\n");
    QCOMPARE(m_dialogs.messageTexts(), QStringList {path + QStringLiteral(" saved...")});
    QCOMPARE(m_dialogs.filePrompts().front().title, QStringLiteral("Save"));
    QCOMPARE(m_dialogs.filePrompts().front().filter, QStringLiteral("Script (*.txt)|*.txt"));

    m_form->cmdClear->click();
    m_dialogs.queueFileName(path);
    m_form->cmdScriptLoad->click();
    QCOMPARE(listLines(), (QStringList {kPowerOn, kPlay, odd}));
    QCOMPARE(m_dialogs.filePrompts().back().title, QStringLiteral("Open"));

    // Loading appends.
    m_dialogs.queueFileName(path);
    m_form->cmdScriptLoad->click();
    QCOMPARE(listLines().size(), 6);
    QCOMPARE(m_builds, 0);
}

void tst_Form_ZS::load_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("lines ended by LF alone")
        << QByteArray("07:30 ,Every day  ,Power On ,07A1D\n20:00 ,24.12.2006 ,Winamp play\n")
        << QStringList {kPowerOn, kPlay};
    QTest::newRow("last line without a line end")
        << QByteArray("07:30 ,Every day  ,Power On ,07A1D\r\n20:00 ,24.12.2006 ,Winamp play")
        << QStringList {kPowerOn, kPlay};
    QTest::newRow("empty last line")
        << QByteArray("07:30 ,Every day  ,Power On ,07A1D\r\n\r\n") << QStringList {kPowerOn};
    QTest::newRow("line that cannot be parsed is kept for the rebuild to report")
        << QByteArray("garbage\r\n07:30 ,Every day  ,Power On ,07A1D\r\n")
        << QStringList {"garbage", kPowerOn};
    QTest::newRow("empty file") << QByteArray() << QStringList {};
}

void tst_Form_ZS::load()
{
    QFETCH(QByteArray, content);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("script.txt"));
    writeFile(path, content);
    m_dialogs.queueFileName(path);
    m_form->cmdScriptLoad->click();
    QTEST(listLines(), "lines");
    QVERIFY(m_dialogs.messages().isEmpty());
}

void tst_Form_ZS::saveAsksBeforeOverwriting()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("old.txt"));
    writeFile(path, "old\r\n");
    m_form->List_ZS->addItem(kPowerOn);

    m_dialogs.queueFileName(path);
    m_dialogs.queueAnswer(UserDialogs::Answer::No);
    m_form->cmdScriptSave->click();
    QCOMPARE(fileContent(path), QByteArray("old\r\n"));
    QCOMPARE(m_dialogs.messageTexts(), QStringList {"Overwrite existing file ?"});
    QCOMPARE(m_dialogs.messages().front().buttons, UserDialogs::Buttons::YesNo);

    m_dialogs.clear();
    m_dialogs.queueFileName(path);
    m_dialogs.queueAnswer(UserDialogs::Answer::Yes);
    m_form->cmdScriptSave->click();
    QCOMPARE(fileContent(path), kPowerOn.toLatin1() + "\r\n");
    QCOMPARE(m_dialogs.messageTexts(),
             (QStringList {"Overwrite existing file ?", path + QStringLiteral(" saved...")}));
}

void tst_Form_ZS::cancelledOrFailedFileOperationsEndQuietly()
{
    m_form->List_ZS->addItem(kPowerOn);
    m_form->cmdScriptSave->click(); // cancelled
    m_form->cmdScriptLoad->click(); // cancelled
    m_dialogs.queueFileName(QStringLiteral("/nonexistent-folder/x.txt"));
    m_form->cmdScriptSave->click();
    m_dialogs.queueFileName(QStringLiteral("/nonexistent-folder/x.txt"));
    m_form->cmdScriptLoad->click();
    QCOMPARE(listLines(), QStringList {kPowerOn});
    QVERIFY(m_dialogs.messages().isEmpty());
    QVERIFY(m_errors.isEmpty());
}

QTEST_MAIN(tst_Form_ZS)
#include "tst_Form_ZS.moc"
