#include "addins/AddInComponents.h"

#include "addins/AddInRuntime.h"
#include "addins/clsAddIn.h"
#include "addins/sdk/OrvaneAddIn.h"
#include "errors/ErrorGuard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QMetaMethod>
#include <QPluginLoader>
#include <QSet>

#include <unistd.h>

namespace {

// Which classes may stand for a component in metadata, and their choice: the only
// one; else the first whose name contains "AddIn" in any case; else the last.
QString chooseClass(const QStringList &classes)
{
    if (classes.size() == 1)
        return classes.first();
    for (const QString &name : classes)
        if (name.contains(QLatin1String("AddIn"), Qt::CaseInsensitive))
            return name;
    return classes.isEmpty() ? QString() : classes.last();
}

// The Qt a plug-in was built with must have our major version and no newer minor one.
bool builtForThisQt(const QJsonObject &metaData)
{
    const int version = metaData.value(QLatin1String("version")).toInt();
    return (version & 0xff0000) == (QT_VERSION & 0xff0000)
        && (version & 0x00ff00) <= (QT_VERSION & 0x00ff00);
}

// Calls a one-argument entry point of a component by name. 0 when it ran, else the
// number of its failure.
long callEntryPoint(QObject *component, const char *name, const QList<QByteArray> &types,
                    void *argument)
{
    const QMetaObject *meta = component->metaObject();
    int index = -1;
    for (int i = meta->methodCount() - 1; i >= 0 && index < 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Signal && method.name() == name
            && method.parameterCount() == 1 && types.contains(method.parameterTypes().first()))
            index = i;
    }
    if (index < 0)
        return AddInComponents::kNoSuchMember;
    void *arguments[] = {nullptr, argument};
    try {
        component->qt_metacall(QMetaObject::InvokeMetaMethod, index, arguments);
    } catch (const OrvaneError &e) {
        // A failure must never read as "loaded" or as one of the other results.
        const long number = e.number();
        return number == 0 || number == AddInComponents::kNoObject
                || number == AddInComponents::kNoTexts
            ? AddInComponents::kAutomationError
            : number;
    } catch (...) {
        return AddInComponents::kAutomationError;
    }
    return 0;
}

} // namespace

QStringList AddInComponents::defaultFolders()
{
    QStringList folders{QCoreApplication::applicationDirPath() + QLatin1String("/AddIn")};
#ifdef ORVANE_ADDIN_INSTALL_PATH
    folders << QStringLiteral(ORVANE_ADDIN_INSTALL_PATH);
#endif
    return folders;
}

AddInComponents::AddInComponents(AddInRuntime &runtime)
    : AddInComponents(runtime, runtime.addInFolders())
{
}

AddInComponents::AddInComponents(AddInRuntime &runtime, QStringList folders)
    : m_runtime(runtime)
    , m_folders(std::move(folders))
{
}

AddInComponents::~AddInComponents()
{
    release();
}

namespace {

// Code loaded into the program runs as the user: a file that another user could have
// written, or a link that leads out of the add-in folder, is not loaded. Empty when
// the file may be loaded, else why not.
QString whyUnsafe(const QFileInfo &file, const QString &folder)
{
    const QString target = file.canonicalFilePath();
    if (file.isSymLink() && !target.startsWith(folder + QLatin1Char('/')))
        return QStringLiteral("a symbolic link that leads out of the add-in folder");
    const QFileInfo real(target);
    if (real.ownerId() != ::getuid() && real.ownerId() != 0)
        return QStringLiteral("owned by another user (only the user's own files or root's "
                              "are loaded)");
    if (real.permission(QFileDevice::WriteGroup) || real.permission(QFileDevice::WriteOther))
        return QStringLiteral("other users may write it (group or others have write "
                              "permission)");
    return {};
}

} // namespace

QStringList AddInComponents::FindAddIns()
{
    QStringList result{QString()};
    m_found.clear();
    guarded("modFindAddIn", "FindAddIns", [&] {
        QSet<QString> folders;
        QSet<QString> fileNames;
        for (const QString &folder : m_folders) {
            const QFileInfo folderInfo(folder);
            if (!folderInfo.isDir() || folders.contains(folderInfo.canonicalFilePath()))
                continue;
            folders.insert(folderInfo.canonicalFilePath());
            const QFileInfoList files = QDir(folder).entryInfoList(
                {QStringLiteral("*.so")}, QDir::Files, QDir::Name);
            for (const QFileInfo &file : files) {
                // A copy beside the executable stands in for the installed one.
                if (fileNames.contains(file.fileName()))
                    continue;
                fileNames.insert(file.fileName());
                guarded("modFindAddIn", "FindAddIns", [&] {
                    const QString unsafe = whyUnsafe(file, folderInfo.canonicalFilePath());
                    if (!unsafe.isEmpty())
                        throw OrvaneError(kNotAnAddIn,
                                          file.fileName() + QLatin1String(": ") + unsafe);
                    QPluginLoader plugin(file.absoluteFilePath());
                    const QJsonObject metaData = plugin.metaData();
                    if (metaData.isEmpty())
                        throw OrvaneError(kNotAnAddIn,
                                          file.fileName() + QLatin1String(": ")
                                              + plugin.errorString());
                    if (metaData.value(QLatin1String("IID")).toString()
                        != QLatin1String(OrvaneAddInFactory_iid))
                        throw OrvaneError(kNotAnAddIn,
                                          file.fileName()
                                              + QLatin1String(": not an Orvane add-in"));
                    if (!builtForThisQt(metaData))
                        throw OrvaneError(kNotAnAddIn,
                                          file.fileName()
                                              + QLatin1String(": built for another Qt version"));
                    const QJsonObject description =
                        metaData.value(QLatin1String("MetaData")).toObject();
                    const QString library =
                        description.value(QLatin1String(OrvaneAddIn::kLibraryKey)).toString();
                    if (library.isEmpty())
                        throw OrvaneError(kNotAnAddIn,
                                          file.fileName()
                                              + QLatin1String(": no library name in its metadata"));
                    QStringList classes;
                    const QJsonArray list =
                        description.value(QLatin1String(OrvaneAddIn::kClassesKey)).toArray();
                    for (const QJsonValue &name : list)
                        classes << name.toString();
                    const QString className = chooseClass(classes);
                    const QString progId = library + QLatin1Char('.') + className;
                    result << progId;
                    m_found.append({progId, className, file.absoluteFilePath()});
                });
            }
        }
    });
    return result;
}

void AddInComponents::LoadAddIns()
{
    guarded("Form_ControlCenter", "LoadAddIns", [&] {
        FindAddIns();
        const QList<Found> found = m_found;
        for (const Found &entry : found) {
            if (entry.progId.isEmpty())
                continue;
            QObject *component = CreateAddInObject(entry.progId, entry.file);
            if (!component)
                continue;
            if (LoadAddIn(component) == 0)
                m_loaded.append(component);
            else
                delete component;
        }
    });
}

QObject *AddInComponents::CreateAddInObject(const QString &progId, const QString &file)
{
    QObject *component = nullptr;
    ignoringErrors([&] {
        for (const Found &entry : std::as_const(m_found)) {
            if (entry.progId != progId || (!file.isEmpty() && entry.file != file))
                continue;
            if (entry.className.isEmpty())
                return;
            // Loading the plug-in runs its code for the first time.
            QPluginLoader plugin(entry.file);
            auto *factory = qobject_cast<OrvaneAddInFactory *>(plugin.instance());
            if (factory)
                component = factory->createAddIn(entry.className);
            return;
        }
    });
    return component;
}

long AddInComponents::LoadAddIn(QObject *component)
{
    if (!component)
        return kNoObject;
    const QList<QByteArray> textTypes{QByteArrayLiteral("QString&"), QByteArrayLiteral("QString")};
    QString name;
    QString version;
    QString copyright;
    if (const long failed = callEntryPoint(component, "AddInLoader_Name", textTypes, &name))
        return failed;
    if (const long failed = callEntryPoint(component, "AddInLoader_Version", textTypes, &version))
        return failed;
    if (const long failed =
            callEntryPoint(component, "AddInLoader_Copyright", textTypes, &copyright))
        return failed;
    if (name.isEmpty() && version.isEmpty() && copyright.isEmpty())
        return kNoTexts;

    // The connection goes with its component.
    auto *connection = new clsAddIn(&m_runtime, component);
    connection->setAddInName(name);
    connection->setAddInVersion(version);
    connection->setAddInCopyright(copyright);
    connection->setLoadedByHost(true);
    connection->AddInRegister();
    clsAddIn *handed = connection;
    callEntryPoint(component, "AddInLoader_Load",
                   {QByteArrayLiteral("clsAddIn*"), QByteArrayLiteral("QObject*")}, &handed);
    return 0;
}

void AddInComponents::release()
{
    while (!m_loaded.isEmpty()) {
        QPointer<QObject> component = m_loaded.takeLast();
        ignoringErrors([&] { delete component.data(); });
    }
}

int AddInComponents::loadedCount() const
{
    int count = 0;
    for (const QPointer<QObject> &component : m_loaded)
        count += component ? 1 : 0;
    return count;
}
