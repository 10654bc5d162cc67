#include "ctlLabel.h"

#include "ChromellErrors.h"
#include "ColourControlAccessible.h"
#include "ColourControlState.h"
#include "ControlColour.h"
#include "EtchedBorder.h"
#include "PropertyValue.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr const char *kModule = "ctlLabel";

} // namespace

// The control's state, kept out of the installed header so that the library can change
// it without breaking programs built against it.
class ctlLabelPrivate
{
public:
    QLabel *m_picture = nullptr;
    QLabel *m_label = nullptr;
    QString m_caption;
    quint32 m_foreColor = 0;
    quint32 m_backColor = 0;
    quint32 m_frameColor1 = 0;
    quint32 m_frameColor2 = 0;
    quint32 m_style = LABELBORDER_NO;
    bool m_fontBold = false;
    double m_fontSize = 0.0;
    bool m_fontItalic = false;
    QString m_fontName;
    bool m_autoSize = false;
    bool m_resizing = false;
};

ctlLabel::ctlLabel(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<ctlLabelPrivate>())
{
    d->m_picture = new QLabel(this);
    d->m_label = new QLabel(d->m_picture);
    ColourControlAccessible::install();
    d->m_picture->setObjectName(QStringLiteral("Picture1"));
    d->m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    d->m_picture->setAutoFillBackground(true);
    d->m_label->setObjectName(QStringLiteral("Label"));
    d->m_label->setTextFormat(Qt::PlainText);
    d->m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    d->m_label->setAutoFillBackground(true);
    d->m_label->setWordWrap(true);

    ChromellErrors::guard(kModule, "UserControl_Initialize", [&] {
        d->m_caption = QStringLiteral("Label");
        d->m_label->setText(d->m_caption);
        setAccessibleName(d->m_caption);
        d->m_foreColor = ControlColour::kButtonText;
        d->m_backColor = ControlColour::kButtonFace;
        ColourControlState state = shared();
        state.initialize();
        state.applyColours();
    });
}

ctlLabel::~ctlLabel() = default;

ColourControlState ctlLabel::shared()
{
    return ColourControlState(kModule, *this, *d->m_picture, *d->m_label,
                              {d->m_caption, d->m_foreColor, d->m_backColor, d->m_frameColor1,
                               d->m_frameColor2, d->m_fontBold, d->m_fontSize, d->m_fontItalic,
                               d->m_fontName},
                              [this] { fitLabel(); });
}

bool ctlLabel::AutoSize() const
{
    return d->m_autoSize;
}

void ctlLabel::setAutoSize(bool autoSize)
{
    ChromellErrors::guard(kModule, "AutoSize", [&] {
        d->m_autoSize = autoSize;
        d->m_label->setWordWrap(!autoSize);
        fitLabel();
    });
    CheckResize();
    updateGeometry();
}

ctlLabel::LABELBORDERSTYLE ctlLabel::BorderStyle() const
{
    return static_cast<LABELBORDERSTYLE>(d->m_style);
}

void ctlLabel::setBorderStyle(LABELBORDERSTYLE style)
{
    ChromellErrors::guard(kModule, "BorderStyle", [&] { d->m_style = quint32(style); });
    CheckResize();
    updateGeometry();
}

bool ctlLabel::Enabled() const
{
    return isEnabled();
}

QString ctlLabel::Caption() const
{
    return d->m_caption;
}

void ctlLabel::setCaption(const QString &caption)
{
    ChromellErrors::guard(kModule, "Caption", [&] {
        d->m_caption = caption;
        d->m_label->setText(caption);
        setAccessibleName(caption);
        fitLabel();
    });
    if (d->m_autoSize)
        CheckResize();
    updateGeometry();
}

quint32 ctlLabel::ForeColor() const
{
    return d->m_foreColor;
}

void ctlLabel::setForeColor(quint32 colour)
{
    ChromellErrors::guard(kModule, "ForeColor", [&] {
        d->m_foreColor = colour;
        applyColours();
    });
}

quint32 ctlLabel::FrameColor1() const
{
    return d->m_frameColor1;
}

void ctlLabel::setFrameColor1(quint32 colour)
{
    d->m_frameColor1 = colour;
    RedrawPic();
}

quint32 ctlLabel::FrameColor2() const
{
    return d->m_frameColor2;
}

void ctlLabel::setFrameColor2(quint32 colour)
{
    d->m_frameColor2 = colour;
    RedrawPic();
}

quint32 ctlLabel::BackColor() const
{
    return d->m_backColor;
}

void ctlLabel::setBackColor(quint32 colour)
{
    ChromellErrors::guard(kModule, "BackColor", [&] {
        d->m_backColor = colour;
        applyColours();
    });
    RedrawPic();
}

QFont ctlLabel::Font() const
{
    return d->m_label->font();
}

void ctlLabel::setCaptionFont(const QFont &font)
{
    ChromellErrors::guard(kModule, "Font", [&] { shared().setCaptionFont(font); });
    CheckResize();
    updateGeometry();
}

void ctlLabel::SetSize()
{
    ChromellErrors::guard(kModule, "SetSize", [&] { resize(d->m_label->size()); });
}

void ctlLabel::ReadProperties(const PropertyBag &bag)
{
    ColourControlState state = shared();
    state.readColoursAndCaption(bag);
    state.readStep(
        [&] { d->m_style = PropertyValue::toLong(bag.ReadProperty("lStyle", d->m_style)); });
    state.readFont(bag);
    ChromellErrors::silently([&] { layOut(); });
    updateGeometry();
}

void ctlLabel::WriteProperties(PropertyBag &bag)
{
    ColourControlState state = shared();
    state.writeFontColoursAndCaption(bag);
    state.writeStep([&] { bag.WriteProperty("lStyle", qint32(d->m_style)); });
}

QSize ctlLabel::sizeHint() const
{
    const QSize text = d->m_label->sizeHint();
    return d->m_style != LABELBORDER_NO ? text + QSize(6, 4) : text;
}

void ctlLabel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (d->m_resizing)
        return;
    ChromellErrors::silently([&] { layOut(); });
}

bool ctlLabel::event(QEvent *event)
{
    const bool result = QWidget::event(event);
    // On a screen of another pixel ratio the border is drawn again at that ratio.
    if (event->type() == QEvent::ScreenChangeInternal)
        RedrawPic();
    return result;
}

void ctlLabel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && !shared().fontsInStep())
        setCaptionFont(font());
    if (event->type() == QEvent::PaletteChange) {
        // System colours follow the palette.
        ChromellErrors::silently([&] {
            applyColours();
            RedrawPic();
        });
    }
}

void ctlLabel::RedrawPic()
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
        if (d->m_style == LABELBORDER_SINGLE) {
            QPainter painter(&surface);
            EtchedBorder::paint(painter, w, h, 0,
                                ControlColour::toColor(d->m_frameColor1, palette()),
                                ControlColour::toColor(d->m_frameColor2, palette()));
        }
        d->m_picture->setPixmap(surface);
    });
}

void ctlLabel::CheckResize()
{
    ChromellErrors::guard(kModule, "CheckResize", [&] {
        if (!d->m_autoSize)
            return;
        d->m_resizing = true;
        const QSize text = d->m_label->size();
        resize(d->m_style != LABELBORDER_NO ? text + QSize(6, 4) : text);
        d->m_resizing = false;
    });
    d->m_resizing = false;
    // The fit changed the size with the layout held back; lay the parts out now
    // so the surface and the border follow the new size.
    if (d->m_autoSize)
        ChromellErrors::silently([&] { layOut(); });
}

// The resize handling: the surface fills the control, the text sits inside the
// border (or fills the surface without one), then the border is drawn.
void ctlLabel::layOut()
{
    d->m_picture->setGeometry(0, 0, width(), height());
    const QRect inner = d->m_style == LABELBORDER_SINGLE
        ? QRect(3, 2, d->m_picture->width() - 6, d->m_picture->height() - 4)
        : QRect(0, 0, d->m_picture->width(), d->m_picture->height());
    if (d->m_autoSize)
        d->m_label->move(inner.topLeft());
    else
        d->m_label->setGeometry(inner);
    RedrawPic();
}

void ctlLabel::applyColours()
{
    shared().applyColours();
}

// An auto-sizing text label takes the size of its text.
void ctlLabel::fitLabel()
{
    if (d->m_autoSize)
        d->m_label->resize(d->m_label->sizeHint());
}
