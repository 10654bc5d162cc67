#pragma once

#include <QDate>
#include <QTime>

// Today's date and the time of day (the wall clock; waits use a monotonic clock).
class Clock
{
public:
    virtual ~Clock();
    virtual QDate today() = 0;
    virtual QTime timeOfDay() = 0;
};
