#include "ColourControlState.h"

#include "ControlColour.h"
#include "PropertyValue.h"

#include <QFont>
#include <QLabel>

QString ColourControlState::defaultFontName()
{
    return QStringLiteral("Arial");
}

ColourControlState::ColourControlState(const char *module, QWidget &control, QLabel &picture,
                                       QLabel &label, const Fields &fields,
                                       std::function<void()> fitLabel)
    : m_module(module)
    , m_control(control)
    , m_picture(picture)
    , m_label(label)
    , m_fields(fields)
    , m_fitLabel(std::move(fitLabel))
{
}

void ColourControlState::initialize()
{
    QFont font = m_label.font();
    font.setFamily(defaultFontName());
    font.setPointSizeF(kDefaultFontSize);
    setFonts(font);
    m_fields.fontBold = font.bold();
    m_fields.fontSize = font.pointSizeF();
    m_fields.fontItalic = font.italic();
    m_fields.fontName = font.family();
    m_fields.frameColor1 = kDefaultFrameColor1;
    m_fields.frameColor2 = kDefaultFrameColor2;
}

void ColourControlState::setCaptionFont(const QFont &font)
{
    QFont target = m_label.font();
    target.setFamily(font.family());
    target.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() : target.pointSizeF());
    target.setWeight(font.weight());
    target.setItalic(font.italic());
    target.setStrikeOut(font.strikeOut());
    target.setUnderline(font.underline());
    setFonts(target);
    m_fitLabel();
}

// The control's own (Qt) font and its caption font are one: a host that sets either sees
// the other follow.
void ColourControlState::setFonts(const QFont &font)
{
    m_label.setFont(font);
    m_control.setFont(font);
}

bool ColourControlState::fontsInStep() const
{
    return m_control.font() == m_label.font();
}

void ColourControlState::applyColours()
{
    const QColor back = ControlColour::toColor(m_fields.backColor, m_control.palette());
    const QColor fore = ControlColour::toColor(m_fields.foreColor, m_control.palette());
    QPalette picture = m_picture.palette();
    picture.setColor(QPalette::Window, back);
    m_picture.setPalette(picture);
    QPalette label = m_label.palette();
    label.setColor(QPalette::Window, back);
    label.setColor(QPalette::WindowText, fore);
    m_label.setPalette(label);
}

void ColourControlState::readColoursAndCaption(const PropertyBag &bag)
{
    Fields &f = m_fields;
    readStep([&] {
        f.frameColor1 = PropertyValue::toLong(bag.ReadProperty("lFrameColor1", f.frameColor1));
    });
    readStep([&] {
        f.frameColor2 = PropertyValue::toLong(bag.ReadProperty("lFrameColor2", f.frameColor2));
    });
    readStep([&] {
        f.foreColor = PropertyValue::toLong(bag.ReadProperty("lForeColor", f.foreColor));
        applyColours();
    });
    readStep([&] {
        f.backColor = PropertyValue::toLong(bag.ReadProperty("lBackColor", f.backColor));
        applyColours();
    });
    readStep([&] {
        f.caption = PropertyValue::toText(bag.ReadProperty("stCaption", f.caption));
        m_label.setText(f.caption);
        m_control.setAccessibleName(f.caption);
        m_fitLabel();
    });
}

void ColourControlState::readFont(const PropertyBag &bag)
{
    QFont font = m_label.font();
    const auto applyFont = [&] {
        setFonts(font);
        m_fitLabel();
    };
    readStep([&] {
        font.setBold(PropertyValue::toBoolean(bag.ReadProperty("lblFontBold", font.bold())));
        applyFont();
    });
    readStep([&] {
        font.setPointSizeF(
            PropertyValue::toFontSize(bag.ReadProperty("lblFontSize", kDefaultFontSize)));
        applyFont();
    });
    readStep([&] {
        font.setItalic(PropertyValue::toBoolean(bag.ReadProperty("lblFontItalic", font.italic())));
        applyFont();
    });
    readStep([&] {
        font.setFamily(PropertyValue::toText(bag.ReadProperty("lblFontName", defaultFontName())));
        applyFont();
    });
}

void ColourControlState::writeFontColoursAndCaption(PropertyBag &bag)
{
    Fields &f = m_fields;
    writeStep([&] {
        const QFont font = m_label.font();
        f.fontBold = font.bold();
        f.fontSize = font.pointSizeF();
        f.fontItalic = font.italic();
        f.fontName = font.family();
    });
    writeStep([&] { bag.WriteProperty("lblFontBold", f.fontBold); });
    writeStep([&] { bag.WriteProperty("lblFontSize", float(f.fontSize)); });
    writeStep([&] { bag.WriteProperty("lblFontItalic", f.fontItalic); });
    writeStep([&] { bag.WriteProperty("lblFontName", f.fontName); });
    writeStep([&] { bag.WriteProperty("lFrameColor1", qint32(f.frameColor1)); });
    writeStep([&] { bag.WriteProperty("lFrameColor2", qint32(f.frameColor2)); });
    writeStep([&] { bag.WriteProperty("lForeColor", qint32(f.foreColor)); });
    writeStep([&] { bag.WriteProperty("lBackColor", qint32(f.backColor)); });
    writeStep([&] { bag.WriteProperty("stCaption", f.caption); });
}
