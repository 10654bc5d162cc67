#pragma once

#include <QWidget>

class QLabel;

// The about window: a picture of the program's own and the version line. It stays on
// top of other windows while open; a click on the picture closes it.
class Form_Intro : public QWidget
{
    Q_OBJECT
public:
    explicit Form_Intro(QWidget *parent = nullptr);

    // "Version: " + version + " - " + build date.
    static QString versionLine();
    static constexpr const char *kLicenceText
        = QT_TR_NOOP("Free software: GNU GPL 3 or later; control libraries GNU LGPL 2.1 or later");
    static inline const QString kLicenceLine = QString::fromLatin1(kLicenceText);
    // The about picture, drawn at the given logical size and pixel ratio.
    static QPixmap picture(const QSize &size, qreal ratio);

    QLabel *lblVersion = nullptr;
    // The licence, in one line.
    QLabel *lblLicence = nullptr;
    QLabel *Image1 = nullptr;

    void Image1_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
};
