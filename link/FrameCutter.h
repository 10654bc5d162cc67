#pragma once

#include <QString>
#include <QStringList>

// Cuts report bodies (the text between STX and ETX) out of the text of successive
// reads. Every STX that has an ETX somewhere after it yields one body, the text up
// to the first such ETX; so "STX a STX b ETX" gives "a\x02b" and "b".
// A report cut in two by the end of a read is not lost: the unfinished tail (from
// the first STX that no ETX follows) is kept and put in front of the next read,
// so a sequence of reads is cut exactly as their concatenation would be.
// The text is scanned once; the bodies themselves can overlap (every STX before an
// ETX yields one), so a read is expected to be a serial read's size (1 KB), as both
// the device and the network port deliver it.
class FrameCutter
{
public:
    // Longest unfinished tail kept for the next read; beyond it the oldest part is
    // dropped, since a real report is a few characters long.
    static constexpr qsizetype kMaxTail = 1024;

    // Bodies found in `received` (preceded by the kept tail), in order.
    QStringList cut(const QString &received);
    // Forgets the unfinished tail (on connect and disconnect).
    void reset() { m_tail.clear(); }
    const QString &tail() const { return m_tail; }

private:
    QString m_tail;
};
