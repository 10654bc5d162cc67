#pragma once

// The receiver's command set as data: member name, five-character code, and whether
// the member first takes a fresh settings block (the zone-2 inputs). ReceiverLink
// declares and defines one member per row; the rows are also listed at run time
// (ReceiverLink::commandTable) for callers that pick a command by name.

// Members `void Name(QString *Ret = nullptr)` that only send their code.
#define ORVANE_RECEIVER_COMMANDS(X)                                                          \
    X(InputCd, "07A15", false)                                                               \
    X(InputTuner, "07A16", false)                                                            \
    X(InputTape, "07A18", false)                                                             \
    X(InputCDR, "07A19", false)                                                              \
    X(InputMd, "07AC9", false)                                                               \
    X(InputLd, "07A17", false)                                                               \
    X(InputDvd, "07AC1", false)                                                              \
    X(InputDTv, "07A54", false)                                                              \
    X(InputCblSat, "07AC0", false)                                                           \
    X(InputVcr1, "07A0F", false)                                                             \
    X(InputVcr2, "07A13", false)                                                             \
    X(InputVcr3, "07AC8", false)                                                             \
    X(InputVAux, "07A55", false)                                                             \
    X(InputPhono, "07A14", false)                                                            \
    X(Zone2InputCd, "07AD1", true)                                                           \
    X(Zone2InputTuner, "07AD2", true)                                                        \
    X(Zone2InputTape, "07AD3", true)                                                         \
    X(Zone2InputCDR, "07AD4", true)                                                          \
    X(Zone2InputMd, "07ACF", true)                                                           \
    X(Zone2InputLd, "07AD5", true)                                                           \
    X(Zone2InputDvd, "07ACD", true)                                                          \
    X(Zone2InputDTv, "07AD9", true)                                                          \
    X(Zone2InputCblSat, "07ACC", true)                                                       \
    X(Zone2InputVcr1, "07AD6", true)                                                         \
    X(Zone2InputVcr2, "07AD7", true)                                                         \
    X(Zone2InputVcr3, "07ACE", true)                                                         \
    X(Zone2InputVAux, "07AD8", true)                                                         \
    X(Zone2InputPhono, "07AD0", true)                                                        \
    X(Input6ChOn, "07EA4", false)                                                            \
    X(Input6ChOff, "07EA5", false)                                                           \
    X(InputModeAuto, "07EA6", false)                                                         \
    X(InputModeDD, "07EA7", false)                                                           \
    X(InputModeDTS, "07EA8", false)                                                          \
    X(InputModeDigital, "07EA9", false)                                                      \
    X(InputModeAnalog, "07EAA", false)                                                       \
    X(SpeakersAOn, "07EAB", false)                                                           \
    X(SpeakersAOff, "07EAC", false)                                                          \
    X(SpeakersBOn, "07EAD", false)                                                           \
    X(SpeakersBOff, "07EAE", false)                                                          \
    X(SleepTimerOff, "07EB3", false)                                                         \
    X(SleepTimer120, "07EB4", false)                                                         \
    X(SleepTimer90, "07EB5", false)                                                          \
    X(SleepTimer60, "07EB6", false)                                                          \
    X(SleepTimer30, "07EB7", false)                                                          \
    X(Dsp61ESOn, "07EB8", false)                                                             \
    X(Dsp61ESOff, "07EB9", false)                                                            \
    X(DspSurroundNormal, "07EFD", false)                                                     \
    X(DspSurroundEnhanced, "07EFE", false)                                                   \
    X(DspEffectOff, "07EE0", false)                                                          \
    X(MasterVolMuteOn, "07EA2", false)                                                       \
    X(MasterVolMuteOff, "07EA3", false)                                                      \
    X(Zone2VolMuteOn, "07EA0", false)                                                        \
    X(Zone2VolMuteOff, "07EA1", false)                                                       \
    X(PowerOff, "07A1E", false)

// Members `void Name()` that only send their code: report control and the volume
// steps that do not wait for the answer.
#define ORVANE_RECEIVER_PLAIN_COMMANDS(X)                                                    \
    X(ReportCommandEnable, "20000")                                                          \
    X(ReportCommandDisable, "20001")                                                         \
    X(ReportCommandTimeRealTime, "20100")                                                    \
    X(ReportCommandTime50ms, "20101")                                                        \
    X(ReportCommandTime100ms, "20102")                                                       \
    X(ReportCommandTime150ms, "20103")                                                       \
    X(ReportCommandTime200ms, "20104")                                                       \
    X(ReportCommandTime250ms, "20105")                                                       \
    X(ReportCommandTime300ms, "20106")                                                       \
    X(ReportCommandTime350ms, "20107")                                                       \
    X(MasterVolUpFast, "07A1A")                                                              \
    X(MasterVolDownFast, "07A1B")                                                            \
    X(Zone2VolUpFast, "07ADA")                                                               \
    X(Zone2VolDownFast, "07ADB")

// Members `void Name(QString *Ret = nullptr)` that send their code and read the answer.
#define ORVANE_RECEIVER_ANSWERED_COMMANDS(X)                                                 \
    X(MasterVolUp, "07A1A")                                                                  \
    X(MasterVolDown, "07A1B")                                                                \
    X(Zone2VolUp, "07ADA")                                                                   \
    X(Zone2VolDown, "07ADB")
