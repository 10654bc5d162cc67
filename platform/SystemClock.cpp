#include "platform/SystemClock.h"

QDateTime SystemClock::now()
{
    return QDateTime::currentDateTime();
}
