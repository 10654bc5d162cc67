#include "platform/QtUserDialogs.h"
#include "platform/ScreenlessUserDialogs.h"

#include <QTest>
#include <cstdio>
#include <cstdlib>

class TestUserDialogs : public QObject
{
    Q_OBJECT
private slots:
    void desktopFilter_data();
    void desktopFilter();
    void screenlessLogsAndAnswersAsClosed();
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

// Without a screen a box is a line in the log, answered as a closed box: a question No.
void TestUserDialogs::screenlessLogsAndAnswersAsClosed()
{
    char *text = nullptr;
    size_t size = 0;
    std::FILE *log = open_memstream(&text, &size);
    QVERIFY(log);
    UserDialogs::Message question;
    question.title = QStringLiteral("Connect");
    question.text = QStringLiteral("Power on\nthe receiver?");
    question.buttons = UserDialogs::Buttons::YesNo;
    question.defaultButton = UserDialogs::Answer::Yes;
    QCOMPARE(ScreenlessUserDialogs(log).messageBox(question), UserDialogs::Answer::No);
    std::fclose(log);
    QCOMPARE(QString::fromLocal8Bit(text, qsizetype(size)),
             QStringLiteral("Orvane: Connect: Power on the receiver?\n"));
    std::free(text);
}

QTEST_APPLESS_MAIN(TestUserDialogs)
#include "tst_userdialogs.moc"
