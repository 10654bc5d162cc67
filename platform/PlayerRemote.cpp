#include "platform/PlayerRemote.h"

PlayerRemote::~PlayerRemote() = default;
