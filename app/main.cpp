#include "app/Modul_Orvane.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setApplicationVersion(Modul_Orvane::FullVersionText());
    // The command line is one text in which the options are searched.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    return Modul_Orvane::Main(commandLine);
}
