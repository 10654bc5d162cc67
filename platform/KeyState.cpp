#include "platform/KeyState.h"

KeyState::~KeyState() = default;

void KeyState::setWantedKeys(const QList<int> &) { }

void KeyState::whenUnavailable(std::function<void()>) { }

void KeyState::whenNotice(std::function<void(const QString &)>) { }
