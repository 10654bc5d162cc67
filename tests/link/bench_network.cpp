// Measured run of the link over a pseudo-terminal and over TCP on the loopback, both
// against the virtual receiver: the connect steps (open, clear, configuration request
// and block), an answered command, and a front-panel report's way from the receiver
// to the link. Not part of the test suite; run by hand: bench_network (ORVANE_BUILD_DIR
// must point at the build folder).

#include "link/ReceiverLink.h"
#include "platform/SwitchingSerialPort.h"
#include "tests/support/FakeLinkHost.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeUserDialogs.h"
#include "tests/support/ReceiverProcess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

struct Figures
{
    std::vector<double> values;
    void add(qint64 nanoseconds) { values.push_back(double(nanoseconds) / 1e6); }
    QString text()
    {
        std::sort(values.begin(), values.end());
        double sum = 0;
        for (double v : values)
            sum += v;
        return QStringLiteral("median %1 ms, mean %2 ms, max %3 ms (n=%4)")
            .arg(values[values.size() / 2], 0, 'f', 2)
            .arg(sum / double(values.size()), 0, 'f', 2)
            .arg(values.back(), 0, 'f', 2)
            .arg(values.size());
    }
};

void measure(QTextStream &out, const QString &label, const QStringList &arguments)
{
    FakeLinkHost host;
    FakeUserDialogs dialogs;
    ReceiverProcess receiver;
    if (!receiver.start(arguments)) {
        out << label << ": " << receiver.errorString() << "\n";
        return;
    }
    FakeSettingsStore settings;
    settings.writeValue(QStringLiteral("Ports"), QStringLiteral("Com1"), receiver.device());
    SwitchingSerialPort port(&settings);
    ReceiverLink com(&port, &host, &dialogs);

    Figures connect;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer clock;
        clock.start();
        com.OpenPort();
        com.ClearComPuffer();
        QString block;
        com.ReadSettings(block);
        connect.add(clock.nsecsElapsed());
        if (block.isEmpty())
            out << label << ": no block\n";
        com.ClosePort();
    }
    com.OpenPort();
    com.ReportCommandEnable();
    QTest::qWait(100);
    com.ClearComPuffer();

    Figures answer;
    for (int i = 0; i < 100; ++i) {
        QTest::qWait(20);
        com.ClearComPuffer();
        QElapsedTimer clock;
        clock.start();
        QString reply;
        if (i % 2)
            com.MasterVolUp(&reply);
        else
            com.MasterVolDown(&reply);
        answer.add(clock.nsecsElapsed());
        if (!reply.endsWith(QChar(3)))
            out << label << ": no answer\n";
    }

    Figures report;
    for (int i = 0; i < 50; ++i) {
        QTest::qWait(20);
        com.ClearComPuffer();
        QElapsedTimer clock;
        clock.start();
        receiver.writeLine(i % 2 ? "headphones on" : "headphones off");
        QString text;
        while (!text.endsWith(QChar(3)) && clock.elapsed() < 2000) {
            QString part;
            com.ReadPort(part, true);
            text += part;
            if (!text.endsWith(QChar(3))) {
                QEventLoop loop;
                QObject::connect(&port, &SerialPort::dataArrived, &loop, &QEventLoop::quit);
                QTimer::singleShot(50, &loop, &QEventLoop::quit);
                loop.exec();
            }
        }
        report.add(clock.nsecsElapsed());
    }
    out << label << "\n  connect steps (open, configuration request, block): " << connect.text()
        << "\n  command with answer: " << answer.text()
        << "\n  front-panel report to the link: " << report.text() << "\n";
    out.flush();
    com.ClosePort();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    measure(out, QStringLiteral("pseudo-terminal"), {});
    measure(out, QStringLiteral("TCP on the loopback"), {QStringLiteral("--tcp"), QStringLiteral("0")});
    return 0;
}
