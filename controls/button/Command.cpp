#include "Command.h"

#include "ControlColour.h"
#include "ControlInput.h"
#include "KeyCodeMap.h"
#include "PropertyValue.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QShortcutEvent>
#include <QTimer>
#include <chrono>

namespace {

// The hover ends as soon as the timer service notices the pointer elsewhere.
constexpr std::chrono::milliseconds kHoverPoll {1};
// The container's foreground: the system's button text colour.
constexpr quint32 kAmbientForeColor = ControlColour::kButtonText;

struct Rgb
{
    int r;
    int g;
    int b;
    QColor color() const { return QColor(r, g, b); }
};

constexpr Rgb kBorder {0, 60, 116};
constexpr Rgb kCornerOuter {122, 149, 168};
constexpr Rgb kCornerInner {37, 87, 131};
constexpr Rgb kDisabledFill {245, 244, 234};
constexpr Rgb kDisabledFrame {201, 199, 186};
constexpr Rgb kDisabledCornerOuter {216, 213, 199};
constexpr Rgb kDisabledCornerInner {234, 233, 222};
constexpr Rgb kDisabledCaption {161, 161, 146};

// Drawing in whole pixels. A row from x0 to x1 covers x0 up to but not
// including x1; anything outside the surface is clipped away.
class Pixels
{
public:
    explicit Pixels(QPainter &painter)
        : m_painter(painter)
    {
    }
    void row(int x0, int x1, int y, const Rgb &c)
    {
        if (x1 > x0)
            m_painter.fillRect(x0, y, x1 - x0, 1, c.color());
    }
    void pixel(int x, int y, const Rgb &c) { m_painter.fillRect(x, y, 1, 1, c.color()); }
    void rect(int x, int y, int w, int h, const Rgb &c)
    {
        if (w > 0 && h > 0)
            m_painter.fillRect(x, y, w, h, c.color());
    }

private:
    QPainter &m_painter;
};

// The access key of a caption: the character after the first single "&", in lower case.
QString accessKeyOf(const QString &c)
{
    if (c.size() <= 1)
        return {};
    const qsizetype first = c.indexOf(QLatin1Char('&'));
    if (first < 0 || first + 1 >= c.size())
        return {};
    if (c.at(first + 1) != QLatin1Char('&'))
        return c.at(first + 1).toLower();
    const qsizetype next = c.indexOf(QLatin1Char('&'), first + 2);
    if (next >= 0 && next + 1 < c.size() && c.at(next + 1) != QLatin1Char('&'))
        return c.at(next + 1).toLower();
    return {};
}

// How the button is drawn.
enum class Look { Normal, Hover, Focus, Pressed, Disabled };

} // namespace

// The control's state, kept out of the installed header so that the library can change
// it without breaking programs built against it.
class CommandPrivate
{
public:
    quint32 m_foreColor = kAmbientForeColor;
    quint32 m_foreHover = kAmbientForeColor;
    bool m_hovering = false;
    bool m_focused = false;
    short m_pressButton = 0;
    int m_lastKeyDown = 0;
    bool m_moveSeen = false;
    bool m_mouseDown = false;
    Look m_look = Look::Normal;
    bool m_captionHover = false;
    bool m_settingCaptionFont = false;
    QString m_syncedCaption;
    QKeySequence m_accessSequence;
    int m_accessShortcut = 0;
    QRegion m_region;
    QTimer m_hoverTimer;
};

Command::Command(QWidget *parent)
    : QAbstractButton(parent)
    , d(std::make_unique<CommandPrivate>())
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    d->m_hoverTimer.setInterval(kHoverPoll);
    connect(&d->m_hoverTimer, &QTimer::timeout, this, &Command::onHoverTick);
    // Every click, from the user or requested from outside (accessibility's press action,
    // click()), arrives as the standard clicked() and raises Click.
    connect(this, &QAbstractButton::clicked, this, &Command::actAsClick);
    InitProperties();
}

Command::~Command() = default;

QString Command::Caption() const
{
    return text();
}

void Command::setCaption(const QString &caption)
{
    setText(caption);
    syncCaption(false);
    Repaint(false);
    emit PropertyChanged(QStringLiteral("Caption"));
}

bool Command::Enabled() const
{
    return isEnabled();
}

QFont Command::Font() const
{
    return font();
}

void Command::setCaptionFont(const QFont &captionFont)
{
    d->m_settingCaptionFont = true;
    setFont(captionFont);
    d->m_settingCaptionFont = false;
    updateGeometry();
    Repaint(false);
    emit PropertyChanged(QStringLiteral("Font"));
}

quint32 Command::ForeColor() const
{
    return d->m_foreColor;
}

void Command::setForeColor(quint32 colour)
{
    d->m_foreColor = colour;
    Repaint(false);
    emit PropertyChanged(QStringLiteral("ForeColor"));
}

quint32 Command::ForeHover() const
{
    return d->m_foreHover;
}

void Command::setForeHover(quint32 colour)
{
    d->m_foreHover = colour;
    emit PropertyChanged(QStringLiteral("ForeHover"));
}

void Command::InitProperties()
{
    setFont(QFont());
    d->m_foreColor = kAmbientForeColor;
    d->m_foreHover = kAmbientForeColor;
    setEnabled(true);
    setText(QStringLiteral("Command") + objectName().mid(8));
    syncCaption(false);
    Repaint(false);
}

void Command::ReadProperties(const PropertyBag &bag)
{
    // A stored value of the wrong type leaves the property at its default.
    const auto read = [](const char *key, auto &&apply) {
        try {
            apply();
        } catch (const ControlError &e) {
            qWarning("Command: property %s not restored: %s", key, qPrintable(e.description()));
        }
    };
    read("Enabled",
         [&] { setEnabled(PropertyValue::toBoolean(bag.ReadProperty("Enabled", true))); });
    read("Font", [&] {
        const QVariant stored = bag.ReadProperty("Font", QVariant());
        setFont(stored.isValid() ? PropertyValue::toFont(stored) : QFont());
    });
    read("Caption",
         [&] { setText(PropertyValue::toText(bag.ReadProperty("Caption", objectName()))); });
    read("ForeColor", [&] {
        d->m_foreColor = PropertyValue::toLong(bag.ReadProperty("ForeColor", kAmbientForeColor));
    });
    read("ForeHover", [&] {
        d->m_foreHover = PropertyValue::toLong(bag.ReadProperty("ForeHover", kAmbientForeColor));
    });
    syncCaption(false);
    updateGeometry();
    Repaint(false);
}

void Command::WriteProperties(PropertyBag &bag)
{
    bag.WriteProperty("Enabled", isEnabled(), true);
    bag.WriteProperty("Font", font(), ambientFont());
    bag.WriteProperty("Caption", text(), objectName());
    bag.WriteProperty("ForeColor", d->m_foreColor);
    bag.WriteProperty("ForeHover", d->m_foreHover, kAmbientForeColor);
}

QString Command::AccessKey() const
{
    return accessKeyOf(text());
}

bool Command::isHovering() const
{
    return d->m_hovering;
}

QSize Command::sizeHint() const
{
    const QRect box = fontMetrics().boundingRect(QRect(0, 0, 1000, 1000),
                                                 Qt::AlignHCenter | Qt::TextShowMnemonic, text());
    return {std::max(75, box.width() + 20), std::max(23, box.height() + 10)};
}

QSize Command::minimumSizeHint() const
{
    return {16, std::max(16, fontMetrics().height() + 4)};
}

bool Command::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        // The caption may have come in through setText(), whose mnemonic shortcut is
        // replaced by the access key here.
        syncCaption();
        if (static_cast<QShortcutEvent *>(event)->key() == d->m_accessSequence && isEnabled()) {
            d->m_pressButton = 1;
            click();
        }
        return true;
    }
    return QAbstractButton::event(event);
}

void Command::paintEvent(QPaintEvent *)
{
    syncCaption();
    QPainter painter(this);
    Pixels px(painter);
    const int w = width();
    const int h = height();
    const int L = 0;
    const int T = 0;
    const int R = w - 1;
    const int B = h;

    const auto clear = [&] { painter.fillRect(rect(), palette().color(QPalette::Base)); };

    const auto normalFace = [&] {
        clear();
        Rgb c {255, 255, 253};
        for (int y = T + 3; y <= B - 3; ++y) {
            px.row(L, R, y, c);
            if (c.b > 229)
                c = {c.r - 1, c.g - 1, c.b - 1};
        }
        px.row(L, R, B - 2, {214, 208, 197});
        px.row(L, R, B - 3, {226, 223, 214});
        px.row(L, R, B - 4, {236, 235, 230});
    };

    // Bands drawn with a 4-pixel pen centred on y cover rows y - 2 to y + 1.
    const auto pressedFace = [&] {
        clear();
        bool first = true;
        for (int y = T + 3; y <= B - 2; y += 4) {
            px.rect(L, y - 2, R - L, 4, first ? Rgb {226, 225, 218} : Rgb {225, 224, 217});
            first = false;
        }
        px.row(L, R, T + 1, {209, 204, 192});
        px.row(L, R, T + 2, {220, 216, 207});
        px.row(L, R, B - 3, {234, 233, 227});
        px.row(L, R, B - 2, {242, 241, 238});
    };

    const auto hoverRim = [&] {
        px.row(L + 2, R - 1, T + 1, {255, 240, 207});
        px.row(L + 1, R, T + 2, {253, 216, 137});
        Rgb outer {254, 223, 154};
        for (int y = T + 2; y <= B - 3; ++y) {
            px.pixel(L + 1, y, outer);
            px.pixel(R - 1, y, outer);
            if (outer.b >= 49)
                outer = {outer.r - 1, outer.g - 3, outer.b - 7};
        }
        Rgb inner {252, 210, 121};
        for (int y = T + 3; y <= B - 3; ++y) {
            px.pixel(L + 2, y, inner);
            px.pixel(R - 2, y, inner);
            if (inner.b > 56)
                inner = {inner.r - 1, inner.g - 4, inner.b - 8};
        }
        px.row(L + 3, R, B - 3, inner);
        px.row(L + 2, R - 1, B - 2, {229, 151, 0});
    };

    // Points drawn with a 2-pixel pen at (x, y) cover columns x - 1, x and rows
    // y - 1, y.
    const auto focusRim = [&] {
        px.row(L + 2, R - 1, T + 1, {206, 231, 251});
        px.row(L + 1, R, T + 2, {188, 212, 246});
        Rgb c {186, 211, 246};
        for (int y = T + 3; y <= B - 4; ++y) {
            px.rect(L + 1, y - 1, 2, 2, c);
            px.rect(R - 2, y - 1, 2, 2, c);
            if (c.b > 227)
                c = {c.r - 4, c.g - 3, c.b - 1};
        }
        px.row(L + 1, R - 1, B - 3, c);
        px.pixel(L + 2, B - 2, {77, 125, 193});
        px.row(L + 3, R - 2, B - 2, {97, 125, 229});
        px.pixel(R - 2, B - 2, {77, 125, 193});
    };

    const auto frame = [&](const Rgb &c) {
        px.row(0, w, 0, c);
        px.row(0, w, h - 1, c);
        px.rect(0, 0, 1, h, c);
        px.rect(w - 1, 0, 1, h, c);
    };

    const auto shadeCorners = [&](const Rgb &outer, const Rgb &inner) {
        px.pixel(L, T + 1, outer);
        px.pixel(L + 1, T, outer);
        px.pixel(L + 1, T + 1, inner);
        px.pixel(R - 1, T, outer);
        px.pixel(R, T + 1, outer);
        px.pixel(R - 1, T + 1, inner);
        px.pixel(L, B - 2, outer);
        px.pixel(L + 1, B - 1, outer);
        px.pixel(L + 1, B - 2, inner);
        px.pixel(R, B - 2, outer);
        px.pixel(R - 1, B - 1, outer);
        px.pixel(R - 1, B - 2, inner);
    };

    const auto border = [&] {
        frame(kBorder);
        shadeCorners(kCornerOuter, kCornerInner);
    };

    const auto disabledLook = [&] {
        clear();
        px.rect(0, 0, w, h, kDisabledFill);
        frame(kDisabledFrame);
        shadeCorners(kDisabledCornerOuter, kDisabledCornerOuter);
        px.pixel(L + 1, T + 2, kDisabledCornerInner);
        px.pixel(L + 2, T + 1, kDisabledCornerInner);
        px.pixel(R - 2, T + 1, kDisabledCornerInner);
        px.pixel(R - 1, T + 2, kDisabledCornerInner);
        px.pixel(L + 1, B - 3, kDisabledCornerInner);
        px.pixel(L + 2, B - 2, kDisabledCornerInner);
        px.pixel(R - 1, B - 3, kDisabledCornerInner);
        px.pixel(R - 2, B - 2, kDisabledCornerInner);
    };

    switch (d->m_look) {
    case Look::Disabled:
        disabledLook();
        break;
    case Look::Pressed:
        pressedFace();
        border();
        break;
    case Look::Hover:
        normalFace();
        hoverRim();
        border();
        break;
    case Look::Focus:
        normalFace();
        focusRim();
        border();
        break;
    case Look::Normal:
        normalFace();
        border();
        break;
    }

    QColor pen;
    if (d->m_look == Look::Disabled)
        pen = kDisabledCaption.color();
    else
        pen = ControlColour::toColor(d->m_captionHover ? d->m_foreHover : d->m_foreColor,
                                     palette());
    constexpr int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const int textHeight = painter.fontMetrics().boundingRect(rect(), flags, text()).height();
    painter.setPen(pen);
    painter.drawText(QRect(0, (h - textHeight) / 2, w, textHeight), flags, text());
}

void Command::resizeEvent(QResizeEvent *event)
{
    QAbstractButton::resizeEvent(event);
    updateRegion();
    Repaint(false);
}

void Command::showEvent(QShowEvent *event)
{
    QAbstractButton::showEvent(event);
    Repaint(false);
}

void Command::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        Repaint(false);
        emit PropertyChanged(QStringLiteral("Enabled"));
    }
    // The Qt font is the Font property: a host setting it changes the property too.
    if (event->type() == QEvent::FontChange && !d->m_settingCaptionFont)
        emit PropertyChanged(QStringLiteral("Font"));
}

void Command::mousePressEvent(QMouseEvent *event)
{
    short button = ControlInput::buttonCode(event->button());
    short shift = ControlInput::shiftCode(event->modifiers());
    float x = float(event->position().x());
    float y = float(event->position().y());
    d->m_mouseDown = true;
    emit MouseDown(button, shift, x, y);
    // The host may have changed the button it was told of.
    d->m_pressButton = button;
    // The pressed face shows for the left button only.
    Repaint(true);
    if (event->button() == Qt::LeftButton)
        setUserDown(true);
}

void Command::mouseReleaseEvent(QMouseEvent *event)
{
    short button = ControlInput::buttonCode(event->button());
    short shift = ControlInput::shiftCode(event->modifiers());
    float x = float(event->position().x());
    float y = float(event->position().y());
    // The window system's click: pressed on the button and released over it.
    const bool clicked = d->m_mouseDown && rect().contains(event->position().toPoint());
    d->m_mouseDown = false;
    emit MouseUp(button, shift, x, y);
    Repaint(false);
    setUserDown(false);
    // Clicks with buttons other than the left one raise nothing.
    if (clicked && d->m_pressButton == 1)
        emit QAbstractButton::clicked(isChecked());
}

// The second click of a double click already arrives as a press and a release
// of its own, so it acts as another click; the double click adds nothing.
void Command::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void Command::mouseMoveEvent(QMouseEvent *event)
{
    short button = ControlInput::buttonCode(event->buttons());
    short shift = ControlInput::shiftCode(event->modifiers());
    float x = float(event->position().x());
    float y = float(event->position().y());
    if (button == 0 || button == 1) {
        if (isOver(event->globalPosition().toPoint())) {
            // Only the first moves over the button are reported.
            if (d->m_moveSeen)
                return;
            d->m_moveSeen = true;
            if (button == 0 && !d->m_hovering) {
                d->m_hoverTimer.start();
                d->m_hovering = true;
                d->m_moveSeen = false;
                Repaint(false);
                emit MouseOver();
            }
            if (button == 1)
                Repaint(true, true);
        } else {
            if (!d->m_moveSeen)
                return;
            Repaint(false);
        }
    }
    emit MouseMove(button, shift, x, y);
}

void Command::keyPressEvent(QKeyEvent *event)
{
    short keyCode = KeyCodeMap::keyCode(event);
    short shift = ControlInput::shiftCode(event->modifiers());
    d->m_lastKeyDown = keyCode;
    bool handled = true;
    switch (keyCode) {
    case KeyCodeMap::kSpace:
    case KeyCodeMap::kEnter:
        Repaint(true);
        setUserDown(true);
        break;
    case KeyCodeMap::kLeft:
    case KeyCodeMap::kRight:
        focusNextPrevChild(true);
        break;
    case KeyCodeMap::kUp:
    case KeyCodeMap::kDown:
        focusNextPrevChild(false);
        break;
    default:
        handled = false;
        break;
    }
    emit KeyDown(keyCode, shift);
    if (short keyAscii = KeyCodeMap::keyAscii(event))
        emit KeyPress(keyAscii);
    // Other keys travel on, so the window still sees Escape and its short-cuts.
    event->setAccepted(handled);
}

void Command::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its key-down only; its key-up comes once, at the end.
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    short keyCode = KeyCodeMap::keyCode(event);
    short shift = ControlInput::shiftCode(event->modifiers());
    const bool handled = keyCode == KeyCodeMap::kSpace || keyCode == KeyCodeMap::kEnter;
    if ((keyCode == KeyCodeMap::kEnter && d->m_lastKeyDown == KeyCodeMap::kEnter)
        || (keyCode == KeyCodeMap::kSpace && d->m_lastKeyDown == KeyCodeMap::kSpace)) {
        Repaint(false);
        d->m_pressButton = 1;
        setUserDown(false);
        emit QAbstractButton::clicked(isChecked());
    } else if (handled) {
        setUserDown(false);
    }
    emit KeyUp(keyCode, shift);
    event->setAccepted(handled);
}

void Command::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    d->m_focused = true;
    if (isEnabled()) {
        d->m_pressButton = 1;
        Repaint(false);
    }
}

void Command::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    setUserDown(false);
    d->m_focused = false;
    Repaint(false);
}

bool Command::pointerIsOver() const
{
    return isOver(QCursor::pos());
}

bool Command::isOver(const QPoint &globalPosition) const
{
    return QApplication::widgetAt(globalPosition) == this;
}

// Chooses the look from the state now; the next paint draws it.
void Command::Repaint(bool pressed, bool drawHovering)
{
    const bool hovering = d->m_hovering || drawHovering;
    if (!isEnabled())
        d->m_look = Look::Disabled;
    else if (pressed && d->m_pressButton == 1)
        d->m_look = Look::Pressed;
    else if (hovering)
        d->m_look = Look::Hover;
    else if (d->m_focused)
        d->m_look = Look::Focus;
    else
        d->m_look = Look::Normal;
    d->m_captionHover = hovering;
    update();
}

// The button's outline: its rectangle less the four corner pixels.
void Command::updateRegion()
{
    const int w = width();
    const int h = height();
    QRegion region(0, 0, w, h);
    region -= QRegion(0, 0, 1, 1);
    region -= QRegion(0, h - 1, 1, 1);
    region -= QRegion(w - 1, 0, 1, 1);
    region -= QRegion(w - 1, h - 1, 1, 1);
    if (region == d->m_region)
        return;
    d->m_region = region;
    setMask(region);
    update();
}

// The caption is the button's Qt text. When the text changed (through setCaption, the
// property store or setText()), the access key is worked out again and grabbed in place of
// the standard mnemonic, whose rule differs.
void Command::syncCaption(bool notify)
{
    if (d->m_syncedCaption == text() && !d->m_syncedCaption.isNull())
        return;
    d->m_syncedCaption = text();
    if (d->m_syncedCaption.isNull())
        d->m_syncedCaption = QLatin1String("");
    setShortcut(QKeySequence());
    if (d->m_accessShortcut != 0) {
        releaseShortcut(d->m_accessShortcut);
        d->m_accessShortcut = 0;
    }
    const QString key = accessKeyOf(d->m_syncedCaption);
    d->m_accessSequence
        = key.isEmpty() ? QKeySequence() : QKeySequence(QStringLiteral("Alt+") + key.toUpper());
    if (!d->m_accessSequence.isEmpty())
        d->m_accessShortcut = grabShortcut(d->m_accessSequence);
    updateGeometry();
    if (notify)
        emit PropertyChanged(QStringLiteral("Caption"));
}

// The standard down state and its pressed()/released() signals follow the user's press.
void Command::setUserDown(bool down)
{
    if (isDown() == down)
        return;
    setDown(down);
    if (down)
        emit pressed();
    else
        emit released();
}

void Command::actAsClick()
{
    d->m_pressButton = 1;
    Repaint(false);
    emit Click();
}

void Command::onHoverTick()
{
    if (pointerIsOver())
        return;
    d->m_hoverTimer.stop();
    d->m_hovering = false;
    d->m_moveSeen = false;
    Repaint(false);
    emit MouseOut();
}

QFont Command::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}
