#pragma once

#include "ChromellErrors.h"
#include "PropertyBag.h"

#include <QString>
#include <functional>

class QFont;
class QLabel;
class QWidget;

// What the colour label and the colour frame have in common: the caption font, the four
// colours and the caption, stored in the property bag under the same keys in the same
// order. Internal to the library (not installed); a control hands in its own fields.
class ColourControlState
{
public:
    static constexpr quint32 kDefaultFrameColor1 = 0x00FFFFFF;
    static constexpr quint32 kDefaultFrameColor2 = 0x00FE8B36;
    static constexpr double kDefaultFontSize = 8.25;
    static QString defaultFontName();

    struct Fields
    {
        QString &caption;
        quint32 &foreColor;
        quint32 &backColor;
        quint32 &frameColor1;
        quint32 &frameColor2;
        bool &fontBold;
        double &fontSize;
        bool &fontItalic;
        QString &fontName;
    };

    // `fitLabel` fits the caption label after its text or font changed.
    ColourControlState(const char *module, QWidget &control, QLabel &picture, QLabel &label,
                       const Fields &fields, std::function<void()> fitLabel);

    // The default caption font, remembered in the font fields, and the default frame colours.
    void initialize();
    // Family, size (when it has one), weight, italic, strike-out and underline of `font`.
    void setCaptionFont(const QFont &font);
    // Whether the control's font is the caption's (false after a host set the Qt font).
    bool fontsInStep() const;
    // The back colour fills surface and label, the fore colour is the text.
    void applyColours();

    // Frame colours, fore and back colour, then the caption: each key its own step.
    void readColoursAndCaption(const PropertyBag &bag);
    // Bold, size, italic and name of the caption font: each key its own step.
    void readFont(const PropertyBag &bag);
    // The font keys, the colour keys and the caption, in their stored order.
    void writeFontColoursAndCaption(PropertyBag &bag);

    // One statement of ReadProperties or WriteProperties: a failure is reported and the
    // next statement runs.
    template<typename Step> void readStep(Step &&step) const
    {
        ChromellErrors::guard(m_module, "UserControl_ReadProperties", step);
    }
    template<typename Step> void writeStep(Step &&step) const
    {
        ChromellErrors::guard(m_module, "UserControl_WriteProperties", step);
    }

private:
    void setFonts(const QFont &font);

    const char *m_module;
    QWidget &m_control;
    QLabel &m_picture;
    QLabel &m_label;
    Fields m_fields;
    std::function<void()> m_fitLabel;
};
