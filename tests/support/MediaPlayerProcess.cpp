#include "MediaPlayerProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <csignal>
#include <sys/types.h>

namespace {

const QString kPlugin = QStringLiteral("/usr/lib/mpv-mpris/mpris.so");

void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(process.processId()), SIGCONT);
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// One chunk of a RIFF file: id, little-endian size, data padded to an even length.
QByteArray chunk(const char *id, const QByteArray &data)
{
    QByteArray bytes(id, 4);
    const quint32 size = quint32(data.size());
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((size >> shift) & 0xFF));
    bytes.append(data);
    if (data.size() % 2)
        bytes.append('\0');
    return bytes;
}

QByteArray littleEndian(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
    return out;
}

} // namespace

MediaPlayerProcess::~MediaPlayerProcess()
{
    stopProcess(m_process);
}

QString MediaPlayerProcess::missing()
{
    if (QStandardPaths::findExecutable(QStringLiteral("mpv")).isEmpty())
        return QStringLiteral("mpv is not installed");
    if (!QFileInfo::exists(kPlugin))
        return QStringLiteral("the mpv-mpris plug-in is not installed");
    return {};
}

bool MediaPlayerProcess::writeTrack(const QString &path, const QString &title,
                                    const QString &artist, int seconds)
{
    constexpr quint32 kRate = 8000; // 8-bit mono: one byte a sample
    const auto text = [](const QString &value) { return value.toUtf8() + '\0'; };
    const QByteArray info
        = QByteArray("INFO") + chunk("INAM", text(title)) + chunk("IART", text(artist));
    const QByteArray format = littleEndian(1, 2) + littleEndian(1, 2) + littleEndian(kRate, 4)
        + littleEndian(kRate, 4) + littleEndian(1, 2) + littleEndian(8, 2);
    const QByteArray body = QByteArray("WAVE") + chunk("fmt ", format) + chunk("LIST", info)
        + chunk("data", QByteArray(int(kRate) * seconds, char(0x80)));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(chunk("RIFF", body)) > 0;
}

bool MediaPlayerProcess::start(const QString &busAddress, const QStringList &files, bool paused)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    QStringList arguments
        = {QStringLiteral("--no-config"),    QStringLiteral("--ao=null"),
           QStringLiteral("--vo=null"),      QStringLiteral("--idle=yes"),
           QStringLiteral("--really-quiet"), QStringLiteral("--script=") + kPlugin};
    if (paused)
        arguments << QStringLiteral("--pause");
    m_process.start(QStringLiteral("mpv"), arguments + files);
    return m_process.waitForStarted(5000);
}

void MediaPlayerProcess::hold(bool held)
{
    if (isRunning())
        ::kill(pid_t(m_process.processId()), held ? SIGSTOP : SIGCONT);
}

void MediaPlayerProcess::kill()
{
    if (!isRunning())
        return;
    ::kill(pid_t(m_process.processId()), SIGCONT);
    m_process.kill();
    m_process.waitForFinished(3000);
}
