// Measured run of the player remote with a real media player on a private X server and
// session bus. Not a unit test: run it by hand and read the figures it prints.
//  1. From a media key press to the command at the player and to the player's new
//     state, through the real program.
//  2. From a track change to the title on the main window's player label.

#include "addins/AddInRuntime.h"
#include "app/Form_ControlCenter.h"
#include "app/ProgramParts.h"
#include "platform/Platform.h"
#include "program/ProgramValues.h"
#include "platform/X11KeyState.h"
#include "player/MprisPlayerRemote.h"
#include "sim/ReceiverModel.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/EndToEndHarness.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeKeyState.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeShell.h"
#include "tests/support/FakeUserDialogs.h"
#include "tests/support/MediaPlayerProcess.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

bool waitUntil(const std::function<bool()> &done, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void printFigures(const char *what, QList<double> values)
{
    if (values.isEmpty()) {
        std::printf("%s: no measurement\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values)
        sum += v;
    std::printf("%s (%lld runs): median %.1f ms, mean %.1f ms, max %.1f ms\n", what,
                static_cast<long long>(values.size()), values[values.size() / 2],
                sum / values.size(), values.last());
}

// A player that always plays and notes when a command reaches it.
class CommandClock : public QDBusVirtualObject
{
public:
    explicit CommandClock(const QElapsedTimer &clock)
        : m_clock(clock)
    {
    }
    qint64 arrivedAt = -1;

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.member() == QLatin1String("GetAll")) {
            const QVariantMap metadata {{QStringLiteral("xesam:title"), QStringLiteral("Clock")}};
            connection.send(message.createReply(QVariant::fromValue(
                QVariantMap {{QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")},
                             {QStringLiteral("Metadata"), metadata}})));
        } else if (message.interface() == QLatin1String("org.mpris.MediaPlayer2.Player")
                   && arrivedAt < 0) {
            arrivedAt = m_clock.nsecsElapsed();
        }
        return true;
    }

private:
    const QElapsedTimer &m_clock;
};

int fail(const QString &why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;
    if (qEnvironmentVariableIsEmpty("ORVANE_BUILD_DIR"))
        qputenv("ORVANE_BUILD_DIR",
                QFile::encodeName(QCoreApplication::applicationDirPath() + "/.."));

    if (const QString missing = MediaPlayerProcess::missing(); !missing.isEmpty())
        return fail(missing);
    EndToEndHarness e2e;
    if (!e2e.startBus() || !e2e.startDisplay())
        return fail(e2e.errorString());
    PrivateBus &bus = e2e.bus();
    qputenv("DISPLAY", e2e.display().display().toLocal8Bit());

    QTemporaryDir dir;
    const QStringList tracks
        = {dir.filePath(QStringLiteral("a.wav")), dir.filePath(QStringLiteral("b.wav"))};
    MediaPlayerProcess::writeTrack(tracks[0], QStringLiteral("Song A"), QStringLiteral("Artist A"),
                                   600);
    MediaPlayerProcess::writeTrack(tracks[1], QStringLiteral("Song B"), QStringLiteral("Artist B"),
                                   600);
    MediaPlayerProcess player;
    if (!player.start(bus.address(), tracks))
        return fail(QStringLiteral("mpv does not start"));
    QDBusConnection connection
        = QDBusConnection::connectToBus(bus.address(), QStringLiteral("bench"));
    MprisPlayerRemote observer(connection);
    if (!waitUntil([&] { return observer.title() == QLatin1String("Artist A - Song A"); }, 10000))
        return fail(QStringLiteral("the player does not show up on the bus"));

    // 1. The real program with both media-key options on; the bench sees the same key
    // events as the program and times from the press to the player's new status.
    if (!e2e.writeSettings("[Config]\nMediaKeyWinamp=1\nMediaKeyOrvane=1\n") || !e2e.startProgram())
        return fail(QStringLiteral("orvane does not start: ") + e2e.errorString());
    QProcess &program = e2e.program();
    waitUntil([] { return false; }, 4000); // the program's start-up wait and load

    QElapsedTimer clock;
    clock.start();
    qint64 pressedAt = -1;
    X11KeyState keys;
    keys.watch([&] {
        if (keys.wentDown(179))
            pressedAt = clock.nsecsElapsed();
    });
    const auto press = [] {
        QProcess::startDetached(QStringLiteral("xdotool"),
                                {QStringLiteral("key"), QStringLiteral("XF86AudioPlay")});
    };

    // A player of the bench's own that plays and appeared last is the program's player:
    // from the press to the command's arrival is the program's own share.
    QList<double> toCommand;
    {
        QDBusConnection own = QDBusConnection::connectToBus(bus.address(), QStringLiteral("clock"));
        CommandClock commandClock(clock);
        own.registerVirtualObject(QStringLiteral("/org/mpris/MediaPlayer2"), &commandClock);
        own.registerService(QStringLiteral("org.mpris.MediaPlayer2.clock"));
        waitUntil([] { return false; }, 1000);
        for (int run = 0; run < runs; ++run) {
            pressedAt = -1;
            commandClock.arrivedAt = -1;
            press();
            waitUntil([&] { return commandClock.arrivedAt >= 0 && pressedAt >= 0; }, 3000);
            if (commandClock.arrivedAt >= 0 && pressedAt >= 0)
                toCommand << (commandClock.arrivedAt - pressedAt) / 1e6;
            waitUntil([] { return false; }, 200);
        }
        own.unregisterService(QStringLiteral("org.mpris.MediaPlayer2.clock"));
        own.unregisterObject(QStringLiteral("/org/mpris/MediaPlayer2"));
        waitUntil([] { return false; }, 500);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("clock"));

    QList<double> keyLatency;
    for (int run = 0; run < runs; ++run) {
        const int before = observer.status();
        pressedAt = -1;
        qint64 changedAt = -1;
        const QMetaObject::Connection watch
            = QObject::connect(&observer, &MprisPlayerRemote::changed, [&] {
                  if (changedAt < 0 && observer.status() != before)
                      changedAt = clock.nsecsElapsed();
              });
        press();
        waitUntil([&] { return changedAt >= 0 && pressedAt >= 0; }, 3000);
        QObject::disconnect(watch);
        if (changedAt >= 0 && pressedAt >= 0)
            keyLatency << (changedAt - pressedAt) / 1e6;
        waitUntil([] { return false; }, 300);
    }
    keys.watch(nullptr);

    // For comparison: the player's own time from a command on the bus to its new status.
    QList<double> direct;
    for (int run = 0; run < runs; ++run) {
        const int before = observer.status();
        qint64 changedAt = -1;
        const QMetaObject::Connection watch
            = QObject::connect(&observer, &MprisPlayerRemote::changed, [&] {
                  if (changedAt < 0 && observer.status() != before)
                      changedAt = clock.nsecsElapsed();
              });
        const qint64 sentAt = clock.nsecsElapsed();
        observer.togglePause();
        waitUntil([&] { return changedAt >= 0; }, 3000);
        QObject::disconnect(watch);
        if (changedAt >= 0)
            direct << (changedAt - sentAt) / 1e6;
        waitUntil([] { return false; }, 300);
    }
    program.terminate();
    program.waitForFinished(5000);
    printFigures("media key press to command at the player", toCommand);
    printFigures("media key press to player state (mpv)", keyLatency);
    printFigures("command on the bus to player state (the player alone)", direct);

    // 2. The main window with the real remote: a track change to its title on the label.
    CollectingErrorPresenter errors;
    ReceiverModel model;
    FakeSerialPort port(&model);
    FakeSettingsStore settings;
    FakeUserDialogs dialogs;
    FakeKeyState noKeys;
    FakeShell shell;
    FakeClock time;
    MprisPlayerRemote remote(connection);
    Platform platform;
    platform.serialPort = &port;
    platform.settings = &settings;
    platform.dialogs = &dialogs;
    platform.keys = &noKeys;
    platform.player = &remote;
    platform.shell = &shell;
    platform.clock = &time;
    AddInRuntime runtime(&dialogs, &remote);
    ProgramValues values;
    ProgramParts parts(platform, runtime, values);
    Form_ControlCenter &window = parts.window();
    window.show();
    auto *label = window.findChild<QLabel *>(QStringLiteral("lblWinAmp"));
    if (!label)
        return fail(QStringLiteral("no player label"));
    waitUntil([] { return false; }, 2500);
    QList<double> toRemote;
    QList<double> toLabel;
    for (int run = 0; run < runs; ++run) {
        const bool forward = run % 2 == 0;
        const QString expected
            = forward ? QStringLiteral("Artist B - Song B") : QStringLiteral("Artist A - Song A");
        // Track changes land at any moment of the title period.
        waitUntil([] { return false; }, 300 + 170 * run % 1700);
        const qint64 start = clock.nsecsElapsed();
        if (forward)
            observer.next();
        else
            observer.previous();
        qint64 known = -1;
        waitUntil(
            [&] {
                if (known < 0 && remote.title() == expected)
                    known = clock.nsecsElapsed();
                return label->isVisible() && label->text() == expected;
            },
            5000);
        if (known >= 0)
            toRemote << (known - start) / 1e6;
        if (label->isVisible() && label->text() == expected)
            toLabel << (clock.nsecsElapsed() - start) / 1e6;
    }
    printFigures("track change to title known", toRemote);
    printFigures("track change to title on lblWinAmp", toLabel);
    return errors.isEmpty() ? 0 : 1;
}
