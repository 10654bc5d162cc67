#include "errors/ErrorGuard.h"
#include "link/Form_Com.h"
#include "link/LinkHost.h"

#include <array>

using namespace std::chrono_literals;

namespace {
constexpr std::chrono::milliseconds kPowerOnSettle {1000};

// Memory banks A to F: store and recall codes.
constexpr std::array<const char *, 6> kVolumeSaveCodes {"07E6B", "07E6C", "07E6D",
                                                        "07E6E", "07E6F", "07E70"};
constexpr std::array<const char *, 6> kVolumeLoadCodes {"07E75", "07E76", "07E77",
                                                        "07E78", "07E79", "07E7A"};

// The code for bank letter A to F (either case), or nullptr for any other text.
const char *bankCode(const QString &bank, const std::array<const char *, 6> &codes)
{
    const QString letter = bank.toUpper();
    for (int i = 0; i < 6; ++i) {
        if (letter == QChar(u'A' + i))
            return codes[std::size_t(i)];
    }
    return nullptr;
}
} // namespace

void Form_Com::sendAndRead(const QString &code, QString *Ret)
{
    SendCommand(code);
    QString answer;
    ReadPort(Ret ? *Ret : answer, false);
}

void Form_Com::ReportCommandEnable()
{
    SendCommand(QStringLiteral("20000"));
}

void Form_Com::ReportCommandDisable()
{
    SendCommand(QStringLiteral("20001"));
}

void Form_Com::ReportCommandTimeRealTime()
{
    SendCommand(QStringLiteral("20100"));
}

void Form_Com::ReportCommandTime50ms()
{
    SendCommand(QStringLiteral("20101"));
}

void Form_Com::ReportCommandTime100ms()
{
    SendCommand(QStringLiteral("20102"));
}

void Form_Com::ReportCommandTime150ms()
{
    SendCommand(QStringLiteral("20103"));
}

void Form_Com::ReportCommandTime200ms()
{
    SendCommand(QStringLiteral("20104"));
}

void Form_Com::ReportCommandTime250ms()
{
    SendCommand(QStringLiteral("20105"));
}

void Form_Com::ReportCommandTime300ms()
{
    SendCommand(QStringLiteral("20106"));
}

void Form_Com::ReportCommandTime350ms()
{
    SendCommand(QStringLiteral("20107"));
}

void Form_Com::InputCd(QString *)
{
    SendCommand(QStringLiteral("07A15"));
}

void Form_Com::InputTuner(QString *)
{
    SendCommand(QStringLiteral("07A16"));
}

void Form_Com::InputTape(QString *)
{
    SendCommand(QStringLiteral("07A18"));
}

void Form_Com::InputCDR(QString *)
{
    SendCommand(QStringLiteral("07A19"));
}

void Form_Com::InputMd(QString *)
{
    SendCommand(QStringLiteral("07AC9"));
}

void Form_Com::InputLd(QString *)
{
    SendCommand(QStringLiteral("07A17"));
}

void Form_Com::InputDvd(QString *)
{
    SendCommand(QStringLiteral("07AC1"));
}

void Form_Com::InputDTv(QString *)
{
    SendCommand(QStringLiteral("07A54"));
}

void Form_Com::InputCblSat(QString *)
{
    SendCommand(QStringLiteral("07AC0"));
}

void Form_Com::InputVcr1(QString *)
{
    SendCommand(QStringLiteral("07A0F"));
}

void Form_Com::InputVcr2(QString *)
{
    SendCommand(QStringLiteral("07A13"));
}

void Form_Com::InputVcr3(QString *)
{
    SendCommand(QStringLiteral("07AC8"));
}

void Form_Com::InputVAux(QString *)
{
    SendCommand(QStringLiteral("07A55"));
}

void Form_Com::InputPhono(QString *)
{
    SendCommand(QStringLiteral("07A14"));
}

void Form_Com::Zone2InputCd(QString *)
{
    SendCommand(QStringLiteral("07AD1"), 1);
}

void Form_Com::Zone2InputTuner(QString *)
{
    SendCommand(QStringLiteral("07AD2"), 1);
}

void Form_Com::Zone2InputTape(QString *)
{
    SendCommand(QStringLiteral("07AD3"), 1);
}

void Form_Com::Zone2InputCDR(QString *)
{
    SendCommand(QStringLiteral("07AD4"), 1);
}

void Form_Com::Zone2InputMd(QString *)
{
    SendCommand(QStringLiteral("07ACF"), 1);
}

void Form_Com::Zone2InputLd(QString *)
{
    SendCommand(QStringLiteral("07AD5"), 1);
}

void Form_Com::Zone2InputDvd(QString *)
{
    SendCommand(QStringLiteral("07ACD"), 1);
}

void Form_Com::Zone2InputDTv(QString *)
{
    SendCommand(QStringLiteral("07AD9"), 1);
}

void Form_Com::Zone2InputCblSat(QString *)
{
    SendCommand(QStringLiteral("07ACC"), 1);
}

void Form_Com::Zone2InputVcr1(QString *)
{
    SendCommand(QStringLiteral("07AD6"), 1);
}

void Form_Com::Zone2InputVcr2(QString *)
{
    SendCommand(QStringLiteral("07AD7"), 1);
}

void Form_Com::Zone2InputVcr3(QString *)
{
    SendCommand(QStringLiteral("07ACE"), 1);
}

void Form_Com::Zone2InputVAux(QString *)
{
    SendCommand(QStringLiteral("07AD8"), 1);
}

void Form_Com::Zone2InputPhono(QString *)
{
    SendCommand(QStringLiteral("07AD0"), 1);
}

void Form_Com::Input6ChOn(QString *)
{
    SendCommand(QStringLiteral("07EA4"));
}

void Form_Com::Input6ChOff(QString *)
{
    SendCommand(QStringLiteral("07EA5"));
}

void Form_Com::InputModeAuto(QString *)
{
    SendCommand(QStringLiteral("07EA6"));
}

void Form_Com::InputModeDD(QString *)
{
    SendCommand(QStringLiteral("07EA7"));
}

void Form_Com::InputModeDTS(QString *)
{
    SendCommand(QStringLiteral("07EA8"));
}

void Form_Com::InputModeDigital(QString *)
{
    SendCommand(QStringLiteral("07EA9"));
}

void Form_Com::InputModeAnalog(QString *)
{
    SendCommand(QStringLiteral("07EAA"));
}

void Form_Com::SpeakersAOn(QString *)
{
    SendCommand(QStringLiteral("07EAB"));
}

void Form_Com::SpeakersAOff(QString *)
{
    SendCommand(QStringLiteral("07EAC"));
}

void Form_Com::SpeakersBOn(QString *)
{
    SendCommand(QStringLiteral("07EAD"));
}

void Form_Com::SpeakersBOff(QString *)
{
    SendCommand(QStringLiteral("07EAE"));
}

void Form_Com::SleepTimerOff(QString *)
{
    SendCommand(QStringLiteral("07EB3"));
}

void Form_Com::SleepTimer120(QString *)
{
    SendCommand(QStringLiteral("07EB4"));
}

void Form_Com::SleepTimer90(QString *)
{
    SendCommand(QStringLiteral("07EB5"));
}

void Form_Com::SleepTimer60(QString *)
{
    SendCommand(QStringLiteral("07EB6"));
}

void Form_Com::SleepTimer30(QString *)
{
    SendCommand(QStringLiteral("07EB7"));
}

void Form_Com::Dsp61ESOn(QString *)
{
    SendCommand(QStringLiteral("07EB8"));
}

void Form_Com::Dsp61ESOff(QString *)
{
    SendCommand(QStringLiteral("07EB9"));
}

void Form_Com::DspSurroundNormal(QString *)
{
    SendCommand(QStringLiteral("07EFD"));
}

void Form_Com::DspSurroundEnhanced(QString *)
{
    SendCommand(QStringLiteral("07EFE"));
}

void Form_Com::DspEffectOff(QString *)
{
    SendCommand(QStringLiteral("07EE0"));
}

void Form_Com::MasterVolMuteOn(QString *)
{
    SendCommand(QStringLiteral("07EA2"));
}

void Form_Com::MasterVolMuteOff(QString *)
{
    SendCommand(QStringLiteral("07EA3"));
}

void Form_Com::Zone2VolMuteOn(QString *)
{
    SendCommand(QStringLiteral("07EA0"));
}

void Form_Com::Zone2VolMuteOff(QString *)
{
    SendCommand(QStringLiteral("07EA1"));
}

void Form_Com::PowerOff(QString *)
{
    SendCommand(QStringLiteral("07A1E"));
}

void Form_Com::MasterVolUp(QString *Ret)
{
    sendAndRead(QStringLiteral("07A1A"), Ret);
}

void Form_Com::MasterVolUpFast()
{
    SendCommand(QStringLiteral("07A1A"));
}

void Form_Com::MasterVolDown(QString *Ret)
{
    sendAndRead(QStringLiteral("07A1B"), Ret);
}

void Form_Com::MasterVolDownFast()
{
    SendCommand(QStringLiteral("07A1B"));
}

void Form_Com::Zone2VolUp(QString *Ret)
{
    sendAndRead(QStringLiteral("07ADA"), Ret);
}

void Form_Com::Zone2VolUpFast()
{
    SendCommand(QStringLiteral("07ADA"));
}

void Form_Com::Zone2VolDown(QString *Ret)
{
    sendAndRead(QStringLiteral("07ADB"), Ret);
}

void Form_Com::Zone2VolDownFast()
{
    SendCommand(QStringLiteral("07ADB"));
}

void Form_Com::PowerOn(QString *Ret)
{
    guarded("Form_Com", "PowerOn", [&] {
        sendAndRead(QStringLiteral("07A1D"), Ret);
        pause(kPowerOnSettle);
        QString settings;
        ReadSettings(settings);
        // Even an empty block is kept: the snapshot then says "nothing known".
        m_host->SetOrvaneSettings(settings);
    });
}

void Form_Com::VolumeSave(const QString &Bank, QString *Ret)
{
    guarded("Form_Com", "VolumeSave", [&] {
        if (const char *code = bankCode(Bank, kVolumeSaveCodes))
            SendCommand(QString::fromLatin1(code));
        QString answer;
        ReadPort(Ret ? *Ret : answer, false);
    });
}

void Form_Com::VolumeLoad(const QString &Bank, QString *Ret)
{
    guarded("Form_Com", "VolumeLoad", [&] {
        if (const char *code = bankCode(Bank, kVolumeLoadCodes))
            SendCommand(QString::fromLatin1(code));
        QString answer;
        ReadPort(Ret ? *Ret : answer, false);
    });
}
