// Measured run of the web remote against the real program and the virtual receiver on a
// pseudo-terminal, with the page in headless Chromium:
//   - a report on the line until the page shows it (the page's own clock, read by a
//     MutationObserver, against this process's clock when the report is handed to the
//     virtual receiver),
//   - a press on the page until its code reaches the receiver,
//   - the program's CPU while idle, without and with two browsers connected.
//
//   bench_web [count] [idle seconds]

#include "BrowserPage.h"
#include "tests/support/EndToEndHarness.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

int fail(const QString &text)
{
    std::fprintf(stderr, "bench_web: %s\n", qPrintable(text));
    return 1;
}

double epochMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

void report(const char *what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("%s ms: median %.1f, p95 %.1f, max %.1f (n=%zu)\n", what, values[values.size() / 2],
                values[values.size() * 95 / 100], values.back(), values.size());
}

// User and system time of a process, in seconds.
double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    // After the name: state is field 3, utime 14 and stime 15 of the whole line.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

double idlePercent(qint64 pid, int seconds)
{
    const double before = cpuSeconds(pid);
    QTest::qWait(seconds * 1000);
    return (cpuSeconds(pid) - before) / seconds * 100;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(2, atoi(argv[1])) : 50;
    const int idleSeconds = argc > 2 ? std::max(1, atoi(argv[2])) : 30;
    for (const QString &missing : {EndToEndHarness::missing(), BrowserPage::missing()})
        if (!missing.isEmpty())
            return fail(missing);

    EndToEndHarness e2e;
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    const QString password = QString::number(QRandomGenerator::global()->generate64(), 36);
    if (!e2e.startReceiver({QStringLiteral("--log")})
        || !e2e.writeSettings(QStringLiteral("[Web]\nListen=127.0.0.1:%1\nPassword=%2\n")
                                  .arg(port)
                                  .arg(password)
                                  .toUtf8())
        || !e2e.startProgram({QStringLiteral("-C1")}))
        return fail(e2e.errorString());
    ReceiverProcess &receiver = e2e.receiver();
    if (!QTest::qWaitFor([&] { return receiver.log().contains(QStringLiteral("20100")); }, 15000))
        return fail(QStringLiteral("the program did not connect"));
    const qint64 pid = e2e.program().processId();
    QTest::qWait(2000);
    const double idleNone = idlePercent(pid, idleSeconds);

    const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    BrowserPage page;
    if (!page.open(url, password))
        return fail(page.errorString());
    page.ask(QStringLiteral("watch volume-db"));

    std::vector<double> toPage;
    for (int i = 0; i < count; ++i) {
        const int value = 0x9F - 1 - i % 40; // -20.5 dB and down, a new value each time
        const double decibels = (value - 0xC7) / 2.0;
        const QString text = QStringLiteral("%1%2 dB")
                                 .arg(decibels > 0 ? QStringLiteral("+") : QString())
                                 .arg(decibels, 0, 'f', 1);
        QTest::qWait(50);
        const double sent = epochMs();
        receiver.writeLine("0026" + QByteArray::number(value, 16).toUpper());
        const QString seen = page.ask(QStringLiteral("wait volume-db 2000 ") + text);
        if (!seen.startsWith(u"seen"))
            return fail(QStringLiteral("the page did not show %1: %2").arg(text, seen));
        toPage.push_back(BrowserPage::timeOf(seen) - sent);
    }

    std::vector<double> toWire;
    const QString captions[] = {QStringLiteral("DVD"), QStringLiteral("TUNER")};
    const QString codes[] = {QStringLiteral("07AC1"), QStringLiteral("07A16")};
    for (int i = 0; i < count; ++i) {
        QTest::qWait(100);
        const qsizetype before = receiver.log().count(codes[i % 2]);
        const QString pressed = page.ask(QStringLiteral("press ") + captions[i % 2]);
        double arrived = 0;
        if (!QTest::qWaitFor(
                [&] {
                    if (receiver.log().count(codes[i % 2]) == before)
                        return false;
                    arrived = epochMs();
                    return true;
                },
                2000))
            return fail(QStringLiteral("%1 did not reach the receiver").arg(codes[i % 2]));
        toWire.push_back(arrived - BrowserPage::timeOf(pressed));
    }

    BrowserPage second;
    if (!second.open(url, password))
        return fail(second.errorString());
    QTest::qWait(2000);
    const double idleTwo = idlePercent(pid, idleSeconds);

    qint64 weight = 0;
    for (const char *name : {"index.html", "app.js", "style.css", "icon.svg"})
        weight += QFile(QStringLiteral(ORVANE_WEB_PAGE "/") + QLatin1String(name)).size();

    report("report on the line -> page updated", toPage);
    report("press on the page -> code on the line", toWire);
    std::printf("page weight: %lld bytes (index.html, app.js, style.css, icon.svg)\n",
                static_cast<long long>(weight));
    std::printf("idle CPU of the program over %d s: %.3f%% of a core without browsers, %.3f%% "
                "with two connected\n",
                idleSeconds, idleNone, idleTwo);
    return 0;
}
