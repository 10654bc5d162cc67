#include "app/ConfigurationStore.h"

#include "app/MainWindowControls.h"
#include "errors/ErrorGuard.h"
#include "errors/OrvaneError.h"
#include "link/ReceiverLink.h"
#include "platform/SettingsStore.h"
#include "program/Modul_Lib.h"

#include <QAction>

namespace {

// Errors are reported as the window's, whose configuration this is.
constexpr char kModule[] = "Form_ControlCenter";
const QString kSection = QStringLiteral("Config");

const QString kKeyCom = QStringLiteral("Com");
const QString kKeyReportTime = QStringLiteral("ReportTime");
const QString kKeyMode = QStringLiteral("Mode");
const QString kKeyExtras = QStringLiteral("Extras");
const QString kKeyDebug = QStringLiteral("Debug");
const QString kKeyShell = QStringLiteral("Shell");
const QString kKeyMediaKeyOrvane = QStringLiteral("MediaKeyOrvane");
const QString kKeyMediaKeyWinamp = QStringLiteral("MediaKeyWinamp");

const QString kOn = QStringLiteral("1");
const QString kModeMain = QStringLiteral("1");
const QString kModeZone2 = QStringLiteral("2");

// Unchecks every item of the group, then checks the one the stored number names; a
// number that names no item is a run-time error and leaves the group unchecked.
void checkStoredItem(ControlArray<QAction> &items, const QString &stored)
{
    for (int index : items.indices())
        items(index)->setChecked(false);
    items(Modul_Lib::Val(stored))->setChecked(true);
}

// The index of the first checked item as decimal text, or an empty text.
QString firstChecked(const ControlArray<QAction> &items)
{
    for (int index : items.indices())
        if (items(index)->isChecked())
            return QString::number(index);
    return {};
}

} // namespace

ConfigurationStore::ConfigurationStore(MainWindowControls &ui, ReceiverLink &link,
                                       SettingsStore *settings, Window window)
    : m_ui(ui)
    , m_link(link)
    , m_settings(settings)
    , m_window(std::move(window))
{
}

void ConfigurationStore::LoadConfig()
{
    constexpr char kProcedure[] = "LoadConfig";

    QString com, reportTime, mode, extras, debug, shell, mediaKeyOrvane, mediaKeyWinamp;
    guarded(kModule, kProcedure, [&] {
        if (!m_settings)
            return;
        const std::pair<const QString &, QString &> keys[] = {
            {kKeyCom, com},
            {kKeyReportTime, reportTime},
            {kKeyMode, mode},
            {kKeyExtras, extras},
            {kKeyDebug, debug},
            {kKeyShell, shell},
            {kKeyMediaKeyOrvane, mediaKeyOrvane},
            {kKeyMediaKeyWinamp, mediaKeyWinamp},
        };
        for (const auto &[key, value] : m_settings->readSection(kSection))
            for (const auto &[name, target] : keys)
                if (key == name)
                    target = value;
    });

    // Each key on its own: a value that names no item is reported and the rest still load.
    guarded(kModule, kProcedure, [&] {
        if (com.isEmpty())
            return;
        checkStoredItem(m_ui.Menu_Setup_Port, com);
        // Connecting from the menu then uses the saved port.
        m_link.setCommPort(Modul_Lib::Val(com));
    });
    guarded(kModule, kProcedure, [&] {
        if (!reportTime.isEmpty())
            checkStoredItem(m_ui.Menu_Setup_ReportTime, reportTime);
    });
    guarded(kModule, kProcedure, [&] {
        if (mode == kModeMain || mode == kModeZone2) {
            m_ui.Menu_Mode_Main->setChecked(mode == kModeMain);
            m_ui.Menu_Mode_Zone2->setChecked(mode == kModeZone2);
            m_window.showZoneMode();
        }
    });
    guarded(kModule, kProcedure, [&] {
        if (!extras.isEmpty())
            checkStoredItem(m_ui.Menu_Extras_61_ES, extras);
    });
    guarded(kModule, kProcedure, [&] {
        const bool on = debug == kOn;
        m_ui.Menu_Setup_Debug->setChecked(on);
        m_window.showTerminal(on);
    });
    guarded(kModule, kProcedure,
            [&] { m_ui.Menu_Extras_61_ES(3)->setData(shell.isEmpty() ? kDefaultShell : shell); });
    guarded(kModule, kProcedure, [&] {
        m_ui.Menu_Extras_MT_Orvane->setChecked(mediaKeyOrvane == kOn);
        m_ui.Menu_Extras_MT_Winamp->setChecked(mediaKeyWinamp == kOn);
    });
}

void ConfigurationStore::SaveConfig()
{
    guarded(kModule, "SaveConfig", [&] {
        SettingsStore *store = m_settings;
        if (!store)
            return;
        const auto onOff = [](const QAction *item, const QString &off) {
            return item && item->isChecked() ? kOn : off;
        };
        const QString shell = m_ui.Menu_Extras_61_ES.contains(3)
            ? m_ui.Menu_Extras_61_ES(3)->data().toString()
            : QString();

        // Always these keys in this order.
        store->writeValue(kSection, kKeyCom, firstChecked(m_ui.Menu_Setup_Port));
        store->writeValue(kSection, kKeyReportTime, firstChecked(m_ui.Menu_Setup_ReportTime));
        store->writeValue(kSection, kKeyMode,
                          m_ui.Menu_Mode_Main && m_ui.Menu_Mode_Main->isChecked() ? kModeMain
                                                                                  : kModeZone2);
        store->writeValue(kSection, kKeyExtras, firstChecked(m_ui.Menu_Extras_61_ES));
        store->writeValue(kSection, kKeyDebug, onOff(m_ui.Menu_Setup_Debug, QString()));
        store->writeValue(kSection, kKeyShell, shell);
        store->writeValue(kSection, kKeyMediaKeyOrvane,
                          onOff(m_ui.Menu_Extras_MT_Orvane, QStringLiteral("0")));
        store->writeValue(kSection, kKeyMediaKeyWinamp,
                          onOff(m_ui.Menu_Extras_MT_Winamp, QStringLiteral("0")));

        const QString failure = store->flush();
        if (!failure.isEmpty())
            throw OrvaneError(OrvaneError::kFileAccess, failure);
    });
}
