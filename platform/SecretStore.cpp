#include "platform/SecretStore.h"

#include <QTimer>
#include <memory>

SecretStore::~SecretStore() = default;

void SecretStore::readWithin(const QString &key, QObject *context, std::chrono::milliseconds limit,
                             std::function<void(std::optional<QString> secret)> done)
{
    // Whichever comes first, the answer or the time limit, is the one told.
    auto answered = std::make_shared<bool>(false);
    auto once = std::make_shared<std::function<void(std::optional<QString>)>>(std::move(done));
    read(key, context, [answered, once](Outcome, const QString &secret) {
        if (*answered)
            return;
        *answered = true;
        (*once)(secret);
    });
    QTimer::singleShot(limit, context, [answered, once] {
        if (*answered)
            return;
        *answered = true;
        (*once)(std::nullopt);
    });
}

void SecretStore::writeWithin(const QString &key, const QString &secret, QObject *context,
                              std::chrono::milliseconds limit, WriteDone done)
{
    auto answered = std::make_shared<bool>(false);
    auto once = std::make_shared<WriteDone>(std::move(done));
    write(key, secret, context, [answered, once](bool stored) {
        if (*answered)
            return;
        *answered = true;
        (*once)(stored);
    });
    QTimer::singleShot(limit, context, [answered, once] {
        if (*answered)
            return;
        *answered = true;
        (*once)(false);
    });
}
