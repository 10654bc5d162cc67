#include "link/ConfigurationBlock.h"

#include "link/HexDigits.h"

#include <algorithm>

namespace {
const QString kQuirkMarker = QStringLiteral("@E01900");
constexpr qsizetype kLengthPosition = 8;
} // namespace

bool ConfigurationBlock::isFramed() const
{
    return !m_text.isEmpty() && m_text.front() == kStart && m_text.back() == kEnd;
}

ConfigurationBlock ConfigurationBlock::lastIn(const QString &received)
{
    const qsizetype start = received.lastIndexOf(kStart);
    return start < 0 ? ConfigurationBlock() : ConfigurationBlock(received.mid(start));
}

bool ConfigurationBlock::isComplete() const
{
    const std::optional<int> length = dataLength();
    return isFramed() && length && m_text.size() == kDataStart + *length;
}

std::optional<QChar> ConfigurationBlock::at(qsizetype position) const
{
    if (position < 1 || position > m_text.size())
        return std::nullopt;
    return m_text[position - 1];
}

std::optional<int> ConfigurationBlock::dataLength() const
{
    return HexDigits::twoDigits(QStringView(m_text).mid(kLengthPosition - 1, 2));
}

QStringView ConfigurationBlock::data() const
{
    // Everything between the length field and the last character (the ETX).
    const qsizetype available = std::max<qsizetype>(0, m_text.size() - kDataStart);
    const qsizetype length = std::min<qsizetype>(dataLength().value_or(0), available);
    return QStringView(m_text).mid(kDataStart - 1, length);
}

std::optional<QChar> ConfigurationBlock::dataAt(qsizetype k) const
{
    const QStringView d = data();
    if (k < 1 || k > d.size())
        return std::nullopt;
    return d[k - 1];
}

std::optional<int> ConfigurationBlock::hexDigitAt(qsizetype k) const
{
    const auto c = dataAt(k);
    return c ? HexDigits::digit(*c) : std::nullopt;
}

std::optional<int> ConfigurationBlock::hexPairAt(qsizetype k) const
{
    if (k < 1)
        return std::nullopt;
    return HexDigits::twoDigits(data().mid(k - 1, 2));
}

std::optional<int> ConfigurationBlock::flagAt(qsizetype k) const
{
    const auto c = dataAt(k);
    if (!c)
        return std::nullopt;
    return *c == u'1' ? 1 : 0;
}

ConfigurationBlock ConfigurationBlock::withoutQuirk() const
{
    if (m_text.mid(kDataStart - 1, kQuirkMarker.size()) != kQuirkMarker)
        return *this;

    QString fixed = m_text;
    fixed.remove(kDataStart - 1, kQuirkMarker.size());
    // The length field keeps two digits, since the data is read from a fixed position
    // after it.
    const int length
        = HexDigits::twoDigits(QStringView(fixed).mid(kLengthPosition - 1, 2)).value_or(-1);
    if (length >= kQuirkMarker.size()) {
        fixed.replace(kLengthPosition - 1, 2,
                      QStringLiteral("%1")
                          .arg(length - kQuirkMarker.size(), 2, 16, QLatin1Char('0'))
                          .toUpper());
    }
    return ConfigurationBlock(fixed);
}
