#pragma once

#include <QString>
#include <exception>
#include <source_location>
#include <string>

// A failure of the serial line (open, write): the error number the program reports for
// it, a description and the source line that failed. The link turns it into the
// program's own error with the same number, text and line.
class SerialPortError : public std::exception
{
public:
    static constexpr int kPortError = 8002;
    static constexpr int kPortAlreadyOpen = 8005;
    static constexpr int kPortNotOpen = 8018;

    SerialPortError(int number, QString description,
                    std::source_location where = std::source_location::current());

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const std::source_location &where() const noexcept { return m_where; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_description;
    std::source_location m_where;
    std::string m_what;
};
