#include "platform/QtUserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

QMessageBox::Icon boxIcon(UserDialogs::Icon icon)
{
    switch (icon) {
    case UserDialogs::Icon::None:
        return QMessageBox::NoIcon;
    case UserDialogs::Icon::Critical:
        return QMessageBox::Critical;
    case UserDialogs::Icon::Question:
        return QMessageBox::Question;
    case UserDialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case UserDialogs::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(UserDialogs::Buttons buttons)
{
    switch (buttons) {
    case UserDialogs::Buttons::Ok:
        return QMessageBox::Ok;
    case UserDialogs::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case UserDialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case UserDialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case UserDialogs::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton boxButton(UserDialogs::Answer answer)
{
    switch (answer) {
    case UserDialogs::Answer::Ok:
        return QMessageBox::Ok;
    case UserDialogs::Answer::Cancel:
        return QMessageBox::Cancel;
    case UserDialogs::Answer::Yes:
        return QMessageBox::Yes;
    case UserDialogs::Answer::No:
        return QMessageBox::No;
    case UserDialogs::Answer::Retry:
        return QMessageBox::Retry;
    }
    return QMessageBox::NoButton;
}

// The text as the box shows it: a hyphen that begins a word is joined to the word (an
// invisible word joiner), so an option such as "-TR" is never split across two lines.
QString shownText(const QString &text)
{
    static const QRegularExpression leadingHyphen(QStringLiteral("(^|\\s)-(?=\\w)"));
    return QString(text).replace(leadingHyphen, QStringLiteral("\\1-\u2060"));
}

} // namespace

QtUserDialogs::QtUserDialogs(QWidget *parent)
    : m_parent(parent)
{
}

UserDialogs::Answer QtUserDialogs::showMessageBox(const Message &message)
{
    QMessageBox box(boxIcon(message.icon), titleOrDefault(message.title), shownText(message.text),
                    boxButtons(message.buttons), dialogParent());
    box.setTextFormat(Qt::PlainText);
    if (message.defaultButton)
        box.setDefaultButton(boxButton(*message.defaultButton));
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    default:
        return escapeAnswer(message.buttons);
    }
}

std::optional<QString> QtUserDialogs::inputBox(const QString &prompt, const QString &title,
                                               const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(), titleOrDefault(title), prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtUserDialogs::openFileName(const QString &title, const QString &filter,
                                    const QString &directory)
{
    return QFileDialog::getOpenFileName(dialogParent(), title, directory, desktopFilter(filter));
}

QString QtUserDialogs::saveFileName(const QString &title, const QString &filter,
                                    const QString &directory)
{
    // Callers ask about an existing file themselves, with their own text.
    return QFileDialog::getSaveFileName(dialogParent(), title, directory, desktopFilter(filter),
                                        nullptr, QFileDialog::DontConfirmOverwrite);
}

QString QtUserDialogs::desktopFilter(const QString &filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file, also those without a dot.
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        QString description = parts[i].trimmed();
        // "Script (*.txt)" already names its patterns; replace them with the usable ones.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        filters.append(description + QStringLiteral(" (") + patterns.simplified()
                       + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QWidget *QtUserDialogs::dialogParent() const
{
    if (m_parent)
        return m_parent;
    return QApplication::activeWindow();
}

QString QtUserDialogs::titleOrDefault(const QString &title)
{
    if (!title.isEmpty())
        return title;
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Orvane") : name;
}
