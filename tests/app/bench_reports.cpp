// Throughput of the report evaluation on a mixed stream of reports. Not a unit test:
// run it by hand (offscreen) and read the reports per second it prints.

#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

// Receiver reports of every kind that does not wait (no input-mode reports, whose text
// stays up for half a second, and no 6.1/ES key).
const QStringList kMixed = {
    "10210C", "002600", "0026C7", "00281D", "202E01", "202F00", "002301", "002300", "002501",
    "002C03", "000101", "003401", "003400", "102105", "10211C", "10210C", "002746", "002D01",
    "002880", "002817", "012601", "2F00",   "00287F", "002000", "002001", "202E00", "102101",
};

double reportsPerSecond(Form_ControlCenter &form, const QStringList &stream, int total)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < total; ++i)
        inside(form).DatenAuswerten(stream[i % stream.size()]);
    const qint64 ns = timer.nsecsElapsed();
    return total / (static_cast<double>(ns) / 1e9);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int total = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50000;

    MainWindowFixture w;
    w.window->show();
    QStringList withoutInputs;
    for (const QString &body : kMixed)
        if (!body.startsWith(QLatin1String("1021")))
            withoutInputs << body;

    reportsPerSecond(*w.window, kMixed, 1000); // warm-up
    const double mixed = reportsPerSecond(*w.window, kMixed, total);
    const double noInputs = reportsPerSecond(*w.window, withoutInputs, total);
    const double inputsOnly = reportsPerSecond(*w.window, {"10210C", "102105"}, total / 10);
    w.window->hide();
    const double hidden = reportsPerSecond(*w.window, kMixed, total);
    std::printf("mixed stream (%lld kinds, %d reports): %.0f reports/s\n",
                static_cast<long long>(kMixed.size()), total, mixed);
    std::printf("same stream without input reports:     %.0f reports/s\n", noInputs);
    std::printf("input reports alone:                   %.0f reports/s\n", inputsOnly);
    std::printf("mixed stream, window hidden:           %.0f reports/s\n", hidden);
    return w.errors.isEmpty() ? 0 : 1;
}
