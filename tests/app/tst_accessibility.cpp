#include "tests/support/MainWindowFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <ctlFrame.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

// The option buttons and checkable menu items as a screen reader meets them: over AT-SPI,
// from a separate client (Python's pyatspi), against the window on an X server of its own
// with a private session bus. Without those parts the tests skip.

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

// A private X server and session bus, started before the application so that its
// accessibility bridge registers on them.
class AtSpiSession
{
public:
    AtSpiSession()
    {
        const QString launcher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
        if (!QFileInfo::exists(launcher)) {
            m_skipReason = "at-spi2-core is not installed";
            return;
        }
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString dbus = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (xvfb.isEmpty() || dbus.isEmpty()) {
            m_skipReason = "Xvfb or dbus-daemon is not installed";
            return;
        }
        if (run({kPython, "-c", "import pyatspi"}) != 0) {
            m_skipReason = "python3-pyatspi is not installed";
            return;
        }

        // The accessibility bus's socket goes into the runtime folder (else ~/.cache):
        // a private one, so another run's bus can neither take it nor remove it.
        if (!m_runtime.isValid()) {
            m_skipReason = "no temporary folder for the runtime files";
            return;
        }
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));

        int out = -1;
        m_bus = spawn({dbus, "--session", "--nofork", "--print-address=1"}, &out);
        const QByteArray address = readLine(out).trimmed();
        if (m_bus <= 0 || address.isEmpty()) {
            m_skipReason = "the session bus did not start";
            return;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);

        int display = 140;
        while (display < 200 && QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
            ++display;
        m_x = spawn({xvfb, QStringLiteral(":%1").arg(display), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp"},
                    nullptr);
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
        for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i)
            usleep(50'000);
        if (!QFileInfo::exists(socket)) {
            m_skipReason = "Xvfb did not start";
            return;
        }
        qputenv("DISPLAY", QStringLiteral(":%1").arg(display).toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        m_ready = true;
    }

    ~AtSpiSession()
    {
        for (pid_t pid : {m_x, m_bus}) {
            if (pid > 0) {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
        }
    }

    bool ready() const { return m_ready; }
    const char *skipReason() const { return m_skipReason; }

private:
    static pid_t spawn(const QStringList &arguments, int *out)
    {
        int fds[2] = {-1, -1};
        if (out && pipe(fds) != 0)
            return -1;
        QList<QByteArray> bytes;
        for (const QString &a : arguments)
            bytes.append(a.toLocal8Bit());
        QList<char *> argv;
        for (QByteArray &b : bytes)
            argv.append(b.data());
        argv.append(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(out ? fds[1] : null, 1);
            dup2(null, 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
        if (out) {
            close(fds[1]);
            *out = fds[0];
        }
        return pid;
    }

    static QByteArray readLine(int fd)
    {
        QByteArray line;
        char c = 0;
        while (fd >= 0 && read(fd, &c, 1) == 1 && c != '\n')
            line.append(c);
        return line;
    }

    static int run(const QStringList &arguments)
    {
        const pid_t pid = spawn(arguments, nullptr);
        int status = 0;
        if (pid <= 0 || waitpid(pid, &status, 0) != pid)
            return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    QTemporaryDir m_runtime;
    pid_t m_bus = -1;
    pid_t m_x = -1;
    bool m_ready = false;
    const char *m_skipReason = "";
};

AtSpiSession *g_session = nullptr;

// Runs the AT-SPI client while this program's events keep running (it answers the
// client's calls); returns its "key=value" lines.
QHash<QString, QString> atspi(const QStringList &arguments)
{
    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client.start(kPython,
                 QStringList {QFINDTESTDATA("atspi_action.py"), QCoreApplication::applicationName()}
                     + arguments);
    QElapsedTimer clock;
    clock.start();
    while (client.state() != QProcess::NotRunning && clock.elapsed() < 60'000)
        QTest::qWait(20);
    QHash<QString, QString> result;
    for (const QByteArray &line : client.readAllStandardOutput().split('\n')) {
        const qsizetype at = line.indexOf('=');
        if (at > 0)
            result.insert(QString::fromUtf8(line.left(at)), QString::fromUtf8(line.mid(at + 1)));
    }
    return result;
}

} // namespace

class tst_accessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void optionChosenThroughAccessibility_data();
    void optionChosenThroughAccessibility();
    void checkableMenuItemChosenThroughAccessibility();
};

void tst_accessibility::init()
{
    if (!g_session->ready())
        QSKIP(g_session->skipReason());
}

void tst_accessibility::optionChosenThroughAccessibility_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("zone2");
    QTest::addColumn<QString>("action");
    QTest::newRow("input DVD, main zone, toggle") << "Input" << 8 << false << "Toggle";
    QTest::newRow("input DVD, zone 2, toggle") << "Rec Out" << 8 << true << "Toggle";
    QTest::newRow("input TUNER, main zone, press") << "Input" << 11 << false << "Press";
    QTest::newRow("DSP Hall A, toggle") << "DSP" << 1 << false << "Toggle";
    QTest::newRow("speakers A On, toggle") << "Speakers A" << 1 << false << "Toggle";
}

// Choosing an option through accessibility does what a mouse click on it does: the same
// command goes out and the same display lines show. The button is announced as a radio
// button and shows as checked afterwards; "none selected" stays possible.
void tst_accessibility::optionChosenThroughAccessibility()
{
    QFETCH(QString, panel);
    QFETCH(int, index);
    QFETCH(bool, zone2);
    QFETCH(QString, action);

    MainWindowFixture f;
    Form_ControlCenter &w = f.w();
    OptionArray &options = f.panel(panel);
    QRadioButton *button = options(index);
    f.showOpened();
    if (zone2)
        ui(w).Menu_Mode_Zone2->trigger();
    f.openPort();

    // What a mouse click does.
    const QString line1 = f.line1();
    const QString line2 = f.line2();
    f.port.clearWrites();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    const QStringList clickCodes = f.port.writtenCodes();
    const QString clickLine1 = f.line1();
    const QString clickLine2 = f.line2();
    QVERIFY(!clickCodes.isEmpty());

    options.clearSelection();
    QCOMPARE(options.selected(), std::nullopt);
    w.setLine1(line1);
    w.setLine2(line2);
    f.port.clearWrites();

    const auto answer = atspi({"radio button,check box", button->text(), action, panel});
    QCOMPARE(answer.value("error"), QString());
    QCOMPARE(answer.value("role"), QStringLiteral("radio button"));
    QVERIFY2(answer.value("actions").contains("Toggle", Qt::CaseInsensitive),
             qPrintable(answer.value("actions")));
    QVERIFY(!answer.value("before").split(',').contains("checked"));
    QVERIFY(answer.value("after").split(',').contains("checked"));

    QCOMPARE(f.port.writtenCodes(), clickCodes);
    QCOMPARE(f.line1(), clickLine1);
    QCOMPARE(f.line2(), clickLine2);
    QCOMPARE(options.selected(), std::optional<int>(index));
    QVERIFY(f.errors.reports().isEmpty());
}

// A checkable menu item is announced with its check mark, and choosing it through
// accessibility runs its handler, as a click does.
void tst_accessibility::checkableMenuItemChosenThroughAccessibility()
{
    MainWindowFixture f;
    Form_ControlCenter &w = f.w();
    f.showOpened();
    QVERIFY(ui(w).Menu_Mode_Main->isChecked());

    const auto answer = atspi({"menu item,check box,radio button", "Zone2", "Toggle"});
    QCOMPARE(answer.value("error"), QString());
    QCOMPARE(answer.value("role"), QStringLiteral("check box"));
    QVERIFY(!answer.value("before").split(',').contains("checked"));
    QVERIFY(answer.value("after").split(',').contains("checked"));

    QTRY_VERIFY(ui(w).Menu_Mode_Zone2->isChecked());
    QVERIFY(!ui(w).Menu_Mode_Main->isChecked());
    QCOMPARE(ui(w).Frame_Input->Caption(), QStringLiteral("Rec Out"));
    QCOMPARE(f.line1(), QStringLiteral("Mode Zone 2"));
    QVERIFY(f.errors.reports().isEmpty());
}

int main(int argc, char **argv)
{
    AtSpiSession session;
    g_session = &session;
    QApplication app(argc, argv);
    tst_accessibility test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessibility.moc"
