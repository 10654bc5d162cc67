#include "platform/StoredPassword.h"

#include "platform/SecretStore.h"
#include "platform/SettingsStore.h"

void StoredPassword::read(SettingsStore &settings, SecretStore *secrets, const Place &place,
                          QObject *context, std::chrono::milliseconds limit,
                          std::function<void(const QString &password, bool answered)> done)
{
    const QString stored = settings.readValue(place.section, place.fileKey);
    if (!stored.isEmpty() || !secrets) {
        // A password in the settings file keeps that file to its owner.
        if (!stored.isEmpty())
            settings.restrictToOwner();
        done(stored, true);
        return;
    }
    secrets->readWithin(place.secretKey, context, limit,
                        [done = std::move(done)](std::optional<QString> secret) {
                            done(secret.value_or(QString()), secret.has_value());
                        });
}

void StoredPassword::write(SettingsStore &settings, SecretStore *secrets, const Place &place,
                           const QString &password, QObject *context,
                           std::chrono::milliseconds limit,
                           std::function<void(QString failure)> done)
{
    if (!secrets) {
        done(keepInFile(settings, place, password, false));
        return;
    }
    // The settings store outlives the caller's context, which guards the answer.
    secrets->writeWithin(place.secretKey, password, context, limit,
                         [&settings, place, password, done = std::move(done)](bool stored) {
                             done(keepInFile(settings, place, password, stored));
                         });
}

QString StoredPassword::keepInFile(SettingsStore &settings, const Place &place,
                                   const QString &password, bool inSecretStore)
{
    if (!inSecretStore && !password.isEmpty())
        settings.restrictToOwner();
    settings.writeValue(place.section, place.fileKey, inSecretStore ? QString() : password);
    return settings.flush();
}
