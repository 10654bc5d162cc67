#pragma once

#include <QLocale>
#include <QStringList>

class QCoreApplication;

// The program's texts and Qt's own in the user's language: the catalogues for the
// locale's languages are installed on the application; with no catalogue (the C locale,
// a language without one) the texts stay the source texts.
class ProgramTranslations
{
public:
    // Where the program's catalogues are looked for: "translations" beside the
    // executable (the build tree), then the installed folder.
    static QStringList folders();
    // Installs the translators that are found; returns the catalogues loaded.
    static QStringList install(QCoreApplication *app, const QLocale &locale = QLocale(),
                               const QStringList &where = folders());
};
