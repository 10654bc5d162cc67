#include "app/Form_Informationen.h"
#include "app/Form_Intro.h"
#include "app/Modul_Orvane.h"
#include "platform/FixedPitchFont.h"
#include "tests/support/MainWindowFixture.h"

#include <Command.h>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>
#include <ctlFrame.h>

namespace {

template<typename Window> QList<Window *> openWindows()
{
    QList<Window *> result;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<Window *>(widget); window && window->isVisible())
            result.append(window);
    return result;
}

} // namespace

class tst_informationwindows : public QObject
{
    Q_OBJECT

private slots:
    void fixedTexts_data();
    void fixedTexts();
    void keysInFixedPitch();
    void versionLine();
    void aboutIsTopMostAndClosesOnPictureClick();
    void menuOpensEachWindowOnce_data();
    void menuOpensEachWindowOnce();
    void okClosesInformation();
    void showAboutAnswersAtOnce();
};

void tst_informationwindows::fixedTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("command options") << "Text_Info" << Form_Informationen::textInfo()
                                     << QStringList {"-Cx = Connect amplifier at Com X",
                                                     "-M  = Starts in mini mode",
                                                     "-TL = mini window position \"Top Left\"",
                                                     "-TR = mini window position \"Top Right\"",
                                                     "-BL = mini window position \"Bottom Left\"",
                                                     "-BR = mini window position \"Bottom Right\" "
                                                     "Default",
                                                     "-P  = Power On",
                                                     "-?  = Help"};
    QTest::newRow("keys") << "Text2" << Form_Informationen::textKeys()
                          << QStringList {"F4  - Volume A", "F5  - Volume B", "F6  - Volume C",
                                          "F7  - Volume D", "F8  - Volume E", "F9  - Volume F",
                                          "F12 - Mute"};
    QTest::newRow("warning") << "Text1" << Form_Informationen::textImportant()
                             << QStringList {"Important:",
                                             "To prevent possible amplifier damage, unplug the",
                                             "mains supply before connecting the RS 232 cable!"};
}

// Each line ends in CR LF, the last one too; the window shows the same lines.
void tst_informationwindows::fixedTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(text, lines.join("\r\n") + "\r\n");

    Form_Informationen window;
    auto *edit = window.findChild<QPlainTextEdit *>(name);
    QVERIFY(edit);
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->toPlainText(), lines.join('\n') + '\n');
}

void tst_informationwindows::keysInFixedPitch()
{
    Form_Informationen window;
    // What a reader needs: the characters shown line up in columns.
    QVERIFY2(FixedPitchFont::hasEqualAdvances(
                 window.Text2->font(),
                 QString(Form_Informationen::textKeys()).remove(QLatin1Char('\n'))),
             qPrintable(QFontInfo(window.Text2->font()).family()));
    QCOMPARE(window.windowTitle(), QStringLiteral("Information for Orvane"));
    QCOMPARE(window.Frame2->Caption(), QStringLiteral("Command options: "));
    QCOMPARE(window.Frame1->Caption(), QStringLiteral("Keys: "));
    QCOMPARE(window.cmdOk->Caption(), QStringLiteral("&Ok"));
}

void tst_informationwindows::versionLine()
{
    const QString version = Modul_Orvane::VersionText();
    QCOMPARE(version.count('.'), 1);
    Form_Intro intro;
    QCOMPARE(intro.lblVersion->text(), "Version: " + version + " - 14.09.2006");
    QCOMPARE(intro.windowTitle(), QStringLiteral("About"));
}

void tst_informationwindows::aboutIsTopMostAndClosesOnPictureClick()
{
    QPointer<Form_Intro> intro = new Form_Intro;
    intro->show();
    QVERIFY(QTest::qWaitForWindowExposed(intro));
    QVERIFY(intro->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // Its picture is drawn, not empty.
    const QImage picture = intro->Image1->grab().toImage();
    QVERIFY(picture.pixelColor(5, 5)
            != picture.pixelColor(picture.width() / 2, picture.height() * 3 / 4));

    QTest::mouseClick(intro->lblVersion, Qt::LeftButton);
    QVERIFY(intro && intro->isVisible());
    QTest::mouseClick(intro->Image1, Qt::LeftButton);
    QTRY_VERIFY(!intro);
}

void tst_informationwindows::menuOpensEachWindowOnce_data()
{
    QTest::addColumn<bool>("about");
    QTest::newRow("About Orvane...") << true;
    QTest::newRow("Informationen") << false;
}

void tst_informationwindows::menuOpensEachWindowOnce()
{
    QFETCH(bool, about);
    MainWindowFixture f;
    QAction *item = about ? ui(f.w()).Menu_Info : ui(f.w()).Menu_Fragezeichen_Informationen;
    QCOMPARE(item->text(),
             about ? QStringLiteral("About Orvane...") : QStringLiteral("Informationen"));
    item->trigger();
    item->trigger();
    QWidget *window = about ? static_cast<QWidget *>(openWindows<Form_Intro>().value(0))
                            : openWindows<Form_Informationen>().value(0);
    QVERIFY(window);
    QCOMPARE(openWindows<Form_Intro>().size() + openWindows<Form_Informationen>().size(), 1);
    QVERIFY(!window->isModal());
    QVERIFY(f.errors.reports().isEmpty());
}

void tst_informationwindows::okClosesInformation()
{
    MainWindowFixture f;
    QCOMPARE(ui(f.w()).Menu_Fragezeichen_Informationen->shortcut(), QKeySequence(Qt::Key_F1));
    ui(f.w()).Menu_Fragezeichen_Informationen->trigger();
    QPointer<Form_Informationen> window = openWindows<Form_Informationen>().value(0);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::mouseClick(window->cmdOk, Qt::LeftButton);
    QTRY_VERIFY(!window);
}

// The program interface's about is modal, yet returns at once; asking again only raises it.
void tst_informationwindows::showAboutAnswersAtOnce()
{
    MainWindowFixture f;
    f.w().host().showAbout();
    f.w().host().showAbout();
    const QList<Form_Intro *> intros = openWindows<Form_Intro>();
    QCOMPARE(intros.size(), 1);
    QVERIFY(intros.first()->isModal());
    QTest::mouseClick(intros.first()->Image1, Qt::LeftButton);
    QTRY_VERIFY(openWindows<Form_Intro>().isEmpty());
}

QTEST_MAIN(tst_informationwindows)
#include "tst_informationwindows.moc"
