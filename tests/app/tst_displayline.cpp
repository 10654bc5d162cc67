#include "app/DisplayLine.h"
#include "tests/support/MainWindowFixture.h"

#include <QImage>
#include <QTest>

namespace {
QImage rendered(const QString &text)
{
    DisplayLine line(text);
    line.resize(200, 26);
    QImage image(line.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    line.render(&image);
    return image;
}
} // namespace

class tst_DisplayLine : public QObject
{
    Q_OBJECT
private slots:
    void volumeBarDrawsAsBlocks_data();
    void volumeBarDrawsAsBlocks();
};

void tst_DisplayLine::volumeBarDrawsAsBlocks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("drawn");
    const QString block(QChar(0x2588));
    QTest::newRow("bar alone") << QString(3, QChar(0x7F)) << block.repeated(3);
    QTest::newRow("bar after a text") << QStringLiteral("VOL ") + QChar(0x7F) + QChar(0x7F)
                                      << QStringLiteral("VOL ") + block + block;
    QTest::newRow("no bar") << QStringLiteral("INPUT DVD") << QStringLiteral("INPUT DVD");
}

void tst_DisplayLine::volumeBarDrawsAsBlocks()
{
    QFETCH(QString, text);
    QFETCH(QString, drawn);
    QCOMPARE(rendered(text), rendered(drawn));
    if (text != drawn)
        QVERIFY(rendered(text) != rendered(QString(text).remove(QChar(0x7F))));

    // The main window's lines draw so and keep the text as set.
    MainWindowFixture fixture;
    QLabel *line = ui(*fixture.window).Line2;
    QVERIFY(qobject_cast<DisplayLine *>(line));
    line->setText(text);
    QCOMPARE(line->text(), text);
}

QTEST_MAIN(tst_DisplayLine)
#include "tst_displayline.moc"
