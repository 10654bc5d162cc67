#pragma once

#include "errors/OrvaneError.h"
#include "errors/ShowErrBox.h"

#include <exception>
#include <new>

// Runs one step of a procedure and reports any failure through the error box,
// so the caller can go on with its next step. No exception leaves a guard.
template<typename Step>
bool guarded(const char *module, const char *procedure, Step &&step) noexcept
{
    try {
        step();
        return true;
    } catch (const OrvaneError &e) {
        ShowErrBox(QString::fromLatin1(procedure), QString::fromLatin1(module), e.number(),
                   e.description(), e.line());
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
template<typename Step>
bool ignoringErrors(Step &&step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}
