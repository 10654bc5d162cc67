#include "sim/PtyServer.h"

#include "sim/ReceiverModel.h"
#include "sim/TrafficText.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A receiver's output is lost on the wire when nobody listens; here the pty keeps
// it until its buffer is full, and beyond this much we drop it the same way.
constexpr qsizetype kMaxUnsent = 4096;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

bool makeRaw(int fd)
{
    termios settings {};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

PtyServer::PtyServer(ReceiverModel *model, QObject *parent)
    : QObject(parent)
    , m_model(model)
{
}

PtyServer::~PtyServer()
{
    delete m_readNotifier;
    delete m_writeNotifier;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyServer::open(QString *error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        *error = systemError("grantpt/unlockpt");
        return false;
    }
    const char *name = ptsname(m_master);
    if (!name) {
        *error = systemError("ptsname");
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0) {
        *error = systemError("open slave");
        return false;
    }
    // Raw on both sides: no echo, no CR/LF translation, no signal characters.
    if (!makeRaw(m_master) || !makeRaw(m_slave)) {
        *error = systemError("tcsetattr");
        return false;
    }

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyServer::readClient);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyServer::writePending);
    return true;
}

void PtyServer::readClient()
{
    char buffer[1024];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count <= 0)
            break;
        const QByteArray bytes(buffer, count);
        log(">>", bytes);
        send(m_model->feed(bytes));
    }
}

void PtyServer::send(const QByteArray &bytes)
{
    if (bytes.isEmpty() || m_master < 0)
        return;
    log("<<", bytes);
    m_unsent += bytes.left(kMaxUnsent - m_unsent.size());
    writePending();
}

void PtyServer::writePending()
{
    while (!m_unsent.isEmpty()) {
        const ssize_t count = ::write(m_master, m_unsent.constData(), size_t(m_unsent.size()));
        if (count <= 0)
            break;
        m_unsent.remove(0, count);
    }
    m_writeNotifier->setEnabled(!m_unsent.isEmpty());
}

void PtyServer::log(const char *direction, const QByteArray &bytes) const
{
    if (!m_logging)
        return;
    std::fprintf(stderr, "%s %s\n", direction, trafficText(bytes).constData());
    std::fflush(stderr);
}
