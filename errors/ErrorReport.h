#pragma once

#include <QString>

// What a failing procedure hands to the error box.
struct ErrorReport
{
    QString procedure;
    QString module;
    int number = 0;
    QString description;
    int line = 0; // 0 when unknown
};

// Shows error reports to the user. The program uses the modal error box; tests
// install a presenter that collects reports without blocking.
class ErrorPresenter
{
public:
    virtual ~ErrorPresenter();
    virtual void present(const ErrorReport &report) = 0;
    // Shows the report without waiting for the user; by default as present().
    virtual void presentWithoutWaiting(const ErrorReport &report) { present(report); }
};
