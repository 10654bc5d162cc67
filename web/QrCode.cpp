#include "web/QrCode.h"

#include <memory>
#include <qrencode.h>

QImage qrCodeImage(const QString &text, int scale)
{
    const QByteArray bytes = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code || scale < 1)
        return {};
    constexpr int kQuiet = 4; // modules of white around the code
    const int width = code->width;
    const int side = (width + 2 * kQuiet) * scale;
    QImage image(side, side, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < width; ++y)
        for (int x = 0; x < width; ++x) {
            if (!(code->data[y * width + x] & 1))
                continue;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    image.setPixel((x + kQuiet) * scale + dx, (y + kQuiet) * scale + dy, 1);
        }
    return image;
}
