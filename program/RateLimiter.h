#pragma once

#include <chrono>
#include <optional>

// A budget of so many units a second that refills continuously, up to one second's worth,
// so a burst of that size passes at once. The caller hands in the time (the Clock seam's
// monotonic time), so tests step it instead of waiting.
class RateLimiter
{
public:
    explicit RateLimiter(double perSecond = 0)
        : m_perSecond(perSecond)
    {
    }

    // Takes `cost` when the budget holds it; a cost above one second's budget passes when
    // the budget is full and leaves a debt.
    bool take(std::chrono::nanoseconds now, double cost = 1);
    double perSecond() const { return m_perSecond; }

private:
    double m_perSecond;
    double m_tokens = 0;
    std::optional<std::chrono::nanoseconds> m_last;
};
