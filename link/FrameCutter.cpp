#include "link/FrameCutter.h"

namespace {
constexpr QChar kStx {0x02};
constexpr QChar kEtx {0x03};
} // namespace

QStringList FrameCutter::cut(const QString &received)
{
    // A long read is cut as the serial line delivers it, in reads of at most the
    // tail's size; so one read holds at most a tail and a piece, and an STX far away
    // from its ETX cannot make every STX before it yield an ever longer body.
    QStringList bodies;
    for (qsizetype start = 0; start < received.size(); start += kMaxTail)
        cutPiece(QStringView(received).mid(start, kMaxTail), bodies);
    if (received.isEmpty())
        cutPiece(QStringView(), bodies);
    return bodies;
}

void FrameCutter::cutPiece(QStringView received, QStringList &bodies)
{
    const QString text = m_tail + received.toString();
    m_tail.clear();

    qsizetype pos = 0;
    // The first ETX at or after the current STX, found once and reused by every STX
    // before it.
    qsizetype etx = -1;
    for (;;) {
        const qsizetype stx = text.indexOf(kStx, pos);
        if (stx < 0)
            break;
        if (etx <= stx)
            etx = text.indexOf(kEtx, stx + 1);
        if (etx < 0) {
            // No ETX follows this STX, nor any later one: keep it all for the next read.
            m_tail = text.mid(stx);
            break;
        }
        bodies.append(text.mid(stx + 1, etx - stx - 1));
        pos = stx + 1;
    }

    // An overlong tail is noise or a lost frame; keep only its newest unfinished start,
    // the first STX from which the tail fits the limit.
    if (m_tail.size() > kMaxTail) {
        const qsizetype next = m_tail.indexOf(kStx, m_tail.size() - kMaxTail);
        if (next < 0)
            m_tail.clear();
        else
            m_tail.remove(0, next);
    }
}
