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

// The control's state, kept out of the installed header so that the library can change
// it without breaking programs built against it.
class ctlFramePrivate
{
public:
    QLabel *m_picture = nullptr;
    QLabel *m_label = nullptr;
    QString m_caption;
    quint32 m_captionPos = FRAME_LEFT;
    quint32 m_style = FARMEBORDER_SINGLE;
    quint32 m_foreColor = 0;
    quint32 m_backColor = 0;
    quint32 m_frameColor1 = 0;
    quint32 m_frameColor2 = 0;
    bool m_fontBold = false;
    double m_fontSize = 0.0;
    bool m_fontItalic = false;
    QString m_fontName;
    // The part a mouse button went down on, for the click on release.
    QObject *m_pressedPart = nullptr;
    bool m_afterDoubleClick = false;
};

ctlFrame::ctlFrame(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<ctlFramePrivate>())
{
    d->m_picture = new QLabel(this);
    d->m_label = new QLabel(d->m_picture);
    ColourControlAccessible::install();
    d->m_picture->setObjectName(QStringLiteral("Picture1"));
    d->m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    d->m_picture->setAutoFillBackground(true);
    d->m_picture->setMouseTracking(true);
    d->m_picture->installEventFilter(this);
    d->m_label->setObjectName(QStringLiteral("Label"));
    d->m_label->setTextFormat(Qt::PlainText);
    d->m_label->setAutoFillBackground(true);
    d->m_label->setMouseTracking(true);
    d->m_label->installEventFilter(this);

    ChromellErrors::guard(kModule, "UserControl_Initialize", [&] {
        d->m_caption = QStringLiteral("Frame");
        d->m_label->setText(d->m_caption);
        d->m_label->hide();
        setAccessibleName(d->m_caption);
        d->m_foreColor = ControlColour::kButtonText;
        d->m_backColor = ControlColour::kButtonFace;
        d->m_style = FARMEBORDER_SINGLE;
        ColourControlState state = shared();
        state.initialize();
        state.applyColours();
        fitLabel();
    });
}

ctlFrame::~ctlFrame() = default;

ColourControlState ctlFrame::shared()
{
    return ColourControlState(kModule, *this, *d->m_picture, *d->m_label,
                              {d->m_caption, d->m_foreColor, d->m_backColor, d->m_frameColor1,
                               d->m_frameColor2, d->m_fontBold, d->m_fontSize, d->m_fontItalic,
                               d->m_fontName},
                              [this] { fitLabel(); });
}

ctlFrame::FRAMEBORDERSTYLE ctlFrame::BorderStyle() const
{
    return static_cast<FRAMEBORDERSTYLE>(d->m_style);
}

void ctlFrame::setBorderStyle(FRAMEBORDERSTYLE style)
{
    d->m_style = quint32(style);
    RedrawPic();
}

bool ctlFrame::Enabled() const
{
    return isEnabled();
}

quint32 ctlFrame::ForeColor() const
{
    return d->m_foreColor;
}

void ctlFrame::setForeColor(quint32 colour)
{
    d->m_foreColor = colour;
    applyColours();
    SetLabelPos();
    RedrawPic();
}

quint32 ctlFrame::BackColor() const
{
    return d->m_backColor;
}

void ctlFrame::setBackColor(quint32 colour)
{
    d->m_backColor = colour;
    applyColours();
    SetLabelPos();
    RedrawPic();
}

QString ctlFrame::Caption() const
{
    return d->m_caption;
}

void ctlFrame::setCaption(const QString &caption)
{
    ChromellErrors::guard(kModule, "Caption", [&] {
        d->m_caption = caption;
        setAccessibleName(caption);
        if (caption.isEmpty()) {
            d->m_label->clear();
            d->m_label->hide();
        } else {
            d->m_label->setText(caption);
            d->m_label->show();
        }
        fitLabel();
    });
    SetLabelPos();
    RedrawPic();
    updateGeometry();
}

ctlFrame::FRAMECAPTIONPOSITION ctlFrame::CaptionPos() const
{
    return static_cast<FRAMECAPTIONPOSITION>(d->m_captionPos);
}

void ctlFrame::setCaptionPos(FRAMECAPTIONPOSITION position)
{
    d->m_captionPos = quint32(position);
    SetLabelPos();
    RedrawPic();
}

QFont ctlFrame::Font() const
{
    return d->m_label->font();
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
    return d->m_frameColor1;
}

void ctlFrame::setFrameColor1(quint32 colour)
{
    d->m_frameColor1 = colour;
    RedrawPic();
}

quint32 ctlFrame::FrameColor2() const
{
    return d->m_frameColor2;
}

void ctlFrame::setFrameColor2(quint32 colour)
{
    d->m_frameColor2 = colour;
    RedrawPic();
}

void ctlFrame::ReadProperties(const PropertyBag &bag)
{
    ColourControlState state = shared();
    // The caption's text is restored; whether it shows is left to the next drawing
    // or to setting the caption.
    state.readColoursAndCaption(bag);
    state.readStep([&] {
        d->m_captionPos = PropertyValue::toLong(bag.ReadProperty("lCenterLabel", d->m_captionPos));
    });
    state.readStep([&] { d->m_style = PropertyValue::toLong(bag.ReadProperty("lStyle", 1)); });
    state.readFont(bag);
    updateGeometry();
}

void ctlFrame::WriteProperties(PropertyBag &bag)
{
    ColourControlState state = shared();
    state.writeFontColoursAndCaption(bag);
    state.writeStep([&] { bag.WriteProperty("lCenterLabel", qint32(d->m_captionPos)); });
    state.writeStep([&] { bag.WriteProperty("lStyle", qint32(d->m_style)); });
}

QSize ctlFrame::sizeHint() const
{
    const QSize caption = d->m_label->sizeHint();
    return {std::max(120, caption.width() + 2 * kCaptionIndent + 8), 80};
}

void ctlFrame::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ChromellErrors::guard(kModule, "UserControl_Resize", [&] {
        d->m_label->move(d->m_label->x(), 0);
        d->m_picture->setGeometry(0, 0, width(), height());
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
    if (watched != d->m_picture && watched != d->m_label)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        mouseOnPart(watched, static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::Resize:
        if (watched == d->m_picture)
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
        const int w = d->m_picture->width();
        const int h = d->m_picture->height();
        if (w <= 0 || h <= 0) {
            d->m_picture->setPixmap(QPixmap());
            return;
        }
        QPixmap surface
            = EtchedBorder::surface(*this, w, h, ControlColour::toColor(d->m_backColor, palette()));
        if (d->m_style != FRAMEBORDER_NO) {
            int top = 0;
            if (d->m_caption.isEmpty()) {
                d->m_label->hide();
            } else {
                top = d->m_label->height() / 2;
                d->m_label->show();
            }
            QPainter painter(&surface);
            EtchedBorder::paint(painter, w, h, top,
                                ControlColour::toColor(d->m_frameColor1, palette()),
                                ControlColour::toColor(d->m_frameColor2, palette()));
        }
        d->m_picture->setPixmap(surface);
    });
}

void ctlFrame::SetLabelPos()
{
    ChromellErrors::guard(kModule, "SetLabelPos", [&] {
        const int free = d->m_picture->width() - d->m_label->width();
        switch (d->m_captionPos) {
        case FRAME_LEFT:
            d->m_label->move(kCaptionIndent, d->m_label->y());
            break;
        case FRAME_CENETR:
            d->m_label->move(free / 2, d->m_label->y());
            break;
        case FRAME_RIGHT:
            d->m_label->move(free - kCaptionIndent, d->m_label->y());
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
    d->m_label->resize(d->m_label->sizeHint());
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
        d->m_pressedPart = part;
        d->m_afterDoubleClick = false;
        emit MouseDown(button, shift, x, y);
        break;
    case QEvent::MouseButtonDblClick:
        // Follows the second press; that press's release is no click.
        d->m_pressedPart = part;
        d->m_afterDoubleClick = true;
        emit DblClick();
        break;
    case QEvent::MouseButtonRelease: {
        const bool click = d->m_pressedPart == part && !d->m_afterDoubleClick
            && static_cast<QWidget *>(part)->rect().contains(event->position().toPoint());
        d->m_pressedPart = nullptr;
        d->m_afterDoubleClick = false;
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
