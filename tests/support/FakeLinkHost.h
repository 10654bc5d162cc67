#pragma once

#include "link/LinkHost.h"

#include <QString>
#include <QStringList>

// The main window as the link sees it: the poll switch the test sets, and a record of
// every display line, settings block and lost port the link reports.
class FakeLinkHost : public LinkHost
{
public:
    bool pollRunning() const override { return poll; }
    void setLine1(const QString &text) override { line1 = text; }
    void setLine2(const QString &text) override
    {
        line2 = text;
        line2History << text;
    }
    void SetOrvaneSettings(const QString &settings) override { snapshots << settings; }
    void incomingSettings(const QString &settings) override { addInSettings << settings; }
    void linkLost(const QString &reason) override { lostReasons << reason; }
    void terminalClosed() override { ++terminalCloses; }
    bool appClosing() const override { return closing; }

    bool poll = false;
    QString line1;
    QString line2;
    QStringList line2History;
    QStringList snapshots;
    QStringList addInSettings;
    QStringList lostReasons;
    int terminalCloses = 0;
    bool closing = false;
};
