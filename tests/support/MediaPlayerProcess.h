#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A real media player for tests of the player remote: the mpv player with its bus plug-in
// on a private session bus (PrivateBus), playing short generated tracks to the null audio
// output.
class MediaPlayerProcess
{
public:
    MediaPlayerProcess() = default;
    ~MediaPlayerProcess();
    MediaPlayerProcess(const MediaPlayerProcess &) = delete;
    MediaPlayerProcess &operator=(const MediaPlayerProcess &) = delete;

    // Why the player cannot run here, or empty when it can.
    static QString missing();
    // Writes a silent sound file of `seconds` with the title and artist as its tags.
    static bool writeTrack(const QString &path, const QString &title, const QString &artist,
                           int seconds = 30);

    // Starts the player on the bus with the files as its playlist, playing or paused.
    bool start(const QString &busAddress, const QStringList &files, bool paused = false);
    qint64 pid() const { return m_process.processId(); }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // Holds or resumes the process, as a player that hangs.
    void hold(bool held);
    void kill();

private:
    QProcess m_process;
};
