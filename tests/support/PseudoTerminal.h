#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <thread>

// A pseudo-terminal whose master side the test plays, for the real serial port on its
// other side: bytes sent and received directly, or drained by a reader thread.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const;
    // Closes the master side, as a device that goes away.
    void closeMaster();
    bool send(const QByteArray &bytes);
    // Sends the bytes from a thread of its own, in one write as far as the line takes
    // them, so the caller can run events (and the port read) meanwhile.
    void startWriting(const QByteArray &bytes);
    // Reads until `count` bytes came or the time is up.
    QByteArray receive(qsizetype count, int timeoutMs = 2000);
    // From now on a thread reads and counts everything that arrives.
    void startReading();
    qint64 bytesRead() const { return m_read; }

private:
    int m_master = -1;
    std::thread m_reader;
    std::thread m_writer;
    std::atomic<bool> m_stop {false};
    std::atomic<qint64> m_read {0};
};
