#include "app/Modul_Orvane.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    // The id of the installed desktop file: Wayland desktops and the desktop portal know
    // the program by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvane.Orvane"));
    QApplication::setApplicationVersion(Modul_Orvane::FullVersionText());
    // The command line is one text in which the options are searched.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    return Modul_Orvane::Main(commandLine);
}
