#include "PseudoTerminal.h"

#include <QElapsedTimer>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master >= 0 && (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0))
        closeMaster();
}

PseudoTerminal::~PseudoTerminal()
{
    m_stop = true;
    if (m_reader.joinable())
        m_reader.join();
    if (m_writer.joinable())
        m_writer.join();
    closeMaster();
}

QString PseudoTerminal::slavePath() const
{
    return isValid() ? QString::fromLocal8Bit(::ptsname(m_master)) : QString();
}

void PseudoTerminal::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool PseudoTerminal::send(const QByteArray &bytes)
{
    return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

QByteArray PseudoTerminal::receive(qsizetype count, int timeoutMs)
{
    QByteArray data;
    QElapsedTimer clock;
    clock.start();
    while (data.size() < count && clock.elapsed() < timeoutMs) {
        pollfd fd {m_master, POLLIN, 0};
        if (::poll(&fd, 1, 50) > 0 && (fd.revents & POLLIN)) {
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                data.append(buffer, n);
        }
    }
    return data;
}

void PseudoTerminal::startWriting(const QByteArray &bytes)
{
    m_writer = std::thread([this, bytes] {
        qsizetype done = 0;
        while (done < bytes.size() && !m_stop) {
            const ssize_t n
                = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
    });
}

void PseudoTerminal::startReading()
{
    m_reader = std::thread([this] {
        char buffer[4096];
        while (!m_stop) {
            pollfd fd {m_master, POLLIN, 0};
            if (::poll(&fd, 1, 20) > 0 && (fd.revents & POLLIN)) {
                const ssize_t n = ::read(m_master, buffer, sizeof buffer);
                if (n > 0)
                    m_read += n;
            }
        }
    });
}
