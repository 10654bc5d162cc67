#pragma once

// The main window built on fakes of every platform seam, with the error box replaced by
// a collector. Header-only, shared by the state, app and end-to-end tests.

#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "link/Form_Com.h"
#include "sim/ReceiverModel.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeKeyState.h"
#include "tests/support/FakePlayerRemote.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeShell.h"
#include "tests/support/FakeUserDialogs.h"

#include <QAction>
#include <QLabel>
#include <memory>

struct WindowWithFakes
{
    // Uses the given port and store in place of the fakes when they are not null.
    explicit WindowWithFakes(SerialPort *port = nullptr, SettingsStore *store = nullptr)
    {
        Platform platform;
        platform.serialPort = port ? port : &fakePort;
        platform.settings = store ? store : &settings;
        platform.dialogs = &dialogs;
        platform.keys = &keys;
        platform.player = &player;
        platform.shell = &shell;
        platform.clock = &clock;
        form = std::make_unique<Form_ControlCenter>(platform);
    }

    // Opens the fake port so that commands reach the receiver model (and are recorded).
    void openPort()
    {
        form->com()->setCommPort(1);
        form->com()->OpenPort();
    }

    // The option selected in a group as text: its index, or "-" when none is.
    static QString selection(const OptionArray &options)
    {
        const auto index = options.selected();
        return index ? QString::number(*index) : QStringLiteral("-");
    }

    // "1" when every member is enabled, "0" when none is, "mixed" otherwise.
    static QString enabled(const QList<const OptionArray *> &groups)
    {
        int on = 0;
        int all = 0;
        for (const OptionArray *group : groups)
            for (int index : group->indices()) {
                ++all;
                on += (*group)(index)->isEnabled() ? 1 : 0;
            }
        return on == all ? QStringLiteral("1")
            : on == 0    ? QStringLiteral("0")
                         : QStringLiteral("mixed");
    }

    // The receiver state record as shown by the window, field by field in panel order.
    QList<std::pair<QString, QString>> record() const
    {
        const Form_ControlCenter &f = *form;
        const auto flag = [](const QAction *a) {
            return a->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        };
        return {
            {QStringLiteral("Input"), selection(f.Opt_Input)},
            {QStringLiteral("InputMode"), selection(f.Opt_InputMode)},
            {QStringLiteral("Dsp"), selection(f.Opt_Dsp)},
            {QStringLiteral("SpeakersA"), selection(f.Opt_SpeakersA)},
            {QStringLiteral("SpeakersB"), selection(f.Opt_SpeakersB)},
            {QStringLiteral("Es61"), selection(f.Opt_61ES)},
            {QStringLiteral("SixCh"), selection(f.Opt_6ChInput)},
            {QStringLiteral("MainMute"), flag(f.Menu_Volume_Mute)},
            {QStringLiteral("Zone2Mute"), flag(f.Menu_Volume_MuteZone2)},
            {QStringLiteral("SpeakersEnabled"), enabled({&f.Opt_SpeakersA, &f.Opt_SpeakersB})},
            {QStringLiteral("InputModeEnabled"), enabled({&f.Opt_InputMode})},
            {QStringLiteral("SurroundEnabled"), enabled({&f.Opt_Dsp, &f.Opt_61ES})},
            {QStringLiteral("Line1"), QLatin1Char('\'') + f.Line1->text() + QLatin1Char('\'')},
            {QStringLiteral("Line2"), QLatin1Char('\'') + f.Line2->text() + QLatin1Char('\'')},
        };
    }

    // The fields that differ from an earlier record, as "Field=value" joined by spaces.
    QString changesSince(const QList<std::pair<QString, QString>> &before) const
    {
        const auto after = record();
        QStringList changes;
        for (qsizetype i = 0; i < after.size(); ++i)
            if (after[i].second != before[i].second)
                changes << after[i].first + QLatin1Char('=') + after[i].second;
        return changes.join(QLatin1Char(' '));
    }

    CollectingErrorPresenter errors;
    ReceiverModel model;
    FakeSerialPort fakePort {&model};
    FakeSettingsStore settings;
    FakeUserDialogs dialogs;
    FakeKeyState keys;
    FakePlayerRemote player;
    FakeShell shell;
    FakeClock clock;
    std::unique_ptr<Form_ControlCenter> form;
};
