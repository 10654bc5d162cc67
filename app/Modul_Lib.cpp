#include "app/Modul_Lib.h"

#include <QApplication>
#include <QWidget>
#include <cstring>

namespace Modul_Lib {

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
