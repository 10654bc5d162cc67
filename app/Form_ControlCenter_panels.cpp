// The option panels of the fold-out part: their click handlers send the receiver
// command for the clicked member, unless the selection came from the receiver itself.

#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "errors/ErrorGuard.h"
#include "link/ReceiverLink.h"
#include "link/ReceiverVocabulary.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <ctlFrame.h>
#include <ctlLabel.h>

namespace {

constexpr const char *kModule = "Form_ControlCenter";
constexpr int kFirstStepInput = 1;
constexpr int kLastStepInput = 13; // the step images skip CD-R
constexpr int kFirstMode = ReceiverVocabulary::kFirstInputMode;
constexpr int kLastMode = ReceiverVocabulary::kLastInputMode;

using ReceiverVocabulary::Zone;

// Member after (or before) the selected one among first..last, wrapping round;
// `first` when none of them is selected.
int steppedIndex(const OptionArray &options, int first, int last, int step)
{
    for (int index = first; index <= last; ++index) {
        if (options.isSelected(index)) {
            const int count = last - first + 1;
            return first + (index - first + step + count) % count;
        }
    }
    return first;
}

} // namespace

void Form_ControlCenter::Opt_Input_Click(int index)
{
    if (UpdatingFromReceiver || index < ReceiverVocabulary::kFirstInput
        || index > ReceiverVocabulary::kLastInput)
        return;
    if (!zone2Mode()) {
        guarded(kModule, "Opt_Input_Click",
                [&] { ReceiverVocabulary::selectInput(*m_link, Zone::Main, index); });
        return;
    }
    guarded(kModule, "Opt_Input_Click", [&] {
        Line1->clear();
        Line2->clear();
    });
    guarded(kModule, "Opt_Input_Click",
            [&] { ReceiverVocabulary::selectInput(*m_link, Zone::Zone2, index); });
    guarded(kModule, "Opt_Input_Click", [&] {
        int selected = 0;
        GetInputButton(selected);
        // From the pop-up nothing may be selected yet; then there is no name to show.
        if (Opt_Input.contains(selected))
            Line1->setText(QStringLiteral("ZONE2 ") + Opt_Input(selected)->text());
    });
}

void Form_ControlCenter::Opt_InputMode_Click(int index)
{
    if (UpdatingFromReceiver || index < kFirstMode || index > kLastMode)
        return;
    guarded(kModule, "Opt_InputMode_Click",
            [&] { ReceiverVocabulary::selectInputMode(*m_link, index); });
}

void Form_ControlCenter::Opt_Dsp_Click(int index)
{
    if (UpdatingFromReceiver || index < ReceiverVocabulary::kFirstDsp
        || index > ReceiverVocabulary::kLastDsp)
        return;
    guarded(kModule, "Opt_Dsp_Click", [&] { ReceiverVocabulary::selectDsp(*m_link, index); });
}

void Form_ControlCenter::Opt_SpeakersA_Click(int index)
{
    if (UpdatingFromReceiver || (index != 0 && index != 1))
        return;
    guarded(kModule, "Opt_SpeakersA_Click", [&] {
        ReceiverVocabulary::setSwitch(*m_link, ReceiverVocabulary::Switch::SpeakersA, index == 1);
    });
}

void Form_ControlCenter::Opt_SpeakersB_Click(int index)
{
    if (UpdatingFromReceiver || (index != 0 && index != 1))
        return;
    guarded(kModule, "Opt_SpeakersB_Click", [&] {
        ReceiverVocabulary::setSwitch(*m_link, ReceiverVocabulary::Switch::SpeakersB, index == 1);
    });
}

void Form_ControlCenter::Opt_61ES_Click(int index)
{
    if (UpdatingFromReceiver || (index != 0 && index != 1))
        return;
    guarded(kModule, "Opt_61ES_Click", [&] {
        ReceiverVocabulary::setSwitch(*m_link, ReceiverVocabulary::Switch::Es61, index == 1);
    });
}

void Form_ControlCenter::Opt_6ChInput_Click(int index)
{
    if (UpdatingFromReceiver || (index != 0 && index != 1))
        return;
    guarded(kModule, "Opt_6ChInput_Click", [&] {
        ReceiverVocabulary::setSwitch(*m_link, ReceiverVocabulary::Switch::SixChInput, index == 1);
    });
}

// Selecting a member runs its click handler, which sends the command.
void Form_ControlCenter::Image_InputUP_Click()
{
    guarded(kModule, "Image_InputUP_Click", [&] {
        Opt_Input.select(steppedIndex(Opt_Input, kFirstStepInput, kLastStepInput, +1));
    });
}

void Form_ControlCenter::Image_InputDown_Click()
{
    guarded(kModule, "Image_InputDown_Click", [&] {
        Opt_Input.select(steppedIndex(Opt_Input, kFirstStepInput, kLastStepInput, -1));
    });
}

void Form_ControlCenter::Image_InputMode_Click()
{
    guarded(kModule, "Image_InputMode_Click",
            [&] { Opt_InputMode.select(steppedIndex(Opt_InputMode, kFirstMode, kLastMode, +1)); });
}

void Form_ControlCenter::SetInputButton(int index, int noSelect, int zone2)
{
    if (index < Opt_Input.lbound() || index > Opt_Input.ubound())
        return;
    if (!noSelect)
        guarded(kModule, "SetInputButton", [&] { Opt_Input.select(index); });
    guarded(kModule, "SetInputButton", [&] {
        Line1->setText((zone2 ? QStringLiteral("ZONE2 ") : QStringLiteral("INPUT "))
                       + Opt_Input(index)->text());
    });
    guarded(kModule, "SetInputButton", [&] { Line2->clear(); });
    guarded(kModule, "SetInputButton", [&] { QCoreApplication::processEvents(); });
}

void Form_ControlCenter::GetInputButton(int &index)
{
    index = Opt_Input.ubound() + 1;
    for (int i = Opt_Input.lbound(); i <= Opt_Input.ubound(); ++i) {
        if (Opt_Input.isSelected(i)) {
            index = i;
            return;
        }
    }
}

void Form_ControlCenter::SetDSPButton(int index, int noSelect)
{
    if (!noSelect)
        guarded(kModule, "SetDSPButton", [&] { Opt_Dsp.select(index); });
    guarded(kModule, "SetDSPButton",
            [&] { Line2->setText(index == 0 ? QString() : Opt_Dsp(index)->text()); });
    guarded(kModule, "SetDSPButton", [&] {
        if (index == 0)
            Line1->setText(QStringLiteral("EFFECT OFF"));
        else if (index >= 1 && index <= 30)
            Line1->setText(Label_Prog.at(ReceiverVocabulary::dspGroupOf(index))->Caption());
    });
}

void Form_ControlCenter::Menu_Mode_Zone2_Click()
{
    guarded(kModule, "Menu_Mode_Zone2_Click", [&] {
        Menu_Mode_Zone2->setChecked(true);
        Menu_Mode_Main->setChecked(false);
        showZoneMode();
        Line1->setText(QStringLiteral("Mode Zone 2"));
        Line2->clear();
    });
    guarded(kModule, "Menu_Mode_Zone2_Click", [&] { SetSettings(); });
}

void Form_ControlCenter::Menu_Mode_Main_Click()
{
    guarded(kModule, "Menu_Mode_Main_Click", [&] {
        Menu_Mode_Main->setChecked(true);
        Menu_Mode_Zone2->setChecked(false);
        showZoneMode();
        Line1->setText(QStringLiteral("Mode Main/Master"));
        Line2->clear();
    });
    guarded(kModule, "Menu_Mode_Main_Click", [&] { SetSettings(); });
}

void Form_ControlCenter::Menu_MiniPopUp_Input_Click(int index)
{
    // The panel follows the receiver's input report, not the pop-up.
    guarded(kModule, "Menu_MiniPopUp_Input_Click", [&] { Opt_Input_Click(index); });
}

void Form_ControlCenter::Menu_MiniPopUp_Zone2_Click()
{
    guarded(kModule, "Menu_MiniPopUp_Zone2_Click", [&] {
        const bool zone2 = zone2Mode();
        Menu_Mode_Zone2->setChecked(!zone2);
        Menu_Mode_Main->setChecked(zone2);
        showZoneMode();
    });
    guarded(kModule, "Menu_MiniPopUp_Zone2_Click", [&] { SetSettings(); });
}

void Form_ControlCenter::showZoneMode()
{
    const bool zone2 = zone2Mode();
    Frame_Input->setCaption(zone2 ? tr("Rec Out") : tr("Input"));
    // The frames are shown only while the panels are folded out.
    if (!Frame_Input->isHidden()) {
        Frame_InputMode->setVisible(!zone2);
        Frame_6ChInput->setVisible(!zone2);
        Frame_61ES->setVisible(!zone2);
        Frame_Leer1->setVisible(zone2);
    }
}
