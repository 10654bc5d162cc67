#pragma once

#include "platform/SettingsStore.h"

#include <QMap>

// Settings kept in memory. Reads see written values at once (as the real store
// does); what reached "storage" changes only with a successful flush, which a
// test can make fail.
class FakeSettingsStore : public SettingsStore
{
public:
    Pairs readSection(const QString &section) override;
    QString readValue(const QString &section, const QString &key) override;
    void writeValue(const QString &section, const QString &key, const QString &value) override;
    QString flush() override;

    // Sets the stored content of a section, as if a file held it.
    void setSection(const QString &section, const Pairs &pairs);
    // The section as last flushed to storage.
    Pairs storedSection(const QString &section) const { return m_stored.value(section); }
    // Non-empty: every flush fails with this reason and storage keeps its content.
    void setFlushFailure(const QString &reason) { m_flushFailure = reason; }
    int flushCount() const { return m_flushCount; }
    bool hasUnflushedWrites() const { return m_current != m_stored; }

private:
    static void put(Pairs &pairs, const QString &key, const QString &value);

    QMap<QString, Pairs> m_current;
    QMap<QString, Pairs> m_stored;
    QString m_flushFailure;
    int m_flushCount = 0;
};
