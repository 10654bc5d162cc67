#include "web/WebSettings.h"

#include "platform/SettingsStore.h"

#include <QFileInfo>
#include <QStringList>

namespace {
const QString kKeyListen = QStringLiteral("Listen");
const QString kKeyCertificate = QStringLiteral("Certificate");
const QString kKeyKey = QStringLiteral("Key");
} // namespace

std::optional<WebSettings::Address> WebSettings::parseListen(const QString &text, QString *error)
{
    const auto fail = [&](const QString &reason) -> std::optional<Address> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(QLatin1Char(':'));
    const QString usage = tr("The address to listen on must be written host:port, "
                             "such as 127.0.0.1:8780, 0.0.0.0:8780 or [::]:8780.");
    if (colon <= 0)
        return fail(usage);
    QString host = trimmed.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    else if (host.contains(QLatin1Char(':')))
        return fail(usage); // an IPv6 address needs its brackets
    bool ok = false;
    const int port = trimmed.mid(colon + 1).toInt(&ok);
    if (!ok || port < 0 || port > 65535)
        return fail(tr("The port to listen on must be 0 to 65535."));
    Address address;
    if (!address.host.setAddress(host))
        return fail(tr("\"%1\" is no IP address of this computer (a name is not "
                       "taken: write 0.0.0.0 for the whole home network).")
                        .arg(host));
    address.port = quint16(port);
    return address;
}

QString WebSettings::problems(const QString &password) const
{
    if (!enabled())
        return {};
    QStringList found;
    QString error;
    const auto address = parseListen(listen, &error);
    if (!address)
        found << error;
    else if (!address->host.isLoopback() && password.isEmpty())
        found << tr("A password is needed before the web remote listens on an "
                    "address other computers reach.");
    if (tls()) {
        if (certificate.isEmpty() || key.isEmpty())
            found << tr("HTTPS needs both a certificate and its key.");
        for (const QString &file : {certificate, key})
            if (!file.isEmpty() && !QFileInfo(file).isReadable())
                found << tr("\"%1\" cannot be read.").arg(file);
    }
    return found.join(QLatin1Char('\n'));
}

WebSettings WebSettings::load(SettingsStore &store)
{
    WebSettings settings;
    for (const auto &[key, value] : store.readSection(kSection)) {
        if (key == kKeyListen)
            settings.listen = value.trimmed();
        else if (key == kKeyCertificate)
            settings.certificate = value.trimmed();
        else if (key == kKeyKey)
            settings.key = value.trimmed();
    }
    return settings;
}

void WebSettings::save(SettingsStore &store) const
{
    store.writeValue(kSection, kKeyListen, listen.trimmed());
    store.writeValue(kSection, kKeyCertificate, certificate.trimmed());
    store.writeValue(kSection, kKeyKey, key.trimmed());
}
