#include "app/Modul_Orvane.h"

#include "addins/AddInBusService.h"
#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "app/TerminationHandler.h"
#include "errors/ErrBoxPresenter.h"
#include "errors/ShowErrBox.h"
#include "link/Form_Com.h"
#include "link/LinkTimings.h"
#include "platform/LinuxPlatform.h"
#include "platform/SwitchingSerialPort.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace Modul_Orvane {

bool AppClosing = false;
bool MiniMode = false;
clsAddIns *oAddIns = nullptr;

namespace {
constexpr std::chrono::milliseconds kStartWait{1000};
}

QString VersionText()
{
    return QStringLiteral("%1.%2%3")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}

QString FullVersionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}

int Main(const QString &commandLine)
{
    // The receiver's own timing for every wait of the link and of Pause.
    LinkTimings::set(LinkTimings {});

    LinuxPlatform linuxPlatform;
    Platform &platform = linuxPlatform.platform();
    SwitchingSerialPort serialPort(platform.settings);
    platform.serialPort = &serialPort;
    ErrBoxPresenter errorBox(platform.shell, platform.dialogs);
    setErrorPresenter(&errorBox);

    oAddIns = new clsAddIns();
    clsAddIn::setDialogs(platform.dialogs);
    clsAddIn::setPlayer(platform.player);

    // SIGTERM, SIGINT and SIGHUP are caught from the start. Before the main window has
    // loaded they only end the start-up: during the wait nothing has been read, so
    // nothing is saved; during the load (a "-C" connection waits on the receiver) the
    // load finishes and the window then unloads as it would at the end.
    Form_ControlCenter *main = nullptr;
    QEventLoop wait;
    bool loaded = false;
    bool endRequested = false;
    TerminationHandler termination([&] {
        if (!loaded) {
            endRequested = true;
            wait.quit();
            return;
        }
        // Ending from outside unloads the main window like its own End menu.
        if (main->Form_Unload())
            QApplication::quit();
    });

    // The start-up wait lets pending window events run and costs no CPU. The window's
    // controls are built while it runs, so only the load steps follow it; nothing of
    // the load runs early.
    QElapsedTimer started;
    started.start();
    main = new Form_ControlCenter(platform);
    // An add-in that registers from outside during the wait gets the main window loaded.
    std::optional<bool> loadResult;
    const auto load = [&] {
        if (!loadResult)
            loadResult = main->Form_Load(commandLine);
    };
    clsAddIn::setMainWindowLoader(load);
    // Outside programs drive the program over the user's session bus, from the wait
    // on; a second Orvane waits for the name and takes it when the first one ends.
    AddInBusService automation(QDBusConnection::sessionBus());
    // The terminal window tells it too: a desktop start shows no stderr.
    QObject::connect(&automation, &AddInBusService::nameWaiting, [main](const QString &text) {
        std::fprintf(stderr, "Orvane: %s\n", qPrintable(text));
        main->com()->appendNote(QStringLiteral("Automation: ") + text);
    });
    QObject::connect(&automation, &AddInBusService::nameTaken, [main] {
        main->com()->appendNote(QStringLiteral("Automation: Orvane now owns %1 on the session bus")
                                    .arg(AddInBusService::kServiceName));
    });
    if (!automation.start())
        std::fprintf(stderr, "Orvane: %s; running without automation\n",
                     qPrintable(automation.errorString()));
    const auto left = kStartWait - std::chrono::milliseconds(started.elapsed());
    QTimer::singleShot(std::max(left, std::chrono::milliseconds(0)), &wait, &QEventLoop::quit);
    if (!endRequested)
        wait.exec();

    if (!endRequested)
        load();
    clsAddIn::setMainWindowLoader(nullptr);

    int exitCode = 0;
    if (loadResult.value_or(false)) {
        loaded = true;
        // An add-in may refuse the unload; the program then runs on.
        if (!endRequested || !main->Form_Unload()) {
            if (!main->mini()->isVisible())
                main->show();
            exitCode = QApplication::exec();
        }
    }
    automation.stop();
    delete main;
    setErrorPresenter(nullptr);
    delete oAddIns;
    oAddIns = nullptr;
    clsAddIn::setPlayer(nullptr);
    clsAddIn::setDialogs(nullptr);
    return exitCode;
}

} // namespace Modul_Orvane
