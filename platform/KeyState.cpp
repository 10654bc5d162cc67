#include "platform/KeyState.h"

KeyState::~KeyState() = default;
