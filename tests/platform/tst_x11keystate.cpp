// Global keys from a real X server: each press of a known key is reported once, however
// short or long, and nothing is reported for other keys or while nobody watches.

#include "platform/X11KeyState.h"
#include "tests/support/XvfbProcess.h"

#include <QTest>

namespace {
constexpr int kKnownKeys[] = {107, 109, 173, 174, 175, 176, 177, 178, 179};
}

class tst_X11KeyState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void presses_data();
    void presses();
    void nothingWithoutWatching();
    void noDisplayNoKeys();

private:
    XvfbProcess m_server;
    QString m_skip;
};

void tst_X11KeyState::initTestCase()
{
    m_skip = XvfbProcess::missing();
    if (m_skip.isEmpty() && !m_server.start())
        m_skip = m_server.errorString();
    if (m_skip.isEmpty())
        qputenv("DISPLAY", m_server.display().toLocal8Bit());
}

void tst_X11KeyState::presses_data()
{
    QTest::addColumn<QStringList>("xdotool");
    QTest::addColumn<QList<int>>("pressed");

    QTest::newRow("play/pause") << QStringList {"key", "XF86AudioPlay"} << QList<int> {179};
    QTest::newRow("a separate pause key is play/pause")
        << QStringList {"key", "XF86AudioPause"} << QList<int> {179};
    QTest::newRow("transport keys")
        << QStringList {"key", "XF86AudioStop", "XF86AudioNext", "XF86AudioPrev"}
        << QList<int> {176, 177, 178};
    QTest::newRow("volume keys") << QStringList {"key", "XF86AudioMute", "XF86AudioLowerVolume",
                                                 "XF86AudioRaiseVolume"}
                                 << QList<int> {173, 174, 175};
    QTest::newRow("keypad plus and minus")
        << QStringList {"key", "KP_Add", "KP_Subtract"} << QList<int> {107, 109};
    QTest::newRow("other keys are not reported")
        << QStringList {"key", "a", "Return", "F5"} << QList<int> {};
    QTest::newRow("a key held down is one press")
        << QStringList {"keydown", "XF86AudioNext", "sleep", "0.8", "keyup", "XF86AudioNext"}
        << QList<int> {176};
    QTest::newRow("two presses of one key read once")
        << QStringList {"key", "--delay", "50", "XF86AudioPlay", "XF86AudioPlay"}
        << QList<int> {179};
}

void tst_X11KeyState::presses()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    QFETCH(QStringList, xdotool);
    QFETCH(QList<int>, pressed);

    X11KeyState keys;
    int reports = 0;
    QVERIFY(keys.watch([&reports] { ++reports; }));
    // The keys go down and up before the program reads anything: no press is lost.
    QVERIFY(m_server.xdotool(xdotool));
    if (!pressed.isEmpty())
        QTRY_VERIFY(reports > 0);
    else
        QTest::qWait(200);

    for (int key : kKnownKeys)
        QVERIFY2(keys.wentDown(key) == pressed.contains(key), qPrintable(QString::number(key)));
    for (int key : kKnownKeys)
        QVERIFY2(!keys.wentDown(key), "a press is read once");
    QCOMPARE(reports > 0, !pressed.isEmpty());
    keys.watch(nullptr);
}

void tst_X11KeyState::nothingWithoutWatching()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    X11KeyState keys;
    int reports = 0;
    QVERIFY(keys.watch([&reports] { ++reports; }));
    QVERIFY(keys.watch(nullptr));
    QVERIFY(m_server.xdotool({"key", "XF86AudioPlay"}));
    QTest::qWait(200);
    QCOMPARE(reports, 0);
    QVERIFY(!keys.wentDown(179));

    // Watching again sees new presses only.
    QVERIFY(keys.watch([&reports] { ++reports; }));
    QVERIFY(m_server.xdotool({"key", "XF86AudioStop"}));
    QTRY_COMPARE(reports, 1);
    QVERIFY(!keys.wentDown(179));
    QVERIFY(keys.wentDown(178));
}

void tst_X11KeyState::noDisplayNoKeys()
{
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    X11KeyState keys;
    QVERIFY(!keys.watch([] {}));
    QVERIFY(!keys.wentDown(179));
    if (!display.isEmpty())
        qputenv("DISPLAY", display);
}

QTEST_GUILESS_MAIN(tst_X11KeyState)
#include "tst_x11keystate.moc"
