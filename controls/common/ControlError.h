#pragma once

#include <QString>
#include <source_location>
#include <stdexcept>

// A failure inside a control's procedure: an error number, its description and
// the source line it was raised at. Caught at the procedure's boundary.
class ControlError : public std::runtime_error
{
public:
    static constexpr int kOverflow = 6;
    static constexpr int kTypeMismatch = 13;
    static constexpr int kInvalidPropertyValue = 380;

    ControlError(int number, const QString &description,
                 std::source_location where = std::source_location::current())
        : std::runtime_error(description.toStdString())
        , m_number(number)
        , m_description(description)
        , m_line(int(where.line()))
    {
    }

    int number() const { return m_number; }
    QString description() const { return m_description; }
    int line() const { return m_line; }

private:
    int m_number;
    QString m_description;
    int m_line;
};
