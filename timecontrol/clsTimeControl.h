#pragma once

#include "timecontrol/clsTimeControlItem.h"

#include <QString>
#include <memory>
#include <vector>

// The schedule: an ordered list of entries, numbered from 1 in insertion order.
class clsTimeControl
{
public:
    // Parses one schedule line and appends it as a new, not yet fired entry.
    // Lines are written "hh:mm ,day ,action[ ,code]": time, day and action end at the
    // first three commas, the code is the rest; every field is trimmed. Throws
    // OrvaneError for a line with fewer than two commas; nothing is appended then.
    void Add(const QString &line);
    int Count() const { return int(m_items.size()); }
    // The entry at `index` (1-based); throws OrvaneError when there is none.
    std::shared_ptr<clsTimeControlItem> Item(int index) const;
    // Removes the entry at `index` (1-based); throws OrvaneError when there is none.
    void Remove(int index);

    // The entry a schedule line stands for, as Add would append it.
    static clsTimeControlItem parseLine(const QString &line);

private:
    void checkIndex(int index) const;

    // Shared, so a firing that lets events run keeps its entry even if the list changes.
    std::vector<std::shared_ptr<clsTimeControlItem>> m_items;
};
