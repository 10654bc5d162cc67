// Where the traffic log goes and how its failures show: beside a program in its build
// tree when that folder takes the file, else (and always when installed) in the user's
// state folder; a log that cannot be written is
// reported once. And the terminal's copy of the listing has CR LF line ends.

#include "Command.h"
#include "errors/OrvaneError.h"
#include "link/DebugLogFile.h"
#include "link/Form_Com.h"
#include "link/ReceiverLink.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeLinkHost.h"
#include "tests/support/FakeSerialPort.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <tuple>
#include <unistd.h>

namespace {
// The folder of a program run from its build tree.
QString buildTreeFolder(const QTemporaryDir &base)
{
    const QString folder = base.filePath(QStringLiteral("program"));
    QDir().mkpath(folder);
    QFile(QDir(folder).filePath(DebugLogFile::kBuildTreeMark)).open(QIODevice::WriteOnly);
    return folder;
}

// A build-tree folder no file can be created in, even by root (who ignores permission
// bits).
QString unwritableFolder(const QTemporaryDir &base)
{
    if (::geteuid() == 0)
        return QStringLiteral("/proc");
    const QString folder = buildTreeFolder(base);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    return folder;
}

// A link over a fake port with its terminal window, logging traffic to a file.
struct LoggingLink
{
    LoggingLink() { link.setTrafficLog(false, true); }
    auto parts() { return std::tie(errors, link, terminal); }

    CollectingErrorPresenter errors;
    FakeSerialPort port;
    FakeLinkHost host;
    ReceiverLink link {&port, &host, nullptr};
    Form_Com terminal {&link, &host};
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}
} // namespace

class tst_DebugLogFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void folder_data();
    void folder();
    void unwritableLogReportedOnce();
    void copyHasCrLf();

private:
    QByteArray m_savedHome;
    QByteArray m_savedState;
};

void tst_DebugLogFile::init()
{
    m_savedHome = qgetenv("HOME");
    m_savedState = qgetenv("XDG_STATE_HOME");
}

void tst_DebugLogFile::cleanup()
{
    qputenv("HOME", m_savedHome);
    if (m_savedState.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", m_savedState);
}

void tst_DebugLogFile::folder_data()
{
    QTest::addColumn<QString>("program"); // "build tree", "installed" (writable), "unwritable"
    QTest::addColumn<QString>("stateHome"); // "" unset; relative paths are ignored
    QTest::addColumn<QString>("expected");  // below the temporary folder

    QTest::newRow("build tree") << "build tree" << "state" << "program/debug.txt";
    QTest::newRow("installed in a folder it may write (root): XDG_STATE_HOME")
        << "installed" << "state" << "state/Orvane/debug.txt";
    QTest::newRow("unwritable build tree: XDG_STATE_HOME")
        << "unwritable" << "state" << "state/Orvane/debug.txt";
    QTest::newRow("unwritable build tree, no XDG_STATE_HOME: ~/.local/state")
        << "unwritable" << "" << "home/.local/state/Orvane/debug.txt";
    QTest::newRow("relative XDG_STATE_HOME is ignored")
        << "unwritable" << "relative" << "home/.local/state/Orvane/debug.txt";
}

void tst_DebugLogFile::folder()
{
    QFETCH(QString, program);
    QFETCH(QString, stateHome);
    QFETCH(QString, expected);

    QTemporaryDir base;
    QVERIFY(base.isValid());
    qputenv("HOME", base.filePath(QStringLiteral("home")).toLocal8Bit());
    if (stateHome.isEmpty())
        qunsetenv("XDG_STATE_HOME");
    else if (stateHome == QLatin1String("relative"))
        qputenv("XDG_STATE_HOME", "relative/state");
    else
        qputenv("XDG_STATE_HOME", base.filePath(stateHome).toLocal8Bit());
    if (program == QLatin1String("build tree"))
        program = buildTreeFolder(base);
    else if (program == QLatin1String("unwritable"))
        program = unwritableFolder(base);
    else
        QDir().mkpath(program = base.filePath(QStringLiteral("program")));

    LoggingLink logging;
    auto [errors, link, terminal] = logging.parts();
    link.logFile().setProgramFolder(program);
    const QString path = base.filePath(expected);
    // A file from an earlier session is emptied when logging starts again.
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
    }

    link.startLogFile();
    link.DebugLog(QStringLiteral("\x02" "07A1D\x03"), true);
    link.DebugLog(QStringLiteral("\x02" "002600\x03"), false);

    QCOMPARE(link.logFile().path(), path);
    QCOMPARE(QFile::exists(QDir(program).filePath(DebugLogFile::kFileName)),
             expected.startsWith(QLatin1String("program/")));
    QCOMPARE(contents(path), QByteArray("---> \x02" "07A1D\x03\r\n<--- \x02" "002600\x03\r\n"));
    QCOMPARE(terminal.logFileText(), QStringLiteral("Log file: ") + path);
    // The row shows the text whole, or shortened in the middle to fit a narrow window.
    const auto *place = terminal.findChild<QLabel *>(QStringLiteral("logPlace"));
    terminal.show();
    for (int width : {480, 200}) {
        terminal.resize(width, 320);
        QVERIFY(place->fontMetrics().horizontalAdvance(place->text()) <= place->width());
        QVERIFY(place->text().startsWith(QStringLiteral("Log ")));
        QVERIFY(place->text().endsWith(DebugLogFile::kFileName));
    }
    QVERIFY(errors.isEmpty());
    QFile::setPermissions(base.filePath(QStringLiteral("program")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void tst_DebugLogFile::unwritableLogReportedOnce()
{
    QTemporaryDir base;
    QVERIFY(base.isValid());
    // Neither folder takes the file.
    qputenv("XDG_STATE_HOME", "/proc/orvane-state");
    LoggingLink logging;
    auto [errors, link, terminal] = logging.parts();
    link.logFile().setProgramFolder(unwritableFolder(base));
    terminal.show();

    for (int i = 0; i < 5; ++i)
        link.DebugLog(QStringLiteral("line"), true);
    QCOMPARE(errors.reports().size(), 1);
    // The terminal says that logging stopped and why, once.
    const QString said = QStringLiteral("Logging stopped: ") + errors.reports().front().description;
    QCOMPARE(terminal.logFileText(), said);
    QCOMPARE(terminal.Text_Com->toPlainText().count(said), 1);

    // Switching the log on again tries again; the menu reports that failure, and the
    // lines after it add no report.
    QVERIFY_THROWS_EXCEPTION(OrvaneError, link.startLogFile());
    link.DebugLog(QStringLiteral("line"), true);
    QCOMPARE(errors.reports().size(), 1);
    QFile::setPermissions(base.filePath(QStringLiteral("program")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void tst_DebugLogFile::copyHasCrLf()
{
    LoggingLink logging;
    Form_Com &terminal = logging.terminal;
    terminal.show();
    terminal.appendTraffic(QStringLiteral("---> a"));
    terminal.appendTraffic(QStringLiteral("<--- b"));
    QTest::mouseClick(terminal.cmd_copy, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("---> a\r\n<--- b\r\n"));
}

QTEST_MAIN(tst_DebugLogFile)
#include "tst_DebugLogFile.moc"
