#pragma once

#include "platform/SerialPortError.h"

#include <QString>
#include <exception>
#include <source_location>
#include <string>

// A run-time failure inside a procedure: error number, description and the source
// line of the statement that failed. Caught at the procedure's boundary and shown
// in the error box.
class OrvaneError : public std::exception
{
public:
    // Common run-time error numbers.
    static constexpr int kInvalidArgument = 5;
    static constexpr int kOverflow = 6;
    static constexpr int kSubscriptOutOfRange = 9;
    static constexpr int kTypeMismatch = 13;
    static constexpr int kFileNotFound = 53;
    static constexpr int kFileAccess = 75;
    static constexpr int kDeviceUnavailable = 68;
    static constexpr int kObjectRequired = 424;
    static constexpr int kNoSuchElement = 340;
    // The serial line's failures keep their numbers.
    static constexpr int kPortError = SerialPortError::kPortError;
    static constexpr int kPortAlreadyOpen = SerialPortError::kPortAlreadyOpen;
    static constexpr int kPortNotOpen = SerialPortError::kPortNotOpen;

    OrvaneError(int number, QString description,
                std::source_location where = std::source_location::current());

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    int line() const noexcept { return m_line; }
    // The source file of the statement that failed.
    const char *file() const noexcept { return m_file; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_description;
    int m_line;
    const char *m_file;
    std::string m_what;
};
