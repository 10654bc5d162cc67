// orvane-screenshot: runs the program as a user starts it (its command line after the
// output path) and saves its window as a PNG once it has settled. The packaging build
// runs it offscreen against the virtual receiver for the store listing's screenshot.

#include "app/Modul_Orvane.h"

#include <QApplication>
#include <QMainWindow>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {
constexpr int kSettleMs = 4000;

// The largest visible top-level window: the main window, or the mini window in mini mode.
QWidget *programWindow()
{
    QWidget *best = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible())
            continue;
        if (!best || widget->width() * widget->height() > best->width() * best->height())
            best = widget;
    }
    return best;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setApplicationVersion(Modul_Orvane::FullVersionText());
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: orvane-screenshot OUTPUT.png [program options]\n");
        return 2;
    }
    const QString output = arguments.at(1);
    int result = 1;
    QTimer::singleShot(kSettleMs, &app, [&] {
        QWidget *window = programWindow();
        if (window && window->grab().save(output, "PNG"))
            result = 0;
        else
            std::fprintf(stderr, "orvane-screenshot: no window to save\n");
        QApplication::quit();
    });
    Modul_Orvane::Main(arguments.mid(2).join(QLatin1Char(' ')));
    return result;
}
