#pragma once

#include "link/LinkTimings.h"

// Shorter waits for the link and Pause while it lives, so tests do not wait out the
// receiver's real seconds; the receiver's own timing comes back when it ends.
class ShortWaits
{
public:
    static LinkTimings values()
    {
        using namespace std::chrono_literals;
        LinkTimings t;
        t.answerWait = 200ms;
        t.resetWait = 400ms;
        t.reconnectPause = 60ms;
        t.powerOnSettle = 150ms;
        t.pauseScale = 0.2;
        return t;
    }

    ShortWaits() { LinkTimings::set(values()); }
    ~ShortWaits() { LinkTimings::set(LinkTimings {}); }
    ShortWaits(const ShortWaits &) = delete;
    ShortWaits &operator=(const ShortWaits &) = delete;
};
