#include "link/ReceiverModels.h"

#include <array>

namespace {
struct ModelEntry
{
    const char *code;
    const char *name;
};

constexpr std::array<ModelEntry, 10> kModels {{
    {"R0073", "DSP-AX1"},
    {"R0088", "RX-V1000"},
    {"R0112", "RX-V3200"},
    {"R0114", "RX-Z1"},
    {"R0132", "RX-V2300"},
    {"R0133", "RX-V3300"},
    {"R0161", "RX-V2400"},
    {"A0032", "DSP-AZ1"},
    {"A0035", "DSP-AZ2"},
    {"A0037", "DSP-AZ9"},
}};
} // namespace

QString modelName(const QString &modelCode)
{
    for (const ModelEntry &entry : kModels) {
        if (modelCode == QLatin1String(entry.code))
            return QString::fromLatin1(entry.name);
    }
    return QStringLiteral("?");
}
