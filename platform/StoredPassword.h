#pragma once

#include <QString>
#include <chrono>
#include <functional>

class QObject;
class SecretStore;
class SettingsStore;

// A password kept in the desktop's secret store or, when there is none or it does not
// take the password in time, in the settings file, which is then kept to its owner.
class StoredPassword
{
public:
    struct Place
    {
        QString section; // the settings file's section
        QString fileKey; // its key there
        QString secretKey; // the key in the secret store
    };

    // The settings file's password when it holds one (the file is then kept to its
    // owner), else the secret store's, waited for at most `limit`. `done` runs once, with
    // the password and false when the secret store did not answer in time; it runs at
    // once when the secret store is not asked (`secrets` null).
    static void read(SettingsStore &settings, SecretStore *secrets, const Place &place,
                     QObject *context, std::chrono::milliseconds limit,
                     std::function<void(const QString &password, bool answered)> done);

    // Keeps `password` in the secret store (waiting at most `limit`), else in the settings
    // file, then writes the settings file out. `done` runs once, with the file's failure
    // text, empty when all is kept.
    static void write(SettingsStore &settings, SecretStore *secrets, const Place &place,
                      const QString &password, QObject *context, std::chrono::milliseconds limit,
                      std::function<void(QString failure)> done);

private:
    // The settings file's part of write(): the password there unless the store took it.
    static QString keepInFile(SettingsStore &settings, const Place &place, const QString &password,
                              bool inSecretStore);
};
