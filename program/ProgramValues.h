#pragma once

#include <QObject>
#include <QString>

// The values the whole program shares: its version and build date, whether it is
// ending and whether the mini window stands in for the main one. The start-up owns the
// one object; the windows and the add-ins read it and hear `changed` when a flag moves.
class ProgramValues : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Version as major "." minor revision, e.g. 1.4.5 -> "1.45".
    static QString VersionText();
    static QString BuildDate();

    // True from the moment the main window starts to unload (false again when the
    // add-ins refuse).
    bool AppClosing() const { return m_appClosing; }
    void setAppClosing(bool closing);
    // True while the main window is hidden in favour of the mini window.
    bool MiniMode() const { return m_miniMode; }
    void setMiniMode(bool mini);

signals:
    void changed();

private:
    bool m_appClosing = false;
    bool m_miniMode = false;
};
