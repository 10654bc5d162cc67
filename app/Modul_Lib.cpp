#include "app/Modul_Lib.h"

#include <QApplication>
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

} // namespace Modul_Lib
