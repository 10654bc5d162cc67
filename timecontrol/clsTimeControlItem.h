#pragma once

#include <QString>

// One entry of the schedule: what to do, and when.
class clsTimeControlItem
{
public:
    // The action's label as chosen in the dialog, e.g. "Power On" or "Winamp play".
    QString Action;
    // The receiver command code; empty for a player action.
    QString Code;
    // "Every day" for a daily entry, else a date written dd.mm.yyyy.
    QString Day;
    // Time of day written hh:mm (24-hour).
    QString Time;
    // Set once the entry has fired; a daily entry is re-armed for its next day.
    bool Fired = false;
};
