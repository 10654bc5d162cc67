#include "link/LinkHost.h"

LinkHost::~LinkHost() = default;
