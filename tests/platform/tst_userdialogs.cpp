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
    void screenlessAnswersAsClosed_data();
    void screenlessAnswersAsClosed();
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

void TestUserDialogs::screenlessAnswersAsClosed_data()
{
    QTest::addColumn<UserDialogs::Buttons>("buttons");
    QTest::addColumn<UserDialogs::Answer>("answer");
    QTest::newRow("ok") << UserDialogs::Buttons::Ok << UserDialogs::Answer::Ok;
    QTest::newRow("yes or no") << UserDialogs::Buttons::YesNo << UserDialogs::Answer::No;
    // Never Retry: a retry loop would go on for ever with nobody to stop it.
    QTest::newRow("retry") << UserDialogs::Buttons::RetryCancel << UserDialogs::Answer::Cancel;
}

void TestUserDialogs::screenlessAnswersAsClosed()
{
    QFETCH(UserDialogs::Buttons, buttons);
    QFETCH(UserDialogs::Answer, answer);
    char *text = nullptr;
    size_t size = 0;
    std::FILE *log = open_memstream(&text, &size);
    QVERIFY(log);
    {
        ScreenlessUserDialogs dialogs(log);
        UserDialogs::Message message;
        message.title = QStringLiteral("Connect");
        message.text = QStringLiteral("No answer\nfrom COM 1");
        message.buttons = buttons;
        message.defaultButton = UserDialogs::Answer::Retry;
        QCOMPARE(dialogs.messageBox(message), answer);
        QVERIFY(!dialogs.inputBox(QStringLiteral("Name"), QString(), QStringLiteral("x")));
        QVERIFY(dialogs.openFileName(QString(), QString(), QString()).isEmpty());
    }
    std::fclose(log);
    const QString logged = QString::fromLocal8Bit(text, qsizetype(size));
    std::free(text);
    QVERIFY2(logged.startsWith(QStringLiteral("Orvane: Connect: No answer from COM 1\n")),
             qPrintable(logged));
    QCOMPARE(logged.count(QLatin1Char('\n')), 3);
}

QTEST_APPLESS_MAIN(TestUserDialogs)
#include "tst_userdialogs.moc"
