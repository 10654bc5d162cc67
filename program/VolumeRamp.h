#pragma once

#include "program/RateLimiter.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

class Clock;
class ProgramHost;
class ReceiverLink;

// Brings a zone's volume to a value asked for from outside (the hub, a browser) as a
// run of single steps, each sent after the receiver reported the last one (repeated
// when no report came, given up after three misses). The last value asked for wins.
// A run takes at most kStepsPerSecond steps a second, so other commands pass beside it.
class VolumeRamp : public QObject
{
public:
    static constexpr int kStepsPerSecond = 20;
    // Asked before each step with the time; false holds the step for a later tick (the
    // caller's own command budget).
    using Permit = std::function<bool(std::chrono::nanoseconds now)>;

    VolumeRamp(ProgramHost &host, ReceiverLink *link, Clock *clock, Permit permit = {},
               QObject *parent = nullptr);

    // Starts (or retargets) the run of one zone towards the raw value `value`.
    void moveTo(bool zone2, int value);
    // Ends both runs.
    void stop();

private:
    struct Run
    {
        int target = -1; // raw value; -1 none
        int from = -2; // value when the last step went out (-1 unknown); -2 none out
        std::chrono::nanoseconds sentAt {0};
        int misses = 0;
    };

    void stepBoth();
    void step(bool zone2);

    ProgramHost &m_host;
    ReceiverLink *m_link;
    Clock *m_clock;
    Permit m_permit;
    RateLimiter m_steps {kStepsPerSecond};
    Run m_runs[2]; // main zone, zone 2
    QTimer m_tick;
};
