#include "link/Form_Com.h"

#include "Command.h"
#include "errors/ErrorGuard.h"
#include "link/HexDigits.h"
#include "link/LinkHost.h"
#include "link/ReceiverLink.h"
#include "platform/FixedPitchFont.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QResizeEvent>

namespace {
constexpr qsizetype kListingLimit = 65000;
constexpr int kMargin = 6;
constexpr int kButtonWidth = 75;
constexpr int kRowHeight = 25;

bool isHexKey(const QString &text)
{
    return text.size() == 1 && HexDigits::digit(text.front()).has_value();
}

QFont terminalFont()
{
    return FixedPitchFont::resolve(QFont(QStringLiteral("Courier")));
}
} // namespace

Form_Com::Form_Com(ReceiverLink *link, LinkHost *host, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_link(link)
    , m_host(host)
{
    buildTerminal();
    connect(m_link, &ReceiverLink::trafficLogged, this, &Form_Com::appendTraffic);
    connect(m_link, &ReceiverLink::logFileChanged, this, &Form_Com::showLogFile);
}

Form_Com::~Form_Com() = default;

void Form_Com::buildTerminal()
{
    setWindowTitle(tr("DEBUG  - COM - TERMINAL"));

    Text_send = new QLineEdit(this);
    Text_send->setObjectName(QStringLiteral("Text_send"));
    Text_send->setAccessibleName(tr("Code to send"));
    Text_send->setFont(terminalFont());
    // The key filter handles typing; the validator also keeps pasted text hexadecimal.
    Text_send->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-Fa-f]*")), Text_send));
    Text_send->setText(QStringLiteral("07A1D"));
    Text_send->installEventFilter(this);

    cmd_send = new Command(this);
    cmd_send->setObjectName(QStringLiteral("cmd_send"));
    cmd_send->setCaption(tr("&Send"));
    connect(cmd_send, &Command::Click, this, &Form_Com::cmd_send_Click);

    cmd_copy = new Command(this);
    cmd_copy->setObjectName(QStringLiteral("cmd_copy"));
    cmd_copy->setCaption(tr("&Copy"));
    connect(cmd_copy, &Command::Click, this, &Form_Com::cmd_copy_Click);

    cmd_clear = new Command(this);
    cmd_clear->setObjectName(QStringLiteral("cmd_clear"));
    cmd_clear->setCaption(tr("&Clear"));
    connect(cmd_clear, &Command::Click, this, &Form_Com::cmd_clear_Click);

    Text_Com = new QPlainTextEdit(this);
    Text_Com->setObjectName(QStringLiteral("Text_Com"));
    Text_Com->setAccessibleName(tr("Traffic"));
    Text_Com->setReadOnly(true);
    Text_Com->setFont(terminalFont());
    Text_Com->setLineWrapMode(QPlainTextEdit::NoWrap);

    int x = kMargin;
    Text_send->setGeometry(x, kMargin, 110, kRowHeight);
    x += 110 + kMargin;
    for (Command *button : {cmd_send, cmd_copy, cmd_clear}) {
        button->setGeometry(x, kMargin, kButtonWidth, kRowHeight);
        x += kButtonWidth + kMargin;
    }
    m_logPlace = new QLabel(this);
    m_logPlace->setObjectName(QStringLiteral("logPlace"));
    m_logPlace->setGeometry(kMargin, kRowHeight + 2 * kMargin, std::max(x, 480) - 2 * kMargin,
                            kRowHeight);
    Text_Com->move(0, 2 * kRowHeight + 3 * kMargin);
    resize(std::max(x, 480), 320);
}

void Form_Com::showLogFile(const QString &path, bool writable)
{
    if (path.isEmpty()) {
        m_logText.clear();
    } else if (writable) {
        m_logText = tr("Log file: %1").arg(path);
    } else {
        // Later lines are not written until logging is switched on again: say so, and why.
        const QString failure = m_link->logFile().failure();
        m_logText = tr("Logging stopped: %1").arg(failure.isEmpty() ? path : failure);
        appendTraffic(m_logText);
    }
    fitLogText();
}

void Form_Com::fitLogText()
{
    // A text wider than the row keeps its start and the file's name; the tool tip shows
    // it whole.
    m_logPlace->setText(m_logPlace->fontMetrics().elidedText(m_logText, Qt::ElideMiddle,
                                                             m_logPlace->width()));
    m_logPlace->setToolTip(m_logText);
}

QString Form_Com::logFileText() const
{
    return m_logText;
}

void Form_Com::appendTraffic(const QString &line)
{
    if (isVisible())
        appendLine(line);
}

void Form_Com::appendNote(const QString &line)
{
    appendLine(line);
}

void Form_Com::appendLine(const QString &line)
{
    if (m_listingChars > kListingLimit) {
        Text_Com->clear();
        m_listingChars = 0;
    }
    Text_Com->moveCursor(QTextCursor::End);
    Text_Com->insertPlainText(line + QLatin1Char('\n'));
    m_listingChars += line.size() + 2;
    Text_Com->moveCursor(QTextCursor::End);
    Text_Com->ensureCursorVisible();
}

void Form_Com::cmd_send_Click()
{
    const QString code = Text_send->text();
    if (code.size() == 5)
        m_link->SendCommand(code);
}

void Form_Com::cmd_copy_Click()
{
    guarded("Form_Com", "cmd_copy_Click", [&] {
        // The listing goes out with CR LF line ends, as its lines are counted.
        QString listing = Text_Com->toPlainText();
        listing.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        QGuiApplication::clipboard()->setText(listing);
    });
}

void Form_Com::cmd_clear_Click()
{
    Text_Com->clear();
    m_listingChars = 0;
}

bool Form_Com::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text_send && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            cmd_send_Click();
            return true;
        }
        // Keys that type nothing (arrows, Delete, shortcuts) keep working; of the
        // typing keys only hexadecimal digits get through.
        const QString text = key->text();
        const bool types = !text.isEmpty() && text.front().isPrint();
        if (types && !isHexKey(text))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form_Com::closeEvent(QCloseEvent *event)
{
    if (m_host && m_host->appClosing()) {
        event->accept();
    } else {
        event->ignore();
        hide();
    }
    if (m_host)
        m_host->terminalClosed();
}

void Form_Com::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isMinimized() || !Text_Com)
        return;
    const int top = Text_Com->y();
    Text_Com->setGeometry(0, top, width(), std::max(0, height() - top));
    if (m_logPlace) {
        m_logPlace->setGeometry(kMargin, m_logPlace->y(), std::max(0, width() - 2 * kMargin),
                                kRowHeight);
        fitLogText();
    }
}
