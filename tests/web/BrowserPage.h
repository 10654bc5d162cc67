#pragma once

#include <QProcess>
#include <QString>

// The remote's page in headless Chromium, driven by drive_remote.py one command a line.
class BrowserPage
{
public:
    BrowserPage() = default;
    ~BrowserPage();
    BrowserPage(const BrowserPage &) = delete;
    BrowserPage &operator=(const BrowserPage &) = delete;

    // Why the browser cannot be driven (a package missing), or empty.
    static QString missing();
    // Opens `url`, signs in with `password` and waits until the page shows its remote.
    bool open(const QString &url, const QString &password);
    // Sends one command and returns the answer line (empty after `timeoutMs`).
    QString ask(const QString &command, int timeoutMs = 15000);
    // The answer's second word as a number (an epoch time in ms).
    static double timeOf(const QString &answer);
    QString errorString() const { return m_error; }

private:
    QString readLine(int timeoutMs);

    QProcess m_process;
    QString m_error;
};
