#pragma once

// Writing an add-in for Orvane
// ============================
//
// An add-in is a Qt plug-in (a shared library, "*.so") in the folder "AddIn" beside the
// orvane executable or in the program's installed add-in folder. The program reads the
// plug-in's metadata without running any of its code, creates one object of the add-in
// class through the plug-in's factory, asks it for its name, version and copyright, and
// hands it its own connection (clsAddIn) to the program.
//
// 1. The metadata (a JSON file named in Q_PLUGIN_METADATA) gives the library name and
//    the classes the library offers, in order:
//
//        { "Library": "NightVolume", "Classes": [ "NightVolumeAddIn" ] }
//
//    The add-in's identifier is library "." class ("NightVolume.NightVolumeAddIn").
//    With several classes the program takes the first whose name contains "AddIn" (in
//    any case), else the last one.
//
// 2. The plug-in's root object implements OrvaneAddInFactory and creates the class by
//    its name:
//
//        class NightVolumePlugin : public QObject, public OrvaneAddInFactory
//        {
//            Q_OBJECT
//            Q_PLUGIN_METADATA(IID OrvaneAddInFactory_iid FILE "nightvolume.json")
//            Q_INTERFACES(OrvaneAddInFactory)
//        public:
//            QObject *createAddIn(const QString &className) override;
//        };
//
// 3. The add-in class offers four entry points that the program calls by name, in this
//    order, through Qt's meta-object system (declare them Q_INVOKABLE or as slots):
//
//        Q_INVOKABLE void AddInLoader_Name(QString &stName);
//        Q_INVOKABLE void AddInLoader_Version(QString &stVersion);
//        Q_INVOKABLE void AddInLoader_Copyright(QString &stCopyright);
//        Q_INVOKABLE void AddInLoader_Load(clsAddIn *oAddIn);
//
//    The first three write their text into the argument (empty on entry); an add-in
//    that leaves all three empty is not loaded, nor is one that lacks an entry point or
//    throws from one. AddInLoader_Load receives the add-in's registered connection: keep
//    the pointer, call its members to act on the program and connect to its signals to
//    hear the receiver's reports, the settings block, the volumes, the unload vote and
//    the terminate. The connection belongs to the program; it stays valid until the
//    add-in object is destroyed, which the program does when its main window unloads.
//
// 4. Build the plug-in against Qt 6 (the same major and no newer minor version than the
//    program's) without linking any Orvane library: the clsAddIn members resolve against
//    the running program. With CMake:
//
//        add_library(nightvolume MODULE nightvolume.cpp)
//        target_include_directories(nightvolume PRIVATE <prefix>/include/orvane)
//        target_link_libraries(nightvolume PRIVATE Qt6::Core)
//
//    and copy the library into the "AddIn" folder.
//
// Everything the program does with an add-in happens on its user-interface thread, and
// it waits for each handler before it goes on: keep handlers short and never block in
// them (the program cannot end while an Unload handler runs).

// Installed, both headers lie in one folder; in the source tree the connection's header
// is one folder up.
#if __has_include("clsAddIn.h")
#include "clsAddIn.h"
#else
#include "../clsAddIn.h"
#endif

#include <QObject>
#include <QString>
#include <QtPlugin>

// The interface id a plug-in declares in Q_PLUGIN_METADATA.
#define OrvaneAddInFactory_iid "org.orvane.Orvane.AddInFactory/1"

namespace OrvaneAddIn {
// The metadata keys.
inline constexpr char kLibraryKey[] = "Library";
inline constexpr char kClassesKey[] = "Classes";
} // namespace OrvaneAddIn

// The root object of an add-in plug-in.
class OrvaneAddInFactory
{
public:
    virtual ~OrvaneAddInFactory() = default;
    // A new object of the named class, owned by the caller; null for a name the plug-in
    // does not know.
    virtual QObject *createAddIn(const QString &className) = 0;
};
Q_DECLARE_INTERFACE(OrvaneAddInFactory, OrvaneAddInFactory_iid)

// The four entry points as members of one class, for reference. The program calls them
// by name on the add-in object; it never creates an AddInLoader and these do nothing.
class AddInLoader
{
public:
    void Version(QString &stVersion) { Q_UNUSED(stVersion); }
    void Name(QString &stName) { Q_UNUSED(stName); }
    void Copyright(QString &stCopyright) { Q_UNUSED(stCopyright); }
    void Load(clsAddIn *oAddin) { Q_UNUSED(oAddin); }

protected:
    AddInLoader() = default;
};
