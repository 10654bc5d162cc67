#pragma once

#include <QString>
#include <QWidget>

class Command;
class LinkHost;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class ReceiverLink;

// The COM terminal: shows the link's traffic and sends codes typed by hand. It works on
// the ReceiverLink it is given and stays hidden unless shown by "Debug View"; closing it
// only hides it while the program runs.
class Form_Com : public QWidget
{
    Q_OBJECT
public:
    Form_Com(ReceiverLink *link, LinkHost *host, QWidget *parent = nullptr);
    ~Form_Com() override;

    ReceiverLink *link() const { return m_link; }

    // Adds one traffic line to the listing while the terminal is shown.
    void appendTraffic(const QString &line);
    // Adds a line of the program's own to the listing, shown or not, so it is there when
    // the terminal is opened.
    void appendNote(const QString &line);
    // Says where the log file goes (on the row below the buttons, shortened in the middle
    // when it is wider than the window); nothing when `path` is empty.
    void showLogFile(const QString &path, bool writable);
    // That text in full.
    QString logFileText() const;

    // Terminal controls (the window shown by "Debug View").
    QPlainTextEdit *Text_Com = nullptr;
    QLineEdit *Text_send = nullptr;
    Command *cmd_send = nullptr;
    Command *cmd_copy = nullptr;
    Command *cmd_clear = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTerminal();
    void appendLine(const QString &line);
    void fitLogText();
    void cmd_send_Click();
    void cmd_copy_Click();
    void cmd_clear_Click();

    ReceiverLink *m_link;
    LinkHost *m_host;
    QLabel *m_logPlace = nullptr;
    QString m_logText;
    // Characters in the listing, counting each line end as CR LF.
    qsizetype m_listingChars = 0;
};
