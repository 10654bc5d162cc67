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

ctlLabel::ctlLabel(QWidget *parent)
    : QWidget(parent)
    , m_picture(new QLabel(this))
    , m_label(new QLabel(m_picture))
{
    ColourControlAccessible::install();
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->setAutoFillBackground(true);
    m_label->setObjectName(QStringLiteral("Label"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setAutoFillBackground(true);
    m_label->setWordWrap(true);

    ChromellErrors::guard(kModule, "UserControl_Initialize", [&] {
        m_caption = QStringLiteral("Label");
        m_label->setText(m_caption);
        setAccessibleName(m_caption);
        m_foreColor = ControlColour::kButtonText;
        m_backColor = ControlColour::kButtonFace;
        ColourControlState state = shared();
        state.initialize();
        state.applyColours();
    });
}

ColourControlState ctlLabel::shared()
{
    return ColourControlState(kModule, *this, *m_picture, *m_label,
                              {m_caption, m_foreColor, m_backColor, m_frameColor1, m_frameColor2,
                               m_fontBold, m_fontSize, m_fontItalic, m_fontName},
                              [this] { fitLabel(); });
}

bool ctlLabel::AutoSize() const
{
    return m_autoSize;
}

void ctlLabel::setAutoSize(bool autoSize)
{
    ChromellErrors::guard(kModule, "AutoSize", [&] {
        m_autoSize = autoSize;
        m_label->setWordWrap(!autoSize);
        fitLabel();
    });
    CheckResize();
    updateGeometry();
}

ctlLabel::LABELBORDERSTYLE ctlLabel::BorderStyle() const
{
    return static_cast<LABELBORDERSTYLE>(m_style);
}

void ctlLabel::setBorderStyle(LABELBORDERSTYLE style)
{
    ChromellErrors::guard(kModule, "BorderStyle", [&] { m_style = quint32(style); });
    CheckResize();
    updateGeometry();
}

bool ctlLabel::Enabled() const
{
    return isEnabled();
}

QString ctlLabel::Caption() const
{
    return m_caption;
}

void ctlLabel::setCaption(const QString &caption)
{
    ChromellErrors::guard(kModule, "Caption", [&] {
        m_caption = caption;
        m_label->setText(caption);
        setAccessibleName(caption);
        fitLabel();
    });
    if (m_autoSize)
        CheckResize();
    updateGeometry();
}

quint32 ctlLabel::ForeColor() const
{
    return m_foreColor;
}

void ctlLabel::setForeColor(quint32 colour)
{
    ChromellErrors::guard(kModule, "ForeColor", [&] {
        m_foreColor = colour;
        applyColours();
    });
}

quint32 ctlLabel::FrameColor1() const
{
    return m_frameColor1;
}

void ctlLabel::setFrameColor1(quint32 colour)
{
    m_frameColor1 = colour;
    RedrawPic();
}

quint32 ctlLabel::FrameColor2() const
{
    return m_frameColor2;
}

void ctlLabel::setFrameColor2(quint32 colour)
{
    m_frameColor2 = colour;
    RedrawPic();
}

quint32 ctlLabel::BackColor() const
{
    return m_backColor;
}

void ctlLabel::setBackColor(quint32 colour)
{
    ChromellErrors::guard(kModule, "BackColor", [&] {
        m_backColor = colour;
        applyColours();
    });
    RedrawPic();
}

QFont ctlLabel::Font() const
{
    return m_label->font();
}

void ctlLabel::setCaptionFont(const QFont &font)
{
    ChromellErrors::guard(kModule, "Font", [&] { shared().setCaptionFont(font); });
    CheckResize();
    updateGeometry();
}

void ctlLabel::SetSize()
{
    ChromellErrors::guard(kModule, "SetSize", [&] { resize(m_label->size()); });
}

void ctlLabel::ReadProperties(const PropertyBag &bag)
{
    ColourControlState state = shared();
    state.readColoursAndCaption(bag);
    state.readStep([&] { m_style = PropertyValue::toLong(bag.ReadProperty("lStyle", m_style)); });
    state.readFont(bag);
    ChromellErrors::silently([&] { layOut(); });
    updateGeometry();
}

void ctlLabel::WriteProperties(PropertyBag &bag)
{
    ColourControlState state = shared();
    state.writeFontColoursAndCaption(bag);
    state.writeStep([&] { bag.WriteProperty("lStyle", qint32(m_style)); });
}

QSize ctlLabel::sizeHint() const
{
    const QSize text = m_label->sizeHint();
    return m_style != LABELBORDER_NO ? text + QSize(6, 4) : text;
}

void ctlLabel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_resizing)
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
        const int w = m_picture->width();
        const int h = m_picture->height();
        if (w <= 0 || h <= 0) {
            m_picture->setPixmap(QPixmap());
            return;
        }
        QPixmap surface
            = EtchedBorder::surface(*this, w, h, ControlColour::toColor(m_backColor, palette()));
        if (m_style == LABELBORDER_SINGLE) {
            QPainter painter(&surface);
            EtchedBorder::paint(painter, w, h, 0, ControlColour::toColor(m_frameColor1, palette()),
                                ControlColour::toColor(m_frameColor2, palette()));
        }
        m_picture->setPixmap(surface);
    });
}

void ctlLabel::CheckResize()
{
    ChromellErrors::guard(kModule, "CheckResize", [&] {
        if (!m_autoSize)
            return;
        m_resizing = true;
        const QSize text = m_label->size();
        resize(m_style != LABELBORDER_NO ? text + QSize(6, 4) : text);
        m_resizing = false;
    });
    m_resizing = false;
    // The fit changed the size with the layout held back; lay the parts out now
    // so the surface and the border follow the new size.
    if (m_autoSize)
        ChromellErrors::silently([&] { layOut(); });
}

// The resize handling: the surface fills the control, the text sits inside the
// border (or fills the surface without one), then the border is drawn.
void ctlLabel::layOut()
{
    m_picture->setGeometry(0, 0, width(), height());
    const QRect inner = m_style == LABELBORDER_SINGLE
        ? QRect(3, 2, m_picture->width() - 6, m_picture->height() - 4)
        : QRect(0, 0, m_picture->width(), m_picture->height());
    if (m_autoSize)
        m_label->move(inner.topLeft());
    else
        m_label->setGeometry(inner);
    RedrawPic();
}

void ctlLabel::applyColours()
{
    shared().applyColours();
}

// An auto-sizing text label takes the size of its text.
void ctlLabel::fitLabel()
{
    if (m_autoSize)
        m_label->resize(m_label->sizeHint());
}
