#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class clsAddIn;

// The program-wide list of registered add-ins (numbered from 1 in order of
// registration) and the broadcasts that carry the program's notifications to them.
// Every broadcast walks the list from the last entry to the first, so the add-in that
// registered last hears first.
class clsAddIns : public QObject
{
    Q_OBJECT
public:
    explicit clsAddIns(QObject *parent = nullptr);
    ~clsAddIns() override;

    // Appends an add-in, replacing an entry with the same AddInID; nothing for null.
    void Add(clsAddIn *oItem);
    // Removes every entry with that AddInID.
    void Remove(const QString &stID);
    int Count() const;
    // The entry at a place from 1 to Count(); null outside.
    clsAddIn *Item(int Index) const;
    // The last entry whose AddInID equals stID exactly; null when there is none.
    clsAddIn *GetItemByID(const QString &stID) const;

    // Asks every add-in whether the program may end; a refusal leaves its non-zero
    // value in `Cancel`. Everyone is asked, also after a refusal.
    void SendUnload(long &Cancel);
    void SendTerminate();
    void SemdIncommingCommand(const QString &stData);
    void SemdIncommingSettings(const QString &stData);
    void SemdVolumeMain(float sVol);
    void SemdVolumeZone2(float sVol);
    // Reaches every add-in, the sender included; receivers check ReseiverId themselves.
    void SendAddInMessage(long Msg, const QString &SenderID, const QString &ReseiverId,
                          long Param1, const QString &Param2);

    // True while the add-ins are asked to unload or told to terminate.
    bool endingInProgress() const { return m_ending > 0; }
    // The name of the add-in whose refusal counted in the last SendUnload; empty when
    // none refused.
    QString refusedBy() const { return m_refusedBy; }

    // Removes the entry that is this very object (its destruction).
    void removeObject(const clsAddIn *oItem);
    // The entries still alive, last to first, as a snapshot: an add-in may change the
    // list while it hears a broadcast.
    QList<QPointer<clsAddIn>> lastToFirst() const;

signals:
    // After every change of the list.
    void Refresh();

private:
    QList<QPointer<clsAddIn>> m_items;
    int m_ending = 0;
    QString m_refusedBy;
};
