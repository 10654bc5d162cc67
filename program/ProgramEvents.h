#pragma once

#include <QObject>
#include <QString>

// What outside parties (the add-ins, the automation interface, the time control)
// hear of the program. The main window owns the one instance and emits on it; the
// listeners connect through ProgramHost::events() and never see the window itself.
// Listeners are called in the order they connected and must not throw.
class ProgramEvents : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A report body (the text strictly between STX and ETX) arrived; emitted before
    // the program evaluates it.
    void reportReceived(const QString &body);
    // The settings block was read from the receiver, without its first and last
    // character.
    void settingsRead(const QString &block);
    // The volume display shows a new main-zone or zone-2 volume, in dB.
    void volumeMainShown(float db);
    void volumeZone2Shown(float db);
    // The main window is about to unload. A listener that wants the program to go on
    // running sets `cancel` to a non-zero value, and `refusedBy` to the add-in that
    // refused when it knows it; every listener is asked.
    void unloadRequested(long &cancel, QString &refusedBy);
    // A listener's refusal kept the program running; `refusedBy` names the add-in
    // when known.
    void unloadRefused(const QString &refusedBy);
    // The program ends: listeners let go of the program.
    void terminating();
    // The serial link was opened (connected) or closed, by the user or because the
    // port was lost.
    void connectedChanged(bool connected);
    // The receiver state (ProgramHost::receiverStatus) may have changed: after the reports
    // of one poll, a settings snapshot, a volume shown, a connect or disconnect.
    void receiverStatusChanged();
};
