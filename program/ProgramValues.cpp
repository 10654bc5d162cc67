#include "program/ProgramValues.h"

#include "program/VersionText.h"

#include <utility>

QString ProgramValues::VersionText()
{
    return Modul_Orvane::VersionText();
}

QString ProgramValues::BuildDate()
{
    return Modul_Orvane::BuildDate;
}

void ProgramValues::setAppClosing(bool closing)
{
    if (std::exchange(m_appClosing, closing) != closing)
        emit changed();
}

void ProgramValues::setMiniMode(bool mini)
{
    if (std::exchange(m_miniMode, mini) != mini)
        emit changed();
}
