#include "BrowserPage.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTest>

namespace {
const QString kPython = QStringLiteral("/usr/bin/python3");
} // namespace

BrowserPage::~BrowserPage()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("quit\n");
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished(2000);
}

QString BrowserPage::missing()
{
    if (QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty())
        return QStringLiteral("chromium is not installed (scripts/install-deps)");
    if (!QFileInfo(QStringLiteral("/usr/bin/chromedriver")).isExecutable())
        return QStringLiteral("chromium-driver is not installed (scripts/install-deps)");
    QProcess probe;
    probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import selenium")});
    if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
        return QStringLiteral("python3-selenium is not installed (scripts/install-deps)");
    return {};
}

bool BrowserPage::open(const QString &url, const QString &password)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANE_WEB_PASSWORD"), password);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(kPython, {QStringLiteral(ORVANE_WEB_DRIVER), url});
    const QString first = readLine(40000);
    if (first == u"ready")
        return true;
    m_error = QStringLiteral("the page did not come up (%1)").arg(first);
    return false;
}

QString BrowserPage::readLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return {};
        // The program under test runs in its own process; this one only waits.
        QTest::qWait(2);
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

QString BrowserPage::ask(const QString &command, int timeoutMs)
{
    m_process.write(command.toUtf8() + '\n');
    return readLine(timeoutMs);
}

double BrowserPage::timeOf(const QString &answer)
{
    return answer.section(QLatin1Char(' '), 1, 1).toDouble();
}
