#include "app/Modul_Orvane.h"

#include "addins/clsAddIns.h"
#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "app/TerminationHandler.h"
#include "errors/ErrBoxPresenter.h"
#include "errors/ShowErrBox.h"
#include "link/LinkTimings.h"
#include "platform/LinuxPlatform.h"
#include "platform/QtSerialPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <memory>

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

    LinuxPlatform linux;
    Platform &platform = linux.platform();
    QtSerialPort serialPort(platform.settings);
    platform.serialPort = &serialPort;
    ErrBoxPresenter errorBox(platform.shell, platform.dialogs);
    setErrorPresenter(&errorBox);

    oAddIns = new clsAddIns();

    // The start-up wait lets pending window events run and costs no CPU. The window's
    // controls are built while it runs, so only the load steps follow it; nothing of
    // the load runs early.
    QElapsedTimer started;
    started.start();
    auto *main = new Form_ControlCenter(platform);
    const auto left = kStartWait - std::chrono::milliseconds(started.elapsed());
    QEventLoop wait;
    QTimer::singleShot(std::max(left, std::chrono::milliseconds(0)), &wait, &QEventLoop::quit);
    wait.exec();

    int exitCode = 0;
    if (main->Form_Load(commandLine)) {
        if (!main->mini()->isVisible())
            main->show();
        // Ending from outside unloads the main window like its own End menu.
        TerminationHandler termination([main] {
            if (main->Form_Unload())
                QApplication::quit();
        });
        exitCode = QApplication::exec();
    }
    delete main;
    setErrorPresenter(nullptr);
    delete oAddIns;
    oAddIns = nullptr;
    return exitCode;
}

} // namespace Modul_Orvane
