#include "addins/AddInComponents.h"
#include "addins/Form_AddIns.h"
#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "tests/support/MainWindowFixture.h"

#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>

// The main window loads the add-ins at its load, lists them in the add-ins window and
// releases them at its unload.
class tst_MainWindowAddIns : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QSettings(QStringLiteral("Orvane"), QStringLiteral("NightVolume"))
            .setValue(QStringLiteral("Limit"), -40);
        QVERIFY(m_folder.isValid());
        QVERIFY(QFile::copy(QStringLiteral(EXAMPLE_ADDIN_DIR "/NightVolume.so"),
                            m_folder.filePath("NightVolume.so")));
        QVERIFY(
            QFile::copy(QStringLiteral(TEST_ADDIN_DIR "/empty.so"), m_folder.filePath("empty.so")));
    }

    void addInsLiveFromLoadToUnload()
    {
        MainWindowFixture f;
        f.runtime.setAddInFolders({m_folder.path()});
        QVERIFY(f.w().Form_Load(QString()));
        QCOMPARE(inside(f.w()).addInComponents()->loadedCount(), 1);
        QCOMPARE(f.runtime.oAddIns()->Count(), 1);

        // The add-in hears the volume the window shows and acts through the window.
        f.openPort();
        emit f.w().events()->volumeMainShown(-20.0f);
        QCOMPARE(f.port.writtenCodes(), QStringList{"07A1B"});

        f.controls(f.w()).Menu_AddIn->trigger();
        auto *form = f.w().findChild<Form_AddIns *>();
        if (!form)
            for (QWidget *window : QApplication::topLevelWidgets())
                if ((form = qobject_cast<Form_AddIns *>(window)))
                    break;
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->lstAddIns->count(), 1);
        QVERIFY(form->lstAddIns->item(0)->text().startsWith("Night volume; 1.0; "));

        QVERIFY(f.w().Form_Unload());
        QCOMPARE(inside(f.w()).addInComponents()->loadedCount(), 0);
        QCOMPARE(f.runtime.oAddIns(), nullptr);
        QCOMPARE(f.runtime.host(), nullptr);
        QVERIFY(f.errors.isEmpty());
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(tst_MainWindowAddIns)
#include "tst_mainwindow_addins.moc"
