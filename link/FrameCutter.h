#pragma once

#include <QString>
#include <QStringList>

// Cuts report bodies (the text between STX and ETX) out of the text of successive
// reads. Every STX that has an ETX somewhere after it yields one body, the text up
// to the first such ETX; so "STX a STX b ETX" gives "a\x02b" and "b".
// A report cut in two by the end of a read is not lost: the unfinished tail (from
// the first STX that no ETX follows) is kept and put in front of the next read,
// so a sequence of reads is cut exactly as their concatenation would be.
// A body longer than kMaxBody is no report but noise (or reports run together over a
// lost ETX) and is dropped; so however much noise a read holds, its cost is linear and
// the kept tail short.
class FrameCutter
{
public:
    // A report body has six characters (the link tests five); anything longer than this
    // is noise.
    static constexpr qsizetype kMaxBody = 8;
    // Longest unfinished tail kept for the next read: an STX and a longest body. An STX
    // further back could only start a body that is noise.
    static constexpr qsizetype kMaxTail = kMaxBody + 1;

    // Bodies found in `received` (preceded by the kept tail), in order.
    QStringList cut(const QString &received);
    // Forgets the unfinished tail (on connect and disconnect, and when an operation
    // discards what was waiting, so that no half report is joined to a later one).
    void reset() { m_tail.clear(); }
    const QString &tail() const { return m_tail; }

private:
    QString m_tail;
};
