#include "Command.h"
#include "addins/AddInRuntime.h"
#include "addins/Form_AddIns.h"
#include "addins/clsAddIn.h"
#include "addins/clsAddIns.h"
#include "tests/support/CollectingErrorPresenter.h"
#include "tests/support/FakeUserDialogs.h"

#include <QListWidget>
#include <QLocale>
#include <QPointer>
#include <QTest>
#include <memory>

class tst_FormAddIns : public QObject
{
    Q_OBJECT

private:
    static QStringList lines(const Form_AddIns &form)
    {
        QStringList result;
        for (int i = 0; i < form.lstAddIns->count(); ++i)
            result << form.lstAddIns->item(i)->text();
        return result;
    }
    std::unique_ptr<clsAddIn> addIn(const QString &name, const QString &version = "1.0",
                                    const QString &copyright = "(c)")
    {
        auto a = std::make_unique<clsAddIn>(m_runtime.get());
        a->setAddInName(name);
        a->setAddInVersion(version);
        a->setAddInCopyright(copyright);
        return a;
    }

    FakeUserDialogs m_dialogs;
    std::unique_ptr<AddInRuntime> m_runtime;

private slots:
    void init() { m_runtime = std::make_unique<AddInRuntime>(&m_dialogs); }
    void cleanup() { m_runtime.reset(); }

    void lineShowsTextsAndCreationMoment_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("copyright");
        QTest::addColumn<QString>("start");
        QTest::newRow("all texts") << "Alarm" << "1.2" << "(c) Somebody" << "Alarm; 1.2; (c) Somebody; ";
        QTest::newRow("empty version and copyright") << "Alarm" << "" << "" << "Alarm; ; ; ";
        QTest::newRow("nothing but the moment") << "" << "" << "" << "; ; ; ";
        QTest::newRow("control characters left out")
            << "\x1b[2JAl\u202Earm\a" << "1\u20662" << "\r(c)" << "[2JAlarm; 12; (c); ";
    }
    void lineShowsTextsAndCreationMoment()
    {
        QFETCH(QString, name);
        QFETCH(QString, version);
        QFETCH(QString, copyright);
        QFETCH(QString, start);
        const auto a = addIn(name, version, copyright);
        const QString line = Form_AddIns::itemLine(*a);
        QVERIFY2(line.startsWith(start), qPrintable(line));
        // The moment reads back as the creation date and time, to the minute.
        const QDateTime moment =
            QLocale::system().toDateTime(line.mid(start.size()), QLocale::ShortFormat);
        QVERIFY2(moment.isValid(), qPrintable(line));
        QCOMPARE(moment.date(), a->AddInCreateDate().date());
        QCOMPARE(moment.time().hour(), a->AddInCreateDate().time().hour());
        QCOMPARE(moment.time().minute(), a->AddInCreateDate().time().minute());
    }

    void listFollowsRegistrationsWhileOpen()
    {
        CollectingErrorPresenter errors;
        QPointer<Form_AddIns> form = new Form_AddIns(*m_runtime);
        form->ShowItems();
        form->show();
        QVERIFY(lines(*form).isEmpty());

        const auto a = addIn("A");
        const auto b = addIn("B");
        a->AddInRegister();
        b->AddInRegister();
        QCOMPARE(lines(*form).size(), 2);
        QVERIFY(lines(*form).at(0).startsWith("A; "));
        QVERIFY(lines(*form).at(1).startsWith("B; "));
        a->AddInUnRegister();
        QCOMPARE(lines(*form).size(), 1);
        QVERIFY(lines(*form).at(0).startsWith("B; "));

        // OK unloads the window; the list goes on changing without it.
        QTest::keyClick(form->cmdOk, Qt::Key_Space);
        QTRY_VERIFY(form.isNull());
        a->AddInRegister();
        QVERIFY(errors.isEmpty());
    }
};

QTEST_MAIN(tst_FormAddIns)
#include "tst_formaddins.moc"
