#include "app/Modul_Orvane.h"

#include "addins/AddInBusService.h"
#include "addins/AddInRuntime.h"
#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "app/LinuxPlatform.h"
#include "app/ProgramParts.h"
#include "errors/ErrBoxPresenter.h"
#include "errors/ShowErrBox.h"
#include "link/Form_Com.h"
#include "link/LinkTimings.h"
#include "platform/SwitchingSerialPort.h"
#include "program/ProgramValues.h"
#include "program/TerminationHandler.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace Modul_Orvane {

namespace {
constexpr std::chrono::milliseconds kStartWait {1000};

// Ends open modal boxes as if cancelled, so that the waits that showed them return and
// an ending asked for from outside goes on.
void closeModalBoxes()
{
    // A box may refuse to close; the bound keeps this from looping on it.
    for (int i = 0; i < 16; ++i) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            return;
    }
}
} // namespace

int Main(const QString &commandLine)
{
    // The receiver's own timing for every wait of the link and of Pause.
    LinkTimings::set(LinkTimings {});

    LinuxPlatform linuxPlatform;
    Platform &platform = linuxPlatform.platform();
    SwitchingSerialPort serialPort(platform.settings);
    platform.serialPort = &serialPort;
    // Without a screen nobody could close an error box: errors go to the log (standard
    // error) instead, and the code that failed goes on.
    std::optional<ErrBoxPresenter> errorBox;
    if (LinuxPlatform::hasScreen()) {
        errorBox.emplace(platform.shell, platform.dialogs);
        setErrorPresenter(&*errorBox);
    }

    // What the add-ins share, from before the main window until after it.
    AddInRuntime addIns(platform.dialogs, platform.player);
    // The values every part reads: closing, mini mode, the version.
    ProgramValues values;
    addIns.setValues(&values);

    // SIGTERM, SIGINT and SIGHUP are caught from the start and end the program whatever
    // box is open and whatever the add-ins vote: they are still asked and told. Before
    // the main window has loaded a signal only ends the start-up: during the wait nothing
    // has been read, so nothing is saved; during the load (a "-C" connection waits on the
    // receiver) the load finishes and the window then unloads as it would at the end.
    Form_ControlCenter *main = nullptr;
    QEventLoop wait;
    bool loaded = false;
    bool endRequested = false;
    TerminationHandler termination([&] {
        closeModalBoxes();
        if (!loaded) {
            endRequested = true;
            wait.quit();
            return;
        }
        // Left to the event loop, so that the boxes just closed have returned first.
        QTimer::singleShot(0, main, [&main] { main->Form_Unload(false); });
    });

    // The start-up wait lets pending window events run and costs no CPU. The window's
    // controls are built while it runs, so only the load steps follow it; nothing of
    // the load runs early.
    QElapsedTimer started;
    started.start();
    // The program from its parts: the link, the main window on it, the MQTT bridge, the
    // time control's scheduler and the add-ins' wiring (a further feature goes there,
    // beside the bridge). The bus service follows: it serves from the wait on.
    auto parts = std::make_unique<ProgramParts>(platform, addIns, values);
    main = &parts->window();
    // Once the main window has unloaded (End menu, Quit, a signal; also during the
    // start-up wait), the program ends, hidden window or not.
    bool unloaded = false;
    QObject::connect(main, &Form_ControlCenter::unloaded, &wait, [&] {
        unloaded = true;
        wait.quit();
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    });
    // An add-in that registers from outside during the wait gets the main window loaded.
    std::optional<bool> loadResult;
    const auto load = [&] {
        if (!loadResult)
            loadResult = main->Form_Load(commandLine);
    };
    addIns.setMainWindowLoader(load);
    // A quit from outside before any window is there ends the start-up.
    addIns.setQuitWithoutWindow([&] {
        endRequested = true;
        wait.quit();
    });
    // Outside programs drive the program over the user's session bus, from the wait
    // on; a second Orvane waits for the name and takes it when the first one ends.
    AddInBusService automation(addIns, QDBusConnection::sessionBus(), platform.clock);
    // The terminal window tells it too: a desktop start shows no stderr.
    QObject::connect(&automation, &AddInBusService::nameWaiting, [main](const QString &text) {
        std::fprintf(stderr, "Orvane: %s\n", qPrintable(text));
        main->noteInTerminal(
            QCoreApplication::translate("Modul_Orvane", "Automation: %1").arg(text));
    });
    QObject::connect(&automation, &AddInBusService::nameTaken, [main] {
        main->noteInTerminal(
            QCoreApplication::translate("Modul_Orvane",
                                        "Automation: Orvane now owns %1 on the session bus")
                .arg(AddInBusService::kServiceName));
    });
    if (!automation.start())
        std::fprintf(stderr, "Orvane: %s; running without automation\n",
                     qPrintable(automation.errorString()));
    const auto left = kStartWait - std::chrono::milliseconds(started.elapsed());
    QTimer::singleShot(std::max(left, std::chrono::milliseconds(0)), &wait, &QEventLoop::quit);
    if (!endRequested && !unloaded)
        wait.exec();

    if (!endRequested && !unloaded)
        load();
    addIns.setMainWindowLoader(nullptr);
    addIns.setQuitWithoutWindow(nullptr);

    int exitCode = 0;
    if (loadResult.value_or(false) && !unloaded) {
        loaded = true;
        // A signal during the start-up ends the program; a refusal of the add-ins does
        // not keep it.
        if (!endRequested || !main->Form_Unload(false)) {
            if (main->mini() && !main->mini()->isVisible())
                main->show();
            exitCode = QApplication::exec();
        }
    }
    automation.stop();
    parts.reset();
    setErrorPresenter(nullptr);
    return exitCode;
}

} // namespace Modul_Orvane
