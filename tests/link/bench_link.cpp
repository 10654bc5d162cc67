// Measured run of the link against the virtual receiver on a pseudo-terminal, over
// the real serial port: the CPU a bounded wait costs, and what one command costs.
// Not part of the test suite; run by hand: bench_link (ORVANE_BUILD_DIR must point
// at the build folder).

#include "link/ReceiverLink.h"
#include "platform/QtSerialPort.h"
#include "tests/support/FakeLinkHost.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeUserDialogs.h"
#include "tests/support/ReceiverProcess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The device path of a started receiver; empty when it did not start.
QString startReceiver(ReceiverProcess &receiver, const QStringList &arguments)
{
    receiver.start(arguments);
    return receiver.device();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    FakeLinkHost host;
    FakeUserDialogs dialogs;

    {
        // A receiver that never answers: four configuration requests, 0.8 s each.
        ReceiverProcess receiver;
        FakeSettingsStore settings;
        settings.writeValue(QStringLiteral("Ports"), QStringLiteral("Com1"),
                          startReceiver(receiver, {QStringLiteral("--answer-from"),
                                                   QStringLiteral("1000")}));
        QtSerialPort port(&settings);
        ReceiverLink com(&port, &host, &dialogs);
        com.OpenPort();
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = cpuSeconds();
        for (int attempt = 0; attempt < 4; ++attempt) {
            QString block;
            com.ClearComPuffer();
            com.ReadSettings(block);
        }
        out << "4 unanswered configuration requests: " << clock.elapsed() << " ms wall, "
            << QString::number((cpuSeconds() - cpuBefore) * 1000.0, 'f', 1) << " ms CPU\n";
        com.ClosePort();
        receiver.kill();
    }
    {
        // Sending: one write per command, no waiting for the receiver.
        ReceiverProcess receiver;
        FakeSettingsStore settings;
        settings.writeValue(QStringLiteral("Ports"), QStringLiteral("Com1"),
                          startReceiver(receiver, {}));
        QtSerialPort port(&settings);
        ReceiverLink com(&port, &host, &dialogs);
        com.OpenPort();
        constexpr int kCommands = 2000;
        QElapsedTimer clock;
        clock.start();
        qint64 slowest = 0;
        for (int i = 0; i < kCommands; ++i) {
            QElapsedTimer one;
            one.start();
            com.MasterVolUpFast();
            slowest = qMax(slowest, one.nsecsElapsed());
            if (i % 100 == 99) { // let the receiver drain the line now and then
                QString discard;
                com.ClearComPuffer(&discard);
            }
        }
        out << kCommands << " commands sent: "
            << QString::number(double(clock.nsecsElapsed()) / kCommands / 1000.0, 'f', 1)
            << " us each on average, slowest "
            << QString::number(double(slowest) / 1000.0, 'f', 1) << " us\n";
        com.ClosePort();
        receiver.kill();
    }
    return 0;
}
