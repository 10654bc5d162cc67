#include "platform/Shell.h"

Shell::~Shell() = default;
