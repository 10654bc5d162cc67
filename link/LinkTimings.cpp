#include "link/LinkTimings.h"

namespace {
LinkTimings &inUse()
{
    static LinkTimings timings;
    return timings;
}
} // namespace

const LinkTimings &LinkTimings::current()
{
    return inUse();
}

void LinkTimings::set(const LinkTimings &timings)
{
    inUse() = timings;
}
