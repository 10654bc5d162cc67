#pragma once

#include "platform/StoredPassword.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QString>
#include <optional>

class SettingsStore;

// The web remote's settings, section [Web] of the settings file. An empty Listen means
// the remote is off. The password is not read here: it lives in the desktop's secret
// store when one answers, else under Password in the same section.
struct WebSettings
{
    Q_DECLARE_TR_FUNCTIONS(WebSettings)

public:
    static inline const QString kSection = QStringLiteral("Web");
    // The key of the password in the settings file.
    static inline const QString kPasswordKey = QStringLiteral("Password");
    // Its key in the secret store, beside the broker's password.
    static inline const QString kSecretKey = QStringLiteral("WebPassword");
    static StoredPassword::Place passwordPlace() { return {kSection, kPasswordKey, kSecretKey}; }

    QString listen; // as written: "127.0.0.1:8780", "0.0.0.0:8780", "[::]:8780"
    QString certificate; // PEM file; with the key, the remote speaks HTTPS
    QString key;

    struct Address
    {
        QHostAddress host;
        quint16 port = 0;
    };

    bool enabled() const { return !listen.trimmed().isEmpty(); }
    bool tls() const { return !certificate.isEmpty() || !key.isEmpty(); }
    // The address to listen on, or why the text is not one (port 0 lets the system pick).
    static std::optional<Address> parseListen(const QString &text, QString *error = nullptr);
    // Every reason the settings cannot be used with this password, one per line.
    QString problems(const QString &password) const;

    static WebSettings load(SettingsStore &store);
    // Writes the section (not the password) without flushing.
    void save(SettingsStore &store) const;
};
