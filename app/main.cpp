#include "app/CommandLine.h"
#include "app/LinuxPlatform.h"
#include "app/Modul_Orvane.h"
#include "app/ProgramTranslations.h"
#include "app/RunningInstance.h"

#include <QApplication>
#include <QDBusConnection>
#include <QIcon>
#include <QStringList>
#include <cstdio>

namespace {
// Whether a window can be shown: a platform with a screen named, or a display to show
// on. The offscreen and minimal platforms (the service) have no screen.
bool hasDisplay(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0)
            return LinuxPlatform::isScreenPlatform(QString::fromLocal8Bit(argv[i + 1]));
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return LinuxPlatform::isScreenPlatform(qEnvironmentVariable("QT_QPA_PLATFORM"));
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    return false;
}
} // namespace

int main(int argc, char *argv[])
{
    // The version is printed without starting the program, with or without a display.
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--version") == 0) {
            std::printf("orvane %s\n", qPrintable(Modul_Orvane::FullVersionText()));
            return 0;
        }
    }
    // Without a display no window can show the options: they go to the terminal.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!hasDisplay(argc, argv) && CommandLine::parse(arguments.join(QLatin1Char(' '))).help) {
        std::fputs(qPrintable(CommandLine::kOptionsMessage + QLatin1Char('\n')), stdout);
        return 0;
    }

    const bool display = hasDisplay(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    // The id of the installed desktop file: Wayland desktops and the desktop portal know
    // the program by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvane.Orvane"));
    QApplication::setApplicationVersion(Modul_Orvane::FullVersionText());
    ProgramTranslations::install(&app);
    // Every window's icon: the icon theme's, else the one built in.
    QIcon builtIn;
    for (int size : {16, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/org.orvane.Orvane-%1.png").arg(size),
                        QSize(size, size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.orvane.Orvane"), builtIn));
    // A second start on a desktop brings the running Orvane forward and ends.
    if (display
        && RunningInstance::raise(QDBusConnection::sessionBus(), RunningInstance::activationToken())
            == RunningInstance::Result::Raised) {
        std::printf("%s\n",
                    qPrintable(QCoreApplication::translate("RunningInstance",
                                                           RunningInstance::kRaisedText)));
        return 0;
    }
    // The command line is one text in which the options are searched.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    return Modul_Orvane::Main(commandLine);
}
