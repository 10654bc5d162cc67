#include "state/ReceiverReadings.h"

#include "state/ReportTables.h"

namespace {
std::optional<int> hexPair(QStringView text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 16);
    return ok && text.size() == 2 ? std::optional<int>(value) : std::nullopt;
}
} // namespace

void ReceiverReadings::takeReport(QStringView body)
{
    if (body.size() < 6)
        return;
    const QStringView codeAndData = body.mid(2);
    // The same rules the evaluator uses: main volume by characters 3 to the end "2600" or
    // 2 to 4 "026", zone-2 volume by "027", power by code and data alone.
    if (codeAndData == u"2600" || body.mid(1, 3) == u"026") {
        if (const auto value = hexPair(body.mid(4, 2)))
            mainVolume = *value;
    } else if (body.mid(1, 3) == u"027") {
        if (const auto value = hexPair(body.mid(4, 2)))
            zone2Volume = *value;
    } else if (codeAndData == u"2000" || codeAndData == u"2001") {
        power = codeAndData == u"2001";
    } else if (body.left(4) == u"2024") {
        if (const int input = ReportTables::inputFromReportDigit(body.back()))
            zone2Input = input;
    }
}
