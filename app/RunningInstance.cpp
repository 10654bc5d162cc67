#include "app/RunningInstance.h"

#include "addins/AddInBusService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

RunningInstance::Result RunningInstance::raise(const QDBusConnection &bus,
                                               const QString &activationToken, int timeoutMs)
{
    if (!bus.isConnected() || !bus.interface())
        return Result::NoneRunning;
    const QDBusReply<bool> held
        = bus.interface()->isServiceRegistered(AddInBusService::kServiceName);
    if (!held.isValid() || !held.value())
        return Result::NoneRunning;
    QDBusMessage call
        = QDBusMessage::createMethodCall(AddInBusService::kServiceName, QStringLiteral("/"),
                                         AddInBusService::rootInterface(), QStringLiteral("Raise"));
    call << activationToken;
    // The answer is waited for with events running (bounded by the time-out), so a
    // program that serves the name from this very thread can answer too.
    const QDBusMessage reply = bus.call(call, QDBus::BlockWithGui, timeoutMs);
    // An error (a holder without the method, no answer in time) or false: not raised.
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && reply.arguments().constFirst().toBool())
        return Result::Raised;
    return Result::NotRaised;
}

QString RunningInstance::activationToken()
{
    for (const char *name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        const QString token = qEnvironmentVariable(name);
        if (!token.isEmpty())
            return token;
    }
    return QString();
}
