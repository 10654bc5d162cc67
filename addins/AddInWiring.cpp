#include "addins/AddInWiring.h"

#include "addins/AddInRuntime.h"
#include "addins/clsAddIns.h"
#include "errors/ErrorGuard.h"
#include "program/ProgramEvents.h"

namespace {
// Errors are reported as the main window's, whose events these are.
constexpr const char *kModule = "Form_ControlCenter";
} // namespace

AddInWiring::AddInWiring(ProgramEvents &events, AddInRuntime &runtime, QObject *parent)
    : QObject(parent)
{
    // Each call is guarded here, since no exception may pass through a signal.
    const auto addIns = [&runtime] { return runtime.oAddIns(); };
    connect(&events, &ProgramEvents::reportReceived, this, [addIns](const QString &body) {
        if (clsAddIns *list = addIns())
            guarded(kModule, "Timer_Check_Timer", [&] { list->SemdIncommingCommand(body); });
    });
    connect(&events, &ProgramEvents::settingsRead, this, [addIns](const QString &block) {
        if (clsAddIns *list = addIns())
            guarded("Form_Com", "ReadSettings", [&] { list->SemdIncommingSettings(block); });
    });
    connect(&events, &ProgramEvents::volumeMainShown, this, [addIns](float db) {
        if (clsAddIns *list = addIns())
            guarded(kModule, "DisplayVolume", [&] { list->SemdVolumeMain(db); });
    });
    connect(&events, &ProgramEvents::volumeZone2Shown, this, [addIns](float db) {
        if (clsAddIns *list = addIns())
            guarded(kModule, "DisplayVolume", [&] { list->SemdVolumeZone2(db); });
    });
    // One refusal is enough: a list that allows does not clear another listener's refusal.
    connect(&events, &ProgramEvents::unloadRequested, this,
            [addIns](long &cancel, QString &refusedBy) {
                clsAddIns *list = addIns();
                if (!list || list->Count() == 0)
                    return;
                long refused = 0;
                guarded(kModule, "Form_Unload", [&] { list->SendUnload(refused); });
                if (refused != 0) {
                    cancel = refused;
                    refusedBy = list->refusedBy();
                }
            });
    connect(&events, &ProgramEvents::terminating, this, [addIns] {
        clsAddIns *list = addIns();
        if (list && list->Count() > 0)
            guarded(kModule, "Form_Unload", [&] { list->SendTerminate(); });
    });
}
