#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// A receiver on the serial line, reduced to bytes in and bytes out. It parses the
// frames the program writes (commands, the configuration request, the reset
// sequence), applies every command to its state, and answers with the reports a
// receiver sends for the change and with a configuration block built from the state.
// It has no clock and no I/O of its own: the fake serial port of the tests and the
// pseudo-terminal program both drive it.
class ReceiverModel
{
public:
    // Sources numbered like the program's input list.
    enum class Source {
        Ld = 1,
        DTv,
        CblSat,
        Vcr1,
        Vcr2,
        Vcr3,
        VAux,
        Dvd,
        Md,
        Tape,
        Tuner,
        Cd,
        Phono,
        CdR,
    };
    // Values as the receiver codes them in reports and in the block.
    enum class InputMode { Auto = 0, DolbyDigital = 1, Dts = 2, Digital = 3, Analog = 4 };
    enum class Sleep { Min120 = 0, Min90 = 1, Min60 = 2, Min30 = 3, Off = 4 };

    static constexpr int kDspPrograms = 32;
    static constexpr int kVolumeMemories = 6;
    static constexpr int kBlockDataLength = 0x30;
    // In standby the block carries only the two leading data characters, so the
    // program takes it as "off" (14 characters or fewer) and does not apply it.
    static constexpr int kStandbyDataLength = 2;
    static constexpr char kQuirkMarker[] = "@E01900";

    struct Options
    {
        QByteArray modelCode = "R0161";
        char softwareVersion = 'C';
        bool startInStandby = false;
        // Configuration requests before this one (counted from 1) get no answer.
        int answerFromRequest = 1;
        // Puts "@E01900" in front of the block data, as some receivers do.
        bool quirkE01900 = false;
        bool reportsOn = false;
        // Main volume: 0.5 dB steps, 0xC7 is 0 dB. Zone 2: 1 dB steps, 0x50 is 0 dB.
        int mainVolumeMin = 0x27;
        int mainVolumeMax = 0xE8;
        int zone2VolumeMin = 0x00;
        int zone2VolumeMax = 0x50;
    };

    ReceiverModel();
    explicit ReceiverModel(const Options &options);

    const Options &options() const { return m_options; }

    // Takes bytes as they arrive on the line (frames may be split across calls;
    // bytes outside frames are ignored) and returns what the receiver sends back.
    QByteArray feed(const QByteArray &bytes);

    // A front-panel event or a report line typed by a tester. Named events:
    // "es-key", "headphones on", "headphones off", "warning 0".."warning 3",
    // "power on", "power off". Anything else made of letters and digits is sent
    // as a report body (STX body ETX) and applied to the state when the receiver
    // knows it. Injected reports are sent even while reports are switched off.
    // `understood` is set false (and nothing returned) for other text.
    QByteArray inject(const QString &line, bool *understood = nullptr);

    // DC2, model code, version, length (two hex digits), data, ETX.
    QByteArray configurationBlock() const;

    // One line describing the whole state, for people watching the simulator.
    QString describe() const;

    // Report data of a DSP program (index as in the command 07EE0 + index) and back.
    static QByteArray dspData(int program);
    static int dspProgramFromData(const QByteArray &data); // -1 when unknown
    // Hex digit of a source in reports and in the block.
    static char sourceDigit(Source source);
    static bool sourceFromDigit(char digit, Source *source);

    bool power() const { return m_power; }
    void setPower(bool on) { m_power = on; }
    Source input() const { return m_input; }
    void setInput(Source source) { m_input = source; }
    Source zone2Input() const { return m_zone2Input; }
    void setZone2Input(Source source) { m_zone2Input = source; }
    InputMode inputMode() const { return m_inputMode; }
    void setInputMode(InputMode mode) { m_inputMode = mode; }
    bool sixChInput() const { return m_sixChInput; }
    void setSixChInput(bool on) { m_sixChInput = on; }
    int dspProgram() const { return m_dspProgram; }
    void setDspProgram(int program);
    bool es61() const { return m_es61; }
    void setEs61(bool on) { m_es61 = on; }
    bool speakersA() const { return m_speakersA; }
    void setSpeakersA(bool on) { m_speakersA = on; }
    bool speakersB() const { return m_speakersB; }
    void setSpeakersB(bool on) { m_speakersB = on; }
    bool headphones() const { return m_headphones; }
    void setHeadphones(bool plugged) { m_headphones = plugged; }
    bool mainMute() const { return m_mainMute; }
    void setMainMute(bool on) { m_mainMute = on; }
    bool zone2Mute() const { return m_zone2Mute; }
    void setZone2Mute(bool on) { m_zone2Mute = on; }
    int mainVolume() const { return m_mainVolume; }
    void setMainVolume(int value);
    int zone2Volume() const { return m_zone2Volume; }
    void setZone2Volume(int value);
    Sleep sleep() const { return m_sleep; }
    void setSleep(Sleep sleep) { m_sleep = sleep; }
    // Memories "A" to "F" as 0 to 5.
    int volumeMemory(int bank) const;
    void setVolumeMemory(int bank, int value);
    bool reportsEnabled() const { return m_reportsEnabled; }
    void setReportsEnabled(bool on) { m_reportsEnabled = on; }
    // 0 real time, 1 to 7 for 50 to 350 ms.
    int reportTime() const { return m_reportTime; }
    void setReportTime(int step) { m_reportTime = step; }

    // Sixteen characters last written to the front display ("21000" + "3xxxx" frames).
    QByteArray displayText() const { return m_displayText; }
    int configurationRequests() const { return m_configurationRequests; }
    int resets() const { return m_resets; }

private:
    QByteArray frame(char first, const QByteArray &body) const;
    QByteArray command(const QByteArray &code);
    QByteArray systemCommand(const QByteArray &code);
    QByteArray operation(int code);
    QByteArray configurationRequest();
    QByteArray reset();
    // The report frame for a state change, or nothing while reports are off.
    QByteArray report(const QByteArray &body) const;
    bool applyReport(const QByteArray &body);

    QByteArray inputBody() const;
    QByteArray zone2InputBody() const;
    QByteArray mainVolumeBody() const;
    QByteArray zone2VolumeBody() const;
    QByteArray dspBody() const;

    Options m_options;
    QByteArray m_pending;

    bool m_power = true;
    Source m_input = Source::Dvd;
    Source m_zone2Input = Source::Cd;
    InputMode m_inputMode = InputMode::Auto;
    bool m_sixChInput = false;
    int m_dspProgram = 1;
    bool m_es61 = false;
    bool m_speakersA = true;
    bool m_speakersB = false;
    bool m_headphones = false;
    bool m_mainMute = false;
    bool m_zone2Mute = false;
    int m_mainVolume = 0x9F;
    int m_zone2Volume = 0x46;
    Sleep m_sleep = Sleep::Off;
    std::array<int, kVolumeMemories> m_volumeMemories {};
    bool m_reportsEnabled = false;
    int m_reportTime = 0;

    QByteArray m_displayText;
    int m_displayPart = 0;
    int m_configurationRequests = 0;
    int m_resets = 0;
};
