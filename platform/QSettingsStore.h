#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

// The settings store in the user's configuration folder: the INI file
// $XDG_CONFIG_HOME/Orvane/Orvane.conf. Sections are INI groups; writing one section keeps
// every other section of the file.
class QSettingsStore final : public SettingsStore
{
public:
    QSettingsStore();
    // Uses the given INI file instead of the user's one.
    explicit QSettingsStore(const QString &filePath);

    Pairs readSection(const QString &section) override;
    QString readValue(const QString &section, const QString &key) override;
    void writeValue(const QString &section, const QString &key, const QString &value) override;
    QString flush() override;
    void restrictToOwner() override;

    QString fileName() const { return m_settings.fileName(); }

private:
    void applyOwnerOnly();

    QSettings m_settings;
    bool m_ownerOnly = false;
};
