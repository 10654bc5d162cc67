#include "ChromellErrors.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace {

ChromellErrors::Handler &installedHandler()
{
    static ChromellErrors::Handler handler;
    return handler;
}

void showMessageBox(const ChromellErrors::Report &report)
{
    QMessageBox box(QMessageBox::Critical, report.title, report.text, QMessageBox::Ok);
    box.exec();
}

} // namespace

ChromellErrors::Handler ChromellErrors::setHandler(Handler handler)
{
    Handler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}

QString ChromellErrors::title()
{
    QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (program.isEmpty())
        program = QCoreApplication::applicationName();
    return QStringLiteral("Fehler in ") + program;
}

QString ChromellErrors::text(const QString &control, const QString &procedure, int number,
                             const QString &description, int line)
{
    QString result = QStringLiteral("Fehler in ") + control + QLatin1Char('-') + procedure
        + QStringLiteral(":\n") + QString::number(number) + QStringLiteral(", ") + description;
    if (line > 0)
        result += QStringLiteral(" (Zeile ") + QString::number(line) + QLatin1Char(')');
    return result;
}

void ChromellErrors::report(const QString &control, const QString &procedure, int number,
                            const QString &description, int line)
{
    const Report report {title(), text(control, procedure, number, description, line),
                         control, procedure,
                         number,  description,
                         line};
    if (const Handler &handler = installedHandler())
        handler(report);
    else
        showMessageBox(report);
}

void ChromellErrors::reportNoThrow(const char *control, const char *procedure, int number,
                                   const QString &description, int line) noexcept
{
    try {
        report(QString::fromLatin1(control), QString::fromLatin1(procedure), number, description,
               line);
    } catch (...) {
        // Nothing is left to report a failure of the report itself with.
    }
}
