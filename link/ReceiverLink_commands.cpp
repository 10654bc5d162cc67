#include "errors/ErrorGuard.h"
#include "link/LinkHost.h"
#include "link/LinkTimings.h"
#include "link/ReceiverLink.h"

#include <array>

using namespace std::chrono_literals;

namespace {
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

#define ORVANE_DEFINE_COMMAND(name, code, refresh)                                           \
    void ReceiverLink::name(QString *)                                                       \
    {                                                                                        \
        SendCommand(QStringLiteral(code), (refresh) ? 1 : 0);                                \
    }
ORVANE_RECEIVER_COMMANDS(ORVANE_DEFINE_COMMAND)
#undef ORVANE_DEFINE_COMMAND

#define ORVANE_DEFINE_PLAIN_COMMAND(name, code)                                              \
    void ReceiverLink::name()                                                                \
    {                                                                                        \
        SendCommand(QStringLiteral(code));                                                   \
    }
ORVANE_RECEIVER_PLAIN_COMMANDS(ORVANE_DEFINE_PLAIN_COMMAND)
#undef ORVANE_DEFINE_PLAIN_COMMAND

#define ORVANE_DEFINE_ANSWERED_COMMAND(name, code)                                           \
    void ReceiverLink::name(QString *Ret)                                                    \
    {                                                                                        \
        sendAndRead(QStringLiteral(code), Ret);                                              \
    }
ORVANE_RECEIVER_ANSWERED_COMMANDS(ORVANE_DEFINE_ANSWERED_COMMAND)
#undef ORVANE_DEFINE_ANSWERED_COMMAND

const QList<ReceiverLink::CommandRow> &ReceiverLink::commandTable()
{
#define ORVANE_COMMAND_ROW(name, code, refresh) {#name, code, refresh},
#define ORVANE_PLAIN_COMMAND_ROW(name, code) {#name, code, false},
    static const QList<CommandRow> rows {ORVANE_RECEIVER_COMMANDS(ORVANE_COMMAND_ROW)
                                             ORVANE_RECEIVER_PLAIN_COMMANDS(
                                                 ORVANE_PLAIN_COMMAND_ROW)};
#undef ORVANE_COMMAND_ROW
#undef ORVANE_PLAIN_COMMAND_ROW
    return rows;
}

void ReceiverLink::sendAndRead(const QString &code, QString *Ret)
{
    SendCommand(code);
    QString answer;
    ReadPort(Ret ? *Ret : answer, false);
}

void ReceiverLink::PowerOn(QString *Ret)
{
    guarded("Form_Com", "PowerOn", [&] {
        sendAndRead(QStringLiteral("07A1D"), Ret);
        pause(LinkTimings::current().powerOnSettle);
        QString settings;
        ReadSettings(settings);
        // Even an empty block is kept: the snapshot then says "nothing known".
        m_host->SetOrvaneSettings(settings);
    });
}

void ReceiverLink::VolumeSave(const QString &Bank, QString *Ret)
{
    guarded("Form_Com", "VolumeSave", [&] {
        if (const char *code = bankCode(Bank, kVolumeSaveCodes))
            SendCommand(QString::fromLatin1(code));
        QString answer;
        ReadPort(Ret ? *Ret : answer, false);
    });
}

void ReceiverLink::VolumeLoad(const QString &Bank, QString *Ret)
{
    guarded("Form_Com", "VolumeLoad", [&] {
        if (const char *code = bankCode(Bank, kVolumeLoadCodes))
            SendCommand(QString::fromLatin1(code));
        QString answer;
        ReadPort(Ret ? *Ret : answer, false);
    });
}
