// The COM terminal on top of the link: the traffic listing and the code entry.

#include "link/Form_Com.h"
#include "link/ReceiverLink.h"
#include "tests/support/FakeLinkHost.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeUserDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

class tst_Form_Com : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void debugLog_data();
    void debugLog();
    void debugLogListingLimit();
    void terminalTyping();
    void terminalCloseOnlyHides();

private:
    std::unique_ptr<FakeSerialPort> m_port;
    std::unique_ptr<FakeLinkHost> m_host;
    std::unique_ptr<FakeUserDialogs> m_dialogs;
    std::unique_ptr<ReceiverLink> m_link;
    std::unique_ptr<Form_Com> m_com;

    void connectReceiver(bool withReceiver = true);
};

void tst_Form_Com::init()
{
    m_port = std::make_unique<FakeSerialPort>();
    m_host = std::make_unique<FakeLinkHost>();
    m_dialogs = std::make_unique<FakeUserDialogs>();
    m_link = std::make_unique<ReceiverLink>(m_port.get(), m_host.get(), m_dialogs.get());
    m_com = std::make_unique<Form_Com>(m_link.get(), m_host.get());
}

void tst_Form_Com::cleanup()
{
    m_com.reset();
    m_link.reset();
    m_dialogs.reset();
    m_host.reset();
    m_port.reset();
}

void tst_Form_Com::connectReceiver(bool)
{
    m_link->setCommPort(3);
    m_link->OpenPort();
}

void tst_Form_Com::debugLog_data()
{
    QTest::addColumn<bool>("poll");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("send");
    QTest::addColumn<QString>("listing");

    QTest::newRow("sent frame") << false
                                << "\x02"
                                   "07A15\x03"
                                << true
                                << "---> \x02"
                                   "07A15\x03\n";
    QTest::newRow("received report") << true
                                     << "\x02"
                                        "002680\x03"
                                     << false
                                     << "<--- \x02"
                                        "002680\x03\n";
    QTest::newRow("empty read while polling is skipped") << true << "" << false << "";
    QTest::newRow("empty read while connecting is logged") << false << "" << false << "<--- \n";
}

void tst_Form_Com::debugLog()
{
    QFETCH(bool, poll);
    QFETCH(QString, text);
    QFETCH(bool, send);
    QFETCH(QString, listing);

    m_host->poll = poll;
    m_com->show();
    m_link->DebugLog(text, send);
    QCOMPARE(m_com->Text_Com->toPlainText(), listing);
    QCOMPARE(m_com->Text_Com->textCursor().position(),
             m_com->Text_Com->document()->characterCount() - 1);
}

void tst_Form_Com::debugLogListingLimit()
{
    m_com->show();
    const QString line(998, QLatin1Char('x')); // 1000 characters with the line end
    for (int i = 0; i < 65; ++i)
        m_link->DebugLog(line.mid(5), true);
    // 65 lines of 1000: exactly 65000, no clear yet.
    QCOMPARE(m_com->Text_Com->blockCount(), 66);
    m_link->DebugLog(QStringLiteral("a"), true);
    QCOMPARE(m_com->Text_Com->blockCount(), 67);
    // Now over the limit: the next line starts a fresh listing.
    m_link->DebugLog(QStringLiteral("b"), false);
    QCOMPARE(m_com->Text_Com->toPlainText(), QStringLiteral("<--- b\n"));

    // A hidden terminal lists nothing.
    m_com->hide();
    m_link->DebugLog(QStringLiteral("c"), false);
    QCOMPARE(m_com->Text_Com->toPlainText(), QStringLiteral("<--- b\n"));
}

void tst_Form_Com::terminalTyping()
{
    connectReceiver(false);
    QCOMPARE(m_com->windowTitle(), QStringLiteral("DEBUG  - COM - TERMINAL"));
    QLineEdit *entry = m_com->Text_send;
    QCOMPARE(entry->text(), QStringLiteral("07A1D"));

    entry->clear();
    QTest::keyClicks(entry, "0g7 a-1;b");
    QCOMPARE(entry->text(), QStringLiteral("07a1b"));
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(m_port->writtenCodes(), QStringList {"07a1b"});

    QTest::keyClick(entry, Qt::Key_Backspace);
    QCOMPARE(entry->text(), QStringLiteral("07a1"));
    QTest::keyClick(entry, Qt::Key_Enter);
    QCOMPARE(m_port->writtenCodes().size(), 1);
}

void tst_Form_Com::terminalCloseOnlyHides()
{
    m_com->show();
    QVERIFY(!m_com->close());
    QVERIFY(m_com->isHidden());
    QCOMPARE(m_host->terminalCloses, 1);

    m_com->show();
    m_host->closing = true;
    QVERIFY(m_com->close());
    QCOMPARE(m_host->terminalCloses, 2);
}

QTEST_MAIN(tst_Form_Com)
#include "tst_Form_Com.moc"
