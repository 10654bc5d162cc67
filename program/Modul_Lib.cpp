#include "program/Modul_Lib.h"

#include "platform/UserDialogs.h"

#include <QApplication>
#include <QUuid>
#include <QWidget>
#include <cstring>
#include <limits>

namespace Modul_Lib {

int Val(const QString &text)
{
    bool negative = false;
    bool signSeen = false;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t')
            continue;
        if (!signSeen && value == 0 && (c == u'-' || c == u'+')) {
            signSeen = true;
            negative = c == u'-';
            continue;
        }
        if (!c.isDigit() || c.unicode() > 127)
            break;
        signSeen = true;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

void SetTopMost(bool topMost, QWidget *window)
{
    if (!window)
        return;
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topMost)
        return;
    const bool visible = window->isVisible();
    const QRect geometry = window->geometry();
    const Qt::WindowStates state = window->windowState();
    // Changing window flags re-creates the native window, which hides it.
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    window->setGeometry(geometry);
    if (visible) {
        window->setWindowState(state);
        window->show();
    }
}

bool IsFormLoaded(const QWidget *window)
{
    if (!window)
        return false;
    const QWidgetList windows = QApplication::topLevelWidgets();
    return windows.contains(const_cast<QWidget *>(window));
}

void UnloadAllForms(const QWidget *keep)
{
    const char *keepType = keep ? keep->metaObject()->className() : "";
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window == keep || std::strcmp(window->metaObject()->className(), keepType) == 0)
            continue;
        // Menus and tool tips are top-level widgets too, owned by their windows.
        if (window->parentWidget() || !window->isWindow() || window->inherits("QMenu"))
            continue;
        window->close();
        window->deleteLater();
    }
}

std::optional<GuidBytes> SystemGuid()
{
    const QUuid uuid = QUuid::createUuid();
    if (uuid.isNull())
        return std::nullopt;
    GuidBytes bytes {};
    std::memcpy(bytes.data(), &uuid.data1, 4);
    std::memcpy(bytes.data() + 4, &uuid.data2, 2);
    std::memcpy(bytes.data() + 6, &uuid.data3, 2);
    std::memcpy(bytes.data() + 8, uuid.data4, 8);
    return bytes;
}

QString CreateGUID(UserDialogs *dialogs, const std::function<std::optional<GuidBytes>()> &source)
{
    std::optional<GuidBytes> bytes;
    try {
        if (source)
            bytes = source();
    } catch (...) {
        bytes.reset();
    }
    if (!bytes) {
        if (dialogs)
            dialogs->inform(QCoreApplication::translate("Modul_Lib", "Error while creating GUID!"));
        return QString();
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QString digits;
    digits.reserve(36);
    for (std::size_t i = 0; i < bytes->size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            digits += QLatin1Char('-');
        digits += QLatin1Char(kDigits[(*bytes)[i] >> 4]);
        digits += QLatin1Char(kDigits[(*bytes)[i] & 0x0F]);
    }
    return digits;
}

QString CaptionWithoutMarkers(const QString &caption)
{
    QString result;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        result.append(caption.at(i));
    }
    return result;
}

} // namespace Modul_Lib
