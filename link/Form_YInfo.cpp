#include "link/Form_YInfo.h"

#include "Command.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
// A receiver front: dark body, display window, two knobs.
QPixmap receiverPicture()
{
    QPixmap picture(220, 60);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 20, 20), 1));
    painter.setBrush(QColor(60, 60, 64));
    painter.drawRoundedRect(QRectF(1, 6, 218, 48), 4, 4);
    painter.setBrush(QColor(10, 40, 60));
    painter.drawRect(QRectF(60, 16, 100, 20));
    painter.setPen(QColor(90, 200, 255));
    painter.drawText(QRectF(60, 16, 100, 20), Qt::AlignCenter, QStringLiteral("-30.5 dB"));
    painter.setPen(QPen(QColor(20, 20, 20), 1));
    painter.setBrush(QColor(170, 170, 175));
    painter.drawEllipse(QPointF(30, 30), 14, 14);
    painter.drawEllipse(QPointF(190, 30), 18, 18);
    painter.setBrush(QColor(200, 40, 40));
    painter.drawEllipse(QPointF(70, 46), 3, 3);
    return picture;
}

QLineEdit *addField(QVBoxLayout *layout, const QString &caption, const QString &name,
                    QWidget *parent)
{
    auto *frame = new QGroupBox(caption, parent);
    auto *frameLayout = new QVBoxLayout(frame);
    auto *field = new QLineEdit(frame);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setAccessibleName(QString(caption).remove(QLatin1Char(':')).trimmed());
    frameLayout->addWidget(field);
    layout->addWidget(frame);
    return field;
}
} // namespace

Form_YInfo::Form_YInfo(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Orvane Information"));

    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(tr("Orvane Information"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);

    auto *picture = new QLabel(this);
    picture->setPixmap(receiverPicture());
    picture->setAlignment(Qt::AlignCenter);
    picture->setAccessibleName(tr("Receiver"));
    layout->addWidget(picture);

    text_modell = addField(layout, tr("Model:"), QStringLiteral("text_modell"), this);
    text_modellid = addField(layout, tr("Model ID:"), QStringLiteral("text_modellid"), this);
    text_softwareversion
        = addField(layout, tr("Softwareversion :"), QStringLiteral("text_softwareversion"), this);
    text_YString
        = addField(layout, tr("Orvane return string:"), QStringLiteral("text_YString"), this);

    cmdOk = new Command(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setCaption(tr("&Ok"));
    cmdOk->setFixedSize(90, 25);
    connect(cmdOk, &Command::Click, this, &Form_YInfo::cmdOk_Click);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdOk);
    layout->addLayout(buttonRow);

    resize(340, sizeHint().height());
}

void Form_YInfo::cmdOk_Click()
{
    hide();
}
