#include "errors/ShowErrBox.h"

#include <QDebug>

namespace {
ErrorPresenter *g_presenter = nullptr;
int g_withoutWaiting = 0;
} // namespace

ErrorsWithoutWaiting::ErrorsWithoutWaiting()
{
    ++g_withoutWaiting;
}

ErrorsWithoutWaiting::~ErrorsWithoutWaiting()
{
    --g_withoutWaiting;
}

bool ErrorsWithoutWaiting::active()
{
    return g_withoutWaiting > 0;
}

ErrorPresenter::~ErrorPresenter() = default;

ErrorPresenter *setErrorPresenter(ErrorPresenter *presenter)
{
    ErrorPresenter *previous = g_presenter;
    g_presenter = presenter;
    return previous;
}

ErrorPresenter *errorPresenter()
{
    return g_presenter;
}

void ShowErrBox(const QString &procedure, const QString &module, int number,
                const QString &description, int line)
{
    const ErrorReport report{procedure, module, number, description, line};
    if (!g_presenter) {
        qWarning().noquote() << "Error in" << module + "-" + procedure + ":" << number
                             << description << "line" << line;
        return;
    }
    if (ErrorsWithoutWaiting::active())
        g_presenter->presentWithoutWaiting(report);
    else
        g_presenter->present(report);
}
