#include "program/VersionText.h"

namespace Modul_Orvane {

QString VersionText()
{
    return QStringLiteral("%1.%2%3")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}

QString FullVersionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}

} // namespace Modul_Orvane
