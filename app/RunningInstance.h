#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QString>

// A second start of the program on the same session: when an Orvane already holds the
// automation name, it is asked to raise its window and the second start ends. A holder
// that is not Orvane (or cannot show a window) leaves the start as it was: the program
// comes up and waits for the name.
class RunningInstance
{
public:
    enum class Result { NoneRunning, Raised, NotRaised };

    // What the second start prints on standard output.
    static constexpr const char *kRaisedText = QT_TRANSLATE_NOOP(
        "RunningInstance",
        "Orvane is already running on this desktop: its window was brought to the front.");

    // Asks the holder of the name on `bus`; waits at most `timeoutMs` for its answer.
    static Result raise(const QDBusConnection &bus, const QString &activationToken,
                        int timeoutMs = 3000);
    // The start's activation token from the desktop (Wayland's, else X11's startup id).
    static QString activationToken();
};
