#pragma once

#include "PropertyBag.h"
#include "chromell_global.h"

#include <QFont>
#include <QString>
#include <QWidget>
#include <memory>

class ColourControlState;
class ctlFramePrivate;

// A container frame: a coloured area with the two-colour etched border and a
// caption that interrupts the top edge, placed left, centred or right. The host
// creates its controls with the frame as parent; they lie above the frame's own
// surface `Picture1` and caption label `Label`.
class CHROMELL_EXPORT ctlFrame : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(FRAMEBORDERSTYLE BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(FRAMECAPTIONPOSITION CaptionPos READ CaptionPos WRITE setCaptionPos)
    Q_PROPERTY(QFont Font READ Font WRITE setCaptionFont)
    Q_PROPERTY(quint32 FrameColor1 READ FrameColor1 WRITE setFrameColor1)
    Q_PROPERTY(quint32 FrameColor2 READ FrameColor2 WRITE setFrameColor2)

public:
    enum FRAMECAPTIONPOSITION { FRAME_LEFT = 0, FRAME_CENETR = 1, FRAME_RIGHT = 2 };
    Q_ENUM(FRAMECAPTIONPOSITION)
    enum FRAMEBORDERSTYLE { FRAMEBORDER_NO = 0, FARMEBORDER_SINGLE = 1 };
    Q_ENUM(FRAMEBORDERSTYLE)

    explicit ctlFrame(QWidget *parent = nullptr);
    ~ctlFrame() override;

    FRAMEBORDERSTYLE BorderStyle() const;
    void setBorderStyle(FRAMEBORDERSTYLE style);
    bool Enabled() const;
    quint32 ForeColor() const;
    void setForeColor(quint32 colour);
    quint32 BackColor() const;
    void setBackColor(quint32 colour);
    QString Caption() const;
    void setCaption(const QString &caption);
    FRAMECAPTIONPOSITION CaptionPos() const;
    void setCaptionPos(FRAMECAPTIONPOSITION position);
    QFont Font() const;
    void setCaptionFont(const QFont &font);
    quint32 FrameColor1() const;
    void setFrameColor1(quint32 colour);
    quint32 FrameColor2() const;
    void setFrameColor2(quint32 colour);

    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag);

    QSize sizeHint() const override;

signals:
    void Resize();
    void Click();
    void DblClick();
    void MouseDown(short &Button, short &Shift, float &x, float &y);
    void MouseUp(short &Button, short &Shift, float &x, float &y);
    void MouseMove(short &Button, short &Shift, float &x, float &y);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The font, colours and caption in the form shared with the other colour control.
    ColourControlState shared();
    void RedrawPic();
    void SetLabelPos();
    void applyColours();
    void fitLabel();
    void mouseOnPart(QObject *part, QMouseEvent *event);

    std::unique_ptr<ctlFramePrivate> d;
};

using FRAMECAPTIONPOSITION = ctlFrame::FRAMECAPTIONPOSITION;
using FRAMEBORDERSTYLE = ctlFrame::FRAMEBORDERSTYLE;
using enum ctlFrame::FRAMECAPTIONPOSITION;
using enum ctlFrame::FRAMEBORDERSTYLE;
