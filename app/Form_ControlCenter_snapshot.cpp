#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "errors/ErrorGuard.h"
#include "link/ReceiverLink.h"
#include "link/HexDigits.h"
#include "state/DspTable.h"
#include "state/ReportTables.h"
#include "state/ReceiverUpdateScope.h"

#include <algorithm>
#include <optional>

namespace {

constexpr char kModule[] = "Form_ControlCenter";
constexpr char kProcedure[] = "SetSettings";

constexpr QChar kBlockStart(18); // DC2
constexpr QChar kBlockEnd(3); // ETX
constexpr qsizetype kLengthPosition = 8; // two hexadecimal digits, from 1
constexpr qsizetype kDataPosition = 10;
constexpr int kMinimumDataLength = 3;

// The data part of a configuration block, read by data position (from 1). A block may be
// shorter than its length field says; positions past its data read as absent, and such a
// field keeps its current value.
class BlockData
{
public:
    explicit BlockData(QStringView data)
        : m_data(data)
    {
    }

    std::optional<QChar> at(qsizetype position) const
    {
        if (position < 1 || position > m_data.size())
            return std::nullopt;
        return m_data[position - 1];
    }

    std::optional<int> hexAt(qsizetype position) const
    {
        const auto c = at(position);
        return c ? HexDigits::digit(*c) : std::nullopt;
    }

    // "1" on, any other character off.
    std::optional<int> flagAt(qsizetype position) const
    {
        const auto c = at(position);
        if (!c)
            return std::nullopt;
        return *c == u'1' ? 1 : 0;
    }

    QStringView mid(qsizetype position, qsizetype length) const
    {
        return m_data.mid(position - 1, length);
    }

private:
    QStringView m_data;
};

} // namespace

void Form_ControlCenter::SetOrvaneSettings(const QString &settings)
{
    SettingsBlock = settings;
}

void Form_ControlCenter::SetSettings()
{
    ReceiverUpdateScope updating(UpdatingFromReceiver);

    const QStringView block(SettingsBlock);
    if (block.isEmpty() || block.front() != kBlockStart || block.back() != kBlockEnd)
        return;
    const int length = HexDigits::twoDigits(block.mid(kLengthPosition - 1, 2)).value_or(0);
    if (length < kMinimumDataLength)
        return;
    // The data ends at the length field's count or at the closing ETX, whichever is first.
    const qsizetype available = std::max<qsizetype>(0, block.size() - kDataPosition); // no ETX
    const BlockData data(block.mid(kDataPosition - 1, std::min<qsizetype>(length, available)));

    guarded(kModule, kProcedure, [&] {
        if (const auto digit = data.hexAt(zone2Mode() ? 7 : 3))
            Opt_Input.select(ReportTables::inputFromBlockDigit(*digit));
    });

    guarded(kModule, kProcedure, [&] {
        const auto mode = data.hexAt(5);
        if (!mode)
            return;
        // The receiver decides the mode itself (value 5): the mode buttons are then locked.
        Opt_InputMode.setAllEnabled(*mode != 5);
        constexpr int kModeOfValue[] = {1, 4, 5, 2, 3, 1};
        if (*mode <= 5)
            Opt_InputMode.select(kModeOfValue[*mode]);
    });

    guarded(kModule, kProcedure, [&] {
        int index = -1;
        if (data.at(15) == u'0')
            index = 0; // effects off, whatever program is stored
        else if (const auto value = HexDigits::twoDigits(data.mid(13, 2)))
            index = DspTable::indexFromValue(*value);
        if (index >= 0)
            Opt_Dsp.select(index);
    });

    guarded(kModule, kProcedure, [&] {
        if (const auto on = data.flagAt(4))
            Opt_6ChInput.select(*on);
    });

    guarded(kModule, kProcedure, [&] {
        if (const auto on = data.flagAt(16))
            Opt_61ES.select(*on);
    });

    guarded(kModule, kProcedure, [&] {
        if (const auto on = data.flagAt(23))
            Opt_SpeakersA.select(*on);
    });
    guarded(kModule, kProcedure, [&] {
        if (const auto on = data.flagAt(24))
            Opt_SpeakersB.select(*on);
    });

    guarded(kModule, kProcedure, [&] {
        // Headphones plugged in silence the speakers.
        if (const auto headphones = data.flagAt(30)) {
            Opt_SpeakersA.setAllEnabled(*headphones == 0);
            Opt_SpeakersB.setAllEnabled(*headphones == 0);
        }
    });
}
