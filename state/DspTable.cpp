#include "state/DspTable.h"

namespace DspTable {

int indexFromData(const QString &)
{
    return -1;
}

QString dataFromIndex(int)
{
    return {};
}

} // namespace DspTable
