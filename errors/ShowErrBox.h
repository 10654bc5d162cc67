#pragma once

#include "errors/ErrorReport.h"

class ErrorPresenter;

// Reports one failure through the installed presenter (the error box in the
// program). Blocks until the user has closed the box.
void ShowErrBox(const QString &procedure, const QString &module, int number,
                const QString &description, int line);

// Installs the presenter used by ShowErrBox; returns the previous one.
ErrorPresenter *setErrorPresenter(ErrorPresenter *presenter);
ErrorPresenter *errorPresenter();
