#include "sim/ReceiverModel.h"

#include <QStringList>
#include <algorithm>

namespace {

constexpr char kStx = 2;
constexpr char kEtx = 3;
constexpr char kDc1 = 17;
constexpr char kDc2 = 18;
constexpr char kDc3 = 19;
constexpr char kDel = 127;

// A frame start that finds no ETX within this many bytes was noise; drop it so a
// stray STX cannot make the receiver swallow everything after it.
constexpr qsizetype kMaxFrameLength = 64;

bool isFrameStart(char c)
{
    return c == kStx || c == kDc1 || c == kDc3;
}

QByteArray hex2(int value)
{
    return QByteArray::number(value & 0xFF, 16).toUpper().rightJustified(2, '0');
}

QByteArray onOff(bool on)
{
    return on ? QByteArrayLiteral("01") : QByteArrayLiteral("00");
}

bool isUpperHex(const QByteArray &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

int parseHex2(const QByteArray &text)
{
    if (text.size() != 2 || !isUpperHex(text))
        return -1;
    return text.toInt(nullptr, 16);
}

// Report data of each DSP program, indexed like the DSP commands 07EE0 + index.
constexpr std::array<const char *, ReceiverModel::kDspPrograms> kDspData = {
    "80", "00", "01", "02", "04", "05", "06", "08", "09", "0A", "0C", "0D", "0E", "10", "11", "12",
    "14", "15", "16", "18", "19", "1C", "1D", "20", "21", "24", "25", "28", "29", "2C", "2D", "17",
};

struct InputCommand
{
    int mainCode;
    int zone2Code;
    ReceiverModel::Source source;
};

constexpr InputCommand kInputCommands[] = {
    {0x07A15, 0x07AD1, ReceiverModel::Source::Cd},
    {0x07A16, 0x07AD2, ReceiverModel::Source::Tuner},
    {0x07A18, 0x07AD3, ReceiverModel::Source::Tape},
    {0x07A19, 0x07AD4, ReceiverModel::Source::CdR},
    {0x07AC9, 0x07ACF, ReceiverModel::Source::Md},
    {0x07A17, 0x07AD5, ReceiverModel::Source::Ld},
    {0x07AC1, 0x07ACD, ReceiverModel::Source::Dvd},
    {0x07A54, 0x07AD9, ReceiverModel::Source::DTv},
    {0x07AC0, 0x07ACC, ReceiverModel::Source::CblSat},
    {0x07A0F, 0x07AD6, ReceiverModel::Source::Vcr1},
    {0x07A13, 0x07AD7, ReceiverModel::Source::Vcr2},
    {0x07AC8, 0x07ACE, ReceiverModel::Source::Vcr3},
    {0x07A55, 0x07AD8, ReceiverModel::Source::VAux},
    {0x07A14, 0x07AD0, ReceiverModel::Source::Phono},
};

const char *sourceName(ReceiverModel::Source source)
{
    static constexpr const char *names[]
        = {"LD",  "D-TV", "CBL/SAT", "VCR 1", "VCR 2", "VCR 3", "V-AUX",
           "DVD", "MD",   "TAPE",    "TUNER", "CD",    "PHONO", "CD-R"};
    return names[static_cast<int>(source) - 1];
}

} // namespace

ReceiverModel::ReceiverModel()
    : ReceiverModel(Options {})
{
}

ReceiverModel::ReceiverModel(const Options &options)
    : m_options(options)
    , m_power(!options.startInStandby)
    , m_reportsEnabled(options.reportsOn)
    , m_displayText(16, ' ')
{
    m_volumeMemories.fill(m_mainVolume);
}

QByteArray ReceiverModel::dspData(int program)
{
    if (program < 0 || program >= kDspPrograms)
        return {};
    return QByteArray(kDspData[program]);
}

int ReceiverModel::dspProgramFromData(const QByteArray &data)
{
    for (int program = 0; program < kDspPrograms; ++program) {
        if (data == kDspData[program])
            return program;
    }
    return -1;
}

// The receiver codes sources so that the program's index is x - 5 for digits above
// 5 and 13 - x otherwise. CD-R has no digit the program decodes; this receiver
// sends "D" for it.
char ReceiverModel::sourceDigit(Source source)
{
    const int index = static_cast<int>(source);
    if (source == Source::CdR)
        return 'D';
    const int digit = index <= 7 ? index + 5 : 13 - index;
    return "0123456789ABC"[digit];
}

bool ReceiverModel::sourceFromDigit(char digit, Source *source)
{
    for (int index = 1; index <= 14; ++index) {
        if (sourceDigit(static_cast<Source>(index)) == digit) {
            *source = static_cast<Source>(index);
            return true;
        }
    }
    return false;
}

void ReceiverModel::setDspProgram(int program)
{
    m_dspProgram = std::clamp(program, 0, kDspPrograms - 1);
}

void ReceiverModel::setMainVolume(int value)
{
    m_mainVolume = std::clamp(value, 0, 255);
}

void ReceiverModel::setZone2Volume(int value)
{
    m_zone2Volume = std::clamp(value, 0, 255);
}

int ReceiverModel::volumeMemory(int bank) const
{
    return bank >= 0 && bank < kVolumeMemories ? m_volumeMemories[bank] : -1;
}

void ReceiverModel::setVolumeMemory(int bank, int value)
{
    if (bank >= 0 && bank < kVolumeMemories)
        m_volumeMemories[bank] = std::clamp(value, 0, 255);
}

QByteArray ReceiverModel::feed(const QByteArray &bytes)
{
    m_pending += bytes;
    QByteArray out;
    for (;;) {
        const auto start = std::find_if(m_pending.cbegin(), m_pending.cend(), isFrameStart);
        if (start == m_pending.cend()) {
            m_pending.clear();
            break;
        }
        m_pending.remove(0, start - m_pending.cbegin());

        qsizetype end = -1;
        qsizetype restart = -1;
        for (qsizetype i = 1; i < m_pending.size(); ++i) {
            if (m_pending.at(i) == kEtx) {
                end = i;
                break;
            }
            if (isFrameStart(m_pending.at(i))) {
                restart = i;
                break;
            }
        }
        if (restart > 0) {
            // A new frame began before the old one ended: the old one was cut off.
            m_pending.remove(0, restart);
            continue;
        }
        if (end < 0) {
            if (m_pending.size() > kMaxFrameLength)
                m_pending.clear();
            break;
        }

        const char first = m_pending.at(0);
        const QByteArray body = m_pending.mid(1, end - 1);
        m_pending.remove(0, end + 1);
        if (first == kStx)
            out += command(body);
        else if (first == kDc1 && body == "000")
            out += configurationRequest();
        else if (first == kDc3 && body == QByteArray(3, kDel))
            out += reset();
    }
    return out;
}

QByteArray ReceiverModel::command(const QByteArray &code)
{
    if (code.size() != 5)
        return {};
    if (code.at(0) == '3') {
        // Four characters of display text, following "21000".
        if (m_displayPart < 4)
            m_displayText.replace(m_displayPart++ * 4, 4, code.mid(1));
        return {};
    }
    if (!isUpperHex(code))
        return {};
    if (code.at(0) == '2')
        return systemCommand(code);
    if (!code.startsWith("07"))
        return {};
    const int value = code.toInt(nullptr, 16);
    // In standby the receiver only listens for the power-on command.
    if (!m_power && value != 0x07A1D)
        return {};
    return operation(value);
}

QByteArray ReceiverModel::systemCommand(const QByteArray &code)
{
    if (code == "20000") {
        m_reportsEnabled = true;
    } else if (code == "20001") {
        m_reportsEnabled = false;
    } else if (code.startsWith("2010") && code.at(4) <= '7') {
        m_reportTime = code.at(4) - '0';
    } else if (code == "21000") {
        m_displayText.fill(' ');
        m_displayPart = 0;
    }
    // "2F00x" is the program echoing a link test; nothing to answer.
    return {};
}

QByteArray ReceiverModel::operation(int code)
{
    for (const InputCommand &input : kInputCommands) {
        if (code == input.mainCode) {
            m_input = input.source;
            return report(inputBody());
        }
        if (code == input.zone2Code) {
            m_zone2Input = input.source;
            return report(zone2InputBody());
        }
    }
    if (code >= 0x07EE0 && code <= 0x07EFF) {
        m_dspProgram = code - 0x07EE0;
        return report(dspBody());
    }
    if (code >= 0x07E6B && code <= 0x07E70) {
        m_volumeMemories[code - 0x07E6B] = m_mainVolume;
        return {};
    }
    if (code >= 0x07E75 && code <= 0x07E7A) {
        m_mainVolume = m_volumeMemories[code - 0x07E75];
        return report(mainVolumeBody());
    }

    switch (code) {
    case 0x07A1D:
        m_power = true;
        return report("002001");
    case 0x07A1E:
        m_power = false;
        return report("002000");
    case 0x07EA4:
    case 0x07EA5:
        m_sixChInput = code == 0x07EA4;
        return report(inputBody());
    case 0x07EA6:
    case 0x07EA7:
    case 0x07EA8:
    case 0x07EA9:
    case 0x07EAA: {
        static constexpr InputMode modes[]
            = {InputMode::Auto, InputMode::DolbyDigital, InputMode::Dts, InputMode::Digital,
               InputMode::Analog};
        m_inputMode = modes[code - 0x07EA6];
        return report("0022" + hex2(static_cast<int>(m_inputMode)));
    }
    case 0x07EAB:
    case 0x07EAC:
        m_speakersA = code == 0x07EAB;
        return report("202E" + onOff(m_speakersA));
    case 0x07EAD:
    case 0x07EAE:
        m_speakersB = code == 0x07EAD;
        return report("202F" + onOff(m_speakersB));
    case 0x07EB3:
    case 0x07EB4:
    case 0x07EB5:
    case 0x07EB6:
    case 0x07EB7: {
        static constexpr Sleep sleeps[]
            = {Sleep::Off, Sleep::Min120, Sleep::Min90, Sleep::Min60, Sleep::Min30};
        m_sleep = sleeps[code - 0x07EB3];
        return report("002C" + hex2(static_cast<int>(m_sleep)));
    }
    case 0x07EB8:
    case 0x07EB9:
        m_es61 = code == 0x07EB8;
        return report("002D" + onOff(m_es61));
    case 0x07EA2:
    case 0x07EA3:
        m_mainMute = code == 0x07EA2;
        return report("0023" + onOff(m_mainMute));
    case 0x07EA0:
    case 0x07EA1:
        m_zone2Mute = code == 0x07EA0;
        return report("0025" + onOff(m_zone2Mute));
    case 0x07A1A:
    case 0x07A1B:
        m_mainVolume = std::clamp(m_mainVolume + (code == 0x07A1A ? 1 : -1),
                                  m_options.mainVolumeMin, m_options.mainVolumeMax);
        return report(mainVolumeBody());
    case 0x07ADA:
    case 0x07ADB:
        m_zone2Volume = std::clamp(m_zone2Volume + (code == 0x07ADA ? 1 : -1),
                                   m_options.zone2VolumeMin, m_options.zone2VolumeMax);
        return report(zone2VolumeBody());
    default:
        return {};
    }
}

QByteArray ReceiverModel::configurationRequest()
{
    ++m_configurationRequests;
    if (m_configurationRequests < m_options.answerFromRequest)
        return {};
    return configurationBlock();
}

QByteArray ReceiverModel::reset()
{
    // The reset returns the serial settings to their power-up values.
    ++m_resets;
    m_reportsEnabled = m_options.reportsOn;
    m_reportTime = 0;
    return {};
}

QByteArray ReceiverModel::configurationBlock() const
{
    QByteArray data;
    if (!m_power) {
        data = QByteArray(kStandbyDataLength, '0');
    } else {
        data = QByteArray(kBlockDataLength, '0');
        data[1] = '1';
        data[2] = sourceDigit(m_input);
        data[3] = m_sixChInput ? '1' : '0';
        data[4] = char('0' + static_cast<int>(m_inputMode));
        data[6] = sourceDigit(m_zone2Input);
        data.replace(12, 2, dspData(m_dspProgram));
        data[14] = m_dspProgram == 0 ? '0' : '1';
        data[15] = m_es61 ? '1' : '0';
        data[22] = m_speakersA ? '1' : '0';
        data[23] = m_speakersB ? '1' : '0';
        data[29] = m_headphones ? '1' : '0';
        // The rest of the state, where the program does not look, so that a traffic
        // log shows it.
        data.replace(30, 2, hex2(m_mainVolume));
        data.replace(32, 2, hex2(m_zone2Volume));
        data[34] = m_mainMute ? '1' : '0';
        data[35] = m_zone2Mute ? '1' : '0';
        data[36] = char('0' + static_cast<int>(m_sleep));
    }
    if (m_options.quirkE01900)
        data.prepend(kQuirkMarker);

    QByteArray block;
    block += kDc2;
    block += m_options.modelCode;
    block += m_options.softwareVersion;
    block += hex2(int(data.size()));
    block += data;
    block += kEtx;
    return block;
}

QByteArray ReceiverModel::frame(char first, const QByteArray &body) const
{
    return first + body + kEtx;
}

QByteArray ReceiverModel::report(const QByteArray &body) const
{
    return m_reportsEnabled ? frame(kStx, body) : QByteArray();
}

QByteArray ReceiverModel::inputBody() const
{
    return QByteArray("1021") + (m_sixChInput ? '1' : '0') + sourceDigit(m_input);
}

QByteArray ReceiverModel::zone2InputBody() const
{
    return QByteArray("20240") + sourceDigit(m_zone2Input);
}

QByteArray ReceiverModel::mainVolumeBody() const
{
    return "0026" + hex2(m_mainVolume);
}

QByteArray ReceiverModel::zone2VolumeBody() const
{
    return "0027" + hex2(m_zone2Volume);
}

QByteArray ReceiverModel::dspBody() const
{
    return "0028" + dspData(m_dspProgram);
}

QByteArray ReceiverModel::inject(const QString &line, bool *understood)
{
    if (understood)
        *understood = true;
    const QString event = line.simplified().toLower();
    QByteArray body;
    if (event == QLatin1String("es-key")) {
        // The key press arrives as a 6.1/ES report with the panel's prefix.
        m_es61 = false;
        body = "102D00";
    } else if (event == QLatin1String("headphones on")
               || event == QLatin1String("headphones off")) {
        m_headphones = event.endsWith(QLatin1String("on"));
        body = "0034" + onOff(m_headphones);
    } else if (event.startsWith(QLatin1String("warning ")) && event.size() == 9
               && event.at(8) >= QLatin1Char('0') && event.at(8) <= QLatin1Char('3')) {
        body = "00010" + event.right(1).toLatin1();
    } else if (event == QLatin1String("power on") || event == QLatin1String("power off")) {
        m_power = event.endsWith(QLatin1String("on"));
        body = "0020" + onOff(m_power);
    } else {
        const QString text = line.trimmed();
        const bool plain = !text.isEmpty() && text.size() <= 16
            && std::all_of(text.begin(), text.end(),
                           [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); });
        if (!plain) {
            if (understood)
                *understood = false;
            return {};
        }
        body = text.toLatin1();
        applyReport(body);
    }
    return frame(kStx, body);
}

bool ReceiverModel::applyReport(const QByteArray &body)
{
    if (body.size() != 6)
        return false;
    Source source;
    if (body.startsWith("1021") && (body.at(4) == '0' || body.at(4) == '1')
        && sourceFromDigit(body.at(5), &source)) {
        m_sixChInput = body.at(4) == '1';
        m_input = source;
        return true;
    }
    if (body.startsWith("20240") && sourceFromDigit(body.at(5), &source)) {
        m_zone2Input = source;
        return true;
    }

    const QByteArray code = body.mid(2, 2);
    const QByteArray dataText = body.mid(4, 2);
    const int data = parseHex2(dataText);
    if (data < 0)
        return false;
    const bool flagData = data == 0 || data == 1;
    if (code == "26") {
        m_mainVolume = data;
    } else if (code == "27") {
        m_zone2Volume = data;
    } else if (code == "28" && dspProgramFromData(dataText) >= 0) {
        m_dspProgram = dspProgramFromData(dataText);
    } else if (code == "22" && data <= 4) {
        m_inputMode = static_cast<InputMode>(data);
    } else if (code == "2C" && data <= 4) {
        m_sleep = static_cast<Sleep>(data);
    } else if (code == "23" && flagData) {
        m_mainMute = data;
    } else if (code == "25" && flagData) {
        m_zone2Mute = data;
    } else if (code == "2D" && flagData) {
        m_es61 = data;
    } else if (code == "20" && flagData) {
        m_power = data;
    } else if (code == "2E" && flagData) {
        m_speakersA = data;
    } else if (code == "2F" && flagData) {
        m_speakersB = data;
    } else if (code == "34" && flagData) {
        m_headphones = data;
    } else {
        return false;
    }
    return true;
}

QString ReceiverModel::describe() const
{
    static constexpr const char *modes[] = {"Auto", "DD", "DTS", "Digital", "Analog"};
    static constexpr const char *sleeps[] = {"120min", "90min", "60min", "30min", "off"};
    auto flag = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
    QStringList parts;
    parts << QStringLiteral("power=%1").arg(flag(m_power))
          << QStringLiteral("input=%1").arg(QLatin1String(sourceName(m_input)))
          << QStringLiteral("zone2-input=%1").arg(QLatin1String(sourceName(m_zone2Input)))
          << QStringLiteral("mode=%1").arg(QLatin1String(modes[static_cast<int>(m_inputMode)]))
          << QStringLiteral("6ch=%1").arg(flag(m_sixChInput))
          << QStringLiteral("dsp=%1").arg(m_dspProgram) << QStringLiteral("es=%1").arg(flag(m_es61))
          << QStringLiteral("speakers-a=%1").arg(flag(m_speakersA))
          << QStringLiteral("speakers-b=%1").arg(flag(m_speakersB))
          << QStringLiteral("headphones=%1").arg(flag(m_headphones))
          << QStringLiteral("mute=%1").arg(flag(m_mainMute))
          << QStringLiteral("zone2-mute=%1").arg(flag(m_zone2Mute))
          << QStringLiteral("volume=%1").arg(QLatin1String(hex2(m_mainVolume)))
          << QStringLiteral("zone2-volume=%1").arg(QLatin1String(hex2(m_zone2Volume)))
          << QStringLiteral("sleep=%1").arg(QLatin1String(sleeps[static_cast<int>(m_sleep)]))
          << QStringLiteral("reports=%1").arg(flag(m_reportsEnabled))
          << QStringLiteral("report-time=%1").arg(m_reportTime)
          << QStringLiteral("display=\"%1\"").arg(QString::fromLatin1(m_displayText));
    return parts.join(QLatin1Char(' '));
}
