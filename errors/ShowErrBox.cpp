#include "errors/ShowErrBox.h"

#include <QDebug>

namespace {
ErrorPresenter *g_presenter = nullptr;
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
    g_presenter->present(report);
}
