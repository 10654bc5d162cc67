#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

class AddInRuntime;
class QObject;

// The add-in components found on disk and the ones loaded, owned by the main window.
// Discovery reads each plug-in's metadata without running its code; loading creates
// the add-in class through the plug-in's factory, calls its four AddInLoader_ entry
// points by name and registers a connection (clsAddIn) for it. Loaded components live
// until release(), which destroys them last to first, each with its connection.
class AddInComponents
{
public:
    // LoadAddIn's results other than 0 (loaded) and an entry point's own error number.
    static constexpr long kNoObject = -1;
    static constexpr long kNoTexts = -2;
    // A missing entry point, and a failure that carried no error number of its own.
    static constexpr long kNoSuchMember = 438;
    static constexpr long kAutomationError = 440;
    // A file in the add-in folder that is no usable plug-in.
    static constexpr int kNotAnAddIn = 48;

    // "AddIn" beside the executable, then the installed add-in folder.
    static QStringList defaultFolders();

    // Loads the add-ins of the runtime's folders and registers them in its list.
    explicit AddInComponents(AddInRuntime &runtime);
    AddInComponents(AddInRuntime &runtime, QStringList folders);
    ~AddInComponents();
    AddInComponents(const AddInComponents &) = delete;
    AddInComponents &operator=(const AddInComponents &) = delete;

    // One identifier (library "." class) per usable plug-in, in listing order, after one
    // empty entry. A file whose metadata cannot be read is reported and skipped.
    QStringList FindAddIns();
    // Finds the add-ins and loads each; the ones that load are kept.
    void LoadAddIns();
    // A new object of the add-in class through its plug-in's factory, or null. Without
    // `file` the first plug-in found under that identifier is used.
    QObject *CreateAddInObject(const QString &progId, const QString &file = QString());
    // 0 loaded; -1 no object; -2 neither name, version nor copyright; else the error
    // number of the entry point that failed.
    long LoadAddIn(QObject *component);

    // Destroys the loaded components from the last to the first.
    void release();
    int loadedCount() const;

private:
    struct Found
    {
        QString progId;
        QString className;
        QString file;
    };

    AddInRuntime &m_runtime;
    QStringList m_folders;
    QList<Found> m_found;
    QList<QPointer<QObject>> m_loaded;
};
