#pragma once

#include <QWidget>

class Command;
class QLineEdit;

// The receiver information window: model name, model code, software version and
// the raw configuration block of the connected receiver. The main window fills the
// fields at each connect; the Ok button only hides the window.
class Form_YInfo : public QWidget
{
    Q_OBJECT
public:
    explicit Form_YInfo(QWidget *parent = nullptr);

    QLineEdit *text_modell = nullptr;
    QLineEdit *text_modellid = nullptr;
    QLineEdit *text_softwareversion = nullptr;
    QLineEdit *text_YString = nullptr;
    Command *cmdOk = nullptr;

private:
    void cmdOk_Click();
};
