#pragma once

#include <functional>

// A box that only tells the user something must not hold the code that raised it. While
// the program evaluates a receiver report (a Scope lives), such a box is queued instead of
// shown; once the last scope has ended it is shown from the main event loop, one box at a
// time, each after the one before was closed. So the evaluation goes on at once, and the
// reports that follow are evaluated while the box is open. A box that asks something is
// shown at once, since its caller needs the answer.
class DeferredBoxes
{
public:
    // Boxes wait at most this many; further ones are dropped (each is a copy of the
    // same few messages a runaway report stream raises).
    static constexpr int kMaxQueued = 20;

    class Scope
    {
    public:
        Scope();
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
    };

    // A scope is open: boxes raised now are queued.
    static bool deferring();
    // Queues `box`, which shows the box and returns when it is closed.
    static void later(std::function<void()> box);
    // Boxes queued and not yet shown.
    static int queued();
};
