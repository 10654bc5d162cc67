#include "platform/Clock.h"

Clock::~Clock() = default;

std::chrono::nanoseconds Clock::monotonic()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}
