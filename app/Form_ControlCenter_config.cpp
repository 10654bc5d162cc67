// Form_ControlCenter.h uses these two types in inline members.
#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "link/Form_Com.h"

void Form_ControlCenter::LoadConfig() { }
void Form_ControlCenter::SaveConfig() { }
