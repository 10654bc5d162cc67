#include "platform/SerialPortError.h"

SerialPortError::SerialPortError(int number, QString description, std::source_location where)
    : m_number(number)
    , m_description(std::move(description))
    , m_where(where)
    , m_what(m_description.toStdString())
{
}
