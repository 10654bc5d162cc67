#include "platform/QtUserDialogs.h"

#include <QTest>

class TestUserDialogs : public QObject
{
    Q_OBJECT
private slots:
    void desktopFilter_data();
    void desktopFilter();
};

void TestUserDialogs::desktopFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one pair") << "Script (*.txt)|*.txt"
                              << "Script (*.txt)";
    QTest::newRow("description without patterns") << "Script|*.txt"
                                                  << "Script (*.txt)";
    QTest::newRow("all files") << "Script (*.txt)|*.txt|All (*.*)|*.*"
                               << "Script (*.txt);;All (*)";
    QTest::newRow("several patterns") << "Logs|*.txt;*.log"
                                      << "Logs (*.txt *.log)";
    QTest::newRow("desktop form kept") << "Script (*.txt);;All (*)"
                                       << "Script (*.txt);;All (*)";
    QTest::newRow("empty") << ""
                           << "";
}

void TestUserDialogs::desktopFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(QtUserDialogs::desktopFilter(filter), expected);
}

QTEST_APPLESS_MAIN(TestUserDialogs)
#include "tst_userdialogs.moc"
