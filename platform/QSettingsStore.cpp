#include "platform/QSettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

namespace {

// Values are text. A hand-written value with commas reads back as a list; give back the
// text as it stood.
QString asText(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

QString sectionKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QSettingsStore::QSettingsStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvane"),
                 QStringLiteral("Orvane"))
{
    // A per-user program starts from its own defaults: no values from system-wide
    // files (XDG_CONFIG_DIRS), which would otherwise be written back into the user's file.
    m_settings.setFallbacksEnabled(false);
}

QSettingsStore::QSettingsStore(const QString &filePath)
    : m_settings(filePath, QSettings::IniFormat)
{
}

SettingsStore::Pairs QSettingsStore::readSection(const QString &section)
{
    Pairs pairs;
    m_settings.beginGroup(section);
    const QStringList keys = m_settings.childKeys();
    for (const QString &key : keys)
        pairs.append({key, asText(m_settings.value(key))});
    m_settings.endGroup();
    return pairs;
}

QString QSettingsStore::readValue(const QString &section, const QString &key)
{
    return asText(m_settings.value(sectionKey(section, key)));
}

void QSettingsStore::writeValue(const QString &section, const QString &key, const QString &value)
{
    m_settings.setValue(sectionKey(section, key), value);
}

// QSettings writes through a temporary file that replaces the old one only when complete,
// so a failed write leaves the previous file as it was.
void QSettingsStore::restrictToOwner()
{
    m_ownerOnly = true;
    // The file is replaced keeping its permissions, so a file that is owner-only before
    // the secret is first written never shows it to others.
    const QString path = m_settings.fileName();
    if (!QFile::exists(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner))
            file.close();
    }
    applyOwnerOnly();
}

void QSettingsStore::applyOwnerOnly()
{
    if (m_ownerOnly && QFile::exists(m_settings.fileName()))
        QFile::setPermissions(m_settings.fileName(), QFile::ReadOwner | QFile::WriteOwner);
}

QString QSettingsStore::flush()
{
    m_settings.sync();
    applyOwnerOnly();
    switch (m_settings.status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return QCoreApplication::translate(
                   "QSettingsStore",
                   "The settings file \"%1\" could not be written "
                   "(no write permission, or its folder cannot be created).")
            .arg(m_settings.fileName());
    case QSettings::FormatError:
        return QCoreApplication::translate(
                   "QSettingsStore", "The settings file \"%1\" is malformed and was not changed.")
            .arg(m_settings.fileName());
    }
    return QCoreApplication::translate("QSettingsStore",
                                       "The settings file \"%1\" could not be written.")
        .arg(m_settings.fileName());
}
