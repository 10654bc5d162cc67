#pragma once

#include "errors/ErrorReport.h"

class ErrorPresenter;

// Reports one failure through the installed presenter (the error box in the
// program). Blocks until the user has closed the box, except while an
// ErrorsWithoutWaiting lives.
void ShowErrBox(const QString &procedure, const QString &module, int number,
                const QString &description, int line);

// Installs the presenter used by ShowErrBox; returns the previous one.
ErrorPresenter *setErrorPresenter(ErrorPresenter *presenter);
ErrorPresenter *errorPresenter();

// While one lives, the program is answering an outside program's call: failures are
// shown without waiting for the user (one box at a time), so the call answers at once
// and no call opens a wait inside another.
class ErrorsWithoutWaiting
{
public:
    ErrorsWithoutWaiting();
    ~ErrorsWithoutWaiting();
    ErrorsWithoutWaiting(const ErrorsWithoutWaiting &) = delete;
    ErrorsWithoutWaiting &operator=(const ErrorsWithoutWaiting &) = delete;

    static bool active();
};
