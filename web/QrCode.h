#pragma once

#include <QImage>
#include <QString>

// The QR code of a text (a link a phone's camera opens) as a black-on-white image with
// the quiet zone around it, `scale` pixels a module; a null image when the text is too
// long for a QR code.
QImage qrCodeImage(const QString &text, int scale = 4);
