#include "program/VolumeRamp.h"

#include "link/ReceiverVocabulary.h"
#include "platform/Clock.h"
#include "program/ProgramHost.h"

namespace Vocabulary = ReceiverVocabulary;

namespace {
constexpr std::chrono::milliseconds kStepAnswer {300};
constexpr int kStepMisses = 3;
constexpr std::chrono::milliseconds kStepTick {25};
} // namespace

VolumeRamp::VolumeRamp(ProgramHost &host, ReceiverLink *link, Clock *clock, Permit permit,
                       QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_link(link)
    , m_clock(clock)
    , m_permit(std::move(permit))
{
    m_tick.setInterval(kStepTick);
    connect(&m_tick, &QTimer::timeout, this, &VolumeRamp::stepBoth);
}

void VolumeRamp::moveTo(bool zone2, int value)
{
    // A step already out is awaited as before.
    m_runs[zone2].target = value;
    m_runs[zone2].misses = 0;
    step(zone2);
    if (m_runs[0].target >= 0 || m_runs[1].target >= 0)
        m_tick.start();
}

void VolumeRamp::stop()
{
    m_tick.stop();
    m_runs[0] = m_runs[1] = {};
}

void VolumeRamp::stepBoth()
{
    step(false);
    step(true);
    if (m_runs[0].target < 0 && m_runs[1].target < 0)
        m_tick.stop();
}

void VolumeRamp::step(bool zone2)
{
    Run &run = m_runs[zone2];
    if (run.target < 0)
        return;
    const ProgramHost::ReceiverStatus status = m_host.receiverStatus();
    const std::optional<int> current = zone2 ? status.zone2Volume : status.mainVolume;
    const auto now = m_clock->monotonic();
    if (!status.connected || !m_link) {
        run = {};
        return;
    }
    if (run.from != -2) {
        // A step is out: wait for its report, repeat it when none came.
        const bool answered = current && *current != run.from;
        if (!answered) {
            if (now - run.sentAt < kStepAnswer)
                return;
            if (++run.misses >= kStepMisses) {
                run = {};
                return;
            }
        }
        run.from = -2;
    }
    if (current && *current == run.target) {
        run = {};
        return;
    }
    if (!m_steps.take(now))
        return;
    if (m_permit && !m_permit(now))
        return;
    // Before the receiver has reported a volume, one step down tells where it stands.
    const bool up = current && *current < run.target;
    Vocabulary::stepVolume(*m_link, zone2 ? Vocabulary::Zone::Zone2 : Vocabulary::Zone::Main, up);
    run.from = current.value_or(-1);
    run.sentAt = now;
}
