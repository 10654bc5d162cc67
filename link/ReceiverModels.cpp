#include "link/ReceiverModels.h"

#include <array>

namespace {
struct ModelEntry
{
    const char *code;
    const char *name;
};

constexpr std::array<ModelEntry, 10> kModels {{
    {"R0073", "VR-73"},
    {"R0088", "VR-88"},
    {"R0112", "VR-112"},
    {"R0114", "VR-114"},
    {"R0132", "VR-132"},
    {"R0133", "VR-133"},
    {"R0161", "VR-161"},
    {"A0032", "VZ-32"},
    {"A0035", "VZ-35"},
    {"A0037", "VZ-37"},
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
