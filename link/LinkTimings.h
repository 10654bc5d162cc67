#pragma once

#include <chrono>

// How long the link and the main window wait: the answer wait, the reset wait, the
// reconnect pause, the settling time after Power On and the main window's Pause. The
// program runs with the receiver's own timing (the defaults, set again at start-up);
// tests set shorter values so they do not wait out real seconds.
struct LinkTimings
{
    static constexpr std::chrono::milliseconds kAnswerWait {800};
    static constexpr std::chrono::milliseconds kResetWait {2000};

    std::chrono::milliseconds answerWait {kAnswerWait};
    std::chrono::milliseconds resetWait {kResetWait};
    std::chrono::milliseconds reconnectPause {300};
    std::chrono::milliseconds powerOnSettle {1000};
    // Pause(seconds) waits this share of the seconds it is given.
    double pauseScale = 1.0;

    // The values in use (read at each wait).
    static const LinkTimings &current();
    static void set(const LinkTimings &timings);
};
