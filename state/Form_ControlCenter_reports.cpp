// Form_ControlCenter.h uses these two types in inline members.
#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "link/Form_Com.h"

void Form_ControlCenter::DatenAuswerten(const QString &) { }
void Form_ControlCenter::Timer_CheckTastenRepeat_Timer() { }
void Form_ControlCenter::runEsKeyActions() { }
void Form_ControlCenter::playerRuleMuteOff() { }
void Form_ControlCenter::playerRuleMuteOn() { }
bool Form_ControlCenter::selectDspFromData(const QString &)
{
    return false;
}
