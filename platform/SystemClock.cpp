#include "platform/SystemClock.h"

QDate SystemClock::today()
{
    return QDate::currentDate();
}

QTime SystemClock::timeOfDay()
{
    return QTime::currentTime();
}
