#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

class Form_ControlCenter;
class ImageButton;
class QLabel;

// The small always-on-top window with the volume bar, volume buttons and the
// right-click pop-up. It replaces the main window in mini mode.
class Form_Mini : public QWidget
{
    Q_OBJECT
public:
    explicit Form_Mini(Form_ControlCenter *main);
    ~Form_Mini() override;

    // The volume bar: cleared, then filled from the left for `fillWidth` pixels.
    void drawVolumeBar(int value);
    int volumeBarFill() const { return m_barFill; }

    // Volume bar and buttons.
    QWidget *Pic_Vol = nullptr;
    ImageButton *Label_VolDown = nullptr;
    ImageButton *Label_VolUp = nullptr;
    ImageButton *Label_Min = nullptr;
    ImageButton *Label_Close = nullptr;
    QTimer Timer_Fenster;

    void Label_Close_Click();
    void Label_Min_Click();
    void Timer_Fenster_Timer();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPopUp(const QPoint &globalPosition);

    Form_ControlCenter *m_main;
    QPoint m_dragAnchor;
    int m_barFill = 0;
};
