#include "platform/SecretStore.h"

SecretStore::~SecretStore() = default;
