#include "timecontrol/ScheduleScript.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool ScheduleScript::isWritable(const QString &line)
{
    for (QChar c : line)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

bool ScheduleScript::write(const QString &path, const QStringList &lines)
{
    QByteArray content;
    for (const QString &line : lines) {
        if (!isWritable(line))
            return false;
        content += line.toLatin1();
        content += "\r\n";
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool ScheduleScript::decodeLine(QByteArray bytes, QString &line)
{
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    line = QString::fromLatin1(bytes);
    return !line.trimmed().isEmpty();
}

bool ScheduleScript::isTooLarge(const QString &path)
{
    return QFileInfo(path).size() > kMaxBytes;
}

bool ScheduleScript::read(const QString &path, const std::function<void(const QString &)> &take)
{
    // A device or pipe chosen by mistake could feed lines for ever.
    if (!QFileInfo(path).isFile() || isTooLarge(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString line;
    // A file that grows while it is read stops at the same bound.
    qint64 left = kMaxBytes;
    while (!file.atEnd() && left > 0) {
        const QByteArray bytes = file.readLine(left + 1);
        left -= bytes.size();
        if (file.error() != QFileDevice::NoError)
            return false;
        if (bytes.isEmpty())
            break;
        if (decodeLine(bytes, line))
            take(line);
    }
    return file.error() == QFileDevice::NoError;
}
