#include "platform/QSettingsStore.h"
#include "platform/SecretStore.h"
#include "platform/StoredPassword.h"
#include "tests/support/FakeSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <unistd.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// A secret store that answers after `delayMs`, or never when it is negative.
class SlowSecretStore : public SecretStore
{
public:
    explicit SlowSecretStore(int delayMs) : m_delayMs(delayMs) {}
    void read(const QString &, QObject *context, ReadDone done) override
    {
        if (m_delayMs >= 0)
            QTimer::singleShot(m_delayMs, context,
                               [done] { done(Outcome::Found, QStringLiteral("s3cret")); });
    }
    void write(const QString &, const QString &, QObject *context, WriteDone done) override
    {
        if (m_delayMs >= 0)
            QTimer::singleShot(m_delayMs, context, [done] { done(true); });
    }

private:
    int m_delayMs;
};

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void userFileInConfigHome();
    void systemWideFileIsNotRead();
    void roundTrip_data();
    void roundTrip();
    void keysAreCaseSensitive();
    void missingSectionIsEmpty();
    void handWrittenCommaValueReadsAsText();
    void writingConfigKeepsOtherSections();
    void failedFlushIsReported_data();
    void failedFlushIsReported();
    void secretStoreWaitIsBounded_data();
    void secretStoreWaitIsBounded();

private:
    QTemporaryDir m_dir;
};

void TestSettingsStore::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Before the first QSettings: it reads the configuration folder only once.
    qputenv("XDG_CONFIG_HOME", m_dir.filePath("home").toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", m_dir.filePath("system").toLocal8Bit());
    QVERIFY(QDir().mkpath(m_dir.filePath("system/Orvane")));
    writeFile(m_dir.filePath("system/Orvane/Orvane.conf"), "[Config]\nCom=4\nShell=xterm\n");
}

void TestSettingsStore::userFileInConfigHome()
{
    QSettingsStore store;
    store.writeValue("Config", "Mode", "2");
    QCOMPARE(store.flush(), QString());
    const QString expected = m_dir.filePath("home/Orvane/Orvane.conf");
    QCOMPARE(store.fileName(), expected);
    QVERIFY(readFile(expected).contains("[Config]\nMode=2"));
}

void TestSettingsStore::systemWideFileIsNotRead()
{
    QSettingsStore store;
    for (const auto &[key, value] : store.readSection("Config"))
        QVERIFY2(key != QLatin1String("Com") && key != QLatin1String("Shell"), qPrintable(key));
    store.writeValue("Config", "Debug", "1");
    QCOMPARE(store.flush(), QString());
    const QByteArray written = readFile(store.fileName());
    QVERIFY(!written.contains("Com=4"));
    QVERIFY(!written.contains("xterm"));
}

void TestSettingsStore::roundTrip_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("empty") << "";
    QTest::newRow("digit") << "1";
    QTest::newRow("windows path") << "c:\\windows\\system32\\calc.exe";
    QTest::newRow("command with arguments") << "xterm -e \"top -d 1\"";
    QTest::newRow("commas") << "a,b, c";
    QTest::newRow("leading and trailing blanks") << "  padded  ";
    QTest::newRow("at sign first") << "@Variant(x)";
    QTest::newRow("comment and section characters") << "; # [Ports] = x";
    QTest::newRow("non-ASCII") << QString::fromUtf8("gr\u00fcn \u20ac");
    QTest::newRow("line break") << "one\ntwo";
}

void TestSettingsStore::roundTrip()
{
    QFETCH(QString, value);
    const QString path = m_dir.filePath("roundtrip.conf");
    {
        QSettingsStore store(path);
        store.writeValue("Config", "Shell", value);
        QCOMPARE(store.flush(), QString());
    }
    QSettingsStore reread(path);
    QCOMPARE(reread.readValue("Config", "Shell"), value);
    const SettingsStore::Pairs pairs = reread.readSection("Config");
    QCOMPARE(pairs.size(), 1);
    QCOMPARE(pairs.first(), std::make_pair(QString("Shell"), value));
}

void TestSettingsStore::keysAreCaseSensitive()
{
    const QString path = m_dir.filePath("case.conf");
    {
        QSettingsStore store(path);
        store.writeValue("Config", "Com", "1");
        store.writeValue("Config", "com", "2");
        QCOMPARE(store.flush(), QString());
    }
    QSettingsStore reread(path);
    QCOMPARE(reread.readValue("Config", "Com"), QString("1"));
    QCOMPARE(reread.readValue("Config", "com"), QString("2"));
    QCOMPARE(reread.readValue("Config", "COM"), QString());
}

void TestSettingsStore::missingSectionIsEmpty()
{
    QSettingsStore store(m_dir.filePath("absent.conf"));
    QVERIFY(store.readSection("Config").isEmpty());
    QCOMPARE(store.readValue("Config", "Com"), QString());
}

void TestSettingsStore::handWrittenCommaValueReadsAsText()
{
    const QString path = m_dir.filePath("hand.conf");
    writeFile(path, "[Config]\nShell=xterm,-e,top\nCom=2\n");
    QSettingsStore store(path);
    QCOMPARE(store.readValue("Config", "Shell"), QString("xterm,-e,top"));
    const SettingsStore::Pairs pairs = store.readSection("Config");
    QVERIFY(pairs.contains(std::make_pair(QString("Shell"), QString("xterm,-e,top"))));
    QVERIFY(pairs.contains(std::make_pair(QString("Com"), QString("2"))));
}

void TestSettingsStore::writingConfigKeepsOtherSections()
{
    const QString path = m_dir.filePath("ports.conf");
    writeFile(path, "[Ports]\nCom1=/dev/ttyUSB0\n");
    QSettingsStore store(path);
    QCOMPARE(store.readValue("Ports", "Com1"), QString("/dev/ttyUSB0"));
    {
        // Another writer adds a port while the store is open.
        QSettings other(path, QSettings::IniFormat);
        other.setValue("Ports/Com2", "/dev/pts/7");
    }
    store.writeValue("Config", "Com", "2");
    QCOMPARE(store.flush(), QString());

    QSettingsStore reread(path);
    QCOMPARE(reread.readValue("Ports", "Com1"), QString("/dev/ttyUSB0"));
    QCOMPARE(reread.readValue("Ports", "Com2"), QString("/dev/pts/7"));
    QCOMPARE(reread.readValue("Config", "Com"), QString("2"));
}

void TestSettingsStore::failedFlushIsReported_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("folder cannot be created") << false;
    QTest::newRow("folder and file read-only") << true;
}

void TestSettingsStore::failedFlushIsReported()
{
    QFETCH(bool, readOnlyFolder);
    QString path = "/proc/orvane-no-such-folder/Orvane.conf";
    const QByteArray old = "[Config]\nCom=1\n";
    if (readOnlyFolder) {
        if (geteuid() == 0)
            QSKIP("root may write anywhere");
        const QString folder = m_dir.filePath("locked");
        QVERIFY(QDir().mkpath(folder));
        path = folder + "/Orvane.conf";
        writeFile(path, old);
        QFile::setPermissions(path, QFile::ReadOwner);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }

    QSettingsStore store(path);
    store.writeValue("Config", "Com", "3");
    const QString error = store.flush();
    QVERIFY(!error.isEmpty());
    QVERIFY(error.contains(path));
    if (readOnlyFolder) {
        QCOMPARE(readFile(path), old);
        QFile::setPermissions(m_dir.filePath("locked"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

void TestSettingsStore::secretStoreWaitIsBounded_data()
{
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QString>("inFile");
    QTest::addColumn<QString>("read");
    QTest::addColumn<bool>("answered");
    QTest::newRow("answers in time") << 0 << QString() << "s3cret" << true;
    QTest::newRow("answers after the limit") << 200 << QString() << QString() << false;
    QTest::newRow("never answers") << -1 << QString() << QString() << false;
    // The settings file's password is used without asking the store.
    QTest::newRow("in the settings file") << -1 << "f1le"
                                          << "f1le" << true;
}

void TestSettingsStore::secretStoreWaitIsBounded()
{
    QFETCH(int, delayMs);
    QFETCH(QString, inFile);
    QFETCH(QString, read);
    QFETCH(bool, answered);
    SlowSecretStore store(delayMs);
    FakeSettingsStore file;
    const StoredPassword::Place place {QStringLiteral("MQTT"), QStringLiteral("Password"),
                                       QStringLiteral("k")};
    file.writeValue(place.section, place.fileKey, inFile);
    QObject context;
    QList<std::pair<QString, bool>> reads;
    QStringList failures;
    StoredPassword::read(
        file, &store, place, &context, std::chrono::milliseconds(50),
        [&](const QString &password, bool told) { reads << std::pair(password, told); });
    StoredPassword::write(file, &store, place, QStringLiteral("v"), &context,
                          std::chrono::milliseconds(50),
                          [&](QString failure) { failures << failure; });
    QTRY_COMPARE(reads.size(), 1);
    QTRY_COMPARE(failures.size(), 1);
    // Each is told once: a late answer after the limit is not told again.
    QTest::qWait(300);
    QCOMPARE(reads.size(), 1);
    QCOMPARE(failures.size(), 1);
    QCOMPARE(reads.first(), std::pair(read, answered));
    QCOMPARE(failures.first(), QString());
    // A password the store did not take is kept in the settings file, written out.
    QCOMPARE(file.readValue(place.section, place.fileKey), delayMs == 0 ? QString() : "v");
    QVERIFY(!file.hasUnflushedWrites());
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
