#include "app/ProgramTranslations.h"
#include "tests/support/MainWindowFixture.h"

#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
// "context|source" -> translation, or "" when unfinished.
QMap<QString, QString> readCatalogue(const QString &path)
{
    QFile file(path);
    QMap<QString, QString> messages;
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QString context, source;
    for (QXmlStreamReader xml(&file); !xml.atEnd();) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"source")
            source = xml.readElementText();
        else if (xml.name() == u"translation")
            messages[context + u'|' + source] = xml.attributes().hasAttribute(QLatin1String("type"))
                ? QString()
                : xml.readElementText();
    }
    return messages;
}

// What a translation keeps of its source: placeholders, accelerators, edge spaces.
QString shape(const QString &text)
{
    QStringList markers;
    for (const QRegularExpressionMatch &m :
         QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text))
        markers << m.captured();
    markers.sort();
    const QString trimmed = text.trimmed();
    return markers.join(u',') + u'&'
        + QString::number(QString(text).remove(QStringLiteral("&&")).count(u'&')) + u'<'
        + QString::number(text.indexOf(trimmed)) + u' '
        + QString::number(text.size() - trimmed.size());
}
} // namespace

class tst_translations : public QObject
{
    Q_OBJECT
private slots:
    void everyTextTranslated_data();
    void everyTextTranslated();
    void menusFollowTheLocale();
};

void tst_translations::everyTextTranslated_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en";
    QTest::newRow("German") << "de";
}

// lupdate runs over a copy of the catalogue: a text put in tr() but not translated yet
// comes back unfinished, one gone from the code drops out.
void tst_translations::everyTextTranslated()
{
    QFETCH(QString, language);
    const QString catalogue
        = QStringLiteral(ORVANE_SOURCE_DIR "/translations/orvane_%1.ts").arg(language);
    const QMap<QString, QString> stored = readCatalogue(catalogue);
    QVERIFY2(stored.size() > 100, qPrintable(catalogue));
    QMap<QString, QString> current = stored;
    if (QFile::exists(QStringLiteral(ORVANE_LUPDATE))) {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.ts"));
        QVERIFY(QFile::copy(catalogue, copy));
        // The extensions come first: they apply to the folders named after them only (the
        // web page's script is no source of texts).
        QStringList arguments {QStringLiteral("-extensions"), QStringLiteral("cpp,h")};
        arguments << QStringLiteral(ORVANE_TRANSLATION_FOLDERS).split(u' ');
        arguments << QStringLiteral("-I") << QStringLiteral(ORVANE_SOURCE_DIR)
                  << QStringLiteral("-locations") << QStringLiteral("none")
                  << QStringLiteral("-no-obsolete") << QStringLiteral("-ts") << copy;
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(ORVANE_SOURCE_DIR));
        lupdate.start(QStringLiteral(ORVANE_LUPDATE), arguments);
        QVERIFY(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0);
        current = readCatalogue(copy);
    }
    QStringList faults;
    for (auto it = current.cbegin(); it != current.cend(); ++it) {
        const QString source = it.key().section(u'|', 1);
        if (it->isEmpty() || shape(*it) != shape(source))
            faults << it.key() + QStringLiteral(" -> \"") + *it + u'"';
    }
    QVERIFY2(faults.isEmpty(),
             qPrintable(QStringLiteral("Untranslated, or a placeholder, accelerator or space "
                                       "lost (run the update_translations target):\n")
                        + faults.join(u'\n')));
    // No text the code no longer has.
    QCOMPARE(current.keys(), stored.keys());
}

void tst_translations::menusFollowTheLocale()
{
    // The locale comes from LANG (each run of this test sets it).
    const QStringList loaded = ProgramTranslations::install(
        qApp, QLocale(), {QStringLiteral(ORVANE_BUILD_DIR "/translations")});
    const QLocale::Language language = QLocale().language();
    QStringList expected {"&Connect",    "&Setup",  "&Reset",        "&TimeControl",   "&Mode",
                          "S&leepTimer", "&Volume", "M&ini",         "E&xtras",        "&AddIn",
                          "&End",        "&?",      "Informationen", "About Orvane..."};
    QString cancel = QStringLiteral("Cancel");
    if (language == QLocale::German) {
        expected = QStringList {"&Verbinden",    "&Optionen",     "&Reset",      "&Zeitplan",
                                "&Modus",        "Sch&laftimer",  "L&autstärke", "M&ini",
                                "E&xtras",       "A&dd-in",       "&Beenden",    "&?",
                                "Informationen", "Über Orvane..."};
        cancel = QStringLiteral("Abbrechen");
    } else if (language == QLocale::English) {
        expected.replace(expected.indexOf("Informationen"), QStringLiteral("Information"));
    }
    // A language without a catalogue (French here) keeps the source texts.
    const bool translated = language == QLocale::German || language == QLocale::English;
    if (translated
        && !QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                          + QStringLiteral("/qtbase_") + QLocale().name().left(2)
                          + QStringLiteral(".qm")))
        QSKIP("Qt's own catalogues (qt6-translations-l10n) are not installed");
    QCOMPARE(loaded.size(), translated ? 2 : 0);

    MainWindowFixture fixture;
    QStringList menus;
    QSet<QChar> accelerators;
    QMenu *help = nullptr;
    for (QAction *action : fixture.window->menuBar()->actions()) {
        if (!action->isVisible())
            continue;
        menus << action->text();
        const QString after = action->text().section(u'&', 1);
        const QChar key = after.isEmpty() ? QChar() : after.at(0).toLower();
        QVERIFY2(!key.isNull() && !accelerators.contains(key), qPrintable(action->text()));
        accelerators.insert(key);
        if (action->menu())
            help = action->menu();
    }
    QVERIFY(help);
    for (QAction *action : help->actions())
        menus << action->text();
    QCOMPARE(menus, expected);
    // Qt's own texts follow the same language.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
}

QTEST_MAIN(tst_translations)
#include "tst_translations.moc"
