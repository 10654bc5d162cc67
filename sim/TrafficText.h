#pragma once

#include <QByteArray>

// Line traffic made readable for a log: control characters by name (<STX>, <ETX>,
// <DC1> ...), other bytes outside printable ASCII as hexadecimal (<80>).
QByteArray trafficText(const QByteArray &bytes);
