#pragma once

#include <QList>
#include <QString>
#include <optional>

class ReceiverLink;

// What the program knows about the receiver's functions, in the terms of the main
// window's panels and menus: inputs 1 to 14, input modes 1 to 5, DSP programs 0 to 31
// with the groups the DSP panel shows them in, the on/off switches, the volume steps, the
// sleep choices and the six volume memories. The panels, the mini window, the
// home-automation bridge and the web remote all send through it, so an index means the
// same command everywhere. Every function sends through the link's named members, so a
// closed or busy link drops the command as it drops any other.
namespace ReceiverVocabulary {

enum class Zone { Main, Zone2 };

// ---- Inputs: 1 "LD" to 14 "CD-R", the input panel's order ----
constexpr int kFirstInput = 1;
constexpr int kLastInput = 14;
// The input panel's caption of `index`; empty outside 1 to 14.
QString inputCaption(int index);
// The index whose caption is `caption`, or 0.
int inputIndex(const QString &caption);
// Sends the input command of `index` for `zone`; false (nothing sent) outside 1 to 14.
bool selectInput(ReceiverLink &link, Zone zone, int index);

// ---- Input modes: 1 "Auto", 2 "Digital", 3 "Analog", 4 "DD", 5 "DTS" ----
constexpr int kFirstInputMode = 1;
constexpr int kLastInputMode = 5;
QString inputModeCaption(int index);
int inputModeIndex(const QString &caption);
bool selectInputMode(ReceiverLink &link, int index);

// ---- DSP programs: 0 "Effect Off" to 31 "8 Ch Stereo" ----
constexpr int kFirstDsp = 0;
constexpr int kLastDsp = 31;
QString dspCaption(int index);
// The index whose caption is `caption`, or -1.
int dspIndex(const QString &caption);
// The command code of program `index` ("07EE0" for Effect Off); empty outside 0 to 31.
QString dspCommandCode(int index);
bool selectDsp(ReceiverLink &link, int index);

// One group of the DSP panel: its label (empty for the unlabelled last program) and the
// programs under it.
struct DspGroup
{
    QString label;
    int first;
    int last;
};
// The groups in the panel's order: "Effect Off" (0), "Concert Hall 1" (1 to 3) … "DD/DTS
// SUR." (29, 30), then 31 without a label.
const QList<DspGroup> &dspGroups();
// The group (index into dspGroups()) that program `index` belongs to, or -1.
int dspGroupOf(int index);

// ---- Switches: on or off ----
enum class Switch { Power, MainMute, Zone2Mute, SpeakersA, SpeakersB, SixChInput, Es61 };
// Power on is the composite PowerOn (it also refreshes the settings snapshot).
void setSwitch(ReceiverLink &link, Switch which, bool on);

// ---- Volume ----
// One step of `zone` that only sends (auto-repeat, the hub, the web remote).
void stepVolume(ReceiverLink &link, Zone zone, bool up);
// One step that then waits for the receiver's answer, which `reply` receives when given.
void stepVolumeAnswered(ReceiverLink &link, Zone zone, bool up, QString *reply = nullptr);

// ---- Sleep timer: off (0), 120, 90, 60, 30 minutes, the menu's order ----
const QList<int> &sleepChoices();
// "Off" or "120 min" …; empty for a number that is no choice.
QString sleepCaption(int minutes);
// The minutes of a sleep report's data (00 to 04, as the receiver codes them); none for
// other data.
std::optional<int> sleepOfReport(int data);
// Sends the sleep command; false (nothing sent) for a number that is no choice.
bool setSleep(ReceiverLink &link, int minutes);

// ---- Volume memories 1 "A" to 6 "F" ----
constexpr int kMemories = 6;
// "A" to "F"; empty outside 1 to 6.
QString memoryLetter(int index);
// Recalls (VolumeLoad) or stores (VolumeSave) memory `index`; false outside 1 to 6.
bool recallMemory(ReceiverLink &link, int index);
bool saveMemory(ReceiverLink &link, int index);

} // namespace ReceiverVocabulary
