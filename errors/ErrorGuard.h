#pragma once

#include "errors/OrvaneError.h"
#include "errors/ShowErrBox.h"

#include <cstring>
#include <exception>
#include <new>
#include <source_location>

// The line the error box names for a failure reported by the procedure whose guard sits
// at `guard`: the failing line when it is in that procedure's own source file, else 0
// (a helper's line, in a file of its own, tells the reader of the report nothing).
inline int reportedLine(const OrvaneError &error, const std::source_location &guard) noexcept
{
    return error.file() && std::strcmp(error.file(), guard.file_name()) == 0 ? error.line() : 0;
}

// Runs one step of a procedure and reports any failure through the error box,
// so the caller can go on with its next step. No exception leaves a guard.
template<typename Step>
bool guarded(const char *module, const char *procedure, Step &&step,
             std::source_location at = std::source_location::current()) noexcept
{
    try {
        step();
        return true;
    } catch (const OrvaneError &e) {
        ShowErrBox(QString::fromLatin1(procedure), QString::fromLatin1(module), e.number(),
                   e.description(), reportedLine(e, at));
    } catch (const std::bad_alloc &) {
        ShowErrBox(QString::fromLatin1(procedure), QString::fromLatin1(module), 7,
                   QStringLiteral("Out of memory"), 0);
    } catch (const std::exception &e) {
        ShowErrBox(QString::fromLatin1(procedure), QString::fromLatin1(module),
                   OrvaneError::kInvalidArgument, QString::fromLocal8Bit(e.what()), 0);
    } catch (...) {
        ShowErrBox(QString::fromLatin1(procedure), QString::fromLatin1(module),
                   OrvaneError::kInvalidArgument, QStringLiteral("Unknown failure"), 0);
    }
    return false;
}

// Runs a step whose failures are to be ignored silently.
template<typename Step> bool ignoringErrors(Step &&step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}
