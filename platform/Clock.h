#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// The wall clock: the local date and time of day read together (waits use a monotonic
// clock).
class Clock
{
public:
    virtual ~Clock();
    // One read gives a date and a time that belong together, also across midnight.
    virtual QDateTime now() = 0;
    QDate today() { return now().date(); }
    QTime timeOfDay() { return now().time(); }
};
