#pragma once

#include <QString>

// Configuration for a hub to paste into its configuration.yaml: a universal media
// player built on the bridge's entities (power, volume, mute and the input list), since
// the hub's MQTT integration offers no media player of its own.
namespace HomeAssistantConfig {

// The YAML text, ending in a newline.
QString universalMediaPlayer();

} // namespace HomeAssistantConfig
