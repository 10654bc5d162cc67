#pragma once

#include <QDate>
#include <QDeadlineTimer>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class PlayerRemote;
class TimeControlLink;
class clsTimeControl;
class clsTimeControlItem;

// Fires the schedule's entries at their minute. The main window's Timer_ZS calls tick()
// twice a second while the time control is switched on.
class TimeControlScheduler
{
public:
    // No further entry fires this long after a firing (the main window's Pause of one
    // second, so scaled as the program's Pause is).
    static constexpr std::chrono::milliseconds kSpacing {1000};
    // Sends of a receiver action until the receiver answers.
    static constexpr int kAttempts = 3;

    // `setLine2` writes the main window's second display line.
    TimeControlScheduler(TimeControlLink *link, PlayerRemote *player, Clock *clock,
                         std::function<void(const QString &)> setLine2);

    // One check of the schedule (none yet: nothing to do). Fires at most the first due
    // entry in list order. Failures are reported through the error box.
    void tick(const std::shared_ptr<clsTimeControl> &schedule);

    // A fixed spacing in place of the scaled one.
    void setSpacing(std::chrono::milliseconds spacing) { m_spacing = spacing; }

    // "EVERY" or "JEDEN" (any case) at the start of the day field.
    static bool isDaily(const clsTimeControlItem &item);

private:
    void walk(clsTimeControl &schedule);
    void fire(clsTimeControlItem &item);
    void fireReceiverAction(const QString &code);
    void firePlayerAction(const clsTimeControlItem &item);

    TimeControlLink *m_link;
    PlayerRemote *m_player;
    Clock *m_clock;
    std::function<void(const QString &)> m_setLine2;
    std::optional<std::chrono::milliseconds> m_spacing;
    // Until it expires, ticks do nothing: the pause between two firings.
    QDeadlineTimer m_rest;
    // The date of the last walk; a new date re-arms every daily entry.
    QDate m_lastDate;
    // A receiver action waits for its answer with events running, so a tick can come
    // in during a firing; it returns at once.
    bool m_firing = false;
};
