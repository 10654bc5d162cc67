#include "mqtt/HubEntities.h"

namespace HubEntities {

namespace {
const QString kPrefix = QStringLiteral("orvane");
} // namespace

const std::vector<Entity> &all()
{
    static const std::vector<Entity> list = [] {
        std::vector<Entity> entities = {
            {Kind::Power, "power", "switch", "Power", "mdi:power"},
            {Kind::Volume, "volume", "number", "Volume", "mdi:volume-high"},
            {Kind::Mute, "mute", "switch", "Mute", "mdi:volume-off"},
            {Kind::Input, "input", "select", "Input", "mdi:import"},
            {Kind::InputMode, "input_mode", "select", "Input mode", "mdi:audio-input-rca"},
            {Kind::Dsp, "dsp_program", "select", "DSP program", "mdi:surround-sound"},
            {Kind::SpeakersA, "speakers_a", "switch", "Speakers A", "mdi:speaker", "config"},
            {Kind::SpeakersB, "speakers_b", "switch", "Speakers B", "mdi:speaker", "config"},
            {Kind::SixChInput, "six_channel_input", "switch", "6-channel input",
             "mdi:surround-sound-5-1", "config"},
            {Kind::Es61, "es61", "switch", "6.1/ES", "mdi:surround-sound-7-1", "config"},
            {Kind::VolumeUp, "volume_up", "button", "Volume up", "mdi:volume-plus"},
            {Kind::VolumeDown, "volume_down", "button", "Volume down", "mdi:volume-minus"},
            {Kind::Sleep, "sleep", "select", "Sleep timer", "mdi:sleep"},
        };
        static const char *const kMemories[][2]
            = {{"memory_a", "Volume memory A"}, {"memory_b", "Volume memory B"},
               {"memory_c", "Volume memory C"}, {"memory_d", "Volume memory D"},
               {"memory_e", "Volume memory E"}, {"memory_f", "Volume memory F"}};
        int index = 0;
        for (const auto &[object, name] : kMemories)
            entities.push_back(
                {Kind::Memory, object, "button", name, "mdi:numeric", nullptr, false, ++index});
        entities.insert(entities.end(),
                        {
                            {Kind::Line1, "display_line1", "sensor", "Display line 1", "mdi:text",
                             "diagnostic"},
                            {Kind::Line2, "display_line2", "sensor", "Display line 2", "mdi:text",
                             "diagnostic"},
                            {Kind::Zone2Input, "zone2_input", "select", "Zone 2 input",
                             "mdi:import", nullptr, true},
                            {Kind::Zone2Volume, "zone2_volume", "number", "Zone 2 volume",
                             "mdi:volume-high", nullptr, true},
                            {Kind::Zone2Mute, "zone2_mute", "switch", "Zone 2 mute",
                             "mdi:volume-off", nullptr, true},
                            {Kind::Zone2VolumeUp, "zone2_volume_up", "button", "Zone 2 volume up",
                             "mdi:volume-plus", nullptr, true},
                            {Kind::Zone2VolumeDown, "zone2_volume_down", "button",
                             "Zone 2 volume down", "mdi:volume-minus", nullptr, true},
                        });
        return entities;
    }();
    return list;
}

const Entity *find(Kind kind)
{
    for (const Entity &entity : all())
        if (entity.kind == kind)
            return &entity;
    return nullptr;
}

const Entity *findObject(const QString &object)
{
    for (const Entity &entity : all())
        if (object == QLatin1String(entity.object))
            return &entity;
    return nullptr;
}

QString nodeId(const QString &installation)
{
    return kPrefix + QLatin1Char('_') + installation;
}

QString zone2DeviceId(const QString &installation)
{
    return nodeId(installation) + QStringLiteral("_zone2");
}

QString uniqueId(const QString &installation, const Entity &entity)
{
    return nodeId(installation) + QLatin1Char('_') + QLatin1String(entity.object);
}

QString defaultEntityId(const Entity &entity)
{
    return QLatin1String(entity.component) + QLatin1Char('.') + kPrefix + QLatin1Char('_')
        + QLatin1String(entity.object);
}

QString defaultEntityId(Kind kind)
{
    const Entity *entity = find(kind);
    return entity ? defaultEntityId(*entity) : QString();
}

} // namespace HubEntities
