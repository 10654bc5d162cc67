#include "ctl/OrvaneCtl.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <csignal>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_CTL_VERSION));
    // A closed pipe (watch | head) ends the output, not the program without its
    // unregistering.
    std::signal(SIGPIPE, SIG_IGN);
    OrvaneCtl ctl(QDBusConnection::sessionBus(), stdout, stderr);
    return ctl.run(QCoreApplication::arguments().mid(1));
}
