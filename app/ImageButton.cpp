#include "app/ImageButton.h"

#include <QMouseEvent>
#include <QPainter>

ImageButton::ImageButton(const QString &glyph, const QString &toolTip, QWidget *parent)
    : QAbstractButton(parent)
{
    setText(glyph);
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!m_mouseClick)
            emit activatedWithoutMouse();
        m_mouseClick = false;
    });
}

QSize ImageButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {qMax(28, metrics.horizontalAdvance(text()) + 12), 24};
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor face = isDown() ? QColor(0x1e, 0x3a, 0x5f) : QColor(0x2b, 0x4f, 0x7e);
    if (m_hover && !isDown())
        face = face.lighter(125);
    if (!isEnabled())
        face = QColor(0x80, 0x80, 0x80);
    painter.setPen(QPen(QColor(0x0f, 0x24, 0x40), 1));
    painter.setBrush(face);
    painter.drawRoundedRect(box, 4, 4);
    if (hasFocus()) {
        painter.setPen(QPen(QColor(0xfd, 0xd8, 0x89), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box.adjusted(2, 2, -2, -2), 3, 3);
    }
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, text());
}

void ImageButton::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button());
    if (event->button() == Qt::LeftButton) {
        m_mouseClick = true;
        QAbstractButton::mousePressEvent(event);
    } else {
        event->accept();
    }
}

void ImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(event->button());
    if (event->button() == Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
        // A release outside the picture gives no click; the next click starts afresh.
        m_mouseClick = false;
    } else {
        event->accept();
    }
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is a double click only: no press, no click.
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    event->accept();
}

void ImageButton::enterEvent(QEnterEvent *event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}
