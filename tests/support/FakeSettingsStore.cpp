#include "FakeSettingsStore.h"

SettingsStore::Pairs FakeSettingsStore::readSection(const QString &section)
{
    return m_current.value(section);
}

QString FakeSettingsStore::readValue(const QString &section, const QString &key)
{
    for (const auto &[name, value] : m_current.value(section)) {
        if (name == key)
            return value;
    }
    return {};
}

void FakeSettingsStore::writeValue(const QString &section, const QString &key, const QString &value)
{
    put(m_current[section], key, value);
}

QString FakeSettingsStore::flush()
{
    ++m_flushCount;
    if (!m_flushFailure.isEmpty())
        return m_flushFailure;
    m_stored = m_current;
    return {};
}

void FakeSettingsStore::setSection(const QString &section, const Pairs &pairs)
{
    m_current[section] = pairs;
    m_stored[section] = pairs;
}

void FakeSettingsStore::put(Pairs &pairs, const QString &key, const QString &value)
{
    for (auto &pair : pairs) {
        if (pair.first == key) {
            pair.second = value;
            return;
        }
    }
    pairs.append({key, value});
}
