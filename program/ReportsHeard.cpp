#include "program/ReportsHeard.h"

#include "link/ReceiverVocabulary.h"

void ReportsHeard::take(const QString &body)
{
    if (body.size() < 6)
        return;
    const QStringView code = QStringView(body).mid(2, 2);
    bool ok = false;
    const int data = body.mid(4, 2).toInt(&ok, 16);
    if (code == u"23")
        m_mainMute = true;
    else if (code == u"25")
        m_zone2Mute = true;
    else if (code == u"2C" && ok) {
        if (const std::optional<int> minutes = ReceiverVocabulary::sleepOfReport(data))
            m_sleepMinutes = minutes;
    }
}
