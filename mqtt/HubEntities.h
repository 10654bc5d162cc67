#pragma once

#include <QString>
#include <vector>

// The entities the bridge offers a home-automation hub, and the names they have there.
// Every name is built from the installation's id or from a fixed prefix, never from the
// receiver's model, so a hub's automations survive a change of receiver. Needs QtCore
// only: the command-line client builds the hub's media player on the same names.
namespace HubEntities {

enum class Kind {
    Power,
    Volume,
    Mute,
    Input,
    InputMode,
    Dsp,
    SpeakersA,
    SpeakersB,
    SixChInput,
    Es61,
    VolumeUp,
    VolumeDown,
    Sleep,
    Memory, // recall of volume memory `index`
    Line1,
    Line2,
    Zone2Input,
    Zone2Volume,
    Zone2Mute,
    Zone2VolumeUp,
    Zone2VolumeDown,
};

struct Entity
{
    Kind kind;
    const char *object; // the topic level and the entity id's tail
    const char *component; // the hub's component: switch, number, select, button, sensor
    const char *name;
    const char *icon;
    const char *category = nullptr; // "config", "diagnostic" or none
    bool zone2 = false; // belongs to the zone-2 device, published for receivers with zone 2
    int index = 0; // the memory of a Memory entity, 1 to 6
};

// Every entity, main zone first.
const std::vector<Entity> &all();
const Entity *find(Kind kind);
const Entity *findObject(const QString &object);

// "orvane_<installation>": the discovery node and the main device's identifier.
QString nodeId(const QString &installation);
// The zone-2 device's identifier.
QString zone2DeviceId(const QString &installation);
QString uniqueId(const QString &installation, const Entity &entity);
// The entity id a hub gives the entity, e.g. "switch.orvane_power" (a hub adds its own
// suffix when a second installation asks for the same id).
QString defaultEntityId(const Entity &entity);
QString defaultEntityId(Kind kind);

} // namespace HubEntities
