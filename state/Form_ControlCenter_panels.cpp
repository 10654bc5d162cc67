#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "link/Form_Com.h"

void Form_ControlCenter::Opt_Input_Click(int) { }
void Form_ControlCenter::Opt_InputMode_Click(int) { }
void Form_ControlCenter::Opt_Dsp_Click(int) { }
void Form_ControlCenter::Opt_SpeakersA_Click(int) { }
void Form_ControlCenter::Opt_SpeakersB_Click(int) { }
void Form_ControlCenter::Opt_61ES_Click(int) { }
void Form_ControlCenter::Opt_6ChInput_Click(int) { }
void Form_ControlCenter::Image_InputUP_Click() { }
void Form_ControlCenter::Image_InputDown_Click() { }
void Form_ControlCenter::Image_InputMode_Click() { }
void Form_ControlCenter::SetInputButton(int, int, int) { }
void Form_ControlCenter::GetInputButton(int &index)
{
    index = Opt_Input.ubound() + 1;
}
void Form_ControlCenter::SetDSPButton(int, int) { }
void Form_ControlCenter::Menu_Mode_Zone2_Click() { }
void Form_ControlCenter::Menu_Mode_Main_Click() { }
void Form_ControlCenter::Menu_MiniPopUp_Input_Click(int) { }
void Form_ControlCenter::Menu_MiniPopUp_Zone2_Click() { }
bool Form_ControlCenter::zone2Mode() const
{
    return false;
}
