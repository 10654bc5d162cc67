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
    for (;;) {
        const qsizetype stx = text.indexOf(kStx, pos);
        if (stx < 0)
            break;
        const qsizetype etx = text.indexOf(kEtx, stx + 1);
        if (etx < 0) {
            // No ETX follows this STX, nor any later one: keep it all for the next read.
            m_tail = text.mid(stx);
            break;
        }
        bodies.append(text.mid(stx + 1, etx - stx - 1));
        pos = stx + 1;
    }

    // An overlong tail is noise or a lost frame; keep only its newest unfinished start.
    while (m_tail.size() > kMaxTail) {
        const qsizetype next = m_tail.indexOf(kStx, 1);
        if (next < 0) {
            m_tail.clear();
            break;
        }
        m_tail.remove(0, next);
    }
    return bodies;
}
