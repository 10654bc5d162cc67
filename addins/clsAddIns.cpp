#include "addins/clsAddIns.h"

#include "addins/clsAddIn.h"
#include "errors/ErrorGuard.h"

namespace {
constexpr const char *kModule = "clsAddIns";
}

clsAddIns::clsAddIns(QObject *parent)
    : QObject(parent)
{
}

clsAddIns::~clsAddIns() = default;

void clsAddIns::Add(clsAddIn *oItem)
{
    guarded(kModule, "Add", [&] {
        if (!oItem)
            return;
        if (GetItemByID(oItem->AddInID()))
            Remove(oItem->AddInID());
        m_items.append(oItem);
        emit Refresh();
    });
}

void clsAddIns::Remove(const QString &stID)
{
    guarded(kModule, "Remove", [&] {
        for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
            if (i >= m_items.size())
                continue;
            const clsAddIn *item = m_items.at(i);
            if (!item || item->AddInID() != stID)
                continue;
            m_items.removeAt(i);
            emit Refresh();
        }
    });
}

void clsAddIns::removeObject(const clsAddIn *oItem)
{
    guarded(kModule, "Remove", [&] {
        for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
            if (i >= m_items.size())
                continue;
            // A destroyed object has already cleared its guarded pointer.
            if (m_items.at(i) && m_items.at(i) != oItem)
                continue;
            m_items.removeAt(i);
            emit Refresh();
        }
    });
}

int clsAddIns::Count() const
{
    return int(m_items.size());
}

clsAddIn *clsAddIns::Item(int Index) const
{
    clsAddIn *item = nullptr;
    guarded(kModule, "Item", [&] {
        if (Index < 1 || Index > m_items.size())
            throw OrvaneError(OrvaneError::kSubscriptOutOfRange,
                              QStringLiteral("Subscript out of range"));
        item = m_items.at(Index - 1);
    });
    return item;
}

clsAddIn *clsAddIns::GetItemByID(const QString &stID) const
{
    clsAddIn *found = nullptr;
    guarded(kModule, "GetItemByID", [&] {
        for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
            clsAddIn *item = m_items.at(i);
            if (item && item->AddInID() == stID) {
                found = item;
                return;
            }
        }
    });
    return found;
}

QList<QPointer<clsAddIn>> clsAddIns::lastToFirst() const
{
    QList<QPointer<clsAddIn>> items;
    items.reserve(m_items.size());
    for (qsizetype i = m_items.size() - 1; i >= 0; --i)
        items.append(m_items.at(i));
    return items;
}

void clsAddIns::SendUnload(long &Cancel)
{
    // The program may end, and release this list, while an add-in's handler runs.
    const QPointer<clsAddIns> self(this);
    ++m_ending;
    m_refusedBy.clear();
    guarded(kModule, "SendUnload", [&] {
        for (const QPointer<clsAddIn> &item : lastToFirst()) {
            if (!item)
                continue;
            long cancel = 0;
            item->fSendUnload(cancel);
            if (cancel != 0 && self) {
                Cancel = cancel;
                if (item)
                    m_refusedBy = item->AddInName();
            }
        }
    });
    if (self)
        --m_ending;
}

void clsAddIns::SendTerminate()
{
    const QPointer<clsAddIns> self(this);
    ++m_ending;
    guarded(kModule, "SendTerminate", [&] {
        for (const QPointer<clsAddIn> &item : lastToFirst())
            if (item)
                item->fSendTerminate();
    });
    if (self)
        --m_ending;
}

// Each add-in's handler is guarded on its own, so one failing add-in does not keep
// the notification from the others.
void clsAddIns::SemdIncommingCommand(const QString &stData)
{
    for (const QPointer<clsAddIn> &item : lastToFirst())
        guarded(kModule, "SemdIncommingCommand", [&] {
            if (item)
                emit item->ReceivedCommand(stData);
        });
}

void clsAddIns::SemdIncommingSettings(const QString &stData)
{
    for (const QPointer<clsAddIn> &item : lastToFirst())
        guarded(kModule, "SemdIncommingSettings", [&] {
            if (item)
                emit item->ReceivedSettings(stData);
        });
}

void clsAddIns::SemdVolumeMain(float sVol)
{
    for (const QPointer<clsAddIn> &item : lastToFirst())
        guarded(kModule, "SemdVolumeMain", [&] {
            if (item)
                emit item->VolumeMain(sVol);
        });
}

void clsAddIns::SemdVolumeZone2(float sVol)
{
    for (const QPointer<clsAddIn> &item : lastToFirst())
        guarded(kModule, "SemdVolumeZone2", [&] {
            if (item)
                emit item->VolumeZone2(sVol);
        });
}

void clsAddIns::SendAddInMessage(long Msg, const QString &SenderID, const QString &ReseiverId,
                                 long Param1, const QString &Param2)
{
    guarded(kModule, "SendAddInMessage", [&] {
        for (const QPointer<clsAddIn> &item : lastToFirst())
            if (item)
                item->fSendAddInMessage(Msg, SenderID, ReseiverId, Param1, Param2);
    });
}
