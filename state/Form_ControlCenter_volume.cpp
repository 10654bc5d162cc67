#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "link/Form_Com.h"

void Form_ControlCenter::DisplayVolume(const QString &) { }
void Form_ControlCenter::VolUp() { }
void Form_ControlCenter::VolDown() { }
void Form_ControlCenter::Mute(int) { }
void Form_ControlCenter::Image_VolUP_MouseDown(Qt::MouseButton) { }
void Form_ControlCenter::Image_VolUP_MouseUp(Qt::MouseButton) { }
void Form_ControlCenter::Image_VolDOWN_MouseDown(Qt::MouseButton) { }
void Form_ControlCenter::Image_VolDOWN_MouseUp(Qt::MouseButton) { }
void Form_ControlCenter::startRepeat(const QString &) { }
void Form_ControlCenter::stopRepeat() { }
void Form_ControlCenter::Timer_RePressKey_Timer() { }
void Form_ControlCenter::Menu_Volume_Mute_Click() { }
void Form_ControlCenter::Menu_Volume_MuteZone2_Click() { }
void Form_ControlCenter::Menu_Volume_Save_Click(int) { }
void Form_ControlCenter::Menu_Volume_Load_Click(int) { }
void Form_ControlCenter::Menu_MiniPopUp_Volume_Load_Click(int) { }
void Form_ControlCenter::Menu_MiniPopUp_Mute_Click() { }
void Form_ControlCenter::Menu_Sleep_Click(int) { }
void Form_ControlCenter::Label_Standby_Click() { }
void Form_ControlCenter::Menu_MiniPopUp_POWER_Click() { }
void Form_ControlCenter::Menu_Mini_Click() { }
void Form_ControlCenter::CheckKey(int) { }
