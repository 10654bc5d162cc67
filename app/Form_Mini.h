#pragma once

#include <QPoint>
#include <QSize>
#include <QTimer>
#include <QWidget>
#include <chrono>

class ProgramValues;
class ImageButton;
class MiniWindowHost;
class ProgramEvents;

// The small always-on-top window with the volume bar, volume buttons and the
// right-click pop-up. It replaces the main window in mini mode. It acts through
// MiniWindowHost and draws its bar from the program's main-volume event.
class Form_Mini : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize kSize {236, 34};
    static constexpr std::chrono::milliseconds kTopMostInterval {1000};
    // The bar is full at this volume value (0 to 255) and clipped above it.
    static constexpr int kFullBarValue = 210;

    Form_Mini(MiniWindowHost *host, ProgramEvents *events, ProgramValues &values);
    ~Form_Mini() override;

    // Clears the bar, then fills it from the left for value x width / 210 pixels.
    void drawVolumeBar(int value);
    // The main volume the program shows, in dB: the bar and its accessible text.
    void showMainVolume(float db);
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
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Press and release of a volume button: the repeat runs while it is held, the
    // right button opens the pop-up instead.
    void volumeButtonDown(Qt::MouseButton button, const QString &tag, const char *procedure);
    void volumeButtonUp(const char *procedure);
    void showPopUp(const QPoint &globalPosition);
    void paintVolumeBar();

    MiniWindowHost *m_host;
    ProgramValues &m_values;
    QPoint m_dragAnchor;
    int m_barFill = 0;
};
