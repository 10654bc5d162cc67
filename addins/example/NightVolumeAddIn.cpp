#include "NightVolumeAddIn.h"

#include <QSettings>

NightVolumeAddIn::NightVolumeAddIn(QObject *parent)
    : QObject(parent)
{
}

void NightVolumeAddIn::AddInLoader_Name(QString &stName)
{
    stName = QStringLiteral("Night volume");
}

void NightVolumeAddIn::AddInLoader_Version(QString &stVersion)
{
    stVersion = QStringLiteral("1.0");
}

void NightVolumeAddIn::AddInLoader_Copyright(QString &stCopyright)
{
    stCopyright = QStringLiteral("Orvane example add-in, free to copy");
}

void NightVolumeAddIn::AddInLoader_Load(clsAddIn *oAddIn)
{
    m_addIn = oAddIn;
    if (!m_addIn)
        return;
    const QSettings settings(QStringLiteral("Orvane"), QStringLiteral("NightVolume"));
    bool ok = false;
    const float limit = settings.value(QStringLiteral("Limit")).toFloat(&ok);
    if (ok)
        m_limit = limit;
    connect(m_addIn, &clsAddIn::VolumeMain, this, &NightVolumeAddIn::volumeMain);
    // The program is ending: nothing more to watch.
    connect(m_addIn, &clsAddIn::Terminate, this, [this] {
        if (m_addIn)
            disconnect(m_addIn, nullptr, this, nullptr);
    });
}

void NightVolumeAddIn::volumeMain(float db)
{
    // Each step down brings a new volume report, so the volume settles at the limit.
    if (m_addIn && m_limit && db > *m_limit)
        m_addIn->SendCommand(kVolumeDown);
}
