// orvane-receiver: a virtual receiver on a pseudo-terminal or a TCP port. Prints the
// device path (or tcp:// address) on its first line, then serves the receiver until
// SIGINT/SIGTERM. Lines on stdin are front-panel events (see --help).

#include "sim/NetworkServer.h"
#include "sim/PtyServer.h"
#include "sim/ReceiverModel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

const char kDescription[] = R"(A virtual receiver on a pseudo-terminal or a TCP port.

The first line on stdout is the device path to open (9600 baud, 8N1), or with
--tcp the address tcp://host:port, served like a serial-to-network bridge in raw
mode. Each line read from stdin is a front-panel event, sent to the client as a
report:
  es-key                   the 6.1/ES key (report 102D00)
  headphones on|off        headphones plugged in or out (003401 / 003400)
  warning 0..3             over current, DC, power trouble, over heat (00010n)
  power on|off             the power key (002001 / 002000)
  state                    print the receiver's state on stdout (not sent)
  drop                     with --tcp: close the client's connection
  <report body>            e.g. 10210C or 0026C7: sent as STX body ETX and
                           applied to the state when it is a known report
Injected reports are sent even while the client has reports switched off.)";

void fail(const QString &message)
{
    std::fprintf(stderr, "orvane-receiver: %s\n", qPrintable(message));
    std::exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-receiver"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_RECEIVER_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         QStringLiteral("Five-character model code (R0161)."),
                                         QStringLiteral("code"), QStringLiteral("R0161"));
    const QCommandLineOption versionOption(QStringLiteral("software-version"),
                                           QStringLiteral("Software version character (C)."),
                                           QStringLiteral("char"), QStringLiteral("C"));
    const QCommandLineOption standbyOption(QStringLiteral("standby"),
                                           QStringLiteral("Start in standby."));
    const QCommandLineOption answerFromOption(
        QStringLiteral("answer-from"),
        QStringLiteral("Answer the configuration request only from the n-th request on."),
        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption quirkOption(
        QStringLiteral("quirk-e01900"),
        QStringLiteral("Put \"@E01900\" in front of the configuration block's data."));
    const QCommandLineOption reportsOption(QStringLiteral("reports-on"),
                                           QStringLiteral("Send reports from the start."));
    const QCommandLineOption linkOption(
        QStringLiteral("link"), QStringLiteral("Also make the device reachable as this symlink."),
        QStringLiteral("path"));
    const QCommandLineOption logOption(QStringLiteral("log"),
                                       QStringLiteral("Print the traffic on stderr."));
    const QCommandLineOption tcpOption(
        QStringLiteral("tcp"),
        QStringLiteral("Serve on this TCP port of the loopback interface instead of a "
                       "pseudo-terminal (0: any free port); [host:]port listens on host."),
        QStringLiteral("port"));
    parser.addOptions({modelOption, versionOption, standbyOption, answerFromOption, quirkOption,
                       reportsOption, linkOption, logOption, tcpOption});
    parser.process(app);

    ReceiverModel::Options options;
    options.modelCode = parser.value(modelOption).toLatin1();
    if (options.modelCode.size() != 5)
        fail(QStringLiteral("the model code must have five characters"));
    const QString version = parser.value(versionOption);
    if (version.size() != 1 || version.at(0).unicode() < 32 || version.at(0).unicode() > 126)
        fail(QStringLiteral("the software version must be one printable character"));
    options.softwareVersion = version.at(0).toLatin1();
    bool ok = false;
    options.answerFromRequest = parser.value(answerFromOption).toInt(&ok);
    if (!ok || options.answerFromRequest < 1)
        fail(QStringLiteral("--answer-from needs a number from 1"));
    options.startInStandby = parser.isSet(standbyOption);
    options.quirkE01900 = parser.isSet(quirkOption);
    options.reportsOn = parser.isSet(reportsOption);

    ReceiverModel model(options);
    std::unique_ptr<PtyServer> pty;
    std::unique_ptr<NetworkServer> network;
    QString linkPath;
    QString error;
    if (parser.isSet(tcpOption)) {
        if (parser.isSet(linkOption))
            fail(QStringLiteral("--link needs a pseudo-terminal, not --tcp"));
        QString value = parser.value(tcpOption);
        QHostAddress host(QHostAddress::LocalHost);
        const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
        if (colon >= 0) {
            QString hostText = value.left(colon);
            if (hostText.startsWith(QLatin1Char('[')) && hostText.endsWith(QLatin1Char(']')))
                hostText = hostText.mid(1, hostText.size() - 2);
            if (!host.setAddress(hostText))
                fail(QStringLiteral("--tcp: not an IP address: %1").arg(hostText));
            value = value.mid(colon + 1);
        }
        const int port = value.toInt(&ok);
        if (!ok || port < 0 || port > 65535)
            fail(QStringLiteral("--tcp needs a port number from 0 to 65535"));
        network = std::make_unique<NetworkServer>(&model);
        network->setLogging(parser.isSet(logOption));
        if (!network->listen(host, quint16(port), &error))
            fail(error);
        std::printf("%s\n", qPrintable(network->address()));
    } else {
        pty = std::make_unique<PtyServer>(&model);
        pty->setLogging(parser.isSet(logOption));
        if (!pty->open(&error))
            fail(error);
        if (parser.isSet(linkOption)) {
            linkPath = parser.value(linkOption);
            // Replace a link left by an earlier run, but never a real file.
            if (QFileInfo(linkPath).isSymLink())
                QFile::remove(linkPath);
            if (!QFile::link(pty->devicePath(), linkPath))
                fail(QStringLiteral("cannot create the link %1").arg(linkPath));
        }
        std::printf("%s\n", qPrintable(pty->devicePath()));
    }
    std::fflush(stdout);
    const auto send = [&](const QByteArray &bytes) {
        if (network)
            network->send(bytes);
        else
            pty->send(bytes);
    };

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        fail(QStringLiteral("socketpair failed"));
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    QByteArray stdinLine;
    QSocketNotifier stdinNotifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&stdinNotifier, &QSocketNotifier::activated, [&] {
        char buffer[512];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            // End of input: keep serving the receiver, just stop listening here.
            stdinNotifier.setEnabled(false);
            return;
        }
        stdinLine.append(buffer, count);
        qsizetype end;
        while ((end = stdinLine.indexOf('\n')) >= 0) {
            const QString line = QString::fromLocal8Bit(stdinLine.left(end)).trimmed();
            stdinLine.remove(0, end + 1);
            if (line.isEmpty())
                continue;
            if (line == QLatin1String("state")) {
                std::printf("%s\n", qPrintable(model.describe()));
                std::fflush(stdout);
                continue;
            }
            if (line == QLatin1String("drop")) {
                if (network)
                    network->dropClient();
                continue;
            }
            bool understood = false;
            const QByteArray bytes = model.inject(line, &understood);
            if (!understood)
                std::fprintf(stderr, "orvane-receiver: unknown event: %s\n", qPrintable(line));
            send(bytes);
        }
    });

    const int result = QCoreApplication::exec();
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
    return result;
}
