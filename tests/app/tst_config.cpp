#include "errors/OrvaneError.h"
#include "platform/QSettingsStore.h"
#include "tests/support/MainWindowFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The eight stored choices: loading them into the menus (with the reports for values
// that name no item), saving them, and the round trip through the settings file.
class tst_Config : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadOneValue_data();
    void loadOneValue();
    void badValuesDoNotStopTheRest();
    void saveWritesEveryKeyInOrder_data();
    void saveWritesEveryKeyInOrder();
    void failedSaveIsReported();
    void settingsFileRoundTrip();

private:
    QTemporaryDir m_configHome;
};

namespace {

using Pairs = SettingsStore::Pairs;
using Configure = std::function<void(Form_ControlCenter &)>;

QString checkedIndices(const ControlArray<QAction> &items)
{
    QStringList checked;
    for (int index : items.indices())
        if (items(index)->isChecked())
            checked << QString::number(index);
    return checked.join(QLatin1Char(','));
}

// The choices as the menus hold them, plus the link's port and the terminal's visibility.
QList<std::pair<QString, QString>> choices(const Form_ControlCenter &form)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return {
        {QStringLiteral("Com"), checkedIndices(ui(form).Menu_Setup_Port)},
        {QStringLiteral("CommPort"), QString::number(form.link()->CommPort())},
        {QStringLiteral("ReportTime"), checkedIndices(ui(form).Menu_Setup_ReportTime)},
        {QStringLiteral("Main"), flag(ui(form).Menu_Mode_Main->isChecked())},
        {QStringLiteral("Zone2"), flag(ui(form).Menu_Mode_Zone2->isChecked())},
        {QStringLiteral("Extras"), checkedIndices(ui(form).Menu_Extras_61_ES)},
        {QStringLiteral("Debug"), flag(ui(form).Menu_Setup_Debug->isChecked())},
        {QStringLiteral("Terminal"), flag(MainWindowFixture::com(form)->isVisible())},
        {QStringLiteral("Shell"), ui(form).Menu_Extras_61_ES(3)->data().toString()},
        {QStringLiteral("MTOrvane"), flag(ui(form).Menu_Extras_MT_Orvane->isChecked())},
        {QStringLiteral("MTWinamp"), flag(ui(form).Menu_Extras_MT_Winamp->isChecked())},
    };
}

QString changes(const QList<std::pair<QString, QString>> &before,
                const QList<std::pair<QString, QString>> &after)
{
    QStringList result;
    for (qsizetype i = 0; i < after.size(); ++i)
        if (after[i].second != before[i].second)
            result << after[i].first + QLatin1Char('=') + after[i].second;
    return result.join(QLatin1Char(' '));
}

const QString kDefaultShell = QStringLiteral("c:\\windows\\system32\\calc.exe");

Pairs savedPairs(const QString &com, const QString &reportTime, const QString &mode,
                 const QString &extras, const QString &debug, const QString &shell,
                 const QString &orvane, const QString &winamp)
{
    return {{"Com", com},
            {"ReportTime", reportTime},
            {"Mode", mode},
            {"Extras", extras},
            {"Debug", debug},
            {"Shell", shell},
            {"MediaKeyOrvane", orvane},
            {"MediaKeyWinamp", winamp}};
}

void uncheckAll(ControlArray<QAction> &items)
{
    for (int index : items.indices())
        items(index)->setChecked(false);
}

} // namespace

void tst_Config::initTestCase()
{
    // The real store finds its file through this variable; set it before its first use.
    QVERIFY(m_configHome.isValid());
    qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
}

void tst_Config::loadOneValue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("changed");
    QTest::addColumn<int>("reports");

    const auto row = [](const char *name, const char *key, const char *value, const char *changed,
                        int reports) { QTest::newRow(name) << key << value << changed << reports; };
    row("Com 3 also sets the link's port", "Com", "3", "Com=3 CommPort=3", 0);
    row("Com 3x reads as 3", "Com", "3x", "Com=3 CommPort=3", 0);
    row("Com 9 names no port", "Com", "9", "Com=", 1);
    row("Com not a number reads as 0", "Com", "x", "Com=", 1);
    row("Com too large", "Com", "99999999999", "Com=", 1);
    row("Com empty keeps Com 1", "Com", "", "", 0);
    row("ReportTime 350 ms", "ReportTime", "7", "ReportTime=7", 0);
    row("ReportTime not a number is Real Time", "ReportTime", "abc", "", 0);
    row("ReportTime 8 names no item", "ReportTime", "8", "ReportTime=", 1);
    row("Mode 2 is zone 2", "Mode", "2", "Main=0 Zone2=1", 0);
    row("Mode 3 changes nothing", "Mode", "3", "", 0);
    row("Mode 2x is not 2", "Mode", "2x", "", 0);
    row("Extras 2", "Extras", "2", "Extras=2", 0);
    row("Extras 4 names no item", "Extras", "4", "", 1);
    row("Extras not a number", "Extras", "none", "", 1);
    row("Debug 1 shows the terminal", "Debug", "1", "Debug=1 Terminal=1", 0);
    row("Debug 0 is off", "Debug", "0", "", 0);
    row("Shell", "Shell", "/usr/bin/xcalc", "Shell=/usr/bin/xcalc", 0);
    row("MediaKeyOrvane 1", "MediaKeyOrvane", "1", "MTOrvane=1", 0);
    row("MediaKeyWinamp 1", "MediaKeyWinamp", "1", "MTWinamp=1", 0);
    row("keys are case-sensitive", "com", "3", "", 0);
    row("unknown key", "Colour", "red", "", 0);
}

void tst_Config::loadOneValue()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, changed);
    QFETCH(int, reports);

    MainWindowFixture w;
    const auto before = choices(*w.window);
    w.settings.setSection(QStringLiteral("Config"), {{key, value}});

    inside(*w.window).LoadConfig();

    QCOMPARE(changes(before, choices(*w.window)), changed);
    QCOMPARE(w.errors.reports().size(), reports);
    for (const ErrorReport &report : w.errors.reports()) {
        QCOMPARE(report.module, QStringLiteral("Form_ControlCenter"));
        QCOMPARE(report.procedure, QStringLiteral("LoadConfig"));
        QCOMPARE(report.number, OrvaneError::kNoSuchElement);
        // The control array that failed is no line of the procedure.
        QCOMPARE(report.line, 0);
    }
}

void tst_Config::badValuesDoNotStopTheRest()
{
    MainWindowFixture w;
    const auto before = choices(*w.window);
    w.settings.setSection(QStringLiteral("Config"),
                          {{"Com", "9"},
                           {"ReportTime", "3"},
                           {"Mode", "2"},
                           {"Extras", "7"},
                           {"Debug", "1"},
                           {"Shell", "/bin/true"},
                           {"MediaKeyOrvane", "1"},
                           {"MediaKeyWinamp", "1"}});

    inside(*w.window).LoadConfig();

    QCOMPARE(changes(before, choices(*w.window)),
             QStringLiteral("Com= ReportTime=3 Main=0 Zone2=1 Debug=1 Terminal=1 "
                            "Shell=/bin/true MTOrvane=1 MTWinamp=1"));
    QCOMPARE(w.errors.reports().size(), 2);
}

void tst_Config::saveWritesEveryKeyInOrder_data()
{
    QTest::addColumn<Configure>("configure");
    QTest::addColumn<Pairs>("saved");

    QTest::newRow("fresh user") << Configure([](Form_ControlCenter &) {})
                                << savedPairs("1", "0", "1", "", "", kDefaultShell, "0", "0");
    QTest::newRow("every choice changed") << Configure([](Form_ControlCenter &f) {
        uncheckAll(ui(f).Menu_Setup_Port);
        ui(f).Menu_Setup_Port(4)->setChecked(true);
        uncheckAll(ui(f).Menu_Setup_ReportTime);
        ui(f).Menu_Setup_ReportTime(7)->setChecked(true);
        ui(f).Menu_Mode_Main->setChecked(false);
        ui(f).Menu_Mode_Zone2->setChecked(true);
        ui(f).Menu_Extras_61_ES(3)->setChecked(true);
        ui(f).Menu_Extras_61_ES(3)->setData(QStringLiteral("xterm"));
        ui(f).Menu_Setup_Debug->setChecked(true);
        ui(f).Menu_Extras_MT_Orvane->setChecked(true);
        ui(f).Menu_Extras_MT_Winamp->setChecked(true);
    }) << savedPairs("4", "7", "2", "3", "1", "xterm", "1", "1");
    QTest::newRow("nothing checked in the indexed groups") << Configure([](Form_ControlCenter &f) {
        uncheckAll(ui(f).Menu_Setup_Port);
        uncheckAll(ui(f).Menu_Setup_ReportTime);
    }) << savedPairs("", "", "1", "", "", kDefaultShell, "0", "0");
    QTest::newRow("two checked: the first one counts") << Configure([](Form_ControlCenter &f) {
        ui(f).Menu_Setup_Port(5)->setChecked(true);
        ui(f).Menu_Extras_61_ES(2)->setChecked(true);
        ui(f).Menu_Extras_61_ES(1)->setChecked(true);
    }) << savedPairs("1", "0", "1", "1", "", kDefaultShell, "0", "0");
}

void tst_Config::saveWritesEveryKeyInOrder()
{
    QFETCH(Configure, configure);
    QFETCH(Pairs, saved);

    MainWindowFixture w;
    inside(*w.window).LoadConfig();
    configure(*w.window);
    inside(*w.window).SaveConfig();

    QCOMPARE(w.settings.storedSection(QStringLiteral("Config")), saved);
    QCOMPARE(w.settings.flushCount(), 1);
    QVERIFY(w.errors.isEmpty());
}

void tst_Config::failedSaveIsReported()
{
    MainWindowFixture w;
    w.settings.setSection(QStringLiteral("Config"), {{"Com", "2"}});
    w.settings.setFlushFailure(QStringLiteral("disk full"));
    inside(*w.window).LoadConfig();
    ui(*w.window).Menu_Extras_MT_Orvane->setChecked(true);

    inside(*w.window).SaveConfig();

    QCOMPARE(w.errors.reports().size(), 1);
    const ErrorReport report = w.errors.reports().first();
    QCOMPARE(report.module, QStringLiteral("Form_ControlCenter"));
    QCOMPARE(report.procedure, QStringLiteral("SaveConfig"));
    QVERIFY(report.description.contains(QStringLiteral("disk full")));
    QCOMPARE(w.settings.storedSection(QStringLiteral("Config")), (Pairs {{"Com", "2"}}));
}

void tst_Config::settingsFileRoundTrip()
{
    const QString file = m_configHome.filePath(QStringLiteral("Orvane/Orvane.conf"));
    QFile::remove(file);
    {
        // Another section of the same file (the port names) must survive a save.
        QSettingsStore store;
        QCOMPARE(store.fileName(), file);
        store.writeValue(QStringLiteral("Ports"), QStringLiteral("Com1"), QStringLiteral("/dev/x"));
        QCOMPARE(store.flush(), QString());
    }
    QList<std::pair<QString, QString>> saved;
    {
        QSettingsStore store;
        MainWindowFixture w({}, nullptr, &store);
        inside(*w.window).LoadConfig();
        ui(*w.window).Menu_Setup_Port(1)->setChecked(false);
        ui(*w.window).Menu_Setup_Port(2)->setChecked(true);
        ui(*w.window).Menu_Extras_61_ES(2)->setChecked(true);
        ui(*w.window).Menu_Extras_MT_Winamp->setChecked(true);
        saved = choices(*w.window);
        inside(*w.window).SaveConfig();
        QVERIFY(w.errors.isEmpty());
    }

    QFile settings(file);
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(settings.readAll());
    QVERIFY(text.contains(QStringLiteral("[Config]")));
    QVERIFY(text.contains(QStringLiteral("\nDebug=\n")));
    QVERIFY(text.contains(QStringLiteral("\nMediaKeyOrvane=0\n")));
    QVERIFY(text.contains(QStringLiteral("[Ports]\nCom1=/dev/x")));

    QSettingsStore store;
    MainWindowFixture w({}, nullptr, &store);
    inside(*w.window).LoadConfig();
    auto loaded = choices(*w.window);
    saved[1].second = loaded[1].second; // the link's port: set by loading, not by the menu
    QCOMPARE(loaded, saved);
    QCOMPARE(w.window->link()->CommPort(), 2);
}

QTEST_MAIN(tst_Config)
#include "tst_config.moc"
