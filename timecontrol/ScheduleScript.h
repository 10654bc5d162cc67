#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Time control script files: plain 8-bit text, one schedule line per text line, in
// list order, with nothing else in them. Bytes map one to one onto characters
// U+0000 to U+00FF, so a file read and written back is the same file.
class ScheduleScript
{
public:
    // Larger files are refused: a schedule of this size is no schedule, and reading it
    // whole would hold the window up.
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    // Whether the file at `path` is larger than kMaxBytes.
    static bool isTooLarge(const QString &path);

    // Whether a line can be written to a script file as it stands.
    static bool isWritable(const QString &line);

    // Writes `lines`, each ended by CR LF. The text goes to a temporary file that
    // replaces `path` only once it is complete, so a failed save leaves the old file
    // whole. False when the file cannot be written or a line is not writable.
    static bool write(const QString &path, const QStringList &lines);

    // Hands each line of the file to `take`, in file order. Lines may end in CR LF or
    // LF alone, the last one also in nothing; blank lines carry no entry and are
    // skipped. False when `path` is not a plain file, is too large, cannot be opened or
    // a read fails; the lines taken before the failure stay taken.
    static bool read(const QString &path, const std::function<void(const QString &)> &take);

private:
    // One text line as read (with or without its line end), or nothing for a blank line.
    static bool decodeLine(QByteArray bytes, QString &line);
};
