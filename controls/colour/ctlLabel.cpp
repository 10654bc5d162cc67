#include "ctlLabel.h"

#include "ChromellErrors.h"
#include "ColourControlAccessible.h"
#include "ControlColour.h"
#include "EtchedBorder.h"
#include "PropertyValue.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr const char *kModule = "ctlLabel";
constexpr quint32 kWhite = 0x00FFFFFF;
constexpr quint32 kDefaultFrameColor2 = 0x00FE8B36;
constexpr double kDefaultFontSize = 8.25;
const QString kDefaultFontName = QStringLiteral("Arial");

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
        QFont font = m_label->font();
        font.setFamily(kDefaultFontName);
        font.setPointSizeF(kDefaultFontSize);
        m_label->setFont(font);
        m_fontBold = font.bold();
        m_fontSize = font.pointSizeF();
        m_fontItalic = font.italic();
        m_fontName = font.family();
        m_frameColor1 = kWhite;
        m_frameColor2 = kDefaultFrameColor2;
        applyColours();
    });
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
}

ctlLabel::LABELBORDERSTYLE ctlLabel::BorderStyle() const
{
    return static_cast<LABELBORDERSTYLE>(m_style);
}

void ctlLabel::setBorderStyle(LABELBORDERSTYLE style)
{
    ChromellErrors::guard(kModule, "BorderStyle", [&] { m_style = quint32(style); });
    CheckResize();
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
    ChromellErrors::guard(kModule, "Font", [&] {
        QFont target = m_label->font();
        target.setFamily(font.family());
        target.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() : target.pointSizeF());
        target.setWeight(font.weight());
        target.setItalic(font.italic());
        target.setStrikeOut(font.strikeOut());
        target.setUnderline(font.underline());
        m_label->setFont(target);
        fitLabel();
    });
    CheckResize();
}

void ctlLabel::SetSize()
{
    ChromellErrors::guard(kModule, "SetSize", [&] { resize(m_label->size()); });
}

void ctlLabel::ReadProperties(const PropertyBag &bag)
{
    const auto step = [](auto &&statement) {
        ChromellErrors::guard(kModule, "UserControl_ReadProperties", statement);
    };
    step([&] {
        m_frameColor1 = PropertyValue::toLong(bag.ReadProperty("lFrameColor1", m_frameColor1));
    });
    step([&] {
        m_frameColor2 = PropertyValue::toLong(bag.ReadProperty("lFrameColor2", m_frameColor2));
    });
    step([&] {
        m_foreColor = PropertyValue::toLong(bag.ReadProperty("lForeColor", m_foreColor));
        applyColours();
    });
    step([&] {
        m_backColor = PropertyValue::toLong(bag.ReadProperty("lBackColor", m_backColor));
        applyColours();
    });
    step([&] {
        m_caption = PropertyValue::toText(bag.ReadProperty("stCaption", m_caption));
        m_label->setText(m_caption);
        setAccessibleName(m_caption);
        fitLabel();
    });
    step([&] { m_style = PropertyValue::toLong(bag.ReadProperty("lStyle", m_style)); });

    QFont font = m_label->font();
    const auto applyFont = [&] {
        m_label->setFont(font);
        fitLabel();
    };
    step([&] {
        font.setBold(PropertyValue::toBoolean(bag.ReadProperty("lblFontBold", font.bold())));
        applyFont();
    });
    step([&] {
        font.setPointSizeF(
            PropertyValue::toFontSize(bag.ReadProperty("lblFontSize", kDefaultFontSize)));
        applyFont();
    });
    step([&] {
        font.setItalic(PropertyValue::toBoolean(bag.ReadProperty("lblFontItalic", font.italic())));
        applyFont();
    });
    step([&] {
        font.setFamily(PropertyValue::toText(bag.ReadProperty("lblFontName", kDefaultFontName)));
        applyFont();
    });
    ChromellErrors::silently([&] { layOut(); });
}

void ctlLabel::WriteProperties(PropertyBag &bag)
{
    const auto step = [](auto &&statement) {
        ChromellErrors::guard(kModule, "UserControl_WriteProperties", statement);
    };
    step([&] {
        const QFont font = m_label->font();
        m_fontBold = font.bold();
        m_fontSize = font.pointSizeF();
        m_fontItalic = font.italic();
        m_fontName = font.family();
    });
    step([&] { bag.WriteProperty("lblFontBold", m_fontBold); });
    step([&] { bag.WriteProperty("lblFontSize", float(m_fontSize)); });
    step([&] { bag.WriteProperty("lblFontItalic", m_fontItalic); });
    step([&] { bag.WriteProperty("lblFontName", m_fontName); });
    step([&] { bag.WriteProperty("lFrameColor1", qint32(m_frameColor1)); });
    step([&] { bag.WriteProperty("lFrameColor2", qint32(m_frameColor2)); });
    step([&] { bag.WriteProperty("lForeColor", qint32(m_foreColor)); });
    step([&] { bag.WriteProperty("lBackColor", qint32(m_backColor)); });
    step([&] { bag.WriteProperty("stCaption", m_caption); });
    step([&] { bag.WriteProperty("lStyle", qint32(m_style)); });
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

void ctlLabel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
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
        QPixmap surface(w, h);
        surface.fill(ControlColour::toColor(m_backColor, palette()));
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
    const QColor back = ControlColour::toColor(m_backColor, palette());
    const QColor fore = ControlColour::toColor(m_foreColor, palette());
    QPalette picture = m_picture->palette();
    picture.setColor(QPalette::Window, back);
    m_picture->setPalette(picture);
    QPalette label = m_label->palette();
    label.setColor(QPalette::Window, back);
    label.setColor(QPalette::WindowText, fore);
    m_label->setPalette(label);
}

// An auto-sizing text label takes the size of its text.
void ctlLabel::fitLabel()
{
    if (m_autoSize)
        m_label->resize(m_label->sizeHint());
}
