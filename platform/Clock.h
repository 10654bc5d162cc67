#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <chrono>

// The clocks the program reads: the wall clock (the local date and time of day, read
// together) and a monotonic clock for deadlines and rates, which never goes back.
class Clock
{
public:
    virtual ~Clock();
    // One read gives a date and a time that belong together, also across midnight.
    virtual QDateTime now() = 0;
    QDate today() { return now().date(); }
    QTime timeOfDay() { return now().time(); }
    // Time since an arbitrary start; the system's steady clock unless a test steps it.
    virtual std::chrono::nanoseconds monotonic();
};
