#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class Shell;
class UserDialogs;

// The error box: says where a failure happened, lets the user describe what they were
// doing and sends the report by mail. One box is made for one report.
class Form_ErrBox : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTwipsPerPixel = 15;
    // Design width of the box; wider label texts widen it.
    static constexpr int kDesignWidthTwips = 4395;
    // Labels start 1080 twips from the left and keep 300 twips to the right edge.
    static constexpr int kLabelLeftTwips = 1080;
    static constexpr int kLabelRightMarginTwips = 300;

    // `shell` opens the mail link, `dialogs` tells the user when that fails; either
    // may be null (then nothing is opened or told).
    Form_ErrBox(Shell *shell, UserDialogs *dialogs, QWidget *parent = nullptr);

    static QString reportAddress();

    // Fills caption and labels for one report and widens the box to fit them.
    void prepare(const QString &procedure, const QString &module, int number,
                 const QString &description, int line);
    // prepare(), then shows the box modally and on top until a button hides it.
    void ShowErrBox(const QString &procedure, const QString &module, int number,
                    const QString &description, int line);
    // The same box, but returns at once; closed() follows when a button hides it.
    void showWithoutWaiting(const QString &procedure, const QString &module, int number,
                            const QString &description, int line);

    // Caption, both labels, version and the user's description, CR LF separated.
    QString reportText() const;
    // The mailto link carrying the report.
    QString reportMailtoLink() const;
    // There is no mail program automation here, so this always takes the mailto path.
    void SendReportMail();
    // False when no mail handler took the link.
    bool SendReportMailto();

    QLabel *Picture2;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPlainTextEdit *Text1;
    QPushButton *cmdSend;
    QPushButton *cmdClose;

signals:
    void closed();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void showOnTop();
    void cmdSend_Click();
    void cmdClose_Click();
    void tellSendFailed();

    Shell *m_shell;
    UserDialogs *m_dialogs;
};
