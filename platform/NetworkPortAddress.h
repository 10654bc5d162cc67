#pragma once

#include <QString>
#include <optional>

// The address of a serial-to-network bridge in raw mode, written as a port name
// "tcp://host:port" (host a name, an IPv4 address or an IPv6 address in brackets).
struct NetworkPortAddress
{
    QString host;
    quint16 port = 0;

    // Whether the port name is meant as a network address (it starts with "tcp://",
    // in any case); such a name is never opened as a device.
    static bool isNetworkName(const QString &portName);
    // The address in a port name; nothing when the name is not a complete, valid
    // address (no host, no port, a port outside 1 to 65535, a path or a query).
    static std::optional<NetworkPortAddress> parse(const QString &portName);

    QString toString() const;
};
