#include "sim/TrafficText.h"

QByteArray trafficText(const QByteArray &bytes)
{
    QByteArray text;
    for (const char c : bytes) {
        switch (c) {
        case 2:
            text += "<STX>";
            break;
        case 3:
            text += "<ETX>";
            break;
        case 17:
            text += "<DC1>";
            break;
        case 18:
            text += "<DC2>";
            break;
        case 19:
            text += "<DC3>";
            break;
        case 127:
            text += "<DEL>";
            break;
        default:
            if (c >= 32 && c < 127)
                text += c;
            else
                text += '<' + QByteArray::number(uchar(c), 16).toUpper() + '>';
        }
    }
    return text;
}
