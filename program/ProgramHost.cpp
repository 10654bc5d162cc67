#include "program/ProgramHost.h"

ProgramHost::~ProgramHost() = default;
