#pragma once

#include "PropertyBag.h"
#include "pushwell_global.h"

#include <QAbstractButton>
#include <QFont>
#include <QString>
#include <memory>

class CommandPrivate;

// A push button that paints itself in a flat, blue-framed style with rounded
// corners: an orange rim while the pointer is over it, a blue rim while it has
// the focus and a darker face while pressed. Hosts react to its Click; the standard
// pressed(), released() and clicked() come with user input as well, and the Qt text is
// the caption.
class PUSHWELL_EXPORT Command : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE setCaptionFont)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 ForeHover READ ForeHover WRITE setForeHover)

public:
    explicit Command(QWidget *parent = nullptr);
    ~Command() override;

    QString Caption() const;
    void setCaption(const QString &caption);
    bool Enabled() const;
    QFont Font() const;
    void setCaptionFont(const QFont &font);
    quint32 ForeColor() const;
    void setForeColor(quint32 colour);
    quint32 ForeHover() const;
    void setForeHover(quint32 colour);

    // The state of a newly placed button: the container's font and colours and a
    // caption made from the button's name.
    void InitProperties();
    void ReadProperties(const PropertyBag &bag);
    // Writes only what differs from its default; ForeColor always.
    void WriteProperties(PropertyBag &bag);

    // The letter that acts as a click with Alt, in lower case; empty for none.
    QString AccessKey() const;
    bool isHovering() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Click();
    void MouseDown(short &Button, short &Shift, float &X, float &Y);
    void MouseMove(short &Button, short &Shift, float &X, float &Y);
    void MouseUp(short &Button, short &Shift, float &X, float &Y);
    void KeyPress(short &KeyAscii);
    void KeyDown(short &KeyCode, short &Shift);
    void KeyUp(short &KeyCode, short &Shift);
    void MouseOver();
    void MouseOut();
    // The change notice for the host's property store.
    void PropertyChanged(const QString &name);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void Repaint(bool pressed, bool drawHovering = false);
    bool pointerIsOver() const;
    bool isOver(const QPoint &globalPosition) const;
    void updateRegion();
    void syncCaption(bool notify = true);
    void setUserDown(bool down);
    void actAsClick();
    void onHoverTick();
    QFont ambientFont() const;

    std::unique_ptr<CommandPrivate> d;
};
