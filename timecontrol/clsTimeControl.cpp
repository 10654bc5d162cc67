#include "timecontrol/clsTimeControl.h"

#include "errors/OrvaneError.h"
#include "link/CommandCode.h"

namespace {
// The text from `from` (0-based) up to, not including, the comma at `comma`, trimmed.
// The blank the dialog writes before each comma belongs to the separator; a line typed
// without it keeps its last character ("07:30,..." is 07:30, not 07:3).
QString fieldBefore(const QString &line, qsizetype from, qsizetype comma)
{
    return line.mid(from, comma - from).trimmed();
}
} // namespace

clsTimeControlItem clsTimeControl::parseLine(const QString &line)
{
    const qsizetype c1 = line.indexOf(QLatin1Char(','));
    const qsizetype c2 = c1 < 0 ? -1 : line.indexOf(QLatin1Char(','), c1 + 1);
    if (c2 < 0) {
        throw OrvaneError(
            OrvaneError::kInvalidArgument,
            QStringLiteral("Schedule line without time, day and action: \"%1\"").arg(line));
    }
    const qsizetype c3 = line.indexOf(QLatin1Char(','), c2 + 1);

    clsTimeControlItem item;
    item.Time = fieldBefore(line, 0, c1);
    item.Day = fieldBefore(line, c1 + 1, c2);
    if (c3 >= 0) {
        item.Action = line.mid(c2 + 1, c3 - c2 - 1).trimmed();
        item.Code = line.mid(c3 + 1).trimmed();
        // The rule the add-ins' SendCommand applies to a code.
        if (!CommandCode::fitsInFrame(item.Code)) {
            throw OrvaneError(
                OrvaneError::kInvalidArgument,
                QStringLiteral("Schedule line with a command code that cannot be sent: \"%1\"")
                    .arg(line));
        }
    } else {
        item.Action = line.mid(c2 + 1).trimmed();
    }
    return item;
}

void clsTimeControl::Add(const QString &line)
{
    m_items.push_back(std::make_shared<clsTimeControlItem>(parseLine(line)));
}

void clsTimeControl::checkIndex(int index) const
{
    if (index < 1 || index > Count())
        throw OrvaneError(OrvaneError::kSubscriptOutOfRange,
                          QStringLiteral("No schedule entry %1").arg(index));
}

std::shared_ptr<clsTimeControlItem> clsTimeControl::Item(int index) const
{
    checkIndex(index);
    return m_items[std::size_t(index - 1)];
}

void clsTimeControl::Remove(int index)
{
    checkIndex(index);
    m_items.erase(m_items.begin() + (index - 1));
}
