#include "program/RateLimiter.h"

#include <algorithm>

bool RateLimiter::take(std::chrono::nanoseconds now, double cost)
{
    if (!m_last) {
        m_tokens = m_perSecond;
    } else if (now > *m_last) {
        const double seconds = std::chrono::duration<double>(now - *m_last).count();
        m_tokens = std::min(m_perSecond, m_tokens + seconds * m_perSecond);
    }
    if (!m_last || now > *m_last)
        m_last = now;
    if (m_tokens < std::min(cost, m_perSecond))
        return false;
    m_tokens -= cost;
    return true;
}
