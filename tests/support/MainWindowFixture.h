#pragma once

// The main window built on fakes of every platform seam, with a receiver model behind the
// fake serial port and a collector for the error box. Header-only: only tests that link the
// window's library include it.

#include "addins/AddInRuntime.h"
#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "app/ImageButton.h"
#include "app/ProgramParts.h"
#include "link/Form_Com.h"
#include "link/ReceiverLink.h"
#include "platform/Platform.h"
#include "program/ProgramValues.h"
#include "sim/ReceiverModel.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeKeyState.h"
#include "tests/support/FakePlayerRemote.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeShell.h"
#include "tests/support/FakeUserDialogs.h"
#include "tests/support/ShortWaits.h"

#include <QAction>
#include <QElapsedTimer>
#include <QHash>
#include <QLabel>
#include <QTest>
#include <chrono>
#include <memory>
#include <utility>

struct MainWindowFixture
{
    // With `serialPort` or `store` the window uses them in place of the fakes.
    explicit MainWindowFixture(const ReceiverModel::Options &options = {},
                               SerialPort *serialPort = nullptr, SettingsStore *store = nullptr)
        : model(options)
        , port(&model)
    {
        Platform platform;
        platform.serialPort = serialPort ? serialPort : &port;
        platform.settings = store ? store : &settings;
        platform.dialogs = &dialogs;
        platform.keys = &keys;
        platform.player = &player;
        platform.shell = &shell;
        platform.clock = &clock;
        runtime.setValues(&values);
        parts = std::make_unique<ProgramParts>(platform, runtime, values);
        window = &parts->window();
    }

    Form_ControlCenter &w() { return *window; }

    // The window's controls, menu items and timers: private to the window, handed to the
    // tests here (the fixture is the window's friend).
    static MainWindowControls &controls(Form_ControlCenter &form) { return form; }
    static const MainWindowControls &controls(const Form_ControlCenter &form) { return form; }
    // Shows the input buttons the model with this code has (as a connect does).
    static void setInputButtonVisible(Form_ControlCenter &form, const QString &modelCode)
    {
        form.SetInputButtonVisible(modelCode);
    }
    // One tick of the player title timer, without waiting out its period.
    static void winampViewTick(Form_ControlCenter &form) { form.Timer_WinampView_Timer(); }

    // The terminal window (the link's view), also of a window a test only reads.
    static Form_Com *com(const Form_ControlCenter &form) { return form.com(); }

    // The window's private handlers and parts, handed to the tests as the controls are.
    struct Inside
    {
        Form_ControlCenter &form;

        void ConnectToOrvane(int sw1 = 0) { form.ConnectToOrvane(sw1); }
        void Timer_Check_Timer() { form.Timer_Check_Timer(); }
        void Timer_ZS_Timer() { form.Timer_ZS_Timer(); }
        void DatenAuswerten(const QString &body) { form.DatenAuswerten(body); }
        void DisplayVolume(Form_ControlCenter::VolumeZone zone, int value)
        {
            form.DisplayVolume(zone, value);
        }
        void SetSettings() { form.SetSettings(); }
        void SetKlappe(int mode) { form.SetKlappe(mode); }
        void Image_Klappe_Click() { form.Image_Klappe_Click(); }
        void SetDSPButton(int index, int noSelect) { form.SetDSPButton(index, noSelect); }
        void Menu_Mode_Zone2_Click() { form.Menu_Mode_Zone2_Click(); }
        bool zone2Mode() const { return form.zone2Mode(); }
        void Image_VolUP_MouseDown(Qt::MouseButton b) { form.Image_VolUP_MouseDown(b); }
        void Image_VolUP_MouseUp(Qt::MouseButton b) { form.Image_VolUP_MouseUp(b); }
        void Image_VolDOWN_MouseDown(Qt::MouseButton b) { form.Image_VolDOWN_MouseDown(b); }
        void Image_VolDOWN_MouseUp(Qt::MouseButton b) { form.Image_VolDOWN_MouseUp(b); }
        void CheckKey(int keyCode) { form.CheckKey(keyCode); }
        void Menu_Reset_Click() { form.Menu_Reset_Click(); }
        void Menu_Extras_YInfo_Click() { form.Menu_Extras_YInfo_Click(); }
        void LoadConfig() { form.LoadConfig(); }
        void SaveConfig() { form.SaveConfig(); }
        QRect workArea() const { return form.workArea(); }
        AddInComponents *addInComponents() const { return form.addInComponents(); }
        Form_ZS *zs() const { return form.zs(); }
        clsTimeControl *timeControl() const { return form.oTimeControl.get(); }
        Form_YInfo *yinfo() const { return form.yinfo(); }
    };

    // Opens COM 1 without the connection procedure: the panels stay empty and nothing but
    // the test's own actions goes over the line (and is recorded by the fake port).
    void openPort()
    {
        window->link()->setCommPort(1);
        window->link()->OpenPort();
        QVERIFY(window->link()->PortOpen());
    }

    // Bytes as the receiver sends them on the fake port (opened when closed), read and
    // evaluated by one tick of the poll.
    void receive(const QByteArray &bytes)
    {
        if (!window->link()->PortOpen())
            openPort();
        port.injectRaw(bytes);
        window->Timer_Check_Timer();
    }

    // Shows the window with the panels' flap open, as a user sees it.
    void showOpened()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->SetKlappe(1);
    }

    // The option panel a table row names.
    OptionArray &panel(const QString &name)
    {
        MainWindowControls &ui = controls(*window);
        const QHash<QString, OptionArray *> panels {{"Input", &ui.Opt_Input},
                                                    {"Rec Out", &ui.Opt_Input},
                                                    {"Mode", &ui.Opt_InputMode},
                                                    {"DSP", &ui.Opt_Dsp},
                                                    {"Speakers A", &ui.Opt_SpeakersA}};
        return *panels.value(name);
    }

    // Selects an option as a report would, without sending anything.
    void selectFromReceiver(OptionArray &options, int index)
    {
        window->UpdatingFromReceiver = true;
        options.select(index);
        window->UpdatingFromReceiver = false;
    }

    // Lets timers and deliveries run for a while.
    static void runFor(std::chrono::milliseconds duration)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < duration.count())
            QTest::qWait(5);
    }

    QString line1() const { return window->Line1->text(); }
    QString line2() const { return window->Line2->text(); }

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
        const MainWindowControls &f = *window;
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

    // First member: the short waits hold for the window's whole life.
    ShortWaits waits;
    CollectingErrorPresenter errors;
    ReceiverModel model;
    FakeSerialPort port;
    FakeSettingsStore settings;
    FakeUserDialogs dialogs;
    FakeKeyState keys;
    FakePlayerRemote player;
    FakeShell shell;
    FakeClock clock;
    // What the start-up shares with the add-ins (the list), and the program-wide values.
    AddInRuntime runtime {&dialogs, &player};
    ProgramValues values;
    // The window and the parts built with it, as the start-up builds them.
    std::unique_ptr<ProgramParts> parts;
    Form_ControlCenter *window = nullptr;
};

inline MainWindowFixture::Inside inside(Form_ControlCenter &form)
{
    return {form};
}

inline MainWindowControls &ui(Form_ControlCenter &form)
{
    return MainWindowFixture::controls(form);
}

inline const MainWindowControls &ui(const Form_ControlCenter &form)
{
    return MainWindowFixture::controls(form);
}
