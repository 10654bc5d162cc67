#pragma once

#include "PropertyBag.h"
#include "chromell_global.h"

#include <QFont>
#include <QString>
#include <QWidget>
#include <memory>

class ColourControlState;
class ctlLabelPrivate;

// A text label on a coloured background with an optional two-colour etched
// border. Built from a picture surface `Picture1` that fills the control and
// carries the border, and the text label `Label` on it.
class CHROMELL_EXPORT ctlLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(LABELBORDERSTYLE BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 FrameColor1 READ FrameColor1 WRITE setFrameColor1)
    Q_PROPERTY(quint32 FrameColor2 READ FrameColor2 WRITE setFrameColor2)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QFont Font READ Font WRITE setCaptionFont)

public:
    enum LABELBORDERSTYLE { LABELBORDER_NO = 0, LABELBORDER_SINGLE = 1 };
    Q_ENUM(LABELBORDERSTYLE)

    explicit ctlLabel(QWidget *parent = nullptr);
    ~ctlLabel() override;

    bool AutoSize() const;
    void setAutoSize(bool autoSize);
    LABELBORDERSTYLE BorderStyle() const;
    void setBorderStyle(LABELBORDERSTYLE style);
    bool Enabled() const;
    QString Caption() const;
    void setCaption(const QString &caption);
    quint32 ForeColor() const;
    void setForeColor(quint32 colour);
    quint32 FrameColor1() const;
    void setFrameColor1(quint32 colour);
    quint32 FrameColor2() const;
    void setFrameColor2(quint32 colour);
    quint32 BackColor() const;
    void setBackColor(quint32 colour);
    QFont Font() const;
    void setCaptionFont(const QFont &font);

    // Sizes the control to its text label.
    void SetSize();

    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag);

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The font, colours and caption in the form shared with the other colour control.
    ColourControlState shared();
    void RedrawPic();
    void CheckResize();
    void layOut();
    void applyColours();
    void fitLabel();

    std::unique_ptr<ctlLabelPrivate> d;
};

using LABELBORDERSTYLE = ctlLabel::LABELBORDERSTYLE;
using enum ctlLabel::LABELBORDERSTYLE;
