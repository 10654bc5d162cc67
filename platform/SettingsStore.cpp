#include "platform/SettingsStore.h"

SettingsStore::~SettingsStore() = default;
