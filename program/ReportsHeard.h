#pragma once

#include <QString>
#include <optional>

// Mute and sleep are known only from the receiver's reports, not from its configuration
// block: this keeps which of them have been reported, so a remote can say "unknown" until
// then.
class ReportsHeard
{
public:
    // Takes one report body ("xxCCDD" and more); others are ignored.
    void take(const QString &body);

    bool mainMute() const { return m_mainMute; }
    bool zone2Mute() const { return m_zone2Mute; }
    // The minutes of the last sleep report, none before one came.
    std::optional<int> sleepMinutes() const { return m_sleepMinutes; }

private:
    bool m_mainMute = false;
    bool m_zone2Mute = false;
    std::optional<int> m_sleepMinutes;
};
