#include "Command.h"

#include "ControlColour.h"

#include <QPainter>

Command::Command(QWidget *parent)
    : QAbstractButton(parent)
    , m_foreColor(ControlColour::kButtonText)
    , m_foreHover(ControlColour::kButtonText)
{
    InitProperties();
}

QString Command::Caption() const
{
    return m_caption;
}
void Command::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}
bool Command::Enabled() const
{
    return isEnabled();
}
QFont Command::Font() const
{
    return font();
}
void Command::setCaptionFont(const QFont &f)
{
    setFont(f);
}
quint32 Command::ForeColor() const
{
    return m_foreColor;
}
void Command::setForeColor(quint32 colour)
{
    m_foreColor = colour;
}
quint32 Command::ForeHover() const
{
    return m_foreHover;
}
void Command::setForeHover(quint32 colour)
{
    m_foreHover = colour;
}
void Command::InitProperties()
{
    m_caption = QStringLiteral("Command");
}
void Command::ReadProperties(const PropertyBag &) { }
void Command::WriteProperties(PropertyBag &) { }
QString Command::AccessKey() const
{
    return m_accessKey;
}
QSize Command::sizeHint() const
{
    return {75, 23};
}
QSize Command::minimumSizeHint() const
{
    return {8, 8};
}
bool Command::event(QEvent *e)
{
    return QAbstractButton::event(e);
}
void Command::paintEvent(QPaintEvent *)
{
    QPainter p(this);
}
void Command::resizeEvent(QResizeEvent *e)
{
    QAbstractButton::resizeEvent(e);
}
void Command::showEvent(QShowEvent *e)
{
    QAbstractButton::showEvent(e);
}
void Command::changeEvent(QEvent *e)
{
    QAbstractButton::changeEvent(e);
}
void Command::mousePressEvent(QMouseEvent *) { }
void Command::mouseReleaseEvent(QMouseEvent *) { }
void Command::mouseDoubleClickEvent(QMouseEvent *) { }
void Command::mouseMoveEvent(QMouseEvent *) { }
void Command::keyPressEvent(QKeyEvent *) { }
void Command::keyReleaseEvent(QKeyEvent *) { }
void Command::focusInEvent(QFocusEvent *e)
{
    QAbstractButton::focusInEvent(e);
}
void Command::focusOutEvent(QFocusEvent *e)
{
    QAbstractButton::focusOutEvent(e);
}
bool Command::pointerIsOver() const
{
    return false;
}
