#include "errors/Form_ErrBox.h"

#include "errors/UrlEscape.h"
#include "platform/Shell.h"
#include "platform/UserDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {

// Design geometry in pixels (the design width is kDesignWidthTwips).
constexpr int kDesignWidth = Form_ErrBox::kDesignWidthTwips / Form_ErrBox::kTwipsPerPixel;
constexpr int kDesignHeight = 220;
constexpr int kMargin = 12;
constexpr int kLabelLeft = Form_ErrBox::kLabelLeftTwips / Form_ErrBox::kTwipsPerPixel;
constexpr int kIconSize = 32;
constexpr int kButtonTop = 182;
constexpr int kButtonHeight = 26;
constexpr int kSendWidth = 96;
constexpr int kCloseWidth = 88;
constexpr int kButtonGap = 8;

const QString kLineBreak = QStringLiteral("\r\n");

QString programName()
{
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("orvane") : name;
}

QLabel *plainLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    // Descriptions come from anywhere; never let markup in them be rendered.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

Form_ErrBox::Form_ErrBox(Shell *shell, UserDialogs *dialogs, QWidget *parent)
    : QDialog(parent)
    , m_shell(shell)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Form_ErrBox"));
    setWindowTitle(tr("Error"));
    setFixedSize(kDesignWidth, kDesignHeight);

    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(kIconSize, kIconSize));
    Picture2->setGeometry(kMargin + 8, kMargin, kIconSize, kIconSize);
    Picture2->setAccessibleName(tr("Error"));

    Label1 = plainLabel(this, QStringLiteral("Label1"));
    Label1->move(kLabelLeft, kMargin);
    Label2 = plainLabel(this, QStringLiteral("Label2"));
    Label2->move(kLabelLeft, kMargin + 20);

    Label3 = new QLabel(tr("Error Description"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(kMargin, 62);
    Label3->adjustSize();

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setTabChangesFocus(true);
    Text1->setGeometry(kMargin, 82, kDesignWidth - 2 * kMargin, 90);
    Label3->setBuddy(Text1);

    cmdSend = new QPushButton(tr("&Send Report"), this);
    cmdSend->setObjectName(QStringLiteral("cmdSend"));
    cmdSend->setAutoDefault(false);
    cmdSend->setGeometry(kDesignWidth - kMargin - kCloseWidth - kButtonGap - kSendWidth, kButtonTop,
                         kSendWidth, kButtonHeight);

    cmdClose = new QPushButton(tr("&Cancel"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    cmdClose->setGeometry(kDesignWidth - kMargin - kCloseWidth, kButtonTop, kCloseWidth,
                          kButtonHeight);

    connect(cmdSend, &QPushButton::clicked, this, &Form_ErrBox::cmdSend_Click);
    connect(cmdClose, &QPushButton::clicked, this, &Form_ErrBox::cmdClose_Click);
}

QString Form_ErrBox::reportAddress()
{
    return QStringLiteral("orvane@codeberg.org");
}

void Form_ErrBox::prepare(const QString &procedure, const QString &module, int number,
                          const QString &description, int line)
{
    setWindowTitle(tr("Error in ") + programName());

    Label1->setText(tr("Error in ") + module + QLatin1Char('-') + procedure + QLatin1Char(':'));
    QString what = QString::number(number) + QStringLiteral(", ") + description;
    if (line >= 1)
        what += tr(" (Line ") + QString::number(line) + QLatin1Char(')');
    Label2->setText(what);
    Label1->adjustSize();
    Label2->adjustSize();

    const int labelWidth = std::max(Label1->width(), Label2->width());
    const int neededTwips = labelWidth * kTwipsPerPixel + kLabelRightMarginTwips + kLabelLeftTwips;
    if (neededTwips <= kDesignWidthTwips)
        return;

    int newWidth = (neededTwips + kTwipsPerPixel - 1) / kTwipsPerPixel;
    // A very long description must not push the buttons off the screen.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        newWidth = std::min(newWidth, std::max(kDesignWidth, screen->availableSize().width()));
    const int grow = newWidth - kDesignWidth;
    setFixedSize(newWidth, kDesignHeight);
    Text1->resize(kDesignWidth - 2 * kMargin + grow, Text1->height());
    cmdSend->move(cmdSend->x() + grow, cmdSend->y());
    cmdClose->move(cmdClose->x() + grow, cmdClose->y());
    Label1->setToolTip(Label1->text());
    Label2->setToolTip(Label2->text());
}

void Form_ErrBox::ShowErrBox(const QString &procedure, const QString &module, int number,
                             const QString &description, int line)
{
    prepare(procedure, module, number, description, line);

    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    showOnTop();
    exec();
}

void Form_ErrBox::showWithoutWaiting(const QString &procedure, const QString &module, int number,
                                     const QString &description, int line)
{
    prepare(procedure, module, number, description, line);
    showOnTop();
}

void Form_ErrBox::showOnTop()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowModality(Qt::ApplicationModal);
    QApplication::beep();
    Text1->setFocus();
    show();
}

void Form_ErrBox::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // Minimising the box is not closing it.
    if (!event->spontaneous())
        emit closed();
}

QString Form_ErrBox::reportText() const
{
    // A multi-line text box types its line breaks as CR LF.
    QString description = Text1->toPlainText();
    description.replace(QLatin1Char('\n'), kLineBreak);
    const QStringList lines {
        windowTitle(),
        Label1->text(),
        Label2->text(),
        tr("Version: %1.%2.%3")
            .arg(ORVANE_VERSION_MAJOR)
            .arg(ORVANE_VERSION_MINOR)
            .arg(ORVANE_VERSION_PATCH),
        tr("Beschreibung:"),
        description,
    };
    return lines.join(kLineBreak);
}

QString Form_ErrBox::reportMailtoLink() const
{
    return QStringLiteral("mailto:") + reportAddress() + QStringLiteral("?subject=")
        + UrlEscape(windowTitle()) + QStringLiteral("&body=") + UrlEscape(reportText());
}

void Form_ErrBox::SendReportMail()
{
    if (!SendReportMailto())
        tellSendFailed();
    hide();
}

bool Form_ErrBox::SendReportMailto()
{
    if (!m_shell) {
        qWarning() << "Error report not sent: no shell to open the mail link";
        return false;
    }
    return m_shell->openUrl(reportMailtoLink());
}

// Without a mail handler the report would be lost silently; keep it on the clipboard
// and say so.
void Form_ErrBox::tellSendFailed()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(reportText());
    qWarning().noquote() << "No mail program took the error report:" << reportMailtoLink();
    if (!m_dialogs)
        return;
    UserDialogs::Message message;
    message.text = tr("No mail program could be opened for the error report.\n"
                      "The report has been copied to the clipboard; please send it "
                      "to %1.")
                       .arg(reportAddress());
    message.title = windowTitle();
    message.icon = UserDialogs::Icon::Exclamation;
    m_dialogs->messageBox(message);
}

// The box's own failures are only logged: reporting them through the box would loop.
void Form_ErrBox::cmdSend_Click()
{
    try {
        SendReportMail();
    } catch (const std::exception &e) {
        qWarning() << "Sending the error report failed:" << e.what();
        hide();
    } catch (...) {
        qWarning() << "Sending the error report failed";
        hide();
    }
}

void Form_ErrBox::cmdClose_Click()
{
    hide();
}
