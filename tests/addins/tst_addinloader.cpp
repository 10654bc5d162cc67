#include "addins/AddInComponents.h"
#include "addins/AddInRuntime.h"
#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "tests/support/FakeProgramHost.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeUserDialogs.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class tst_AddInLoader : public QObject
{
    Q_OBJECT

private:
    // Copies a built test plug-in (or writes a text) into the add-in folder as `fileName`.
    void place(const QString &variant, const QString &fileName)
    {
        const QString target = m_folder->filePath(fileName);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (variant.startsWith(QLatin1String("link:"))) {
            QVERIFY(QFile::link(variant.mid(5), target));
            return;
        }
        if (variant.startsWith(QLatin1String("text:"))) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(variant.mid(5).toUtf8());
            return;
        }
        const bool example = variant == QLatin1String("example");
        const QString source = example ? QStringLiteral(EXAMPLE_ADDIN_DIR "/NightVolume.so")
                                       : QStringLiteral(TEST_ADDIN_DIR "/%1.so").arg(variant);
        QVERIFY2(QFile::copy(source, target), qPrintable(source));
    }

    // A copy of a plug-in whose metadata claims another Qt. The metadata note's name is
    // "qt-project!"; after it come the metadata's version, Qt's major and minor version.
    void placeForOtherQt(const QString &variant, const QString &fileName, int offset, char value)
    {
        place(variant, fileName);
        QFile file(m_folder->filePath(fileName));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        const qsizetype at = bytes.indexOf(QByteArray("qt-project!\0", 12));
        QVERIFY(at >= 0);
        bytes[at + 12 + offset] = value;
        file.seek(0);
        file.write(bytes);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<CollectingErrorPresenter> m_errors;
    FakeProgramHost m_host;
    FakeUserDialogs m_dialogs;
    std::unique_ptr<AddInRuntime> m_runtime;

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_errors = std::make_unique<CollectingErrorPresenter>();
        m_runtime = std::make_unique<AddInRuntime>(&m_dialogs);
        m_runtime->setHost(&m_host);
        m_host.calls.clear();
    }
    void cleanup()
    {
        m_runtime.reset();
        m_errors.reset();
        m_folder.reset();
    }

    void findAddIns_data()
    {
        QTest::addColumn<QStringList>("files"); // variant=file name
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<int>("reports");
        QTest::newRow("empty folder") << QStringList{} << QStringList{""} << 0;
        QTest::newRow("one class") << QStringList{"one=one.so"} << QStringList{"", "TestLib.Main"} << 0;
        QTest::newRow("first class with AddIn in any case")
            << QStringList{"twoclasses=mixed.so"} << QStringList{"", "Mixed.MyAddin"} << 0;
        QTest::newRow("no AddIn class takes the last")
            << QStringList{"noaddinclass=greek.so"} << QStringList{"", "Greek.Beta"} << 0;
        QTest::newRow("no class leaves the class name empty")
            << QStringList{"noclass=bare.so"} << QStringList{"", "Bare."} << 0;
        QTest::newRow("listing order by file name")
            << QStringList{"one=b.so", "versiononly=a.so"}
            << QStringList{"", "VersionOnly.Main", "TestLib.Main"} << 0;
        QTest::newRow("same library twice")
            << QStringList{"one=a.so", "one=b.so"} << QStringList{"", "TestLib.Main", "TestLib.Main"}
            << 0;
        QTest::newRow("other files and subfolders ignored")
            << QStringList{"one=one.so", "one=one.so.bak", "text:hello=readme.txt", "one=sub/x.so"}
            << QStringList{"", "TestLib.Main"} << 0;
        QTest::newRow("text file reported and skipped")
            << QStringList{"text:not a library=junk.so", "one=one.so"}
            << QStringList{"", "TestLib.Main"} << 1;
        QTest::newRow("library without metadata reported and skipped")
            << QStringList{"plain=plain.so", "one=one.so"} << QStringList{"", "TestLib.Main"} << 1;
        QTest::newRow("empty file reported and skipped")
            << QStringList{"text:=empty.so"} << QStringList{""} << 1;
        QTest::newRow("file others may write reported and skipped")
            << QStringList{"one=groupwrite.so", "versiononly=open.so"}
            << QStringList{"", "VersionOnly.Main"} << 1;
        QTest::newRow("link out of the folder reported and skipped")
            << QStringList{"link:" TEST_ADDIN_DIR "/one.so=out.so"} << QStringList{""} << 1;
        QTest::newRow("link within the folder followed")
            << QStringList{"one=sub/real.so", "link:sub/real.so=in.so"}
            << QStringList{"", "TestLib.Main"} << 0;
        QTest::newRow("unreadable file reported and skipped")
            << QStringList{"one=locked.so", "versiononly=open.so"}
            << QStringList{"", "VersionOnly.Main"} << 1;
    }
    void findAddIns()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, found);
        QFETCH(int, reports);
        for (const QString &file : files)
            place(file.section('=', 0, 0), file.section('=', 1));
        QFile(m_folder->filePath("locked.so")).setPermissions(QFileDevice::Permissions());
        QFile(m_folder->filePath("groupwrite.so"))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                            | QFileDevice::ReadGroup | QFileDevice::WriteGroup);
        if (QFile::exists(m_folder->filePath("locked.so"))
            && QFile(m_folder->filePath("locked.so")).open(QIODevice::ReadOnly))
            QSKIP("running with rights that read any file");
        AddInComponents components(*m_runtime, {m_folder->path(), m_folder->filePath("missing")});
        QCOMPARE(components.FindAddIns(), found);
        QCOMPARE(m_errors->reports().size(), reports);
        for (const ErrorReport &report : m_errors->reports())
            QCOMPARE(report.procedure, QString("FindAddIns"));
    }

    void pluginForAnotherQtIsSkipped_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        QTest::newRow("Qt 5") << 1 << 5;
        QTest::newRow("newer minor version") << 2 << 99;
    }
    void pluginForAnotherQtIsSkipped()
    {
        QFETCH(int, offset);
        QFETCH(int, value);
        placeForOtherQt("one", "other.so", offset, char(value));
        place("versiononly", "z.so");
        AddInComponents components(*m_runtime, {m_folder->path()});
        components.LoadAddIns();
        QCOMPARE(m_errors->reports().size(), 1);
        QCOMPARE(components.loadedCount(), 1);
    }

    void loadAddInResults_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<long>("result");
        QTest::addColumn<QString>("line"); // name; version; copyright of the connection
        QTest::newRow("all three texts") << "one" << 0L << "One;1.0;(c) One";
        QTest::newRow("empty name but a version") << "versiononly" << 0L << ";2.0;";
        QTest::newRow("all three empty") << "empty" << -2L << "";
        QTest::newRow("no copyright entry point") << "nocopyright" << 438L << "";
        QTest::newRow("name entry point throws") << "throwsname" << 440L << "";
        QTest::newRow("a failing load is not checked") << "throwsload" << 0L << "LoadThrower;;";
    }
    void loadAddInResults()
    {
        QFETCH(QString, variant);
        QFETCH(long, result);
        QFETCH(QString, line);
        place(variant, variant + ".so");
        AddInComponents components(*m_runtime, {m_folder->path()});
        const QStringList found = components.FindAddIns();
        QCOMPARE(found.size(), 2);
        QObject *component = components.CreateAddInObject(found.at(1));
        QVERIFY(component);
        QCOMPARE(components.LoadAddIn(component), result);
        if (result != 0) {
            QCOMPARE(m_runtime->oAddIns()->Count(), 0);
            QVERIFY(m_host.calls.isEmpty());
            delete component;
            return;
        }
        QCOMPARE(m_runtime->oAddIns()->Count(), 1);
        clsAddIn *connection = m_runtime->oAddIns()->Item(1);
        QCOMPARE(QStringList({connection->AddInName(), connection->AddInVersion(),
                              connection->AddInCopyright()})
                     .join(';'),
                 line);
        QVERIFY(connection->LoadedByHost());
        QVERIFY(connection->isRegistered());
        // The component got its connection and could act through it.
        QCOMPARE(m_host.calls, QStringList{"send 0" + connection->AddInID().left(4)});
        delete component;
        QCOMPARE(m_runtime->oAddIns()->Count(), 0);
    }

    void loadAddInWithoutObject()
    {
        AddInComponents components(*m_runtime, {m_folder->path()});
        QCOMPARE(components.LoadAddIn(nullptr), -1L);
        place("noclass", "bare.so");
        components.FindAddIns();
        QCOMPARE(components.CreateAddInObject("Bare."), nullptr);
        QCOMPARE(components.CreateAddInObject("Nobody.Main"), nullptr);
    }

    // Two files of the same library and class are two add-ins with their own connections;
    // the ones that fail are dropped; release takes them off the list again.
    void loadAddInsKeepsWhatLoads()
    {
        place("one", "a.so");
        place("one", "b.so");
        place("empty", "c.so");
        place("nocopyright", "d.so");
        place("noclass", "e.so");
        AddInComponents components(*m_runtime, {m_folder->path()});
        components.LoadAddIns();
        QCOMPARE(components.loadedCount(), 2);
        QCOMPARE(m_runtime->oAddIns()->Count(), 2);
        const QString first = m_runtime->oAddIns()->Item(1)->AddInID();
        const QString second = m_runtime->oAddIns()->Item(2)->AddInID();
        QVERIFY(first != second);
        m_host.calls.clear();
        m_runtime->oAddIns()->SemdIncommingCommand("0011B0");
        QCOMPARE(m_host.calls, (QStringList{"send 0011B", "send 0011B"}));
        components.release();
        QCOMPARE(components.loadedCount(), 0);
        QCOMPARE(m_runtime->oAddIns()->Count(), 0);
        QVERIFY(m_errors->isEmpty());
    }

    void nightVolumeStepsDownAboveItsLimit_data()
    {
        QTest::addColumn<QVariant>("limit");
        QTest::addColumn<float>("volume");
        QTest::addColumn<bool>("stepsDown");
        QTest::newRow("louder than the limit") << QVariant("-40") << -39.5f << true;
        QTest::newRow("at the limit") << QVariant("-40") << -40.0f << false;
        QTest::newRow("quieter") << QVariant("-40") << -45.0f << false;
        QTest::newRow("no limit set") << QVariant() << 10.0f << false;
        QTest::newRow("unreadable limit") << QVariant("loud") << 10.0f << false;
    }
    void nightVolumeStepsDownAboveItsLimit()
    {
        QFETCH(QVariant, limit);
        QFETCH(float, volume);
        QFETCH(bool, stepsDown);
        {
            QSettings settings(QStringLiteral("Orvane"), QStringLiteral("NightVolume"));
            settings.clear();
            if (limit.isValid())
                settings.setValue(QStringLiteral("Limit"), limit);
        }
        place("example", "NightVolume.so");
        AddInComponents components(*m_runtime, {m_folder->path()});
        components.LoadAddIns();
        QCOMPARE(components.loadedCount(), 1);
        QCOMPARE(m_runtime->oAddIns()->Item(1)->AddInName(), QString("Night volume"));
        m_runtime->oAddIns()->SemdVolumeZone2(0.0f);
        m_runtime->oAddIns()->SemdVolumeMain(volume);
        QCOMPARE(m_host.calls, stepsDown ? QStringList{"send 07A1B"} : QStringList{});
    }
};

QTEST_MAIN(tst_AddInLoader)
#include "tst_addinloader.moc"
