#pragma once

#include "program/ProgramEvents.h"
#include "program/ProgramHost.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>

// The running program as the add-ins and the automation see it, recording what they
// asked of it.
class FakeProgramHost : public ProgramHost
{
public:
    SendResult sendCommand(const QString &code) override
    {
        if (sendResult != SendResult::Sent)
            return sendResult;
        calls << QStringLiteral("send ") + code;
        return SendResult::Sent;
    }
    QString line1() const override { return m_line1; }
    QString line2() const override { return m_line2; }
    void setLine2Text(const QString &text) override { m_line2 = text; }
    ModelInformation modelInformation() const override { return info; }
    void connectReceiver(bool powerOn) override
    {
        calls << (powerOn ? QStringLiteral("connect power") : QStringLiteral("connect"));
    }
    void disconnectReceiver() override { calls << QStringLiteral("disconnect"); }
    bool isConnected() const override { return connected; }
    // With readWaitMs, reading lets events run that long, as the link's wait for the
    // answer does.
    QString readSettings() override
    {
        calls << QStringLiteral("read settings");
        if (readWaitMs > 0) {
            QEventLoop loop;
            QTimer::singleShot(readWaitMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return settings;
    }
    void showProgram() override { calls << QStringLiteral("show"); }
    void hideProgram() override { calls << QStringLiteral("hide"); }
    bool programVisible() const override { return visible; }
    WindowState windowState() const override { return state; }
    void showAbout() override { calls << QStringLiteral("about"); }
    void quitProgram() override { calls << QStringLiteral("quit"); }
    ProgramEvents *events() override { return &m_events; }

    // The command codes sent, in order.
    QStringList sent() const
    {
        QStringList codes;
        for (const QString &call : calls) {
            if (call.startsWith(QStringLiteral("send ")))
                codes << call.mid(5);
        }
        return codes;
    }

    QString m_line1 = QStringLiteral("DVD");
    QString m_line2 = QStringLiteral("-30.0dB");
    ModelInformation info {QStringLiteral("R0161"), QStringLiteral("VR-161"), QStringLiteral("A"),
                           QStringLiteral("\x12R0161A")};
    bool connected = false;
    // Anything but Sent: the link drops codes with that result.
    SendResult sendResult = SendResult::Sent;
    bool visible = true;
    WindowState state = Normal;
    QString settings;
    int readWaitMs = 0;
    QStringList calls;

private:
    ProgramEvents m_events;
};
