#pragma once

#include "platform/Clock.h"

// The computer's local date and time.
class SystemClock final : public Clock
{
public:
    QDateTime now() override;
};
