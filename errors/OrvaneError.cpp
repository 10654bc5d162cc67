#include "errors/OrvaneError.h"

OrvaneError::OrvaneError(int number, QString description, std::source_location where)
    : m_number(number)
    , m_description(std::move(description))
    , m_line(static_cast<int>(where.line()))
    , m_file(where.file_name())
    , m_what(m_description.toStdString())
{
}
