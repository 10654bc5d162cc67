#include "app/ProgramTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

QStringList ProgramTranslations::folders()
{
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
            QStringLiteral(ORVANE_TRANSLATIONS_PATH)};
}

QStringList ProgramTranslations::install(QCoreApplication *app, const QLocale &locale,
                                         const QStringList &where)
{
    QStringList loaded;
    const auto load = [&](const QString &name, const QStringList &where) {
        for (const QString &folder : where) {
            auto *translator = new QTranslator(app);
            if (translator->load(locale, name, QStringLiteral("_"), folder)) {
                app->installTranslator(translator);
                loaded << translator->filePath();
                return;
            }
            delete translator;
        }
    };
    load(QStringLiteral("orvane"), where);
    // Qt's own texts (standard buttons, file dialogs), when a catalogue was found for the
    // program: a language the program does not speak keeps Qt's source texts too.
    if (!loaded.isEmpty())
        load(QStringLiteral("qtbase"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    return loaded;
}
