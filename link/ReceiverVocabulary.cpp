#include "link/ReceiverVocabulary.h"

#include "link/ReceiverLink.h"

#include <array>
#include <utility>

namespace ReceiverVocabulary {

namespace {

using Command = void (ReceiverLink::*)(QString *);
using PlainCommand = void (ReceiverLink::*)();

struct Input
{
    const char *caption;
    Command main;
    Command zone2;
};

constexpr std::array<Input, kLastInput> kInputs {{
    {"LD", &ReceiverLink::InputLd, &ReceiverLink::Zone2InputLd},
    {"D-TV", &ReceiverLink::InputDTv, &ReceiverLink::Zone2InputDTv},
    {"CBL/SAT", &ReceiverLink::InputCblSat, &ReceiverLink::Zone2InputCblSat},
    {"VCR 1", &ReceiverLink::InputVcr1, &ReceiverLink::Zone2InputVcr1},
    {"VCR 2", &ReceiverLink::InputVcr2, &ReceiverLink::Zone2InputVcr2},
    {"VCR 3", &ReceiverLink::InputVcr3, &ReceiverLink::Zone2InputVcr3},
    {"V-AUX", &ReceiverLink::InputVAux, &ReceiverLink::Zone2InputVAux},
    {"DVD", &ReceiverLink::InputDvd, &ReceiverLink::Zone2InputDvd},
    {"MD", &ReceiverLink::InputMd, &ReceiverLink::Zone2InputMd},
    {"TAPE", &ReceiverLink::InputTape, &ReceiverLink::Zone2InputTape},
    {"TUNER", &ReceiverLink::InputTuner, &ReceiverLink::Zone2InputTuner},
    {"CD", &ReceiverLink::InputCd, &ReceiverLink::Zone2InputCd},
    {"PHONO", &ReceiverLink::InputPhono, &ReceiverLink::Zone2InputPhono},
    {"CD-R", &ReceiverLink::InputCDR, &ReceiverLink::Zone2InputCDR},
}};

struct InputMode
{
    const char *caption;
    Command command;
};

constexpr std::array<InputMode, kLastInputMode> kInputModes {{
    {"Auto", &ReceiverLink::InputModeAuto},
    {"Digital", &ReceiverLink::InputModeDigital},
    {"Analog", &ReceiverLink::InputModeAnalog},
    {"DD", &ReceiverLink::InputModeDD},
    {"DTS", &ReceiverLink::InputModeDTS},
}};

constexpr std::array<const char *, kLastDsp + 1> kDspCaptions {
    "Effect Off",   "Hall A",          "Hall B",          "Hall C",         "Hall D",
    "Hall E",       "Live Concert",    "Tokyo",           "Freiburg",       "Royaumont",
    "Village Gate", "VillageVanguard", "The Bottom Line", "Roxy Theatre",   "Warehouse Loft",
    "Arena",        "Disco",           "Party",           "Game/Amusement", "Pop/Rock",
    "DJ",           "Classical/Opera", "Pavilion",        "Mono Movie",     "Variety/Sports",
    "Spectacle",    "Sci-Fi",          "Adventure",       "General",        "Normal",
    "Enhanced",     "8 Ch Stereo"};
// DSP program n is command "07EE0" + n in hexadecimal.
constexpr int kDspCommandBase = 0x7EE0;

struct SwitchCommands
{
    Switch which;
    Command on;
    Command off;
};

constexpr std::array<SwitchCommands, 7> kSwitches {{
    {Switch::Power, &ReceiverLink::PowerOn, &ReceiverLink::PowerOff},
    {Switch::MainMute, &ReceiverLink::MasterVolMuteOn, &ReceiverLink::MasterVolMuteOff},
    {Switch::Zone2Mute, &ReceiverLink::Zone2VolMuteOn, &ReceiverLink::Zone2VolMuteOff},
    {Switch::SpeakersA, &ReceiverLink::SpeakersAOn, &ReceiverLink::SpeakersAOff},
    {Switch::SpeakersB, &ReceiverLink::SpeakersBOn, &ReceiverLink::SpeakersBOff},
    {Switch::SixChInput, &ReceiverLink::Input6ChOn, &ReceiverLink::Input6ChOff},
    {Switch::Es61, &ReceiverLink::Dsp61ESOn, &ReceiverLink::Dsp61ESOff},
}};

struct SleepChoice
{
    int minutes;
    const char *caption;
    Command command;
};

constexpr std::array<SleepChoice, 5> kSleepChoices {{
    {0, "Off", &ReceiverLink::SleepTimerOff},
    {120, "120 min", &ReceiverLink::SleepTimer120},
    {90, "90 min", &ReceiverLink::SleepTimer90},
    {60, "60 min", &ReceiverLink::SleepTimer60},
    {30, "30 min", &ReceiverLink::SleepTimer30},
}};

const SleepChoice *sleepChoice(int minutes)
{
    for (const SleepChoice &choice : kSleepChoices)
        if (choice.minutes == minutes)
            return &choice;
    return nullptr;
}

// The index from first to last whose caption is `caption`, or first - 1.
template<typename CaptionOf>
int indexOfCaption(const QString &caption, int first, int last, CaptionOf captionOf)
{
    for (int index = first; index <= last; ++index)
        if (captionOf(index) == caption)
            return index;
    return first - 1;
}

} // namespace

QString inputCaption(int index)
{
    if (index < kFirstInput || index > kLastInput)
        return {};
    return QString::fromLatin1(kInputs[std::size_t(index - kFirstInput)].caption);
}

int inputIndex(const QString &caption)
{
    return indexOfCaption(caption, kFirstInput, kLastInput, inputCaption);
}

bool selectInput(ReceiverLink &link, Zone zone, int index)
{
    if (index < kFirstInput || index > kLastInput)
        return false;
    const Input &input = kInputs[std::size_t(index - kFirstInput)];
    (link.*(zone == Zone::Main ? input.main : input.zone2))(nullptr);
    return true;
}

QString inputModeCaption(int index)
{
    if (index < kFirstInputMode || index > kLastInputMode)
        return {};
    return QString::fromLatin1(kInputModes[std::size_t(index - kFirstInputMode)].caption);
}

int inputModeIndex(const QString &caption)
{
    return indexOfCaption(caption, kFirstInputMode, kLastInputMode, inputModeCaption);
}

bool selectInputMode(ReceiverLink &link, int index)
{
    if (index < kFirstInputMode || index > kLastInputMode)
        return false;
    (link.*kInputModes[std::size_t(index - kFirstInputMode)].command)(nullptr);
    return true;
}

QString dspCaption(int index)
{
    if (index < kFirstDsp || index > kLastDsp)
        return {};
    return QString::fromLatin1(kDspCaptions[std::size_t(index)]);
}

int dspIndex(const QString &caption)
{
    return indexOfCaption(caption, kFirstDsp, kLastDsp, dspCaption);
}

QString dspCommandCode(int index)
{
    if (index < kFirstDsp || index > kLastDsp)
        return {};
    return QLatin1Char('0') + QString::number(kDspCommandBase + index, 16).toUpper();
}

bool selectDsp(ReceiverLink &link, int index)
{
    const QString code = dspCommandCode(index);
    if (code.isEmpty())
        return false;
    link.SendCommand(code);
    return true;
}

const QList<DspGroup> &dspGroups()
{
    static const QList<DspGroup> groups {
        {QStringLiteral("Effect Off"), 0, 0},        {QStringLiteral("Concert Hall 1"), 1, 3},
        {QStringLiteral("Concert Hall 2"), 4, 6},    {QStringLiteral("Church"), 7, 9},
        {QStringLiteral("Jazz Club"), 10, 12},       {QStringLiteral("Rock Concert"), 13, 15},
        {QStringLiteral("Entertainment"), 16, 18},   {QStringLiteral("Concert Video 1"), 19, 20},
        {QStringLiteral("Concert Video 2"), 21, 22}, {QStringLiteral("Tv Theater"), 23, 24},
        {QStringLiteral("Movie Theater 1"), 25, 26}, {QStringLiteral("Movie Theater 2"), 27, 28},
        {QStringLiteral("DD/DTS SUR."), 29, 30},     {QString(), 31, 31}};
    return groups;
}

int dspGroupOf(int index)
{
    const QList<DspGroup> &groups = dspGroups();
    for (int g = 0; g < groups.size(); ++g)
        if (index >= groups[g].first && index <= groups[g].last)
            return g;
    return -1;
}

void setSwitch(ReceiverLink &link, Switch which, bool on)
{
    for (const SwitchCommands &row : kSwitches)
        if (row.which == which)
            (link.*(on ? row.on : row.off))(nullptr);
}

void stepVolume(ReceiverLink &link, Zone zone, bool up)
{
    const PlainCommand command = zone == Zone::Main
        ? (up ? &ReceiverLink::MasterVolUpFast : &ReceiverLink::MasterVolDownFast)
        : (up ? &ReceiverLink::Zone2VolUpFast : &ReceiverLink::Zone2VolDownFast);
    (link.*command)();
}

void stepVolumeAnswered(ReceiverLink &link, Zone zone, bool up, QString *reply)
{
    const Command command = zone == Zone::Main
        ? (up ? &ReceiverLink::MasterVolUp : &ReceiverLink::MasterVolDown)
        : (up ? &ReceiverLink::Zone2VolUp : &ReceiverLink::Zone2VolDown);
    (link.*command)(reply);
}

std::optional<int> sleepOfReport(int data)
{
    static constexpr int kMinutes[] = {120, 90, 60, 30, 0};
    if (data < 0 || data > 4)
        return std::nullopt;
    return kMinutes[data];
}

const QList<int> &sleepChoices()
{
    static const QList<int> minutes = [] {
        QList<int> list;
        for (const SleepChoice &choice : kSleepChoices)
            list.append(choice.minutes);
        return list;
    }();
    return minutes;
}

QString sleepCaption(int minutes)
{
    const SleepChoice *choice = sleepChoice(minutes);
    return choice ? QString::fromLatin1(choice->caption) : QString();
}

bool setSleep(ReceiverLink &link, int minutes)
{
    const SleepChoice *choice = sleepChoice(minutes);
    if (!choice)
        return false;
    (link.*choice->command)(nullptr);
    return true;
}

QString memoryLetter(int index)
{
    if (index < 1 || index > kMemories)
        return {};
    return QString(QChar(u'A' + (index - 1)));
}

bool recallMemory(ReceiverLink &link, int index)
{
    const QString letter = memoryLetter(index);
    if (letter.isEmpty())
        return false;
    link.VolumeLoad(letter);
    return true;
}

bool saveMemory(ReceiverLink &link, int index)
{
    const QString letter = memoryLetter(index);
    if (letter.isEmpty())
        return false;
    link.VolumeSave(letter);
    return true;
}

} // namespace ReceiverVocabulary
