#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The receiver's configuration block, read field by field. Positions are counted from 1
// everywhere, as the receiver's documentation counts them: block position 1 is DC2, 2-6
// the model code, 7 the software version, 8-9 the data length (two hexadecimal digits),
// and data position k is block position 9 + k. The last character is ETX.
class ConfigurationBlock
{
public:
    static constexpr QChar kStart {18}; // DC2
    static constexpr QChar kEnd {3}; // ETX
    static constexpr qsizetype kDataStart = 10;
    // A block longer than this carries the data of a receiver that is on.
    static constexpr qsizetype kLongestStandbyBlock = 14;

    ConfigurationBlock() = default;
    explicit ConfigurationBlock(const QString &text)
        : m_text(text)
    {
    }

    const QString &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }
    // The block that starts at the last DC2 of a received text (a report may come
    // before it); empty when the text holds none.
    static ConfigurationBlock lastIn(const QString &received);

    // Starts with DC2 and ends with ETX.
    bool isFramed() const;
    // Framed, and as long as its length field says: a whole block, not the start of one
    // whose ETX happens to be in its data.
    bool isComplete() const;
    // The character at a block position; nothing past the end.
    std::optional<QChar> at(qsizetype position) const;

    QString modelCode() const { return m_text.mid(1, 5); }
    QString softwareVersion() const { return m_text.mid(6, 1); }
    // The length field read as a hexadecimal number; nothing when it is not one.
    std::optional<int> dataLength() const;
    // The block without its first and last character (what the add-ins and the receiver
    // information window are given).
    QString withoutFrame() const { return m_text.mid(1, m_text.size() - 2); }

    // The data: as many characters from position 10 as the length field counts, but
    // never the closing ETX. A block may be shorter than its length field says.
    QStringView data() const;
    // Data position k (from 1); nothing past the data.
    std::optional<QChar> dataAt(qsizetype k) const;
    // One hexadecimal digit at data position k.
    std::optional<int> hexDigitAt(qsizetype k) const;
    // Two hexadecimal digits at data positions k and k + 1.
    std::optional<int> hexPairAt(qsizetype k) const;
    // "1" is 1, any other character 0; nothing past the data.
    std::optional<int> flagAt(qsizetype k) const;

    // Data position 2 is "0" while the receiver is in standby.
    bool inStandby() const { return dataAt(2) == QLatin1Char('0'); }
    // The whole data, not the few characters a receiver in standby sends.
    bool carriesFullData() const { return m_text.size() > kLongestStandbyBlock; }

    // Some receivers put "@E01900" at the start of the data and count it in the length
    // field. The block without the marker and with the length lowered by its 7 characters
    // (a length field that is not a hexadecimal number of at least 7 stays as it is);
    // other blocks come back unchanged.
    ConfigurationBlock withoutQuirk() const;

private:
    QString m_text;
};
