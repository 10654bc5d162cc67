#include "mqtt/HomeAssistantConfig.h"

#include "mqtt/HubEntities.h"

namespace HomeAssistantConfig {

QString universalMediaPlayer()
{
    using HubEntities::Kind;
    const auto id = [](Kind kind) { return HubEntities::defaultEntityId(kind); };
    // The volume number carries its position between its minimum and its maximum (the
    // hub's cap) as the attribute "level", which is the player's volume from 0 to 1.
    QString text = QStringLiteral(
        R"(# The receiver as a media player. Paste into configuration.yaml and restart
# Home Assistant. A second Orvane installation's entities carry a suffix such as
# _2: change the entity ids below to match.
media_player:
  - platform: universal
    name: Orvane receiver
    children: []
    attributes:
      state: %1
      volume_level: %2|level
      is_volume_muted: %3
      source: %4
      source_list: %4|options
    commands:
      turn_on:
        action: switch.turn_on
        target:
          entity_id: %1
      turn_off:
        action: switch.turn_off
        target:
          entity_id: %1
      volume_up:
        action: button.press
        target:
          entity_id: %5
      volume_down:
        action: button.press
        target:
          entity_id: %6
      volume_mute:
        action: "switch.turn_{{ 'on' if is_volume_muted else 'off' }}"
        target:
          entity_id: %3
      volume_set:
        action: number.set_value
        target:
          entity_id: %2
        data:
          value: >-
            {% set low = state_attr('%2', 'min') | float(-80) %}
            {% set high = state_attr('%2', 'max') | float(16.5) %}
            {{ ((low + volume_level * (high - low)) * 2) | round / 2 }}
      select_source:
        action: select.select_option
        target:
          entity_id: %4
        data:
          option: "{{ source }}"
)");
    return text.arg(id(Kind::Power), id(Kind::Volume), id(Kind::Mute), id(Kind::Input),
                    id(Kind::VolumeUp), id(Kind::VolumeDown));
}

} // namespace HomeAssistantConfig
