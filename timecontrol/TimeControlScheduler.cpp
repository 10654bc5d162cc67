#include "timecontrol/TimeControlScheduler.h"

#include "errors/ErrorGuard.h"
#include "link/LinkTimings.h"
#include "platform/Clock.h"
#include "platform/PlayerRemote.h"
#include "timecontrol/TimeControlLink.h"
#include "timecontrol/clsTimeControl.h"

namespace {
constexpr const char *kModule = "Form_ControlCenter";
constexpr const char *kProcedure = "Timer_ZS_Timer";
} // namespace

TimeControlScheduler::TimeControlScheduler(TimeControlLink *link, PlayerRemote *player,
                                           Clock *clock,
                                           std::function<void(const QString &)> setLine2)
    : m_link(link)
    , m_player(player)
    , m_clock(clock)
    , m_setLine2(std::move(setLine2))
    , m_rest(QDeadlineTimer(0))
{
}

bool TimeControlScheduler::isDaily(const clsTimeControlItem &item)
{
    const QString head = item.Day.left(5).toUpper();
    return head == QLatin1String("EVERY") || head == QLatin1String("JEDEN");
}

void TimeControlScheduler::tick(const std::shared_ptr<clsTimeControl> &schedule)
{
    if (!schedule || m_firing || !m_rest.hasExpired())
        return;
    // Holding the schedule keeps it alive should the dialog replace it during a firing.
    const std::shared_ptr<clsTimeControl> held = schedule;
    guarded(kModule, kProcedure, [&] { walk(*held); });
}

void TimeControlScheduler::walk(clsTimeControl &schedule)
{
    // One read of the clock: a date and a time of day from two reads could straddle
    // midnight.
    const QDateTime now = m_clock->now();
    const QDate today = now.date();
    const QString nowDate = today.toString(QStringLiteral("dd.MM.yyyy"));
    const QString nowTime = now.time().toString(QStringLiteral("hh:mm"));
    // A daily entry at 00:00 is never earlier than the time of day, so the new date is
    // what re-arms it.
    const bool newDay = m_lastDate.isValid() && today != m_lastDate;
    m_lastDate = today;

    // Every daily entry is re-armed before any entry fires: a firing ends the walk.
    for (int i = 1; i <= schedule.Count(); ++i) {
        const std::shared_ptr<clsTimeControlItem> item = schedule.Item(i);
        if (item->Fired && isDaily(*item) && (newDay || nowTime < item->Time))
            item->Fired = false;
    }
    for (int i = 1; i <= schedule.Count(); ++i) {
        const std::shared_ptr<clsTimeControlItem> item = schedule.Item(i);
        if (item->Fired)
            continue;
        if ((isDaily(*item) || item->Day == nowDate) && item->Time == nowTime) {
            fire(*item);
            return;
        }
    }
}

void TimeControlScheduler::fire(clsTimeControlItem &item)
{
    m_firing = true;
    guarded(kModule, kProcedure, [&] {
        if (!item.Code.isEmpty())
            fireReceiverAction(item.Code);
        else
            firePlayerAction(item);
    });
    // Fired even when the action failed, so a failing entry is not retried (and
    // reported) twice a second for the rest of its minute.
    item.Fired = true;
    const auto scaled = std::chrono::milliseconds(
        qRound64(double(kSpacing.count()) * LinkTimings::current().pauseScale));
    m_rest = QDeadlineTimer(m_spacing.value_or(scaled));
    m_firing = false;
}

void TimeControlScheduler::fireReceiverAction(const QString &code)
{
    if (!m_link)
        return;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        m_link->clearComPuffer();
        m_link->sendCommand(code);
        if (!m_link->readPort().isEmpty())
            return;
    }
}

void TimeControlScheduler::firePlayerAction(const clsTimeControlItem &item)
{
    if (!m_player || !m_player->find())
        return;
    const QString code = item.Code.toLower();
    const QString action = item.Action.toLower();
    const auto mentions
        = [&](QLatin1String word) { return code.contains(word) || action.contains(word); };
    const auto show = [&](const QString &text) {
        if (m_setLine2)
            m_setLine2(text);
    };
    if (mentions(QLatin1String("play"))) {
        if (m_player->status() == PlayerRemote::Stopped) {
            m_player->postCommand(PlayerRemote::Play);
            show(QStringLiteral("Winamp play"));
        }
        // The pause command resumes a paused player.
        if (m_player->status() == PlayerRemote::Paused) {
            m_player->postCommand(PlayerRemote::Pause);
            show(QStringLiteral("Winamp play"));
        }
    }
    if (mentions(QLatin1String("stop")) && m_player->status() == PlayerRemote::Playing) {
        m_player->postCommand(PlayerRemote::Stop);
        show(QStringLiteral("Winamp stop"));
    }
}
