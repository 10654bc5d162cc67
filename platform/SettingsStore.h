#pragma once

#include <QList>
#include <QString>
#include <utility>

// Per-user text settings, organised in sections of key/value pairs.
class SettingsStore
{
public:
    using Pairs = QList<std::pair<QString, QString>>;

    virtual ~SettingsStore();

    // All pairs of one section, in stored order; empty when the section is absent.
    virtual Pairs readSection(const QString &section) = 0;
    // One value, read directly; an empty text when absent.
    virtual QString readValue(const QString &section, const QString &key) = 0;
    // Queues one value for writing.
    virtual void writeValue(const QString &section, const QString &key, const QString &value) = 0;
    // Writes the queued values to storage in one piece. Returns an empty text on
    // success, otherwise why it failed (the previous file is then left as it was).
    virtual QString flush() = 0;
    // From now on the stored settings are readable by their owner only (they hold a
    // secret); every later flush keeps it so.
    virtual void restrictToOwner() {}
};
