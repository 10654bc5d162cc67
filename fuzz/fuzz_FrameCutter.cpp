// Frame cutting over reads of any size and content: the bodies found in a sequence of
// reads must be those found in their concatenation whenever no unfinished tail grew past
// its limit, and every body is the text between an STX and the first ETX after it, of at
// most FrameCutter::kMaxBody characters (anything longer is noise and dropped).

#include "link/FrameCutter.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {
constexpr QChar kStx {0x02};
constexpr QChar kEtx {0x03};

// The bodies as the cutting is defined: one per STX that some ETX follows within
// kMaxBody characters.
QStringList referenceBodies(const QString &text)
{
    QStringList bodies;
    for (qsizetype stx = text.indexOf(kStx); stx >= 0; stx = text.indexOf(kStx, stx + 1)) {
        const qsizetype etx = text.indexOf(kEtx, stx + 1);
        if (etx < 0)
            break;
        if (etx - stx - 1 <= FrameCutter::kMaxBody)
            bodies.append(text.mid(stx + 1, etx - stx - 1));
    }
    return bodies;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    // Mostly short reads, as a 100 ms poll sees them; now and then one larger than the limit.
    const size_t longest = provider.ConsumeBool() ? 2 * FrameCutter::kMaxTail : 16;

    FrameCutter chunked;
    QStringList chunkedBodies;
    QString whole;
    bool trimmed = false;
    while (provider.remaining_bytes() > 0) {
        const std::string bytes
            = provider.ConsumeBytesAsString(provider.ConsumeIntegralInRange<size_t>(0, longest));
        const QString read = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
        // The tail is trimmed only when what it holds plus the new read exceeds the limit.
        trimmed = trimmed || chunked.tail().size() + read.size() > FrameCutter::kMaxTail;
        const QStringList bodies = chunked.cut(read);
        for (const QString &body : bodies)
            check(!body.contains(kEtx) && body.size() <= FrameCutter::kMaxBody);
        check(chunked.tail().size() <= FrameCutter::kMaxTail);
        check(chunked.tail().isEmpty() || chunked.tail().front() == kStx);
        chunkedBodies += bodies;
        whole += read;
    }

    FrameCutter once;
    const QStringList wholeBodies = once.cut(whole);
    check(wholeBodies == referenceBodies(whole));
    if (!trimmed)
        check(chunkedBodies == wholeBodies);
    return 0;
}
