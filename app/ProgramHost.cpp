#include "app/ProgramHost.h"

ProgramHost::~ProgramHost() = default;
