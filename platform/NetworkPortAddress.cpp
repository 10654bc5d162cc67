#include "platform/NetworkPortAddress.h"

#include <QUrl>

namespace {
const QString kScheme = QStringLiteral("tcp://");
} // namespace

bool NetworkPortAddress::isNetworkName(const QString &portName)
{
    return portName.trimmed().startsWith(kScheme, Qt::CaseInsensitive);
}

std::optional<NetworkPortAddress> NetworkPortAddress::parse(const QString &portName)
{
    const QString name = portName.trimmed();
    if (!isNetworkName(name))
        return std::nullopt;
    const QUrl url(name, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty()
        || url.hasQuery() || url.hasFragment() || (!url.path().isEmpty() && url.path() != "/"))
        return std::nullopt;
    const int port = url.port(-1);
    if (port < 1 || port > 65535)
        return std::nullopt;
    return NetworkPortAddress {url.host(), quint16(port)};
}

QString NetworkPortAddress::toString() const
{
    const QString shownHost
        = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("tcp://%1:%2").arg(shownHost).arg(port);
}
