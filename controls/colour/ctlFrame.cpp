#include "ctlFrame.h"

#include "ChromellErrors.h"
#include "ColourControlAccessible.h"
#include "ColourControlState.h"
#include "ControlColour.h"
#include "ControlInput.h"
#include "EtchedBorder.h"
#include "PropertyValue.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr const char *kModule = "ctlFrame";
constexpr int kCaptionIndent = 8;

} // namespace

ctlFrame::ctlFrame(QWidget *parent)
    : QWidget(parent)
    , m_picture(new QLabel(this))
    , m_label(new QLabel(m_picture))
{
    ColourControlAccessible::install();
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->setAutoFillBackground(true);
    m_picture->setMouseTracking(true);
    m_picture->installEventFilter(this);
    m_label->setObjectName(QStringLiteral("Label"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAutoFillBackground(true);
    m_label->setMouseTracking(true);
    m_label->installEventFilter(this);

    ChromellErrors::guard(kModule, "UserControl_Initialize", [&] {
        m_caption = QStringLiteral("Frame");
        m_label->setText(m_caption);
        m_label->hide();
        setAccessibleName(m_caption);
        m_foreColor = ControlColour::kButtonText;
        m_backColor = ControlColour::kButtonFace;
        m_style = FARMEBORDER_SINGLE;
        ColourControlState state = shared();
        state.initialize();
        state.applyColours();
        fitLabel();
    });
}

ColourControlState ctlFrame::shared()
{
    return ColourControlState(kModule, *this, *m_picture, *m_label,
                              {m_caption, m_foreColor, m_backColor, m_frameColor1, m_frameColor2,
                               m_fontBold, m_fontSize, m_fontItalic, m_fontName},
                              [this] { fitLabel(); });
}

ctlFrame::FRAMEBORDERSTYLE ctlFrame::BorderStyle() const
{
    return static_cast<FRAMEBORDERSTYLE>(m_style);
}

void ctlFrame::setBorderStyle(FRAMEBORDERSTYLE style)
{
    m_style = quint32(style);
    RedrawPic();
}

bool ctlFrame::Enabled() const
{
    return isEnabled();
}

quint32 ctlFrame::ForeColor() const
{
    return m_foreColor;
}

void ctlFrame::setForeColor(quint32 colour)
{
    m_foreColor = colour;
    applyColours();
    SetLabelPos();
    RedrawPic();
}

quint32 ctlFrame::BackColor() const
{
    return m_backColor;
}

void ctlFrame::setBackColor(quint32 colour)
{
    m_backColor = colour;
    applyColours();
    SetLabelPos();
    RedrawPic();
}

QString ctlFrame::Caption() const
{
    return m_caption;
}

void ctlFrame::setCaption(const QString &caption)
{
    ChromellErrors::guard(kModule, "Caption", [&] {
        m_caption = caption;
        setAccessibleName(caption);
        if (caption.isEmpty()) {
            m_label->clear();
            m_label->hide();
        } else {
            m_label->setText(caption);
            m_label->show();
        }
        fitLabel();
    });
    SetLabelPos();
    RedrawPic();
    updateGeometry();
}

ctlFrame::FRAMECAPTIONPOSITION ctlFrame::CaptionPos() const
{
    return static_cast<FRAMECAPTIONPOSITION>(m_captionPos);
}

void ctlFrame::setCaptionPos(FRAMECAPTIONPOSITION position)
{
    m_captionPos = quint32(position);
    SetLabelPos();
    RedrawPic();
}

QFont ctlFrame::Font() const
{
    return m_label->font();
}

void ctlFrame::setCaptionFont(const QFont &font)
{
    ChromellErrors::guard(kModule, "Font", [&] { shared().setCaptionFont(font); });
    // A centred or right caption keeps its place only if it is placed again at its
    // new width.
    SetLabelPos();
    RedrawPic();
    updateGeometry();
}

quint32 ctlFrame::FrameColor1() const
{
    return m_frameColor1;
}

void ctlFrame::setFrameColor1(quint32 colour)
{
    m_frameColor1 = colour;
    RedrawPic();
}

quint32 ctlFrame::FrameColor2() const
{
    return m_frameColor2;
}

void ctlFrame::setFrameColor2(quint32 colour)
{
    m_frameColor2 = colour;
    RedrawPic();
}

void ctlFrame::ReadProperties(const PropertyBag &bag)
{
    ColourControlState state = shared();
    // The caption's text is restored; whether it shows is left to the next drawing
    // or to setting the caption.
    state.readColoursAndCaption(bag);
    state.readStep([&] {
        m_captionPos = PropertyValue::toLong(bag.ReadProperty("lCenterLabel", m_captionPos));
    });
    state.readStep([&] { m_style = PropertyValue::toLong(bag.ReadProperty("lStyle", 1)); });
    state.readFont(bag);
    updateGeometry();
}

void ctlFrame::WriteProperties(PropertyBag &bag)
{
    ColourControlState state = shared();
    state.writeFontColoursAndCaption(bag);
    state.writeStep([&] { bag.WriteProperty("lCenterLabel", qint32(m_captionPos)); });
    state.writeStep([&] { bag.WriteProperty("lStyle", qint32(m_style)); });
}

QSize ctlFrame::sizeHint() const
{
    const QSize caption = m_label->sizeHint();
    return {std::max(120, caption.width() + 2 * kCaptionIndent + 8), 80};
}

void ctlFrame::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ChromellErrors::guard(kModule, "UserControl_Resize", [&] {
        m_label->move(m_label->x(), 0);
        m_picture->setGeometry(0, 0, width(), height());
    });
    RedrawPic();
    SetLabelPos();
    emit Resize();
}

// The frame is drawn when it first shows, which also covers properties read
// after creation.
void ctlFrame::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    RedrawPic();
    SetLabelPos();
}

bool ctlFrame::event(QEvent *event)
{
    const bool result = QWidget::event(event);
    // On a screen of another pixel ratio the border is drawn again at that ratio.
    if (event->type() == QEvent::ScreenChangeInternal)
        RedrawPic();
    return result;
}

void ctlFrame::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && !shared().fontsInStep())
        setCaptionFont(font());
    if (event->type() == QEvent::PaletteChange) {
        // System colours follow the palette.
        applyColours();
        RedrawPic();
    }
}

bool ctlFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_picture && watched != m_label)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        mouseOnPart(watched, static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::Resize:
        if (watched == m_picture)
            RedrawPic();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void ctlFrame::RedrawPic()
{
    ChromellErrors::guard(kModule, "RedrawPic", [&] {
        const int w = m_picture->width();
        const int h = m_picture->height();
        if (w <= 0 || h <= 0) {
            m_picture->setPixmap(QPixmap());
            return;
        }
        QPixmap surface
            = EtchedBorder::surface(*this, w, h, ControlColour::toColor(m_backColor, palette()));
        if (m_style != FRAMEBORDER_NO) {
            int top = 0;
            if (m_caption.isEmpty()) {
                m_label->hide();
            } else {
                top = m_label->height() / 2;
                m_label->show();
            }
            QPainter painter(&surface);
            EtchedBorder::paint(painter, w, h, top,
                                ControlColour::toColor(m_frameColor1, palette()),
                                ControlColour::toColor(m_frameColor2, palette()));
        }
        m_picture->setPixmap(surface);
    });
}

void ctlFrame::SetLabelPos()
{
    ChromellErrors::guard(kModule, "SetLabelPos", [&] {
        const int free = m_picture->width() - m_label->width();
        switch (m_captionPos) {
        case FRAME_LEFT:
            m_label->move(kCaptionIndent, m_label->y());
            break;
        case FRAME_CENETR:
            m_label->move(free / 2, m_label->y());
            break;
        case FRAME_RIGHT:
            m_label->move(free - kCaptionIndent, m_label->y());
            break;
        default:
            break;
        }
    });
}

void ctlFrame::applyColours()
{
    shared().applyColours();
}

// The caption label always takes the size of its text.
void ctlFrame::fitLabel()
{
    m_label->resize(m_label->sizeHint());
}

// Mouse actions on the surface or on the caption are the frame's own, with the
// position on the part acted on.
void ctlFrame::mouseOnPart(QObject *part, QMouseEvent *event)
{
    short button = ControlInput::eventButton(event);
    short shift = ControlInput::shiftCode(event->modifiers());
    float x = float(event->position().x());
    float y = float(event->position().y());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressedPart = part;
        m_afterDoubleClick = false;
        emit MouseDown(button, shift, x, y);
        break;
    case QEvent::MouseButtonDblClick:
        // Follows the second press; that press's release is no click.
        m_pressedPart = part;
        m_afterDoubleClick = true;
        emit DblClick();
        break;
    case QEvent::MouseButtonRelease: {
        const bool click = m_pressedPart == part && !m_afterDoubleClick
            && static_cast<QWidget *>(part)->rect().contains(event->position().toPoint());
        m_pressedPart = nullptr;
        m_afterDoubleClick = false;
        emit MouseUp(button, shift, x, y);
        if (click)
            emit Click();
        break;
    }
    default:
        emit MouseMove(button, shift, x, y);
        break;
    }
}
