#include "app/Form_Mini.h"

#include "app/ImageButton.h"
#include "app/MiniWindowHost.h"
#include "errors/ErrorGuard.h"
#include "program/Modul_Lib.h"
#include "program/ProgramEvents.h"
#include "program/ProgramValues.h"
#include "state/VolumeText.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr const char *kModule = "Form_Mini";
const QColor kBarColour(0xFF, 0xC0, 0xFF);
const QColor kBarBackground(0x10, 0x18, 0x20);

// Virtual-key codes the main window's CheckKey understands.
int virtualKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    return 0;
}

} // namespace

Form_Mini::Form_Mini(MiniWindowHost *host, ProgramEvents *events, ProgramValues &values)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_host(host)
    , m_values(values)
{
    setObjectName(QStringLiteral("Form_Mini"));
    setWindowTitle(QStringLiteral("Orvane"));
    setFixedSize(kSize);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xdd, 0xe3, 0xea));
    setPalette(palette);

    Label_VolDown = new ImageButton(QStringLiteral("−"), tr("Volume -"), this);
    Pic_Vol = new QWidget(this);
    Pic_Vol->setObjectName(QStringLiteral("Pic_Vol"));
    Pic_Vol->setAccessibleName(tr("Volume"));
    // Presses on the bar belong to the window, so it can be dragged by the bar too.
    Pic_Vol->setAttribute(Qt::WA_TransparentForMouseEvents);
    Pic_Vol->installEventFilter(this);
    Label_VolUp = new ImageButton(QStringLiteral("+"), tr("Volume +"), this);
    Label_Min = new ImageButton(QStringLiteral("_"), tr("minimize"), this);
    Label_Close = new ImageButton(QStringLiteral("×"), tr("close"), this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(3);
    for (ImageButton *button : {Label_VolDown, Label_VolUp, Label_Min, Label_Close})
        button->setFixedSize(button == Label_VolDown || button == Label_VolUp ? 26 : 22, 24);
    layout->addWidget(Label_VolDown);
    layout->addWidget(Pic_Vol, 1);
    layout->addWidget(Label_VolUp);
    layout->addSpacing(4);
    layout->addWidget(Label_Min);
    layout->addWidget(Label_Close);
    // The bar needs its width before the window is first shown.
    layout->activate();

    connect(Label_VolDown, &ImageButton::mouseDown, this, [this](Qt::MouseButton button) {
        volumeButtonDown(button, QStringLiteral("DOWN"), "Label_VolDOWN_MouseDown");
    });
    connect(Label_VolDown, &ImageButton::mouseUp, this,
            [this] { volumeButtonUp("Label_VolDOWN_MouseUp"); });
    connect(Label_VolUp, &ImageButton::mouseDown, this, [this](Qt::MouseButton button) {
        volumeButtonDown(button, QStringLiteral("UP"), "Label_VolUP_MouseDown");
    });
    connect(Label_VolUp, &ImageButton::mouseUp, this,
            [this] { volumeButtonUp("Label_VolUP_MouseUp"); });
    // Someone who cannot hold a mouse button gets one step per press.
    connect(Label_VolDown, &ImageButton::activatedWithoutMouse, this,
            [this] { guarded(kModule, "Label_VolDOWN_Click", [&] { m_host->VolDown(); }); });
    connect(Label_VolUp, &ImageButton::activatedWithoutMouse, this,
            [this] { guarded(kModule, "Label_VolUP_Click", [&] { m_host->VolUp(); }); });
    connect(Label_Min, &QAbstractButton::clicked, this, [this] { Label_Min_Click(); });
    connect(Label_Close, &QAbstractButton::clicked, this, [this] { Label_Close_Click(); });

    Modul_Lib::SetTopMost(true, this);
    Timer_Fenster.setInterval(kTopMostInterval);
    connect(&Timer_Fenster, &QTimer::timeout, this, [this] { Timer_Fenster_Timer(); });
    Timer_Fenster.start();

    // Drawn whether or not the window is shown, so it is current when mini mode starts.
    connect(events, &ProgramEvents::volumeMainShown, this, &Form_Mini::showMainVolume);
}

Form_Mini::~Form_Mini() = default;

void Form_Mini::drawVolumeBar(int value)
{
    m_barFill = value * Pic_Vol->width() / kFullBarValue;
    Pic_Vol->update();
}

void Form_Mini::showMainVolume(float db)
{
    guarded(kModule, "showMainVolume", [&] {
        // The receiver's value behind the dB the program shows.
        drawVolumeBar(VolumeText::mainValue(db));
        Pic_Vol->setAccessibleDescription(QStringLiteral("VOLUME ") + VolumeText::text(db)
                                          + QStringLiteral("dB"));
    });
}

void Form_Mini::paintVolumeBar()
{
    QPainter painter(Pic_Vol);
    painter.fillRect(Pic_Vol->rect(), kBarBackground);
    painter.fillRect(QRect(0, 0, qMin(m_barFill, Pic_Vol->width()), Pic_Vol->height()), kBarColour);
}

void Form_Mini::Label_Close_Click()
{
    guarded(kModule, "Label_Close_Click", [&] {
        m_host->showMainWindow();
        hide();
        m_values.setMiniMode(false);
    });
}

void Form_Mini::Label_Min_Click()
{
    guarded(kModule, "Label_Min_Click", [&] { showMinimized(); });
}

// Windows that made themselves top-most later would cover this one. Only the
// stacking order is renewed: a minimised window stays minimised and the keyboard
// focus stays where the user put it.
void Form_Mini::Timer_Fenster_Timer()
{
    guarded(kModule, "Timer_Fenster_Timer", [&] {
        if (!isVisible())
            return;
        Modul_Lib::SetTopMost(true, this);
        if (!isMinimized())
            raise();
        update();
    });
}

void Form_Mini::volumeButtonDown(Qt::MouseButton button, const QString &tag, const char *procedure)
{
    guarded(kModule, procedure, [&] {
        if (button == Qt::RightButton)
            showPopUp(QCursor::pos());
        else
            m_host->startRepeat(tag);
    });
}

void Form_Mini::volumeButtonUp(const char *procedure)
{
    guarded(kModule, procedure, [&] { m_host->stopRepeat(); });
}

void Form_Mini::showPopUp(const QPoint &globalPosition)
{
    m_host->showMiniPopUp(globalPosition);
}

void Form_Mini::keyPressEvent(QKeyEvent *event)
{
    guarded(kModule, "Form_KeyDown", [&] {
        const int code = virtualKeyCode(event->key());
        if (code != 0)
            m_host->CheckKey(code);
    });
    QWidget::keyPressEvent(event);
}

void Form_Mini::mousePressEvent(QMouseEvent *event)
{
    guarded(kModule, "Form_MouseDown", [&] {
        if (event->button() == Qt::LeftButton)
            m_dragAnchor = event->position().toPoint();
        else if (event->button() == Qt::RightButton)
            showPopUp(event->globalPosition().toPoint());
    });
    event->accept();
}

// The anchor is in the window's own coordinates, which move with the window, so
// it stays valid for the whole drag.
void Form_Mini::mouseMoveEvent(QMouseEvent *event)
{
    guarded(kModule, "Form_MouseMove", [&] {
        if (!(event->buttons() & Qt::LeftButton))
            return;
        const QPoint offset = event->position().toPoint() - m_dragAnchor;
        move(pos() + offset);
    });
    event->accept();
}

// A close from the window manager leaves mini mode like the close button does; the
// window stays loaded until the program ends.
void Form_Mini::closeEvent(QCloseEvent *event)
{
    if (m_values.AppClosing()) {
        event->accept();
        return;
    }
    Label_Close_Click();
    event->ignore();
}

bool Form_Mini::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Pic_Vol && event->type() == QEvent::Paint) {
        guarded(kModule, "Pic_Vol_Paint", [&] { paintVolumeBar(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
