#pragma once

#include <QString>

// The traffic log file "debug.txt". A program run from its build tree writes it beside
// itself when that folder takes it; otherwise, and always for an installed program, it
// lies in the user's state folder, $XDG_STATE_HOME/Orvane or ~/.local/state/Orvane. A log
// that cannot be written is reported once: the first failing line throws, later lines
// are dropped until the log is started again.
class DebugLogFile
{
public:
    static inline const QString kFileName = QStringLiteral("debug.txt");
    // What marks a build tree: CMake's cache in the program's folder or the one above it
    // (the tests run from the build tree's folder "tests").
    static inline const QString kBuildTreeMark = QStringLiteral("CMakeCache.txt");

    // The folder tried first; the program's own folder unless set.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    // The fallback folder: $XDG_STATE_HOME/Orvane, or ~/.local/state/Orvane.
    static QString stateFolder();
    static bool isBuildTree(const QString &folder);

    // Starts a fresh log (an earlier file in the chosen folder is emptied) and returns its
    // path. Throws OrvaneError when neither folder takes it; lines are then dropped.
    QString start();
    // Appends one line and CR LF, choosing the folder first if the log was not started.
    void append(const QString &line);
    // Where the log goes; empty before it is started or first written.
    QString path() const { return m_path; }
    // Why the log stopped taking lines; empty while it works.
    QString failure() const { return m_failure; }

private:
    // Opens the log in the first folder that takes it (emptied when `fresh`); sets m_path.
    void open(bool fresh);
    void fail(const QString &description);

    QString m_programFolder;
    QString m_path;
    bool m_failed = false;
    QString m_failure;
};
