#include "platform/FixedPitchFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>
#include <cmath>

namespace {

QString printableAscii()
{
    QString text;
    for (char c = 0x20; c < 0x7F; ++c)
        text += QLatin1Char(c);
    return text;
}

bool rendersFixed(const QFont &font)
{
    static const QString probe = printableAscii();
    return FixedPitchFont::hasEqualAdvances(font, probe);
}

} // namespace

bool FixedPitchFont::hasEqualAdvances(const QFont &font, const QString &text)
{
    const QFontMetricsF metrics(font);
    if (text.isEmpty())
        return true;
    const qreal first = metrics.horizontalAdvance(text.front());
    for (const QChar c : text)
        if (std::abs(metrics.horizontalAdvance(c) - first) > 1.0 / 64)
            return false;
    return true;
}

QFont FixedPitchFont::resolve(QFont request)
{
    request.setStyleHint(QFont::TypeWriter);
    request.setFixedPitch(true);
    if (rendersFixed(request))
        return request;
    // Families marked fixed pitch first; any other Latin family may still render fixed.
    const QStringList families = QFontDatabase::families(QFontDatabase::Latin);
    for (const bool marked : {true, false}) {
        for (const QString &family : families) {
            if (QFontDatabase::isFixedPitch(family) != marked)
                continue;
            QFont candidate = request;
            candidate.setFamilies({family});
            if (rendersFixed(candidate))
                return candidate;
        }
    }
    return request;
}
