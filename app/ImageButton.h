#pragma once

#include <QAbstractButton>

// A picture that acts as a button: it draws a glyph, is named by its tool tip for
// assistive technology, and reports raw mouse presses and releases of any button
// (the volume pictures repeat while held and mute on a right press).
class ImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    ImageButton(const QString &glyph, const QString &toolTip, QWidget *parent = nullptr);

    QSize sizeHint() const override;

signals:
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);
    // A click from the keyboard or an accessibility press action, not from the mouse.
    void activatedWithoutMouse();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool m_mouseClick = false;
    bool m_hover = false;
};
