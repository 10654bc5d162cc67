#pragma once

#include "platform/Clock.h"

#include <QDateTime>

// A wall clock that stands still until the test sets or advances it.
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &now = QDateTime(QDate(2024, 1, 1), QTime(12, 0)))
        : m_now(now)
    {
    }

    QDate today() override { return m_now.date(); }
    QTime timeOfDay() override { return m_now.time(); }

    void set(const QDateTime &now) { m_now = now; }
    void set(const QDate &date, const QTime &time) { m_now = QDateTime(date, time); }
    // Moves on by whole seconds; crossing midnight changes the date.
    void advance(qint64 seconds) { m_now = m_now.addSecs(seconds); }
    QDateTime now() const { return m_now; }

private:
    QDateTime m_now;
};
