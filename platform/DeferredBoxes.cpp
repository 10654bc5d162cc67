#include "platform/DeferredBoxes.h"

#include <QCoreApplication>
#include <QList>
#include <QThread>
#include <QTimer>
#include <chrono>

namespace {

// How soon a queued box is tried again while another event loop runs (a wait of the link,
// another box): it is shown only from the main loop, so that it holds none of them.
constexpr std::chrono::milliseconds kRetry {100};

int g_depth = 0;
bool g_showing = false;
bool g_flushQueued = false;

QList<std::function<void()>> &boxes()
{
    static QList<std::function<void()>> queue;
    return queue;
}

void flushLater(std::chrono::milliseconds delay);

void flush()
{
    g_flushQueued = false;
    if (g_showing || boxes().isEmpty())
        return;
    // Inside a scope or a nested loop the box would hold what runs there.
    if (g_depth > 0 || QThread::currentThread()->loopLevel() > 1) {
        flushLater(kRetry);
        return;
    }
    g_showing = true;
    while (!boxes().isEmpty()) {
        const std::function<void()> box = boxes().takeFirst();
        try {
            box();
        } catch (...) {
            // A box that fails is not shown; the next one still is.
        }
    }
    g_showing = false;
}

void flushLater(std::chrono::milliseconds delay)
{
    if (g_flushQueued || boxes().isEmpty())
        return;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        flush();
        return;
    }
    g_flushQueued = true;
    QTimer::singleShot(delay, app, [] { flush(); });
}

} // namespace

DeferredBoxes::Scope::Scope()
{
    ++g_depth;
}

DeferredBoxes::Scope::~Scope()
{
    if (--g_depth == 0)
        flushLater(std::chrono::milliseconds(0));
}

bool DeferredBoxes::deferring()
{
    return g_depth > 0;
}

void DeferredBoxes::later(std::function<void()> box)
{
    if (boxes().size() >= kMaxQueued)
        return;
    boxes().append(std::move(box));
    if (g_depth == 0)
        flushLater(std::chrono::milliseconds(0));
}

int DeferredBoxes::queued()
{
    return int(boxes().size());
}
