#include "app/Form_Intro.h"

#include "app/Modul_Orvane.h"
#include "errors/ErrorGuard.h"
#include "program/Modul_Lib.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

constexpr const char *kModule = "Form_Intro";
constexpr QSize kPictureSize {360, 200};

} // namespace

Form_Intro::Form_Intro(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form_Intro"));
    setWindowTitle(tr("About"));
    setAttribute(Qt::WA_DeleteOnClose);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(picture(kPictureSize, devicePixelRatioF()));
    Image1->setFixedSize(kPictureSize);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(tr("Close"));
    Image1->setAccessibleName(QStringLiteral("Orvane"));
    Image1->installEventFilter(this);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setAlignment(Qt::AlignCenter);

    lblLicence = new QLabel(tr(kLicenceText), this);
    lblLicence->setObjectName(QStringLiteral("lblLicence"));
    lblLicence->setAlignment(Qt::AlignCenter);
    lblLicence->setWordWrap(true);
    lblLicence->setMaximumWidth(kPictureSize.width());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(Image1);
    layout->addWidget(lblVersion);
    layout->addWidget(lblLicence);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

QString Form_Intro::versionLine()
{
    return tr("Version: ") + Modul_Orvane::VersionText() + QStringLiteral(" - ")
        + Modul_Orvane::BuildDate;
}

void Form_Intro::Form_Load()
{
    guarded(kModule, "Form_Load", [&] {
        lblVersion->setText(versionLine());
        Modul_Lib::SetTopMost(true, this);
    });
}

void Form_Intro::Form_Unload()
{
    guarded(kModule, "Form_Unload", [&] {
        // Hidden first, so that dropping the top-most mark does not show it again.
        hide();
        Modul_Lib::SetTopMost(false, this);
    });
}

void Form_Intro::Image1_Click()
{
    guarded(kModule, "Image1_Click", [&] { close(); });
}

void Form_Intro::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

bool Form_Intro::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton
            && Image1->rect().contains(mouse->position().toPoint())) {
            Image1_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// A night-blue panel with the front of a receiver: a glowing two-line display, the
// volume knob and a row of input keys, under the program's name.
QPixmap Form_Intro::picture(const QSize &size, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    const qreal w = size.width();
    const qreal h = size.height();

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x14, 0x24, 0x3c));
    sky.setColorAt(1, QColor(0x05, 0x0a, 0x14));
    painter.fillRect(QRectF(0, 0, w, h), sky);

    // Sound waves rising from the receiver.
    painter.setPen(QPen(QColor(0x6e, 0xf0, 0xff, 60), 2));
    for (int i = 1; i <= 4; ++i) {
        const qreal r = 30.0 * i;
        painter.drawArc(QRectF(w * 0.5 - r, h * 0.72 - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
    }

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(int(h * 0.2));
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(0xe8, 0xf4, 0xff));
    painter.drawText(QRectF(0, h * 0.06, w, h * 0.24), Qt::AlignCenter, QStringLiteral("Orvane"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(int(h * 0.065));
    painter.setFont(subtitle);
    painter.setPen(QColor(0x9c, 0xb8, 0xd4));
    painter.drawText(QRectF(0, h * 0.3, w, h * 0.1), Qt::AlignCenter,
                     tr("Remote control for AV receivers"));

    // Receiver body.
    const QRectF body(w * 0.08, h * 0.48, w * 0.84, h * 0.4);
    QLinearGradient metal(body.topLeft(), body.bottomLeft());
    metal.setColorAt(0, QColor(0x5a, 0x5e, 0x66));
    metal.setColorAt(1, QColor(0x26, 0x28, 0x2e));
    painter.setPen(QPen(QColor(0x10, 0x10, 0x12), 1.5));
    painter.setBrush(metal);
    painter.drawRoundedRect(body, 6, 6);

    // Display with two lines.
    const QRectF display(body.left() + body.width() * 0.28, body.top() + body.height() * 0.18,
                         body.width() * 0.44, body.height() * 0.42);
    painter.setBrush(QColor(0x10, 0x18, 0x20));
    painter.drawRoundedRect(display, 3, 3);
    QFont lcd(QStringLiteral("DejaVu Sans Mono"));
    lcd.setPixelSize(int(display.height() * 0.34));
    lcd.setBold(true);
    painter.setFont(lcd);
    painter.setPen(QColor(0x6e, 0xf0, 0xff));
    painter.drawText(display.adjusted(0, 2, 0, -display.height() / 2), Qt::AlignCenter,
                     QStringLiteral("INPUT DVD"));
    painter.drawText(display.adjusted(0, display.height() / 2, 0, -2), Qt::AlignCenter,
                     QStringLiteral("-30.5 dB"));

    // Volume knob with its mark.
    const QPointF knob(body.right() - body.width() * 0.13, body.center().y());
    const qreal knobRadius = body.height() * 0.32;
    QRadialGradient shine(knob - QPointF(knobRadius / 3, knobRadius / 3), knobRadius * 1.4);
    shine.setColorAt(0, QColor(0xe0, 0xe0, 0xe4));
    shine.setColorAt(1, QColor(0x70, 0x72, 0x78));
    painter.setBrush(shine);
    painter.drawEllipse(knob, knobRadius, knobRadius);
    painter.setPen(QPen(QColor(0x20, 0x20, 0x24), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(knob, knob + QPointF(-knobRadius * 0.55, -knobRadius * 0.55));

    // Power key with its lamp and a row of input keys.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd0, 0x30, 0x30));
    painter.drawEllipse(QPointF(body.left() + body.width() * 0.07, body.center().y()), 3.5, 3.5);
    painter.setBrush(QColor(0x9a, 0x9e, 0xa6));
    const qreal keyTop = body.top() + body.height() * 0.72;
    for (int i = 0; i < 6; ++i) {
        painter.drawRoundedRect(QRectF(display.left() + i * display.width() / 6 + 2, keyTop,
                                       display.width() / 6 - 4, body.height() * 0.12),
                                2, 2);
    }
    painter.end();
    return pixmap;
}
