#include "errors/UrlEscape.h"

#include <QTest>

class TestUrlEscape : public QObject
{
    Q_OBJECT
private slots:
    void escapes_data();
    void escapes();
};

void TestUrlEscape::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("plain letters and digits") << "Abc 123"
                                              << "Abc%20123";
    QTest::newRow("per cent escaped exactly once") << "50%"
                                                   << "50%25";
    QTest::newRow("per cent before an escaped code stays single") << "%20"
                                                                  << "%2520";
    QTest::newRow("ampersand") << "a&b"
                               << "a%26b";
    QTest::newRow("reserved punctuation") << "!#*/?"
                                          << "%21%23%2A%2F%3F";
    QTest::newRow("CR LF line break") << "one\r\ntwo"
                                      << "one%0D%0Atwo";
    QTest::newRow("lone line feed") << "a\nb"
                                    << "a%0Ab";
    QTest::newRow("characters below 123 kept") << "\"+<>=:;,.-_@[]^`'()$"
                                               << "\"+<>=:;,.-_@[]^`'()$";
    QTest::newRow("lower-case z (122) kept") << "z"
                                             << "z";
    QTest::newRow("opening brace (123)") << "{"
                                         << "%7B";
    QTest::newRow("bar, closing brace, tilde, DEL") << "|}~\x7f"
                                                    << "%7C%7D%7E%7F";
    QTest::newRow("u umlaut as 8-bit code") << QString::fromUtf8("Gr\u00fc\u00dfe") << "Gr%FC%DFe";
    QTest::newRow("no-break space and y diaeresis")
        << QString::fromUtf8("\u00a0\u00ff") << "%A0%FF";
    QTest::newRow("beyond 8-bit as UTF-8 bytes") << QString::fromUtf8("\u20ac") << "%E2%82%AC";
    QTest::newRow("surrogate pair as one code point")
        << QString::fromUtf8("\U0001F600") << "%F0%9F%98%80";
    QTest::newRow("report line")
        << "Error in Form_Com-ReadPort:\r\n8002, Port 100% busy (Line 3)"
        << "Error%20in%20Form_Com-ReadPort:%0D%0A8002,%20Port%20100%25%20busy%20(Line%203)";
}

void TestUrlEscape::escapes()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(UrlEscape(text), escaped);
}

QTEST_APPLESS_MAIN(TestUrlEscape)
#include "tst_urlescape.moc"
