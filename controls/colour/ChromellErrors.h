#pragma once

#include "ControlError.h"
#include "chromell_global.h"

#include <QString>
#include <exception>
#include <functional>
#include <new>

// How the colour controls report a failure inside one of their procedures: a
// critical message box titled "Fehler in <program>". The host (or a test) can
// replace the box with a handler of its own.
class CHROMELL_EXPORT ChromellErrors
{
public:
    struct Report
    {
        QString title;
        QString text;
        QString control;
        QString procedure;
        int number = 0;
        QString description;
        int line = 0;
    };
    using Handler = std::function<void(const Report &)>;

    // An empty handler restores the message box. Returns the previous handler.
    static Handler setHandler(Handler handler);

    static QString title();
    static QString text(const QString &control, const QString &procedure, int number,
                        const QString &description, int line);
    static void report(const QString &control, const QString &procedure, int number,
                       const QString &description, int line);

    // Runs one statement of a procedure; a failure is reported and the caller
    // goes on with its next statement.
    template<typename Step>
    static bool guard(const char *control, const char *procedure, Step &&step) noexcept
    {
        try {
            step();
            return true;
        } catch (const ControlError &e) {
            reportNoThrow(control, procedure, e.number(), e.description(), e.line());
        } catch (const std::bad_alloc &) {
            reportNoThrow(control, procedure, 7, QStringLiteral("Out of memory"), 0);
        } catch (const std::exception &e) {
            reportNoThrow(control, procedure, 51, QString::fromLocal8Bit(e.what()), 0);
        } catch (...) {
            reportNoThrow(control, procedure, 51, QStringLiteral("Internal error"), 0);
        }
        return false;
    }

    // For the resize handling, whose failures are ignored without a message.
    template<typename Step> static bool silently(Step &&step) noexcept
    {
        try {
            step();
            return true;
        } catch (...) {
            return false;
        }
    }

private:
    static void reportNoThrow(const char *control, const char *procedure, int number,
                              const QString &description, int line) noexcept;
};
