#include "app/Form_Informationen.h"

#include "app/Modul_Orvane.h"
#include "errors/ErrorGuard.h"
#include "platform/FixedPitchFont.h"

#include <Command.h>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>
#include <ctlFrame.h>

namespace {

constexpr const char *kModule = "Form_Informationen";
const QString kCrLf = QStringLiteral("\r\n");

QString linesWithCrLf(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + kCrLf;
    return text;
}

QPlainTextEdit *makeText(QWidget *parent, const QString &name, const QString &text, int lines)
{
    auto *edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setPlainText(text);
    // Room for the empty line after the last line break too.
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * (lines + 1) + 12);
    return edit;
}

// A caption strip over a part of the window: white text on a blue gradient.
QLabel *makeCaptionStrip(QWidget *parent, const QString &name, const QString &text)
{
    auto *strip = new QLabel(text, parent);
    strip->setObjectName(name);
    strip->setContentsMargins(8, 3, 8, 3);
    strip->setStyleSheet(QStringLiteral(
        "QLabel { color: white; font-weight: bold; background: qlineargradient(x1:0, y1:0, "
        "x2:1, y2:0, stop:0 #1c4f8c, stop:1 #6d9bd1); }"));
    return strip;
}

ctlFrame *makeFrame(QWidget *parent, const QString &name, const QString &caption, QWidget *content)
{
    auto *frame = new ctlFrame(parent);
    frame->setObjectName(name);
    frame->setCaption(caption);
    frame->setBackColor(0x00FFFFFF);
    frame->setFrameColor1(0x00FFFFFF);
    frame->setFrameColor2(0x00C0C0C0);
    frame->setForeColor(0x00000080);
    content->setParent(frame);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(8, frame->Font().pointSize() + 14, 8, 8);
    layout->addWidget(content);
    return frame;
}

} // namespace

QString Form_Informationen::textInfo()
{
    return linesWithCrLf({
        tr("-Cx = Connect amplifier at Com X"),
        tr("-M  = Starts in mini mode"),
        tr("-TL = mini window position \"Top Left\""),
        tr("-TR = mini window position \"Top Right\""),
        tr("-BL = mini window position \"Bottom Left\""),
        tr("-BR = mini window position \"Bottom Right\" Default"),
        tr("-P  = Power On"),
        tr("-?  = Help"),
    });
}

QString Form_Informationen::textKeys()
{
    return linesWithCrLf({
        tr("F4  - Volume A"),
        tr("F5  - Volume B"),
        tr("F6  - Volume C"),
        tr("F7  - Volume D"),
        tr("F8  - Volume E"),
        tr("F9  - Volume F"),
        tr("F12 - Mute"),
    });
}

QString Form_Informationen::textImportant()
{
    return linesWithCrLf({
        tr("Important:"),
        tr("To prevent possible amplifier damage, unplug the"),
        tr("mains supply before connecting the RS 232 cable!"),
    });
}

Form_Informationen::Form_Informationen(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form_Informationen"));
    setWindowTitle(tr("Information for Orvane"));
    setAttribute(Qt::WA_DeleteOnClose);

    ShortcutCaption1 = makeCaptionStrip(this, QStringLiteral("ShortcutCaption1"),
                                        tr("Starting and operating Orvane"));
    Label1 = new QLabel(QStringLiteral("Orvane ") + Modul_Orvane::VersionText()
                            + tr(" - remote control for AV receivers"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));

    Text_Info = makeText(this, QStringLiteral("Text_Info"), textInfo(), 8);
    Text_Info->setAccessibleName(tr("Command options"));
    Frame2 = makeFrame(this, QStringLiteral("Frame2"), tr("Command options: "), Text_Info);

    Text2 = makeText(this, QStringLiteral("Text2"), QString(), 7);
    Text2->setFont(FixedPitchFont::resolve(QFontDatabase::systemFont(QFontDatabase::FixedFont)));
    Text2->setPlainText(textKeys());
    Text2->setFixedHeight(Text2->fontMetrics().lineSpacing() * 8 + 12);
    Text2->setAccessibleName(tr("Keys"));
    Frame1 = makeFrame(this, QStringLiteral("Frame1"), tr("Keys: "), Text2);

    ShortcutCaption2
        = makeCaptionStrip(this, QStringLiteral("ShortcutCaption2"), tr("Connecting the receiver"));
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(cablePicture(devicePixelRatioF()));
    Picture1->setAccessibleName(tr("Serial cable"));
    Text1 = makeText(this, QStringLiteral("Text1"), textImportant(), 3);
    Text1->setAccessibleName(tr("Important"));

    cmdOk = new Command(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setCaption(tr("&Ok"));
    cmdOk->setFixedSize(cmdOk->sizeHint());
    connect(cmdOk, &Command::Click, this, &Form_Informationen::cmdOk_Click);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ShortcutCaption1);
    layout->addWidget(Label1);
    auto *frames = new QHBoxLayout;
    frames->addWidget(Frame2, 3);
    frames->addWidget(Frame1, 2);
    layout->addLayout(frames);
    layout->addWidget(ShortcutCaption2);
    auto *important = new QHBoxLayout;
    important->addWidget(Picture1, 0, Qt::AlignTop);
    important->addWidget(Text1, 1);
    layout->addLayout(important);
    layout->addWidget(cmdOk, 0, Qt::AlignRight);
    resize(sizeHint().expandedTo(QSize(640, 0)));
    cmdOk->setFocus();
}

void Form_Informationen::cmdOk_Click()
{
    guarded(kModule, "cmdOk_Click", [&] { close(); });
}

void Form_Informationen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// A nine-pin serial plug with its cable.
QPixmap Form_Informationen::cablePicture(qreal ratio)
{
    const QSize size(72, 56);
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // Cable leaving to the right.
    painter.setPen(QPen(QColor(0x30, 0x30, 0x34), 6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath cable(QPointF(48, 28));
    cable.cubicTo(QPointF(60, 28), QPointF(58, 48), QPointF(70, 50));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);

    // Shell: a trapezium of metal with the two screw posts.
    painter.setPen(QPen(QColor(0x40, 0x44, 0x4a), 1.2));
    painter.setBrush(QColor(0xb8, 0xbc, 0xc4));
    painter.drawRoundedRect(QRectF(2, 8, 48, 40), 4, 4);
    painter.setBrush(QColor(0x80, 0x84, 0x8c));
    painter.drawEllipse(QPointF(8, 28), 3, 3);
    painter.drawEllipse(QPointF(44, 28), 3, 3);
    QPolygonF face;
    face << QPointF(13, 16) << QPointF(39, 16) << QPointF(36, 40) << QPointF(16, 40);
    painter.setBrush(QColor(0x20, 0x22, 0x26));
    painter.drawPolygon(face);
    // Five pins above, four below.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe8, 0xc8, 0x60));
    for (int i = 0; i < 5; ++i)
        painter.drawEllipse(QPointF(17.5 + i * 4.25, 23), 1.6, 1.6);
    for (int i = 0; i < 4; ++i)
        painter.drawEllipse(QPointF(19.5 + i * 4.4, 33), 1.6, 1.6);
    painter.end();
    return pixmap;
}
