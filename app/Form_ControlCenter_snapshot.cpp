#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "errors/ErrorGuard.h"
#include "link/ConfigurationBlock.h"
#include "state/DspTable.h"
#include "state/ReceiverUpdateScope.h"
#include "state/ReportTables.h"

namespace {
constexpr char kModule[] = "Form_ControlCenter";
constexpr char kProcedure[] = "SetSettings";
constexpr int kMinimumDataLength = 3;
} // namespace

void Form_ControlCenter::SetOrvaneSettings(const QString &settings)
{
    SettingsBlock = settings;
    noteSettingsBlock();
    emit m_events.receiverStatusChanged();
}

void Form_ControlCenter::SetSettings()
{
    ReceiverUpdateScope updating(UpdatingFromReceiver);

    const ConfigurationBlock block(SettingsBlock);
    if (!block.isFramed() || block.dataLength().value_or(0) < kMinimumDataLength)
        return;
    // Fields past the data the block carries keep their current value.

    guarded(kModule, kProcedure, [&] {
        if (const auto digit = block.hexDigitAt(zone2Mode() ? 7 : 3))
            Opt_Input.select(ReportTables::inputFromBlockDigit(*digit));
    });

    guarded(kModule, kProcedure, [&] {
        const auto mode = block.hexDigitAt(5);
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
        if (block.dataAt(15) == u'0')
            index = 0; // effects off, whatever program is stored
        else if (const auto value = block.hexPairAt(13))
            index = DspTable::indexFromValue(*value);
        if (index >= 0)
            Opt_Dsp.select(index);
    });

    guarded(kModule, kProcedure, [&] {
        if (const auto on = block.flagAt(4))
            Opt_6ChInput.select(*on);
    });

    guarded(kModule, kProcedure, [&] {
        if (const auto on = block.flagAt(16))
            Opt_61ES.select(*on);
    });

    guarded(kModule, kProcedure, [&] {
        if (const auto on = block.flagAt(23))
            Opt_SpeakersA.select(*on);
    });
    guarded(kModule, kProcedure, [&] {
        if (const auto on = block.flagAt(24))
            Opt_SpeakersB.select(*on);
    });

    guarded(kModule, kProcedure, [&] {
        // Headphones plugged in silence the speakers.
        if (const auto headphones = block.flagAt(30)) {
            Opt_SpeakersA.setAllEnabled(*headphones == 0);
            Opt_SpeakersB.setAllEnabled(*headphones == 0);
        }
    });
    emit m_events.receiverStatusChanged();
}
