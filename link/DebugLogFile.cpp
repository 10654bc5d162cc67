#include "link/DebugLogFile.h"

#include "errors/OrvaneError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

QString DebugLogFile::stateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG_STATE_HOME counts only as an absolute path; a relative one is ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir(base).filePath(QStringLiteral("Orvane"));
}

bool DebugLogFile::isBuildTree(const QString &folder)
{
    const QDir dir(folder);
    return dir.exists(kBuildTreeMark)
        || QDir(dir.filePath(QStringLiteral(".."))).exists(kBuildTreeMark);
}

void DebugLogFile::open(bool fresh)
{
    const QString programFolder
        = m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
    const QIODevice::OpenMode mode
        = QIODevice::WriteOnly | (fresh ? QIODevice::Truncate : QIODevice::Append);

    // Whether a folder takes the file is known only by trying: permissions alone do not
    // tell (a read-only mount, or a user who may write anywhere). An installed program's
    // folder is never tried, even when it could be written (by root): the package
    // manager owns it.
    QFile beside(QDir(programFolder).filePath(kFileName));
    const bool buildTree = isBuildTree(programFolder);
    if (buildTree && beside.open(mode)) {
        m_path = beside.fileName();
        return;
    }
    const QString folder = stateFolder();
    QDir().mkpath(folder);
    QFile state(QDir(folder).filePath(kFileName));
    m_path = state.fileName();
    if (state.open(mode))
        return;
    if (buildTree) {
        fail(QCoreApplication::translate("DebugLogFile", "Cannot open %1 (%2) nor %3: %4")
                 .arg(beside.fileName(), beside.errorString(), state.fileName(),
                      state.errorString()));
    }
    fail(QCoreApplication::translate("DebugLogFile", "Cannot open %1: %2")
             .arg(state.fileName(), state.errorString()));
}

void DebugLogFile::fail(const QString &description)
{
    m_failed = true;
    m_failure = description;
    throw OrvaneError(OrvaneError::kFileAccess, description);
}

QString DebugLogFile::start()
{
    m_failed = false;
    m_failure.clear();
    m_path.clear();
    open(true);
    return m_path;
}

void DebugLogFile::append(const QString &line)
{
    if (m_failed)
        return;
    if (m_path.isEmpty())
        open(false);
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        fail(QCoreApplication::translate("DebugLogFile", "Cannot open %1: %2")
                 .arg(file.fileName(), file.errorString()));
    const QByteArray bytes = line.toLatin1() + "\r\n";
    if (file.write(bytes) != bytes.size() || !file.flush())
        fail(QCoreApplication::translate("DebugLogFile", "Cannot write %1: %2")
                 .arg(file.fileName(), file.errorString()));
}
