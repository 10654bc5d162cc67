// A time-control script file with arbitrary content: loading it and building the schedule
// from its lines must not crash, every line loaded must save and load back unchanged, and
// the scheduler must walk whatever entries came out of it.

#include "errors/OrvaneError.h"
#include "link/CommandCode.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeClock.h"
#include "timecontrol/ScheduleScript.h"
#include "timecontrol/TimeControlScheduler.h"
#include "timecontrol/clsTimeControl.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
void check(bool condition)
{
    if (!condition)
        std::abort();
}

QStringList load(const QString &path)
{
    QStringList lines;
    check(ScheduleScript::read(path, [&](const QString &line) { lines << line; }));
    return lines;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_schedule";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir folder;
    static CollectingErrorPresenter errors;

    const QString path = folder.filePath(QStringLiteral("script.txt"));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QStringList lines = load(path);
    check(ScheduleScript::write(path, lines));
    check(load(path) == lines);

    auto schedule = std::make_shared<clsTimeControl>();
    for (const QString &line : lines) {
        try {
            schedule->Add(line);
        } catch (const OrvaneError &) {
            // Refused: no time, day and action, or a code that cannot go into a frame.
            const QString code = line.section(QLatin1Char(','), 3).trimmed();
            check(line.count(QLatin1Char(',')) < 2 || !CommandCode::fitsInFrame(code));
        }
    }
    FakeClock clock(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    TimeControlScheduler scheduler(nullptr, nullptr, &clock, {});
    scheduler.setSpacing(std::chrono::milliseconds(0));
    for (int minute = 0; minute < 3; ++minute) {
        scheduler.tick(schedule);
        clock.advance(60);
    }
    check(errors.isEmpty());
    return 0;
}
