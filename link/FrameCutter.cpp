#include "link/FrameCutter.h"

namespace {
constexpr QChar kStx {0x02};
constexpr QChar kEtx {0x03};
} // namespace

QStringList FrameCutter::cut(const QString &received)
{
    const QString text = m_tail + received;
    m_tail.clear();

    QStringList bodies;
    qsizetype pos = 0;
    // The first ETX after the current STX, found once and reused by every STX before it,
    // so the text is scanned once however many STX characters it holds.
    qsizetype etx = -1;
    for (;;) {
        const qsizetype stx = text.indexOf(kStx, pos);
        if (stx < 0)
            break;
        if (etx <= stx)
            etx = text.indexOf(kEtx, stx + 1);
        if (etx < 0) {
            // No ETX follows this STX, nor any later one: keep it for the next read.
            m_tail = text.mid(stx);
            break;
        }
        if (etx - stx - 1 > kMaxBody) {
            // This STX and every one up to kMaxBody characters before the ETX start noise:
            // go on from the first that can still start a report.
            pos = etx - kMaxBody - 1;
            continue;
        }
        bodies.append(text.mid(stx + 1, etx - stx - 1));
        pos = stx + 1;
    }

    // Only the newest part of an overlong tail can still become a report: keep it from
    // the first STX within the limit.
    if (m_tail.size() > kMaxTail) {
        const qsizetype next = m_tail.indexOf(kStx, m_tail.size() - kMaxTail);
        if (next < 0)
            m_tail.clear();
        else
            m_tail.remove(0, next);
    }
    return bodies;
}
