#pragma once

#include <optional>

// What the receiver last reported of the values that have no control of their own in the
// main window: power, the two volumes and the zone-2 input (the input panel shows the zone
// the mode selects, so the other zone's input would be lost there). The report evaluation
// writes them as it reads each report, so the program interface gives what the display
// shows and a value the display rejects changes none of them.
class ReceiverReadings
{
public:
    void clear() { *this = ReceiverReadings {}; }

    std::optional<bool> power;
    std::optional<int> mainVolume; // 0 to 255
    std::optional<int> zone2Volume; // 0 to 255
    int zone2Input = 0; // input panel index, 0 none
};
