#include "app/ProgramTranslations.h"
#include "tests/support/MainWindowFixture.h"

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", ... or empty when finished
};

QList<Message> readCatalogue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            Message message {context, {}, {}, {}};
            while (xml.readNextStartElement()) {
                if (xml.name() == u"source") {
                    message.source = xml.readElementText();
                } else if (xml.name() == u"translation") {
                    message.type = xml.attributes().value(QLatin1String("type")).toString();
                    message.translation = xml.readElementText();
                } else {
                    xml.skipCurrentElement();
                }
            }
            messages.append(message);
        }
    }
    return messages;
}

// What a translation must keep of its source: the placeholders, the number of
// accelerators, the spaces at either end (texts are joined to others).
QString shape(const QString &text)
{
    QStringList markers;
    const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        markers << match.captured();
    markers.sort();
    const qsizetype accelerators = QString(text).remove(QStringLiteral("&&")).count(u'&');
    const qsizetype lead
        = text.size() - QString(text).remove(QRegularExpression(QStringLiteral("^\\s+"))).size();
    const qsizetype trail
        = text.size() - QString(text).remove(QRegularExpression(QStringLiteral("\\s+$"))).size();
    return QStringLiteral("%1 &%2 <%3 %4>")
        .arg(markers.join(u','))
        .arg(accelerators)
        .arg(lead)
        .arg(trail);
}

QString catalogue(const QString &language)
{
    return QStringLiteral(ORVANE_SOURCE_DIR "/translations/orvane_%1.ts").arg(language);
}
} // namespace

class tst_translations : public QObject
{
    Q_OBJECT
private slots:
    void catalogues_data();
    void catalogues();
    void noTextOutsideTheCatalogues_data() { catalogues_data(); }
    void noTextOutsideTheCatalogues();
    void menusFollowTheLocale();
};

void tst_translations::catalogues_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en";
    QTest::newRow("German") << "de";
}

void tst_translations::catalogues()
{
    QFETCH(QString, language);
    const QList<Message> messages = readCatalogue(catalogue(language));
    QVERIFY2(messages.size() > 100, qPrintable(catalogue(language)));
    QStringList faults;
    for (const Message &message : messages) {
        const QString where = message.context + QStringLiteral(": \"") + message.source + u'"';
        if (!message.type.isEmpty() || message.translation.isEmpty())
            faults << where + QStringLiteral(" has no finished translation");
        else if (shape(message.translation) != shape(message.source))
            faults << where + QStringLiteral(" loses a placeholder, an accelerator or a space: \"")
                    + message.translation + u'"';
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

// lupdate run on the sources over a copy of the catalogue: a text put in tr() but not
// yet translated comes back unfinished, a text gone from the code is dropped.
void tst_translations::noTextOutsideTheCatalogues()
{
    QFETCH(QString, language);
    const QString lupdate = QStringLiteral(ORVANE_LUPDATE);
    if (!QFile::exists(lupdate))
        QSKIP("lupdate (qt6-l10n-tools) is not installed");
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.ts"));
    QVERIFY(QFile::copy(catalogue(language), copy));
    QStringList arguments {QStringLiteral("-I"), QStringLiteral(ORVANE_SOURCE_DIR)};
    arguments << QStringLiteral(ORVANE_TRANSLATION_FOLDERS).split(u' ');
    arguments << QStringLiteral("-extensions") << QStringLiteral("cpp,h")
              << QStringLiteral("-locations") << QStringLiteral("none")
              << QStringLiteral("-no-obsolete") << QStringLiteral("-silent")
              << QStringLiteral("-ts") << copy;
    QProcess process;
    process.setWorkingDirectory(QStringLiteral(ORVANE_SOURCE_DIR));
    process.start(lupdate, arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);

    QStringList known;
    for (const Message &message : readCatalogue(catalogue(language)))
        known << message.context + u'|' + message.source;
    QStringList found;
    QStringList untranslated;
    for (const Message &message : readCatalogue(copy)) {
        found << message.context + u'|' + message.source;
        if (message.type == u"unfinished")
            untranslated << message.context + u'|' + message.source;
    }
    QVERIFY2(untranslated.isEmpty(),
             qPrintable(QStringLiteral("Run the update_translations target and translate:\n")
                        + untranslated.join(u'\n')));
    known.sort();
    found.sort();
    QCOMPARE(found, known);
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
        expected = QStringList {"&Verbinden",    "&Optionen",     "&Reset",       "&Zeitplan",
                                "&Modus",        "Sch&laftimer",  "L&autstärke",   "M&ini",
                                "E&xtras",       "A&dd-in",       "&Beenden",      "&?",
                                "Informationen", "Über Orvane..."};
        cancel = QStringLiteral("Abbrechen");
    } else if (language == QLocale::English) {
        expected.replace(expected.indexOf("Informationen"), QStringLiteral("Information"));
    }
    QCOMPARE(loaded.size(), language == QLocale::C ? 0 : 2);

    MainWindowFixture fixture;
    QStringList menus;
    QSet<QChar> accelerators;
    QMenu *help = nullptr;
    for (QAction *action : fixture.window->menuBar()->actions()) {
        if (!action->isVisible())
            continue;
        menus << action->text();
        const qsizetype at = action->text().indexOf(u'&');
        QVERIFY2(at >= 0 && !accelerators.contains(action->text().at(at + 1).toLower()),
                 qPrintable(action->text() + QStringLiteral(": no accelerator of its own")));
        accelerators.insert(action->text().at(at + 1).toLower());
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
