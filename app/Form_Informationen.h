#pragma once

#include <QWidget>

class Command;
class QLabel;
class QPlainTextEdit;
class ctlFrame;

// The information window: the command-line options, the hot keys and the warning about
// connecting the cable. "&Ok" closes it.
class Form_Informationen : public QWidget
{
    Q_OBJECT
public:
    explicit Form_Informationen(QWidget *parent = nullptr);

    // The fixed texts, each line ending in CR LF.
    static QString textInfo();
    static QString textKeys();
    static QString textImportant();

    Command *cmdOk = nullptr;
    ctlFrame *Frame2 = nullptr;
    QPlainTextEdit *Text_Info = nullptr;
    ctlFrame *Frame1 = nullptr;
    QPlainTextEdit *Text2 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLabel *Picture1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *ShortcutCaption1 = nullptr;
    QLabel *ShortcutCaption2 = nullptr;

    void cmdOk_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    static QPixmap cablePicture(qreal ratio);
};
