#pragma once

// A main window on fakes, with a receiver model behind the fake serial port.

#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "app/ImageButton.h"
#include "link/Form_Com.h"
#include "platform/Platform.h"
#include "sim/ReceiverModel.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeKeyState.h"
#include "tests/support/FakePlayerRemote.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeShell.h"
#include "tests/support/FakeUserDialogs.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <chrono>
#include <functional>
#include <memory>

struct PanelsFixture
{
    // With `serialPort` the window talks over that port instead of the fake one.
    explicit PanelsFixture(const ReceiverModel::Options &options = {},
                           SerialPort *serialPort = nullptr)
        : model(options)
        , port(&model)
    {
        Platform platform;
        platform.serialPort = serialPort ? serialPort : &port;
        platform.settings = &settings;
        platform.dialogs = &dialogs;
        platform.keys = &keys;
        platform.player = &player;
        platform.shell = &shell;
        platform.clock = &clock;
        window = std::make_unique<Form_ControlCenter>(platform);
    }

    Form_ControlCenter &w() { return *window; }

    // Opens the port without the connection procedure: the panels stay empty and
    // nothing but the test's own actions goes over the line.
    void openPort()
    {
        window->com()->OpenPort();
        QVERIFY(window->com()->PortOpen());
    }

    // Selects an input as a report would, without sending anything.
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

    CollectingErrorPresenter errors;
    ReceiverModel model;
    FakeSerialPort port;
    FakeSettingsStore settings;
    FakeUserDialogs dialogs;
    FakeKeyState keys;
    FakePlayerRemote player;
    FakeShell shell;
    FakeClock clock;
    std::unique_ptr<Form_ControlCenter> window;
};
