#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C, a service manager) into an
// orderly close on the UI thread, so the program saves its configuration instead
// of being cut off.
class TerminationHandler : public QObject
{
    Q_OBJECT
public:
    explicit TerminationHandler(std::function<void()> onTerminate, QObject *parent = nullptr);
    ~TerminationHandler() override;

private:
    void readSignal();

    std::function<void()> m_onTerminate;
    QSocketNotifier *m_notifier = nullptr;
};
