#pragma once

#include "platform/Clock.h"

#include <QDateTime>
#include <chrono>
#include <optional>

// Clocks that stand still until the test sets or advances them: the wall clock, and the
// monotonic clock, which only moves forward (advance and step move both).
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &now = QDateTime(QDate(2024, 1, 1), QTime(12, 0)))
        : m_now(now)
    {
    }

    QDateTime now() override
    {
        const QDateTime read = m_now;
        if (m_next) {
            m_now = *m_next;
            m_next.reset();
        }
        return read;
    }

    void set(const QDateTime &now) { m_now = now; }
    // The next read gives `now`, every later one `next`: time moving on between reads.
    void setThen(const QDateTime &now, const QDateTime &next)
    {
        m_now = now;
        m_next = next;
    }
    void set(const QDate &date, const QTime &time) { m_now = QDateTime(date, time); }
    // Moves on by whole seconds; crossing midnight changes the date.
    void advance(qint64 seconds)
    {
        m_now = m_now.addSecs(seconds);
        m_monotonic += std::chrono::seconds(seconds);
    }
    // Moves both clocks on by `duration`.
    void step(std::chrono::milliseconds duration)
    {
        m_now = m_now.addMSecs(duration.count());
        m_monotonic += duration;
    }

    std::chrono::nanoseconds monotonic() override { return m_monotonic; }

private:
    QDateTime m_now;
    std::optional<QDateTime> m_next;
    // Not zero, so a deadline taken at the start is not mistaken for "none".
    std::chrono::nanoseconds m_monotonic {std::chrono::hours(1)};
};
